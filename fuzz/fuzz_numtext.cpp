// Any text through the number conversions: control characters, invalid
// UTF-8, huge exponents, long runs of digits.
#include "document/numtext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "number text: %s: \"%s\"\n", what, text.substr(0, 80).c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qs;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double v = readnum(text);
    if (!std::isfinite(v)) fail("readnum gave a value that is not finite", text);
    if (!hasnumber(text) && v != 0) fail("a text with no number read as non-zero", text);

    // Every text written reads back finite, and settles: written again from
    // what it reads as, it is the same text, in either precision.
    const float single = tosingle(v);
    if (!std::isfinite(single)) fail("tosingle gave a value that is not finite", text);
    const std::string s = numstr(single);
    if (numstr(static_cast<float>(readnum(s))) != s) fail("a single's text does not settle", s);
    if (numstr(readnum(s)) != s) fail("a single's text reads back as another double text", s);
    const std::string d = numstr(v);
    if (!std::isfinite(readnum(d))) fail("a double's text reads back not finite", d);
    if (plainnum(readnum(plainnum(v))) != plainnum(v))
        fail("plainnum does not settle", plainnum(v));

    // The whole-number conversions stay in range for anything.
    (void)towhole16(v);
    (void)towhole32(v);
    (void)towhole32(readnum(first(text, 4)) * 10);
    (void)signednum(single);
    return 0;
}
