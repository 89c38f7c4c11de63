#include "ui/placement.h"

#include <algorithm>
#include <vector>

namespace qs::ui {

namespace {
constexpr int kGap = 8;
} // namespace

std::optional<Rect> beside(const Rect& screen, const Rect& main, int w, int h, const Rect& avoid,
                           int least) {
    std::optional<Rect> best;
    // Each side's room: the screen beyond that edge of the main window.
    const Rect rooms[] = {
        {main.right() + kGap, screen.y, screen.right() - main.right() - kGap, screen.h},
        {screen.x, main.bottom() + kGap, screen.w, screen.bottom() - main.bottom() - kGap},
        {screen.x, screen.y, main.x - kGap - screen.x, screen.h},
        {screen.x, screen.y, screen.w, main.y - kGap - screen.y},
    };
    for (int side = 0; side < 4; ++side) {
        const bool across = side == 1 || side == 3; // a room above or below runs across
        // The room, or where the other window leaves room in it: before it
        // and after it along the side.
        std::vector<Rect> parts{rooms[side]};
        if (rooms[side].intersects(avoid)) {
            const Rect& r = rooms[side];
            parts = across ? std::vector<Rect>{{r.x, r.y, avoid.x - kGap - r.x, r.h},
                                               {avoid.right() + kGap, r.y,
                                                r.right() - avoid.right() - kGap, r.h}}
                           : std::vector<Rect>{{r.x, r.y, r.w, avoid.y - kGap - r.y},
                                               {r.x, avoid.bottom() + kGap, r.w,
                                                r.bottom() - avoid.bottom() - kGap}};
        }
        for (const Rect& room : parts) {
            const int fitw = std::min(w, room.w), fith = std::min(h, room.h);
            if (fitw < least || fith < least) continue;
            // Lined up with the main window's top (or left) edge where it fits.
            Rect at{across ? main.x : (side == 0 ? room.x : room.right() - fitw),
                    across ? (side == 1 ? room.y : room.bottom() - fith) : main.y, fitw, fith};
            at.x = std::clamp(at.x, room.x, room.right() - fitw);
            at.y = std::clamp(at.y, room.y, room.bottom() - fith);
            // The place that shows most of the window.
            if (!best || at.w * at.h > best->w * best->h) best = at;
        }
    }
    return best;
}

} // namespace qs::ui
