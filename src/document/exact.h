#pragma once
// A single-precision value as a text that gives back every bit of it: the
// shortest decimal for a finite value ("-0", "1e-45", "12.5"), "inf" and
// "-inf", and "nan(0x7fc01234)" with the whole bit pattern for a NaN.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

std::string exacttext(float v);
// The same text into `out`, which holds 32 characters; gives its length.
std::size_t exactchars(char* out, float v);

// The value of such a text; nothing when the text is not one.
std::optional<float> readexact(std::string_view text);

} // namespace qs
