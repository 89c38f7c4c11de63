#include "document/table.h"

namespace qs {

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
