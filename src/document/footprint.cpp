#include "document/footprint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qs {

std::int32_t tocol(std::int32_t col) {
    // Whole-number division toward zero, not shifts: they differ for a
    // negative colour.
    return (col & 255) * 65536 + ((col / 256) & 255) * 256 + ((col / 65536) & 255);
}

std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double ang) {
    return squarecorners(py, px, sx, sy, std::cos(ang), std::sin(ang));
}

std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double c, double s) {
    const double x = px, y = py, a = sx, b = sy;
    auto corner = [](double h, double v) {
        return Corner{static_cast<float>(h), static_cast<float>(v)};
    };
    return {corner(x + a * c - b * s, y + b * c + a * s),  // A
            corner(x + a * c + b * s, y - b * c + a * s),  // B
            corner(x - a * c + b * s, y - b * c - a * s),  // C
            corner(x - a * c - b * s, y + b * c - a * s)}; // D
}

bool cliptorect(double& x1, double& y1, double& x2, double& y2, double lo, double hix, double hiy) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - lo, hix - x1, y1 - lo, hiy - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

const std::array<Corner, 4>& CornerCache::corners(int slot, const Block& b) {
    const auto i = static_cast<std::size_t>(slot);
    const Key key{b.x, b.z, b.sizex, b.sizez, b.angle};
    if (!valid_[i] || std::memcmp(&keys_[i], &key, sizeof(Key)) != 0) {
        keys_[i] = key;
        corners_[i] = squarecorners(b.x, b.z, b.sizex, b.sizez, b.angle * kDegToRad);
        valid_[i] = true;
    }
    return corners_[i];
}

} // namespace qs
