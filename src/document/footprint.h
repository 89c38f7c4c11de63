#pragma once
// Where a block lies on the map and in which colour it is drawn.
#include "document/block.h"

#include <array>
#include <cstdint>

namespace qs {

// Degrees to radians: pi/180 written to 15 significant digits.
inline constexpr double kDegToRad = 0.0174532925199433;

// Swaps the lowest and the third byte and drops the highest: a block colour
// (red × 65536 + green × 256 + blue) to a display colour and back.
std::int32_t tocol(std::int32_t col);

// The corners A, B, C, D of a turned rectangle centred on (px, py), as
// (horizontal, vertical) pairs in map coordinates.
struct Corner {
    float h, v;
};
std::array<Corner, 4> squarecorners(float py, float px, float sx, float sy, double ang);

// The corners of a block's outline: its X is drawn upwards, its Z across.
inline std::array<Corner, 4> blockcorners(const Block& b) {
    return squarecorners(b.x, b.z, b.sizex, b.sizez, b.angle * kDegToRad);
}

} // namespace qs
