#include "tools/maptool.h"

#include "document/edits.h"
#include "document/numtext.h"
#include "document/table.h"
#include "tools/values.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace qs::tools {

namespace {

constexpr double kRadians = 3.14159265358979323846 / 180;
// How far, in pixels, a press must move to become a drag, and how near a
// handle must be.
constexpr double kDragPixels = 4;
constexpr double kHandlePixels = 7;
// How far beyond its edge a block's turn handle stands, in pixels, and how
// long a block's diagonal must be for its handles to show.
constexpr double kTurnPixels = 24;
constexpr double kSmallestPixels = 16;

struct Frame {
    MapPoint centre, a, b; // the centre, and the unit axes of Size X and Size Z
    double ha = 0, hb = 0; // the half-extents along them
};

Frame frameof(const Block& b) {
    const double ang = b.angle * kDegToRad;
    return {{b.z, b.x},
            {std::cos(ang), std::sin(ang)},
            {-std::sin(ang), std::cos(ang)},
            std::fabs(b.sizex),
            std::fabs(b.sizez)};
}

double dot(MapPoint p, MapPoint q) {
    return p.z * q.z + p.x * q.x;
}
MapPoint minus(MapPoint p, MapPoint q) {
    return {p.z - q.z, p.x - q.x};
}

// Whether two convex outlines overlap by more than a touch: no axis of
// either separates them.
bool overlap(const std::array<MapPoint, 4>& p, const std::array<MapPoint, 4>& q) {
    constexpr double kTouch = 1e-6;
    for (const auto* shape : {&p, &q})
        for (std::size_t i = 0; i < 4; ++i) {
            const MapPoint& a = (*shape)[i];
            const MapPoint& b = (*shape)[(i + 1) % 4];
            const MapPoint axis{a.x - b.x, b.z - a.z};
            if (axis.z == 0 && axis.x == 0) continue;
            double pmin = std::numeric_limits<double>::infinity(), pmax = -pmin, qmin = pmin,
                   qmax = -pmin;
            for (const MapPoint& v : p)
                pmin = std::min(pmin, dot(v, axis)), pmax = std::max(pmax, dot(v, axis));
            for (const MapPoint& v : q)
                qmin = std::min(qmin, dot(v, axis)), qmax = std::max(qmax, dot(v, axis));
            const double length = std::hypot(axis.z, axis.x);
            if (pmax - qmin <= kTouch * length || qmax - pmin <= kTouch * length) return false;
        }
    return true;
}

std::array<MapPoint, 4> boxpoints(const MapBox& b) {
    return {MapPoint{b.zmin, b.xmin}, MapPoint{b.zmax, b.xmin}, MapPoint{b.zmax, b.xmax},
            MapPoint{b.zmin, b.xmax}};
}

// The distance between the nearest edges of two outlines; 0 when they meet.
double gap(const std::array<MapPoint, 4>& p, const std::array<MapPoint, 4>& q) {
    if (overlap(p, q)) return 0;
    double nearest = std::numeric_limits<double>::infinity();
    for (int pass = 0; pass < 2; ++pass) {
        const auto& from = pass == 0 ? p : q;
        const auto& to = pass == 0 ? q : p;
        for (const MapPoint& v : from)
            for (std::size_t j = 0; j < 4; ++j) {
                const MapPoint a = to[j], b = to[(j + 1) % 4], ab = minus(b, a);
                const double length = dot(ab, ab);
                const double t =
                    length > 0 ? std::clamp(dot(minus(v, a), ab) / length, 0.0, 1.0) : 0;
                nearest = std::min(nearest, std::hypot(v.z - a.z - t * ab.z, v.x - a.x - t * ab.x));
            }
    }
    return nearest;
}

std::string number(double v) {
    return plainnum(static_cast<float>(v));
}
std::string signedfigure(double v) {
    return (v > 0 ? "+" : "") + number(v);
}

} // namespace

MapTool::MapTool(Document& document, Host host) : d_(document), host_(std::move(host)) {}

int MapTool::hit(MapPoint at) const {
    return blockat(d_.blocks(), host_.look(), at, &corners_);
}

