#include "document/exact.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace qs {

std::size_t exactchars(char* out, float v) {
    if (std::isnan(v)) {
        return static_cast<std::size_t>(std::snprintf(
            out, 32, "nan(0x%08x)", static_cast<unsigned>(std::bit_cast<std::uint32_t>(v))));
    }
    if (std::isinf(v)) {
        const char* text = std::signbit(v) ? "-inf" : "inf";
        std::strcpy(out, text);
        return std::strlen(text);
    }
    return static_cast<std::size_t>(std::to_chars(out, out + 32, v).ptr - out);
}

std::string exacttext(float v) {
    char buf[32];
    return std::string(buf, exactchars(buf, v));
}

std::optional<float> readexact(std::string_view t) {
    if (t == "inf") return std::numeric_limits<float>::infinity();
    if (t == "-inf") return -std::numeric_limits<float>::infinity();
    if (t.starts_with("nan(0x") && t.ends_with(")") && t.size() == 15) {
        std::uint32_t bits = 0;
        const auto res = std::from_chars(t.data() + 6, t.data() + 14, bits, 16);
        const float v = std::bit_cast<float>(bits);
        if (res.ptr != t.data() + 14 || !std::isnan(v)) return std::nullopt;
        return v;
    }
    float v = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (res.ec != std::errc{} || res.ptr != t.data() + t.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace qs
