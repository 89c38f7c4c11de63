#pragma once
// Where a new window goes on the screen: beside the main window, so it does
// not cover the main window's controls.
#include <optional>

namespace qs::ui {

// A rectangle of screen pixels.
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    int right() const { return x + w; }
    int bottom() const { return y + h; }
    bool intersects(const Rect& o) const {
        return w > 0 && h > 0 && o.w > 0 && o.h > 0 && x < o.right() && o.x < right() &&
               y < o.bottom() && o.y < bottom();
    }
    bool operator==(const Rect&) const = default;
};

// A place for a window of w by h on `screen` that covers neither `main`
// nor `avoid` (another window, or nothing): to the right of `main`, below
// it, to its left or above it, wherever most of it shows (the first of
// those when two show as much), the window made smaller to fit but not
// below `least` pixels either way; nothing when there is no room.
std::optional<Rect> beside(const Rect& screen, const Rect& main, int w, int h,
                           const Rect& avoid = {}, int least = 240);

} // namespace qs::ui
