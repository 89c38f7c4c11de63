#pragma once
// What the map window and the 3D view show, apart from any toolkit: where a
// map point lies in a picture, the grid, the block under the pointer, and
// the 3D view's boxes, far to near. The pictures read the table; they never
// write it.
#include "document/block.h"
#include "document/footprint.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qs {

// What the pictures show of the table: the main map's depth window and
// "Use Block Colors." switch, the block marked as the current one, and the
// selected blocks.
struct Look {
    float mind = 0, maxd = 1000;
    bool colours = true;
    int current = -1; // a slot, or -1 for none
    std::bitset<kSlots> selected{};
};

// A point of the map: Z across, X up, as the main map draws them.
struct MapPoint {
    double z = 0, x = 0;
};
struct Pixel {
    double h = 0, v = 0;
};
// Map coordinates of a box: Z from zmin to zmax, X from xmin to xmax.
struct MapBox {
    double zmin = 0, zmax = 0, xmin = 0, xmax = 0;

    // The box of one point, and the box grown to take in another.
    static MapBox of(double z, double x) { return {z, z, x, x}; }
    void takein(double z, double x) {
        zmin = std::min(zmin, z), zmax = std::max(zmax, z);
        xmin = std::min(xmin, x), xmax = std::max(xmax, x);
    }
    MapPoint middle() const { return {zmin / 2 + zmax / 2, xmin / 2 + xmax / 2}; }
};
// Takes a point into a box that may not have one yet.
inline void takein(std::optional<MapBox>& box, double z, double x) {
    box ? box->takein(z, x) : void(box = MapBox::of(z, x));
}

// The main map's area, outlined in the map window.
inline constexpr MapBox kMainArea{kMapLeft, kMapLeft + kMapWidth, 0, kMapTop};

// The box around every drawn block's corners within the depth window; none
// when no block is drawn.
// Each function that works out blocks' corners takes them from `cache`
// when given one: a window keeps one, so a repaint after one block changed
// turns only that block again.
std::optional<MapBox> drawnbox(const BlockTable& table, const Look& look,
                               CornerCache* cache = nullptr);

// The map in true proportions: `scale` pixels a map unit, across and up.
struct PlanView {
    int width = 800, height = 800;
    double scale = 8;
    MapPoint centre{17.5, 37.5}; // the map point in the picture's middle

    Pixel topixel(MapPoint p) const {
        return {width / 2.0 + (p.z - centre.z) * scale, height / 2.0 - (p.x - centre.x) * scale};
    }
    MapPoint tomap(Pixel p) const {
        return {centre.z + (p.h - width / 2.0) / scale, centre.x - (p.v - height / 2.0) / scale};
    }
    // Zooms in (factor above 1) or out keeping the map point under `at`
    // where it is.
    void zoomabout(Pixel at, double factor);
    // Follows a drag of the map by (dh, dv) pixels.
    void pan(double dh, double dv) { centre = tomap({width / 2.0 - dh, height / 2.0 - dv}); }
    // Shows all of a box with a margin around it.
    void fit(const MapBox& box);
};
inline constexpr double kMinScale = 1e-36, kMaxScale = 1e5;

// The grid's spacing in map units: 1, 2 or 5 times a power of ten, the
// smallest that keeps lines at least `pixels` apart.
double gridstep(double scale, double pixels = 64);
// The grid lines' positions across one axis of the picture, from `from` to
// `to` map units.
std::vector<double> gridlines(double from, double to, double step);
// A grid label: the position without noise, "-2.5", "1000", "1e+40".
std::string gridlabel(double value, double step);

// The highest slot drawn within the depth window whose outline holds the
// map point; -1 for none.
int blockat(const BlockTable& table, const Look& look, MapPoint p, CornerCache* cache = nullptr);
// Every such slot, the highest first.
std::vector<int> blocksat(const BlockTable& table, const Look& look, MapPoint p,
                          CornerCache* cache = nullptr);

// Cuts a convex polygon to a rectangle (Sutherland-Hodgman), so huge
// coordinates never reach a painter.
std::vector<Pixel> cutpolygon(const std::vector<Pixel>& polygon, double left, double top,
                              double right, double bottom);

// The 3D view: a camera turned `yaw` degrees from looking along +X (towards
// the top of the map) and tilted `pitch` degrees down, looking at `target`
// (Z, X, height) with `scale` pixels a unit in the target's plane; without
// perspective (orthographic), or with it.
struct BoxCamera {
    int width = 800, height = 600;
    double yaw = 30, pitch = 35;
    double scale = 6;
    std::array<double, 3> target{17.5, 37.5, 0};
    bool perspective = false;

    // The pixel of a point (Z, X, height), and how far it lies behind the
    // target's plane (larger is farther); with perspective, a point behind
    // the camera has no pixel (not a number).
    Pixel project(double z, double x, double h, double* depth = nullptr) const;
    // Follows a drag: across turns, up and down tilts (kept within 5 to 90
    // degrees, so the ground is never seen from below).
    void orbit(double dh, double dv);
    void zoom(double factor);
    // Back to the starting angles, looking at every drawn block.
    void reset(const BlockTable& table, const Look& look, CornerCache* cache = nullptr);
    // Looks at the drawn blocks among `slots` (every drawn block when there
    // are none), keeping the angles.
    void frame(const BlockTable& table, const Look& look, const std::vector<int>& slots,
               CornerCache* cache = nullptr);
    // With perspective: how far the eye is from the target, in map units.
    double distance() const;
};

// A point as the camera sees it: across and up the picture, and ahead, away
// from the target's plane.
struct Eye {
    double across = 0, up = 0, ahead = 0;
};

// A point of a picture with its depth; a smaller depth is nearer.
struct Point3 {
    double h = 0, v = 0, depth = 0;
};

// A camera's way of turning points into pixels, worked out once for many
// points.
class BoxProjection {
  public:
    explicit BoxProjection(const BoxCamera& camera);
    Pixel at(double z, double x, double h, double* depth = nullptr) const;
    // A point, or (with `direction`) a direction, as the camera sees it.
    Eye toeye(double z, double x, double h, bool direction = false) const;
    // Whether the camera sees a point: everything without perspective,
    // only what lies in front of the eye with it.
    bool seen(const Eye& e) const { return !perspective_ || distance_ + e.ahead >= nearest_; }
    // The pixel of a point the camera sees, with a depth that is linear
    // across the picture (the distance ahead without perspective, minus its
    // inverse with it).
    Point3 toscreen(const Eye& e) const;
    // The eye, seen as `toeye` sees points (with perspective), and how far
    // ahead the nearest thing it sees lies.
    Eye eye() const { return {0, 0, -distance_}; }
    double nearestahead() const { return nearest_ - distance_; }
    bool perspective() const { return perspective_; }

  private:
    const BoxCamera& camera_;
    double sy_, cy_, sp_, cp_;
    bool perspective_;
    double distance_, nearest_;
};

// The ground the 3D view's grid covers: the drawn blocks and the main map's
// area.
MapBox groundbox(const BlockTable& table, const Look& look, CornerCache* cache = nullptr);

// A display colour with each channel multiplied by `light` (0 to 1).
std::int32_t shade(std::int32_t display, double light);

} // namespace qs
