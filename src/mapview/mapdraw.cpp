// The map view: every drawn block as the outline of its turned rectangle.
#include "mapview/mapdraw.h"

#include "app/mainform.h"

#include <cmath>

namespace qs {

double round10(double no) {
    return std::floor(no * 10 + 0.5) / 10;
}

void MainForm::outline(const std::array<Corner, 4>& k, std::int32_t col) {
    for (std::size_t i = 0; i < 4; ++i) {
        const Corner& from = k[i];
        const Corner& to = k[(i + 1) % 4];
        Map.line(from.h, from.v, to.h, to.v, col);
    }
}

void MainForm::drawslot(int i, std::int32_t col) {
    outline(cornercache_.corners(i, blocks[static_cast<std::size_t>(i)]), col);
}

std::int32_t MainForm::mapcolour(const Block& b) const {
    return qs::mapcolour(b, Check1.value() == 1);
}

std::int32_t MainForm::highlightcolour(const Block& b) const {
    return qs::highlightcolour(b, (Check1.value() & 1) == 1);
}

void MainForm::refreshmap() {
    Map.cls();
    const auto mind = static_cast<float>(MinD.value());
    const auto maxd = static_cast<float>(MaxD.value());
    for (int i = 0; i < kSlots; ++i) {
        const Block& b = blocks[static_cast<std::size_t>(i)];
        if (drawnwithin(b, mind, maxd))
            drawslot(i, mapcolour(b)); // square(x, z, sizex, sizez, angle in radians)
    }
    mapdrawn_ = Map.lines().size();
    mapclears_ = Map.clears();
}

void MainForm::markblock(int i) {
    if (!validslot(i)) return;
    drawslot(i, highlightcolour(blocks[static_cast<std::size_t>(i)]));
}

} // namespace qs
