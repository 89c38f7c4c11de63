#pragma once
// The fixed-width rows of the block list.
#include "document/block.h"

#include <string>

namespace qs {

// The row of the free slot: what an all-zero block gives.
inline constexpr const char* kFreeSlotRow = "     0     0     0     0     0     0    0";

// Seven right-aligned columns: X, Z, Size X, Size Z, Bottom and Height six
// characters wide, Angle five. A value wider than its column is written
// whole, so the row grows rather than lose digits.
std::string rowtext(const Block& b);

} // namespace qs
