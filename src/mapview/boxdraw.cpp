#include "mapview/boxdraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qs {

namespace {

// How far around the picture a face is cut, in pixels: faces reaching far
// out are cut before their pixels are worked out.
constexpr double kGuard = 64;

// The light comes from above, over the map's left and top.
constexpr double kLightZ = -0.45, kLightX = 0.55, kLightUp = 0.70;

// A box as the camera sees it: its corners, bottom 0 to 3 and top 4 to 7,
// in the order of the block's outline.
struct SeenBox {
    std::array<Eye, 8> corners;
    std::array<Corner, 4> outline;
    double low = 0, high = 0;
    bool flat = false;
};

SeenBox seebox(const BlockTable& table, int slot, const BoxProjection& project,
               CornerCache* cache) {
    const Block& b = table[static_cast<std::size_t>(slot)];
    SeenBox s;
    s.outline = cache ? cache->corners(slot, b) : blockcorners(b);
    const double bottom = b.bottom, top = static_cast<float>(b.bottom + b.height);
    s.low = std::min(bottom, top), s.high = std::max(bottom, top);
    s.flat = !(s.high > s.low);
    for (std::size_t j = 0; j < 4; ++j) {
        s.corners[j] = project.toeye(s.outline[j].h, s.outline[j].v, s.low);
        s.corners[j + 4] = project.toeye(s.outline[j].h, s.outline[j].v, s.high);
    }
    return s;
}

// The faces of a box by its corners, each going round its edge: the four
// sides, then the top, then the bottom.
constexpr std::array<std::array<std::size_t, 4>, 6> kFaces{
    {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}, {4, 5, 6, 7}, {3, 2, 1, 0}}};
constexpr std::size_t kTop = 4, kBottom = 5;

// Which way a face looks, on the map (across, up) and upwards.
std::array<double, 3> outward(const SeenBox& s, std::size_t face) {
    if (face == kTop) return {0, 0, 1};
    if (face == kBottom) return {0, 0, -1};
    const Corner &a = s.outline[face], &b = s.outline[(face + 1) % 4];
    const double cz = (double(s.outline[0].h) + s.outline[2].h) / 2,
                 cx = (double(s.outline[0].v) + s.outline[2].v) / 2;
    const double oz = (double(a.h) + b.h) / 2 - cz, ox = (double(a.v) + b.v) / 2 - cx;
    const double length = std::hypot(oz, ox);
    return length > 0 ? std::array<double, 3>{oz / length, ox / length, 0}
                      : std::array<double, 3>{0, 0, 0};
}

// Whether the camera sees a face's outer side.
bool facing(const SeenBox& s, std::size_t face, const BoxProjection& project) {
    const auto [oz, ox, oh] = outward(s, face);
    const Eye n = project.toeye(oz, ox, oh, true);
    if (!project.perspective()) return n.ahead < 0;
    const Eye& p = s.corners[kFaces[face][0]];
    const Eye eye = project.eye();
    return n.across * (eye.across - p.across) + n.up * (eye.up - p.up) +
               n.ahead * (eye.ahead - p.ahead) >
           0;
}

// Keeps the part of a convex polygon where `inside` is not negative, each
// new corner found along an edge.
template <class P, class Inside, class Between>
void keep(std::vector<P>& polygon, std::vector<P>& spare, Inside inside, Between between) {
    spare.clear();
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const P &a = polygon[i], &b = polygon[(i + 1) % polygon.size()];
        const double da = inside(a), db = inside(b);
        if (da >= 0) spare.push_back(a);
        if ((da >= 0) != (db >= 0)) spare.push_back(between(a, b, da / (da - db)));
    }
    polygon.swap(spare);
}

Eye betweeneyes(const Eye& a, const Eye& b, double t) {
    return {a.across + (b.across - a.across) * t, a.up + (b.up - a.up) * t,
            a.ahead + (b.ahead - a.ahead) * t};
}
Point3 betweenpoints(const Point3& a, const Point3& b, double t) {
    return {a.h + (b.h - a.h) * t, a.v + (b.v - a.v) * t, a.depth + (b.depth - a.depth) * t};
}

// Reused between faces, so drawing a face allocates nothing.
struct Scratch {
    std::vector<Eye> eyes, spareeyes;
    std::vector<Point3> points, sparepoints;
};

