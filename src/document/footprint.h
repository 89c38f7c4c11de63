#pragma once
// Where a block lies on the map and in which colour it is drawn.
#include "document/block.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace qs {

// Degrees to radians: pi/180 written to 15 significant digits.
inline constexpr double kDegToRad = 0.0174532925199433;

// Swaps the lowest and the third byte and drops the highest: a block colour
// (red × 65536 + green × 256 + blue) to a display colour and back.
std::int32_t tocol(std::int32_t col);

// A straight line between two points of the map, in a display colour (red +
// 256 × green + 65536 × blue).
struct Line {
    float x1, y1, x2, y2;
    std::int32_t colour;
    bool operator==(const Line&) const = default;
};

// The corners A, B, C, D of a turned rectangle centred on (px, py), as
// (horizontal, vertical) pairs in map coordinates.
struct Corner {
    float h, v;
};
std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double ang);
// The same with the angle's cosine and sine already worked out.
std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double c, double s);

// The map's area: across from -20 (its left edge) over 75 units, up from 0
// (its bottom edge) to 75.
inline constexpr float kMapLeft = -20;
inline constexpr float kMapTop = 75;
inline constexpr float kMapWidth = 75;
inline constexpr float kMapHeight = -75;

// Whether the map draws a block: both sizes above 0, and its vertical
// extent touching the depth window (both ends compared in single
// precision, equality passing).
inline bool drawnwithin(const Block& b, float mind, float maxd) {
    if (!isdrawn(b)) return false;
    const float top = b.bottom + b.height;
    return top >= mind && maxd >= b.bottom;
}

// A block's outline colour on the map, and when it is the current block,
// as display colours; `blockcolours` is the "Use Block Colors." switch.
inline std::int32_t mapcolour(const Block& b, bool blockcolours) {
    return blockcolours ? tocol(b.colour) : 0xFFFFFF;
}
inline std::int32_t highlightcolour(const Block& b, bool blockcolours) {
    return tocol(b.colour) ^ (blockcolours ? 0xFFFFFF : 0);
}

// The corners of a block's outline: its X is drawn upwards, its Z across.
inline std::array<Corner, 4> blockcorners(const Block& b) {
    return squarecorners(b.x, b.z, b.sizex, b.sizez, b.angle * kDegToRad);
}

// The corners of each slot's outline, worked out again only when the slot's
// position, sizes or angle changed.
class CornerCache {
  public:
    const std::array<Corner, 4>& corners(int slot, const Block& b);

  private:
    struct Key {
        float x, z, sizex, sizez, angle;
    };
    std::array<Key, kSlots> keys_{};
    std::array<std::array<Corner, 4>, kSlots> corners_{};
    std::bitset<kSlots> valid_;
};

// Cuts a segment to the rectangle from (lo, lo) to (hix, hiy), Liang-Barsky;
// false when nothing of it is left. Pictures cut lines this way, so huge
// coordinates never reach a painter.
bool cliptorect(double& x1, double& y1, double& x2, double& y2, double lo, double hix, double hiy);

} // namespace qs
