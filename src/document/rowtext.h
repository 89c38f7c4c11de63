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

// The row texts of the table's slots, made again only for a slot whose
// record changed since its text was made.
class RowCache {
  public:
    RowCache();
    const std::string& row(int slot, const Block& b);

  private:
    std::array<Block, kSlots> blocks_{};
    std::array<std::string, kSlots> rows_; // the text of each slot's block in blocks_
};

} // namespace qs