std::vector<std::pair<Handle, MapPoint>> MapTool::handles(double pixel) const {
    std::vector<std::pair<Handle, MapPoint>> out;
    const int c = d_.current;
    if (!validslot(c)) return {};
    const Block& b = d_.blocks()[static_cast<std::size_t>(c)];
    const Look look = host_.look();
    if (!drawnwithin(b, look.mind, look.maxd)) return {};
    const Frame f = frameof(b);
    if (!std::isfinite(f.centre.z + f.centre.x + f.ha + f.hb)) return {};
    // A block too small on the screen to take its handles apart has none:
    // a press on it selects or moves it.
    if (2 * std::hypot(f.ha, f.hb) <= kSmallestPixels * pixel) return {};
    for (int along = -1; along <= 1; ++along)
        for (int across = -1; across <= 1; ++across) {
            if (along == 0 && across == 0) continue;
            out.push_back({Handle{along, across, false},
                           {f.centre.z + along * f.ha * f.a.z + across * f.hb * f.b.z,
                            f.centre.x + along * f.ha * f.a.x + across * f.hb * f.b.x}});
        }
    const double out_ = f.hb + kTurnPixels * pixel;
    out.push_back({Handle{0, 0, true}, {f.centre.z + out_ * f.b.z, f.centre.x + out_ * f.b.x}});
    return out;
}

std::optional<Handle> MapTool::handleat(MapPoint at, double pixel) const {
    std::optional<Handle> found;
    double nearest = kHandlePixels * pixel;
    for (const auto& [handle, point] : handles(pixel)) {
        const double distance = std::hypot(point.z - at.z, point.x - at.x);
        if (distance <= nearest) nearest = distance, found = handle;
    }
    return found;
}

std::vector<int> MapTool::targets() const {
    std::vector<int> out = d_.selection();
    if (out.empty() && validslot(d_.current) &&
        !isemptyslot(d_.blocks()[static_cast<std::size_t>(d_.current)]))
        out.push_back(d_.current);
    return out;
}

std::string MapTool::count(const char* verb, std::size_t n) const {
    return std::string(verb) + " " + std::to_string(n) + (n == 1 ? " block" : " blocks");
}

void MapTool::press(MapPoint at, Modifiers m, double pixel) {
    pressed_ = at_ = at;
    pressedwith_ = m;
    guide_.reset();
    figure_.clear();
    moving_.clear();
    before_.clear();
    if (const auto handle = handleat(at, pixel); handle && !m.alt) {
        handle_ = *handle;
        drag_ = handle->turn ? Drag::Turn : Drag::Resize;
        // A turn handle turns the selection when the current block is in it.
        const bool group = handle->turn && d_.selected(d_.current) && d_.selectedcount() > 1;
        moving_ = group ? d_.selection() : std::vector<int>{d_.current};
        for (int slot : moving_)
            before_.push_back(d_.blocks()[static_cast<std::size_t>(slot)]);
        // The current block first, whose shape the handle follows.
        const auto it = std::find(moving_.begin(), moving_.end(), int{d_.current});
        std::iter_swap(moving_.begin(), it);
        std::iter_swap(before_.begin(), before_.begin() + (it - moving_.begin()));
        key_ = "shape#" + std::to_string(++serial_);
        return;
    }
    pressedon_ = hit(at);
    drag_ = Drag::Pending;
    if (pressedon_ < 0) return;
    if (m.alt) {
        // The blocks under the point, top first; each Alt+click takes the
        // one below the one taken last.
        const std::vector<int> under = blocksat(d_.blocks(), host_.look(), at, &corners_);
        std::size_t next = 0;
        if (under == cycle_) {
            const auto it = std::find(under.begin(), under.end(), int{d_.current});
            if (it != under.end())
                next = static_cast<std::size_t>(it - under.begin() + 1) % under.size();
        }
        cycle_ = under;
        pressedon_ = under[next];
        pick(pressedon_, {.shift = m.shift}, true); // with Shift, added to the selection
        drag_ = Drag::None;
        return;
    }
    // The block pressed on is selected at once; it becomes the current
    // block with the click, or with the drag's first step.
    if (m.shift)
        pick(pressedon_, m, false);
    else if (!m.ctrl && !d_.selected(pressedon_))
        pick(pressedon_, m, false);
}

namespace {

// Selects a block as a click does; with `current`, it becomes the current
// block too.
void choose(Document& d, const Host& host, int slot, Modifiers m, bool current) {
    host.select([&] {
        if (m.ctrl)
            d.select(slot, !d.selected(slot));
        else if (m.shift)
            d.select(slot);
        else
            d.setselection(std::vector<int>{slot});
    });
    if (current && d.selected(slot)) host.makecurrent(slot);
}

} // namespace

void clickselect(Document& d, const Host& host, int slot, Modifiers m) {
    if (slot >= 0) return choose(d, host, slot, m, true);
    if (!m.shift && !m.ctrl) host.select([&] { d.clearselection(); });
}

