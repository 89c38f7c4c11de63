#pragma once
// Pure helpers of the map drawing.
#include "document/block.h"
#include "document/footprint.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace qs {

// Rounds to one decimal, a half going up: floor(no × 10 + 0.5) / 10.
double round10(double no);

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
