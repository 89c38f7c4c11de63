#include "document/exact.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace qs {

std::string exacttext(float v) {
    if (std::isnan(v)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "nan(0x%08x)", static_cast<unsigned>(std::bit_cast<std::uint32_t>(v)));
        return buf;
    }
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
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
    if (res.ec != std::errc{} || res.ptr != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace qs