void MapTool::pick(int slot, Modifiers m, bool current) {
    choose(d_, host_, slot, m, current);
}

void MapTool::move(MapPoint at, Modifiers m, double pixel) {
    at_ = at;
    const bool snap = !m.ctrl; // Ctrl held turns snapping the other way
    if (drag_ == Drag::Pending) {
        if (std::hypot(at.z - pressed_.z, at.x - pressed_.x) < kDragPixels * pixel) return;
        if (pressedon_ < 0) {
            drag_ = Drag::Band;
        } else {
            // A drag moves the selection with the block pressed on, which
            // becomes the current block.
            if (!d_.selected(pressedon_)) pick(pressedon_, {.ctrl = true}, false);
            becomes_ = pressedon_;
            moving_ = d_.selection();
            const auto it = std::find(moving_.begin(), moving_.end(), pressedon_);
            std::iter_swap(moving_.begin(), it);
            for (int slot : moving_)
                before_.push_back(d_.blocks()[static_cast<std::size_t>(slot)]);
            key_ = "move#" + std::to_string(++serial_);
            drag_ = Drag::Move;
        }
    }
    switch (drag_) {
    case Drag::Band:
        touching_ = at.z < pressed_.z;
        break;
    case Drag::Move:
        dragmove(at, snap, pixel);
        break;
    case Drag::Resize:
        dragresize(at, snap);
        break;
    case Drag::Turn:
        dragturn(at, snap);
        break;
    default:
        break;
    }
}

void MapTool::reshape(const std::string& what, const std::function<void(int slot, Block& b)>& f) {
    host_.edit(what, key_, [&] {
        for (std::size_t i = 0; i < moving_.size(); ++i) {
            Block b = before_[i];
            if (f) f(moving_[i], b);
            d_.set(moving_[i], b);
        }
        return std::exchange(becomes_, -1);
    });
}

void MapTool::dragmove(MapPoint at, bool snap, double pixel) {
    const Block& grabbed = before_.front();
    MapPoint offset{at.z - pressed_.z, at.x - pressed_.x};
    guide_.reset();
    if (snap) {
        // Onto a corner or an edge of another block nearby, else the grabbed
        // block's centre onto the grid.
        std::vector<int> others;
        const Look look = host_.look();
        for (int slot = 0; slot < kSlots; ++slot)
            if (drawnwithin(d_.blocks()[static_cast<std::size_t>(slot)], look.mind, look.maxd) &&
                std::find(moving_.begin(), moving_.end(), slot) == moving_.end())
                others.push_back(slot);
        const auto corners = cornerpoints(grabbed);
        const Snapped s =
            snaptoblocks(corners, offset, d_.blocks(), others, kSnapPixels * pixel, &corners_);
        guide_ = s.guide;
        offset = s.guide ? s.offset
                         : MapPoint{ongrid(grabbed.z + offset.z, gridstep()) - grabbed.z,
                                    ongrid(grabbed.x + offset.x, gridstep()) - grabbed.x};
    }
    figure_ = "Z " + signedfigure(holdposition(grabbed.z + offset.z) - grabbed.z) + ", X " +
              signedfigure(holdposition(grabbed.x + offset.x) - grabbed.x);
    reshape(count("moving", moving_.size()), [&](int, Block& b) {
        b.z = holdposition(b.z + offset.z);
        b.x = holdposition(b.x + offset.x);
    });
}

void MapTool::dragresize(MapPoint at, bool snap) {
    const Block& o = before_.front();
    const Frame f = frameof(o);
    const MapPoint p = minus(at, f.centre);
    const double step = gridstep();
    // Along each axis the handle moves, the opposite side stays where it is.
    const auto side = [&](int moves, double half, MapPoint axis, float& size) {
        if (moves == 0) return 0.0;
        const double fixed = -moves * half;
        double extent = (dot(p, axis) - fixed) * moves;
        if (snap) extent = std::max(ongrid(extent, step), step);
        size = holdsize(extent / 2);
        return fixed + moves * static_cast<double>(size);
    };
    Block b = o;
    b.sizex = std::fabs(o.sizex);
    b.sizez = std::fabs(o.sizez);
    const double ca = side(handle_.along, f.ha, f.a, b.sizex);
    const double cb = side(handle_.across, f.hb, f.b, b.sizez);
    b.z = holdposition(f.centre.z + ca * f.a.z + cb * f.b.z);
    b.x = holdposition(f.centre.x + ca * f.a.x + cb * f.b.x);
    figure_ = "Size X " + number(b.sizex) + ", Size Z " + number(b.sizez);
    reshape("resizing a block", [&](int, Block& out) { out = b; });
}

