#include "mapview/views.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace qs {

namespace {

constexpr double kRadians = 3.14159265358979323846 / 180;

bool finite(const Corner& c) {
    return std::isfinite(c.h) && std::isfinite(c.v);
}

// The top and the bottom of a block's box, the lower first.
std::pair<double, double> heights(const Block& b) {
    const double bottom = b.bottom, top = static_cast<float>(b.bottom + b.height);
    return {std::min(bottom, top), std::max(bottom, top)};
}

std::array<Corner, 4> cornersof(const BlockTable& table, int slot, CornerCache* cache) {
    const Block& b = table[static_cast<std::size_t>(slot)];
    return cache ? cache->corners(slot, b) : blockcorners(b);
}

} // namespace

std::optional<MapBox> drawnbox(const BlockTable& table, const Look& look, CornerCache* cache) {
    std::optional<MapBox> box;
    for (int i = 0; i < kSlots; ++i) {
        if (!drawnwithin(table[static_cast<std::size_t>(i)], look.mind, look.maxd)) continue;
        for (const Corner& c : cornersof(table, i, cache)) {
            if (!finite(c)) continue;
            takein(box, c.h, c.v);
        }
    }
    return box;
}

void PlanView::zoomabout(Pixel at, double factor) {
    const MapPoint under = tomap(at);
    scale = std::clamp(scale * factor, kMinScale, kMaxScale);
    centre = {under.z - (at.h - width / 2.0) / scale, under.x + (at.v - height / 2.0) / scale};
}

void PlanView::fit(const MapBox& box) {
    constexpr double margin = 24;
    // A single point or a line still gets an area around it.
    const double spanz = std::max(box.zmax - box.zmin, 1.0),
                 spanx = std::max(box.xmax - box.xmin, 1.0);
    const double across = std::max(width - 2 * margin, 1.0),
                 up = std::max(height - 2 * margin, 1.0);
    scale = std::clamp(std::min(across / spanz, up / spanx), kMinScale, kMaxScale);
    centre = box.middle();
}

