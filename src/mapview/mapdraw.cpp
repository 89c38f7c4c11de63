// The map view: every drawn block as the outline of its turned rectangle.
#include "mapview/mapdraw.h"

#include "app/mainform.h"

#include <cmath>

namespace qs {

std::int32_t tocol(std::int32_t col) {
    // Whole-number division toward zero, not shifts: they differ for a
    // negative colour.
    return (col & 255) * 65536 + ((col / 256) & 255) * 256 + ((col / 65536) & 255);
}

double round10(double no) { return std::floor(no * 10 + 0.5) / 10; }

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

void MainForm::square(float py, float px, float sx, float sy, double ang, std::int32_t col) {
    const auto k = squarecorners(py, px, sx, sy, ang);
    for (std::size_t i = 0; i < 4; ++i) {
        const Corner& from = k[i];
        const Corner& to = k[(i + 1) % 4];
        Map.line(from.h, from.v, to.h, to.v, col);
    }
}

std::int32_t MainForm::mapcolour(const Block& b) const {
    return Check1.value() == 1 ? tocol(b.colour) : 0xFFFFFF;
}

std::int32_t MainForm::highlightcolour(const Block& b) const {
    return tocol(b.colour) ^ (0xFFFFFF * (Check1.value() & 1));
}

void MainForm::refreshmap() {
    Map.cls();
    const auto mind = static_cast<float>(MinD.value());
    const auto maxd = static_cast<float>(MaxD.value());
    for (const Block& b : blocks) {
        if (!isdrawn(b)) continue;
        const float blocktop = b.bottom + b.height;
        if (!(blocktop >= mind && maxd >= b.bottom)) continue;
        square(b.x, b.z, b.sizex, b.sizez, b.angle * kDegToRad, mapcolour(b));
    }
}

void MainForm::markblock(int i) {
    if (!validslot(i)) return;
    const Block& b = blocks[static_cast<std::size_t>(i)];
    square(b.x, b.z, b.sizex, b.sizez, b.angle * kDegToRad, highlightcolour(b));
}

} // namespace qs