void MapTool::dragturn(MapPoint at, bool snap) {
    // About the block's centre, or the middle of the blocks turned.
    MapBox around = MapBox::of(before_.front().z, before_.front().x);
    for (const Block& b : before_)
        around.takein(b.z, b.x);
    const MapPoint pivot = around.middle();
    const double from = std::atan2(pressed_.x - pivot.x, pressed_.z - pivot.z);
    const double to = std::atan2(at.x - pivot.x, at.z - pivot.z);
    const double base = before_.front().angle;
    double target = base + (to - from) / kRadians;
    target = snap ? ongrid(target, kAngleStep) : std::round(target);
    const double turn = target - base;
    figure_ = "Angle " + number(holdangle(target));
    const double c = std::cos(turn * kRadians), s = std::sin(turn * kRadians);
    reshape(count("turning", moving_.size()), [&](int, Block& b) {
        if (moving_.size() > 1) {
            const double rz = b.z - pivot.z, rx = b.x - pivot.x;
            b.z = holdposition(pivot.z + rz * c - rx * s);
            b.x = holdposition(pivot.x + rz * s + rx * c);
        }
        b.angle = holdangle(b.angle + turn);
    });
}

std::optional<MapBox> MapTool::band() const {
    if (drag_ != Drag::Band) return std::nullopt;
    return MapBox{std::min(pressed_.z, at_.z), std::max(pressed_.z, at_.z),
                  std::min(pressed_.x, at_.x), std::max(pressed_.x, at_.x)};
}

void MapTool::finishband(Modifiers m) {
    const MapBox box = *band();
    const auto boxcorners = boxpoints(box);
    const Look look = host_.look();
    std::vector<int> caught;
    for (int slot = 0; slot < kSlots; ++slot) {
        const Block& b = d_.blocks()[static_cast<std::size_t>(slot)];
        if (!drawnwithin(b, look.mind, look.maxd)) continue;
        const auto corners = cornerpoints(b);
        const bool inside = std::all_of(corners.begin(), corners.end(), [&](const MapPoint& p) {
            return p.z >= box.zmin && p.z <= box.zmax && p.x >= box.xmin && p.x <= box.xmax;
        });
        if (inside || (touching_ && overlap(corners, boxcorners))) caught.push_back(slot);
    }
    host_.select([&] {
        if (!m.shift && !m.ctrl) d_.clearselection();
        for (int slot : caught)
            d_.select(slot, !(m.ctrl && d_.selected(slot)));
    });
}

void MapTool::release(MapPoint at, Modifiers m, double pixel) {
    move(at, m, pixel);
    if (drag_ == Drag::Pending) {
        clickselect(d_, host_, pressedon_, {pressedwith_.shift, pressedwith_.ctrl, false});
    } else if (drag_ == Drag::Band) {
        finishband(pressedwith_);
    }
    drag_ = Drag::None;
    guide_.reset();
    figure_.clear();
    moving_.clear();
    before_.clear();
    becomes_ = -1;
}

void MapTool::hover(MapPoint at, double pixel) {
    at_ = at;
    if (drag_ != Drag::None) return;
    if (const auto handle = handleat(at, pixel)) {
        cursor_ = handle->turn ? Cursor::Turn : Cursor::Resize;
        const Block& b = d_.blocks()[static_cast<std::size_t>(d_.current)];
        handleangle_ = b.angle + std::atan2(handle->across, handle->along) / kRadians;
        return;
    }
    cursor_ = hit(at) >= 0 ? Cursor::Move : Cursor::Arrow;
}

void MapTool::nudge(double dz, double dx, double dbottom) {
    const std::vector<int> slots = targets();
    if (slots.empty()) return;
    const char* verb = dbottom > 0 ? "raising" : dbottom < 0 ? "lowering" : "moving";
    host_.edit(count(verb, slots.size()), dbottom != 0 ? "raise" : "nudge", [&] {
        for (int slot : slots) {
            Block& b = d_.write(slot);
            b.z = holdposition(b.z + dz);
            b.x = holdposition(b.x + dx);
            if (dbottom != 0) b.bottom = holddepth(b.bottom + dbottom);
        }
        return -1;
    });
}