// A face's corners in the picture: cut where the eye cannot see (with
// perspective), projected, and cut to the picture and a margin. None when
// nothing of it is left.
const std::vector<Point3>& toscreen(const SeenBox& s, const std::array<std::size_t, 4>& corners,
                                    const BoxProjection& project, const Raster& raster,
                                    Scratch& k) {
    k.eyes.clear();
    for (std::size_t c : corners)
        k.eyes.push_back(s.corners[c]);
    if (project.perspective()) {
        const double nearest = project.nearestahead();
        keep(
            k.eyes, k.spareeyes, [&](const Eye& e) { return e.ahead - nearest; }, betweeneyes);
    }
    k.points.clear();
    bool inside = true;
    const double w = raster.width(), h = raster.height();
    for (const Eye& e : k.eyes) {
        const Point3 p = project.toscreen(e);
        if (!std::isfinite(p.h) || !std::isfinite(p.v) || !std::isfinite(p.depth)) {
            k.points.clear();
            return k.points;
        }
        inside =
            inside && p.h >= -kGuard && p.h <= w + kGuard && p.v >= -kGuard && p.v <= h + kGuard;
        k.points.push_back(p);
    }
    if (!inside) {
        keep(
            k.points, k.sparepoints, [&](const Point3& p) { return p.h + kGuard; }, betweenpoints);
        keep(
            k.points, k.sparepoints, [&](const Point3& p) { return w + kGuard - p.h; },
            betweenpoints);
        keep(
            k.points, k.sparepoints, [&](const Point3& p) { return p.v + kGuard; }, betweenpoints);
        keep(
            k.points, k.sparepoints, [&](const Point3& p) { return h + kGuard - p.v; },
            betweenpoints);
    }
    return k.points;
}

// The edge from corner a to corner b in the picture, cut as faces are; false
// when nothing of it is seen.
bool edge(const Eye& a, const Eye& b, const BoxProjection& project, Point3& from, Point3& to) {
    Eye p = a, q = b;
    if (project.perspective()) {
        const double nearest = project.nearestahead();
        const double da = p.ahead - nearest, db = q.ahead - nearest;
        if (da < 0 && db < 0) return false;
        if (da < 0)
            p = betweeneyes(p, q, da / (da - db));
        else if (db < 0)
            q = betweeneyes(q, p, db / (db - da));
    }
    from = project.toscreen(p), to = project.toscreen(q);
    return std::isfinite(from.h + from.v + from.depth + to.h + to.v + to.depth);
}

// Whether a box's corners in the picture come near the raster's clip.
bool near(const SeenBox& s, const BoxProjection& project, const Raster& raster) {
    const auto [left, top, right, bottom] = raster.clipped();
    double l = INFINITY, t = INFINITY, r = -INFINITY, b = -INFINITY;
    for (const Eye& e : s.corners) {
        if (!project.seen(e)) return true; // partly behind the eye: worked out face by face
        const Point3 p = project.toscreen(e);
        l = std::min(l, p.h), r = std::max(r, p.h), t = std::min(t, p.v), b = std::max(b, p.v);
    }
    return !(r < left - 2 || l > right + 2 || b < top - 2 || t > bottom + 2);
}

// Whether a box lies wholly away from the raster's clip, told cheaply from
// its middle and its reach (without perspective; with it, never).
bool far(const Block& b, const BoxProjection& project, const BoxCamera& camera,
         const Raster& raster) {
    if (project.perspective()) return false;
    const double low = b.bottom, high = static_cast<float>(b.bottom + b.height);
    const double reach =
        (std::fabs(double(b.sizex)) + std::fabs(double(b.sizez)) + std::fabs(high - low) / 2) *
        camera.scale;
    const Point3 middle = project.toscreen(project.toeye(b.z, b.x, low / 2 + high / 2));
    if (!std::isfinite(reach) || !std::isfinite(middle.h) || !std::isfinite(middle.v)) return false;
    const auto [left, top, right, bottom] = raster.clipped();
    return middle.h + reach < left - 2 || middle.h - reach > right + 2 ||
           middle.v + reach < top - 2 || middle.v - reach > bottom + 2;
}

// How close a line may come to the surface it lies on and still be drawn:
// a sliver of a map unit, in the picture's depth.
double tie(const BoxProjection& project, const BoxCamera& camera) {
    if (!project.perspective()) return 1e-4;
    const double d = camera.distance();
    return 1e-4 / (d * d);
}

// The edges of the faces a box shows, each once.
std::vector<std::pair<std::size_t, std::size_t>>
shownedges(const SeenBox& s, const BoxProjection& project, bool toponly) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    for (std::size_t f = 0; f < kFaces.size(); ++f) {
        if (toponly ? f != kTop : (s.flat ? f != kTop : !facing(s, f, project))) continue;
        for (std::size_t j = 0; j < 4; ++j) {
            const std::size_t a = kFaces[f][j], b = kFaces[f][(j + 1) % 4];
            const auto e = std::minmax(a, b);
            if (std::find(out.begin(), out.end(),
                          std::pair<std::size_t, std::size_t>{e.first, e.second}) == out.end())
                out.push_back({e.first, e.second});
        }
    }
    return out;
}

} // namespace

