#include "document/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qs {

namespace {

bool isblank(char c) {
    return c == ' ' || c == '\t';
}
bool isdigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents past this only tell overflow from underflow; both ends give the
// same result, so the exponent is clamped before it is handed on.
constexpr long kExponentClamp = 100000;

} // namespace

double readnum(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipblanks = [&] {
        while (i < n && isblank(text[i]))
            ++i;
    };

    skipblanks();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // The mantissa's digits, without the point; `pointshift` counts the
    // digits after the point.
    std::string digits;
    long pointshift = 0;
    bool anydigit = false;
    bool seenpoint = false;
    for (;;) {
        skipblanks();
        if (i >= n) break;
        const char c = text[i];
        if (isdigit(c)) {
            anydigit = true;
            // Leading zeros carry no value; dropping them keeps the buffer
            // short for long runs of zeros.
            if (!(digits.empty() && c == '0')) digits.push_back(c);
            if (seenpoint) ++pointshift;
            ++i;
        } else if (c == '.' && !seenpoint) {
            seenpoint = true;
            ++i;
        } else {
            break;
        }
    }
    if (!anydigit) return 0;

    long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        auto skip = [&] {
            while (j < n && isblank(text[j]))
                ++j;
        };
        skip();
        bool expnegative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            expnegative = text[j] == '-';
            ++j;
        }
        long e = 0;
        for (;;) {
            skip();
            if (j == n || !isdigit(text[j])) break;
            e = std::min(e * 10 + (text[j] - '0'), kExponentClamp);
            ++j;
        }
        exponent = expnegative ? -e : e;
    }

    if (digits.empty()) return negative ? -0.0 : 0.0;

    // value = 0.digits × 10^magnitude: out of range, large or small by its sign.
    const long magnitude = static_cast<long>(digits.size()) - pointshift + exponent;
    std::string buffer = digits;
    buffer += 'e';
    buffer += std::to_string(exponent - pointshift);

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (!std::isfinite(value)) {
        value = std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

bool hasnumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isblank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool seenpoint = false;
    for (; i < text.size(); ++i) {
        if (isdigit(text[i])) return true;
        if (text[i] == '.' && !seenpoint) {
            seenpoint = true;
        } else if (!isblank(text[i])) {
            return false;
        }
    }
    return false;
}

namespace {

// Decimal digits of a finite non-zero magnitude and the exponent of its
// first digit: value = d.ddd × 10^exp.
struct Decimal {
    std::string digits;
    int exp = 0;
};

template <typename T> Decimal todecimal(T magnitude, int maxdigits) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    auto countdigits = [](std::string_view s) {
        const auto e = s.find('e');
        int count = 0;
        for (std::size_t k = 0; k < e; ++k)
            if (isdigit(s[k])) ++count;
        return count;
    };
    if (countdigits(text) > maxdigits) {
        res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                            maxdigits - 1);
        text = std::string_view(buf, static_cast<std::size_t>(res.ptr - buf));
    }
    Decimal d;
    const auto e = text.find('e');
    for (std::size_t k = 0; k < e; ++k)
        if (isdigit(text[k])) d.digits.push_back(text[k]);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    d.exp);
    return d;
}

// The text of a magnitude, without any sign; `leadingzero` puts a "0" before
// the point of a value below 1.
std::string formatmagnitude(const Decimal& d, bool leadingzero) {
    const int ndigits = static_cast<int>(d.digits.size());
    std::string out;
    if (d.exp < -4 || d.exp >= 15) {
        out += d.digits[0];
        if (ndigits > 1) {
            out += '.';
            out.append(d.digits, 1);
        }
        out += d.exp < 0 ? "E-" : "E+";
        const int e = d.exp < 0 ? -d.exp : d.exp;
        if (e < 10) out += '0';
        out += std::to_string(e);
    } else if (d.exp < 0) {
        if (leadingzero) out += '0';
        out += '.';
        out.append(static_cast<std::size_t>(-d.exp - 1), '0');
        out += d.digits;
    } else if (ndigits <= d.exp + 1) {
        out = d.digits;
        out.append(static_cast<std::size_t>(d.exp + 1 - ndigits), '0');
    } else {
        out.append(d.digits, 0, static_cast<std::size_t>(d.exp + 1));
        out += '.';
        out.append(d.digits, static_cast<std::size_t>(d.exp + 1));
    }
    return out;
}

template <typename T> std::string format(T v, int maxdigits, bool plain) {
    std::string sign = v < 0 ? "-" : (plain ? "" : " ");
    if (std::isnan(v)) return sign + "NaN";
    if (std::isinf(v)) return sign + "Inf";
    if (v == 0) return sign + "0";
    return sign + formatmagnitude(todecimal(std::fabs(v), maxdigits), plain);
}

} // namespace

std::string numstr(float v) {
    return format(v, 7, false);
}
std::string numstr(double v) {
    return format(v, 15, false);
}
std::string numstr(std::int32_t v) {
    std::string text = std::to_string(v);
    if (v >= 0) text.insert(text.begin(), ' ');
    return text;
}

std::string plainnum(float v) {
    return format(v, 7, true);
}
std::string plainnum(double v) {
    return format(v, 15, true);
}
std::string plainnum(std::int32_t v) {
    return std::to_string(v);
}

namespace {

template <typename Int> Int towhole(double v) {
    if (std::isnan(v)) return 0;
    double r = std::round(v); // halves away from zero
    if (std::fabs(v - std::trunc(v)) == 0.5 && std::fmod(r, 2.0) != 0.0)
        r -= std::copysign(1.0, v); // a half goes to the even neighbour
    constexpr double lo = std::numeric_limits<Int>::min();
    constexpr double hi = std::numeric_limits<Int>::max();
    return static_cast<Int>(std::clamp(r, lo, hi));
}

} // namespace

std::int16_t towhole16(double v) {
    return towhole<std::int16_t>(v);
}
std::int32_t towhole32(double v) {
    return towhole<std::int32_t>(v);
}

float tosingle(double v) {
    // Beyond the range, infinities too, a value is held at the largest single
    // of its sign; one that rounds to the largest is not beyond.
    const float f = static_cast<float>(v);
    return std::isinf(f) ? std::copysign(std::numeric_limits<float>::max(), f) : f;
}

} // namespace qs