void MapTool::key(Key k, Modifiers m) {
    const double step = gridstep() * (m.shift ? 10 : 1);
    switch (k) {
    case Key::Escape:
        if (drag_ == Drag::Move || drag_ == Drag::Resize || drag_ == Drag::Turn) {
            reshape("cancelling", {}); // everything as it was: the step undoes itself
        } else if (drag_ == Drag::None) {
            host_.select([&] { d_.clearselection(); });
        }
        drag_ = Drag::None;
        guide_.reset();
        figure_.clear();
        break;
    case Key::Left:
        nudge(-step, 0, 0);
        break;
    case Key::Right:
        nudge(step, 0, 0);
        break;
    case Key::Up:
        nudge(0, step, 0);
        break;
    case Key::Down:
        nudge(0, -step, 0);
        break;
    case Key::PageUp:
        nudge(0, 0, step);
        break;
    case Key::PageDown:
        nudge(0, 0, -step);
        break;
    case Key::SmallerGrid:
        grid_ = grid_ > 0 ? grid_ - 1 : 0;
        break;
    case Key::LargerGrid:
        grid_ = std::min(grid_ + 1, kGridSteps.size() - 1);
        break;
    case Key::SelectAll:
        host_.select([&] {
            const int n = listedcount(d_.blocks());
            for (int slot = 0; slot < n; ++slot)
                d_.select(slot);
        });
        break;
    case Key::Delete:
        remove();
        break;
    case Key::Duplicate:
        duplicate();
        break;
    case Key::Stack:
        stack();
        break;
    }
}

void MapTool::remove() {
    const std::vector<int> slots = targets();
    if (slots.empty()) return;
    if (!host_.ask(slots.size() == 1 ? "Delete?"
                                     : "Delete " + std::to_string(slots.size()) + " blocks?"))
        return;
    host_.edit(count("deleting", slots.size()), {}, [&] {
        edits::empty(d_, slots);
        edits::closegaps(d_);
        return -1;
    });
}

void MapTool::duplicate() {
    const std::vector<int> slots = targets();
    if (slots.empty()) return;
    // One grid step off, so the copies are seen beside what they copy.
    std::vector<Block> copies;
    for (int slot : slots) {
        Block b = d_.blocks()[static_cast<std::size_t>(slot)];
        b.z = holdposition(b.z + gridstep());
        b.x = holdposition(b.x - gridstep());
        copies.push_back(b);
    }
    edits::Placed placed;
    host_.edit(count("duplicating", slots.size()), {}, [&] {
        placed = edits::put(d_, copies);
        if (placed.slots.empty()) return -1; // refused: the selection stays
        d_.setselection(placed.slots);
        return placed.slots.front();
    });
    if (!placed.refusal.empty()) host_.say(placed.refusal);
}

void MapTool::stack() {
    std::vector<int> slots = targets();
    if (slots.empty()) return;
    const BlockTable& t = d_.blocks();
    // Lowest first, so blocks stacked together pile up in their order.
    std::stable_sort(slots.begin(), slots.end(), [&](int a, int b) {
        return t[static_cast<std::size_t>(a)].bottom < t[static_cast<std::size_t>(b)].bottom;
    });
    host_.edit(count("stacking", slots.size()), {}, [&] {
        const Look look = host_.look();
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const auto outline = cornerpoints(t[static_cast<std::size_t>(slots[i])]);
            double top = 0; // the ground
            for (const Block& o : t) {
                const int other = static_cast<int>(&o - t.data());
                const bool waiting = std::find(slots.begin() + static_cast<std::ptrdiff_t>(i),
                                               slots.end(), other) != slots.end();
                if (waiting || !drawnwithin(o, look.mind, look.maxd) ||
                    !overlap(outline, cornerpoints(o)))
                    continue;
                top = std::max(top, static_cast<double>(o.bottom) + o.height);
            }
            d_.write(slots[i]).bottom = holddepth(top);
        }
        return -1;
    });
}

std::string MapTool::status() const {
    const int n = d_.selectedcount();
    std::string out = n == 0 ? "Nothing selected" : std::to_string(n) + " selected";
    if (n == 2) {
        const auto s = d_.selection();
        const BlockTable& t = d_.blocks();
        // In hundredths, as a person reads a distance.
        out += ", gap " +
               number(std::round(100 * gap(cornerpoints(t[static_cast<std::size_t>(s[0])]),
                                           cornerpoints(t[static_cast<std::size_t>(s[1])]))) /
                      100);
    }
    out += " | grid " + number(gridstep());
    if (drag_ == Drag::Band)
        out += touching_ ? " | box takes blocks it touches" : " | box takes blocks inside it";
    return out;
}

} // namespace qs::tools
