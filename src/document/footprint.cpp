#include "document/footprint.h"

#include <cmath>

namespace qs {

std::int32_t tocol(std::int32_t col) {
    // Whole-number division toward zero, not shifts: they differ for a
    // negative colour.
    return (col & 255) * 65536 + ((col / 256) & 255) * 256 + ((col / 65536) & 255);
}

std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double ang) {
    const double c = std::cos(ang);
    const double s = std::sin(ang);
    const double x = px, y = py, a = sx, b = sy;
    auto corner = [](double h, double v) { return Corner{static_cast<float>(h), static_cast<float>(v)}; };
    return {corner(x + a * c - b * s, y + b * c + a * s),  // A
            corner(x + a * c + b * s, y - b * c + a * s),  // B
            corner(x - a * c + b * s, y - b * c - a * s),  // C
            corner(x - a * c - b * s, y + b * c - a * s)}; // D
}

} // namespace qs
