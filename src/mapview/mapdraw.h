#pragma once
// Pure helpers of the map drawing.
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

// Rounds to one decimal, a half going up: floor(no × 10 + 0.5) / 10.
double round10(double no);

// The corners A, B, C, D of a turned rectangle centred on (px, py), as
// (horizontal, vertical) pairs in map coordinates.
struct Corner {
    float h, v;
};
std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double ang);

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

} // namespace qs