double gridstep(double scale, double pixels) {
    const double raw = pixels / scale;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

std::vector<double> gridlines(double from, double to, double step) {
    std::vector<double> out;
    const double first = std::ceil(from / step), last = std::floor(to / step);
    if (!(last - first < 10000)) return {}; // not a grid any more, or not a number
    for (double k = first; k <= last; ++k)
        out.push_back(k * step);
    return out;
}

std::string gridlabel(double value, double step) {
    if (std::fabs(value) < step / 2) return "0";
    char buf[32];
    if (step >= 1e-4 && std::fabs(value) < 1e7) {
        const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    } else {
        std::snprintf(buf, sizeof buf, "%g", value);
    }
    return buf;
}

namespace {

// Whether an outline holds a point: the point lies on one side of all four
// edges (or on them).
bool holds(const std::array<Corner, 4>& k, MapPoint p) {
    bool positive = false, negative = false;
    for (std::size_t j = 0; j < 4; ++j) {
        const Corner &a = k[j], &c = k[(j + 1) % 4];
        const double cross = (double(c.h) - a.h) * (p.x - a.v) - (double(c.v) - a.v) * (p.z - a.h);
        positive |= cross > 0;
        negative |= cross < 0;
        if (!std::isfinite(cross)) positive = negative = true;
    }
    return !(positive && negative);
}

} // namespace

int blockat(const BlockTable& table, const Look& look, MapPoint p, CornerCache* cache) {
    for (int i = kSlots - 1; i >= 0; --i)
        if (drawnwithin(table[static_cast<std::size_t>(i)], look.mind, look.maxd) &&
            holds(cornersof(table, i, cache), p))
            return i;
    return -1;
}

std::vector<int> blocksat(const BlockTable& table, const Look& look, MapPoint p,
                          CornerCache* cache) {
    std::vector<int> out;
    for (int i = kSlots - 1; i >= 0; --i)
        if (drawnwithin(table[static_cast<std::size_t>(i)], look.mind, look.maxd) &&
            holds(cornersof(table, i, cache), p))
            out.push_back(i);
    return out;
}

std::vector<Pixel> cutpolygon(const std::vector<Pixel>& polygon, double left, double top,
                              double right, double bottom) {
    std::vector<Pixel> out = polygon, in;
    // Each edge of the rectangle: how far inside a point lies (negative
    // outside).
    const auto cut = [&](auto inside) {
        in.swap(out);
        out.clear();
        for (std::size_t i = 0; i < in.size(); ++i) {
            const Pixel &a = in[i], &b = in[(i + 1) % in.size()];
            const double da = inside(a), db = inside(b);
            if (da >= 0) out.push_back(a);
            // The crossing is worked out from the end inside, which lies
            // near the rectangle: from a far end it would be lost in
            // rounding.
            // A corner on the edge is a crossing itself: none is added.
            if (da > 0 && db < 0) {
                const double t = da / (da - db);
                out.push_back({a.h + (b.h - a.h) * t, a.v + (b.v - a.v) * t});
            } else if (da < 0 && db > 0) {
                const double t = db / (db - da);
                out.push_back({b.h + (a.h - b.h) * t, b.v + (a.v - b.v) * t});
            }
        }
    };
    cut([&](Pixel p) { return p.h - left; });
    cut([&](Pixel p) { return right - p.h; });
    cut([&](Pixel p) { return p.v - top; });
    cut([&](Pixel p) { return bottom - p.v; });
    return out;
}

namespace {
// The lens with perspective: 40 degrees from the top of the picture to its
// bottom; the nearest the camera sees, as a share of its distance.
constexpr double kLens = 40, kNearest = 0.01;
} // namespace

double BoxCamera::distance() const {
    return height / 2.0 / (scale * std::tan(kLens / 2 * kRadians));
}

BoxProjection::BoxProjection(const BoxCamera& camera)
    : camera_(camera), sy_(std::sin(camera.yaw * kRadians)), cy_(std::cos(camera.yaw * kRadians)),
      sp_(std::sin(camera.pitch * kRadians)), cp_(std::cos(camera.pitch * kRadians)),
      perspective_(camera.perspective), distance_(camera.perspective ? camera.distance() : 0),
      nearest_(distance_ * kNearest) {}

Eye BoxProjection::toeye(double z, double x, double h, bool direction) const {
    const double dz = direction ? z : z - camera_.target[0],
                 dx = direction ? x : x - camera_.target[1],
                 dh = direction ? h : h - camera_.target[2];
    // Looking along f, with r to the right and u up in the picture.
    return {dz * cy_ - dx * sy_, dz * sy_ * sp_ + dx * cy_ * sp_ + dh * cp_,
            dz * sy_ * cp_ + dx * cy_ * cp_ - dh * sp_};
}

Point3 BoxProjection::toscreen(const Eye& e) const {
    if (!perspective_)
        return {camera_.width / 2.0 + camera_.scale * e.across,
                camera_.height / 2.0 - camera_.scale * e.up, e.ahead};
    const double far = distance_ + e.ahead, k = camera_.scale * distance_ / far;
    return {camera_.width / 2.0 + k * e.across, camera_.height / 2.0 - k * e.up, -1 / far};
}

Pixel BoxProjection::at(double z, double x, double h, double* depth) const {
    const Eye e = toeye(z, x, h);
    if (depth) *depth = e.ahead;
    if (!seen(e)) return {std::nan(""), std::nan("")};
    const Point3 p = toscreen(e);
    return {p.h, p.v};
}

Pixel BoxCamera::project(double z, double x, double h, double* depth) const {
    return BoxProjection(*this).at(z, x, h, depth);
}

void BoxCamera::orbit(double dh, double dv) {
    yaw = std::remainder(yaw - dh * 0.4, 360.0);
    pitch = std::clamp(pitch + dv * 0.4, 5.0, 90.0);
}

void BoxCamera::zoom(double factor) {
    scale = std::clamp(scale * factor, kMinScale, kMaxScale);
}

void BoxCamera::reset(const BlockTable& table, const Look& look, CornerCache* cache) {
    yaw = 30, pitch = 35;
    frame(table, look, {}, cache);
}

void BoxCamera::frame(const BlockTable& table, const Look& look, const std::vector<int>& slots,
                      CornerCache* cache) {
    std::vector<int> chosen;
    for (int slot = 0; slot < kSlots; ++slot)
        if (drawnwithin(table[static_cast<std::size_t>(slot)], look.mind, look.maxd) &&
            (slots.empty() || std::find(slots.begin(), slots.end(), slot) != slots.end()))
            chosen.push_back(slot);
    std::optional<MapBox> box;
    double low = 0, high = 0;
    bool tall = false;
    for (int slot : chosen) {
        for (const Corner& c : cornersof(table, slot, cache)) {
            if (!finite(c)) continue;
            takein(box, c.h, c.v);
        }
        const auto [lo, hi] = heights(table[static_cast<std::size_t>(slot)]);
        if (!std::isfinite(lo) || !std::isfinite(hi)) continue;
        low = tall ? std::min(low, lo) : lo, high = tall ? std::max(high, hi) : hi;
        tall = true;
    }
    // Every block of the map: from the ground up, as the first view shows it.
    if (slots.empty()) low = std::min(low, 0.0), high = std::max(high, 0.0);
    const MapBox around = box.value_or(kMainArea);
    const double span =
        std::max({around.zmax - around.zmin, around.xmax - around.xmin, high - low, 1.0});
    target = {around.middle().z, around.middle().x,
              slots.empty() ? std::min(high, span) / 2 : low / 2 + high / 2};
    scale = std::clamp(std::min(width, height) / (span * 1.2), kMinScale, kMaxScale);
}

std::int32_t shade(std::int32_t display, double light) {
    const auto channel = [&](int shift) {
        return static_cast<std::int32_t>(
                   std::lround(((display >> shift) & 255) * std::clamp(light, 0.0, 1.0)))
               << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

MapBox groundbox(const BlockTable& table, const Look& look, CornerCache* cache) {
    const MapBox box = drawnbox(table, look, cache).value_or(kMainArea);
    return {std::min(box.zmin, kMainArea.zmin), std::max(box.zmax, kMainArea.zmax),
            std::min(box.xmin, kMainArea.xmin), std::max(box.xmax, kMainArea.xmax)};
}

} // namespace qs
