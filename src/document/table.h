#pragma once
// The block table's own operations, as plain functions over a table.
#include "document/block.h"

namespace qs {

// The first empty slot (both sizes exactly 0), or kSlots when there is none.
int firstemptyslot(const BlockTable& table);

// Copies slot `from` into the first empty slot and gives that slot's index
// (kSlots, and nothing copied, when there is none or `from` is no slot).
int copytofirstempty(BlockTable& table, int from);

// Sets every field of a slot to 0; an index that names no slot is ignored.
void emptyslot(BlockTable& table, int slot);

// How many blocks the list shows above its free slot: the slots before the
// first one whose sizes are both zero or less.
int listedcount(const BlockTable& table);

} // namespace qs
