#include "document/rowtext.h"

#include "document/numtext.h"

#include <cstring>

namespace qs {

namespace {
void column(std::string& row, float v, std::size_t width) {
    const std::string text = plainnum(v);
    if (text.size() < width) row.append(width - text.size(), ' ');
    row += text;
}
} // namespace

std::string rowtext(const Block& b) {
    std::string row;
    column(row, b.x, 6);
    column(row, b.z, 6);
    column(row, b.sizex, 6);
    column(row, b.sizez, 6);
    column(row, b.bottom, 6);
    column(row, b.height, 6);
    column(row, b.angle, 5);
    return row;
}

RowCache::RowCache() {
    rows_.fill(rowtext(Block{}));
}

const std::string& RowCache::row(int slot, const Block& b) {
    const auto i = static_cast<std::size_t>(slot);
    // Compared bit for bit, so -0 and every NaN get their own text.
    auto same = [&](std::size_t k) { return std::memcmp(&blocks_[k], &b, sizeof(Block)) == 0; };
    if (same(i)) return rows_[i];
    // Compaction and moves shift records by one slot: the text may be made
    // already, next door.
    if (i + 1 < blocks_.size() && same(i + 1))
        rows_[i] = rows_[i + 1];
    else if (i > 0 && same(i - 1))
        rows_[i] = rows_[i - 1];
    else
        rows_[i] = rowtext(b);
    blocks_[i] = b;
    return rows_[i];
}

} // namespace qs
