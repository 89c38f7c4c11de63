#include "document/table.h"

#include <utility>

namespace qs {

void closefirstgap(BlockTable& table) {
    // A slot carried forward is tested again at the next index, so one pass
    // carries the first empty slot to the end.
    for (std::size_t i = 0; i + 1 < table.size(); ++i)
        if (isemptyslot(table[i])) std::swap(table[i], table[i + 1]);
}

int firstemptyslot(const BlockTable& table) {
    int t = 0;
    while (t < kSlots && !isemptyslot(table[static_cast<std::size_t>(t)]))
        ++t;
    return t;
}

int copytofirstempty(BlockTable& table, int from) {
    const int t = firstemptyslot(table);
    if (validslot(t) && validslot(from))
        table[static_cast<std::size_t>(t)] = table[static_cast<std::size_t>(from)];
    return t;
}

void emptyslot(BlockTable& table, int slot) {
    if (validslot(slot)) table[static_cast<std::size_t>(slot)] = Block{};
}

int listedcount(const BlockTable& table) {
    int k = 0;
    while (k < kSlots && !endslistedrun(table[static_cast<std::size_t>(k)]))
        ++k;
    return k;
}

} // namespace qs
