#include "blocklist/rowtext.h"

#include "document/numtext.h"

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
    row.reserve(48);
    column(row, b.x, 6);
    column(row, b.z, 6);
    column(row, b.sizex, 6);
    column(row, b.sizez, 6);
    column(row, b.bottom, 6);
    column(row, b.height, 6);
    column(row, b.angle, 5);
    return row;
}

} // namespace qs