void drawboxes(Raster& raster, DepthBuffer& buffer, const BlockTable& table, const Look& look,
               const BoxCamera& camera, const Ground& ground, CornerCache* cache) {
    raster.fill(ground.background);
    raster.keepdepth(buffer);
    const BoxProjection project(camera);
    Scratch scratch;
    std::vector<std::pair<int, SeenBox>> shown;
    for (int slot = 0; slot < kSlots; ++slot) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        if (!drawnwithin(b, look.mind, look.maxd) || far(b, project, camera, raster)) continue;
        const SeenBox s = seebox(table, slot, project, cache);
        if (!near(s, project, raster)) continue;
        const std::int32_t colour = mapcolour(b, look.colours);
        for (std::size_t f = 0; f < kFaces.size(); ++f) {
            // A box of no height is its top alone, seen from either side.
            if (s.flat ? f != kTop : !facing(s, f, project)) continue;
            const auto [oz, ox, oh] = outward(s, f);
            const double light = f == kTop ? 0.35 + 0.5 * kLightUp + 0.15
                                 : f == kBottom
                                     ? 0.3
                                     : 0.35 + 0.5 * std::max(0.0, oz * kLightZ + ox * kLightX);
            (void)oh;
            const std::vector<Point3>& p = toscreen(s, kFaces[f], project, raster, scratch);
            const Argb shaded = argb(shade(colour, light));
            for (std::size_t i = 2; i < p.size(); ++i)
                raster.triangle(p[0], p[i - 1], p[i], shaded, slot);
        }
        shown.emplace_back(slot, s);
    }

    // The ground grid, where no face lies nearer: around the blocks and the
    // main map's area, at height 0.
    const double slack = tie(project, camera);
    const MapBox& box = ground.area;
    const double step = gridstep(camera.scale, 40);
    const std::vector<double> zs = gridlines(box.zmin - step, box.zmax + step, step);
    const std::vector<double> xs = gridlines(box.xmin - step, box.xmax + step, step);
    Point3 from, to;
    if (!zs.empty() && !xs.empty()) {
        for (double z : zs)
            if (edge(project.toeye(z, xs.front(), 0), project.toeye(z, xs.back(), 0), project, from,
                     to))
                raster.line(from, to, z == 0 ? ground.axis : ground.grid, -slack);
        for (double x : xs)
            if (edge(project.toeye(zs.front(), x, 0), project.toeye(zs.back(), x, 0), project, from,
                     to))
                raster.line(from, to, x == 0 ? ground.axis : ground.grid, -slack);
    }

    // Each top's edges darker, so boxes of one colour side by side read
    // apart.
    for (const auto& [slot, s] : shown) {
        const Argb dark =
            argb(shade(mapcolour(table[static_cast<std::size_t>(slot)], look.colours), 0.55));
        for (const auto& [a, b] : shownedges(s, project, true))
            if (edge(s.corners[a], s.corners[b], project, from, to))
                raster.line(from, to, dark, slack, slot);
    }
}

void drawboxmarks(Raster& raster, DepthBuffer& buffer, const BlockTable& table, const Look& look,
                  const BoxCamera& camera, CornerCache* cache) {
    raster.usedepth(buffer);
    const BoxProjection project(camera);
    const double slack = tie(project, camera);
    Point3 from, to;
    const auto marked = [&](int slot, bool current) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        if (!drawnwithin(b, look.mind, look.maxd)) return;
        if (far(b, project, camera, raster)) return;
        const SeenBox s = seebox(table, slot, project, cache);
        if (!near(s, project, raster)) return;
        for (const auto& [a, c] : shownedges(s, project, false)) {
            if (!edge(s.corners[a], s.corners[c], project, from, to)) continue;
            if (!current) {
                raster.line(from, to, 0xFF000000, slack, slot);
                raster.line(from, to, 0xFFFFFFFF, slack, slot, 4, 4);
                continue;
            }
            // Wide: black a pixel around a white line.
            for (int dh = -1; dh <= 1; ++dh)
                for (int dv = -1; dv <= 1; ++dv)
                    raster.line({from.h + dh, from.v + dv, from.depth},
                                {to.h + dh, to.v + dv, to.depth}, 0xFF000000, slack, slot);
            raster.line(from, to, 0xFFFFFFFF, slack, slot);
        }
    };
    for (std::size_t i = look.selected._Find_first(); i < kSlots; i = look.selected._Find_next(i))
        if (static_cast<int>(i) != look.current) marked(static_cast<int>(i), false);
    if (validslot(look.current)) marked(look.current, true);
}

std::optional<std::array<int, 4>> boxpixels(const Block& b, const Look& look,
                                            const BoxCamera& camera) {
    if (!drawnwithin(b, look.mind, look.maxd)) return std::nullopt;
    const BoxProjection project(camera);
    const std::array<int, 4> all{-(1 << 29), -(1 << 29), 1 << 29, 1 << 29};
    double l = INFINITY, t = INFINITY, r = -INFINITY, bottom = -INFINITY;
    const double low = b.bottom, high = static_cast<float>(b.bottom + b.height);
    for (const Corner& c : blockcorners(b))
        for (double h : {low, high}) {
            const Eye e = project.toeye(c.h, c.v, h);
            if (!project.seen(e)) return all;
            const Point3 p = project.toscreen(e);
            if (!std::isfinite(p.h) || !std::isfinite(p.v)) return all;
            l = std::min(l, p.h), r = std::max(r, p.h), t = std::min(t, p.v),
            bottom = std::max(bottom, p.v);
        }
    // Room for the marks' width.
    const double limit = 1 << 29;
    const auto at = [&](double v) { return static_cast<int>(std::clamp(v, -limit, limit)); };
    return std::array<int, 4>{at(l) - 4, at(t) - 4, at(r) + 5, at(bottom) + 5};
}

} // namespace qs
