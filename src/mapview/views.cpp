#include "mapview/views.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qs {

namespace {

constexpr double kRadians = 3.14159265358979323846 / 180;

bool finite(const Corner& c) { return std::isfinite(c.h) && std::isfinite(c.v); }

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
            if (!box) box = MapBox{c.h, c.h, c.v, c.v};
            box->zmin = std::min<double>(box->zmin, c.h), box->zmax = std::max<double>(box->zmax, c.h);
            box->xmin = std::min<double>(box->xmin, c.v), box->xmax = std::max<double>(box->xmax, c.v);
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
    const double spanz = std::max(box.zmax - box.zmin, 1.0), spanx = std::max(box.xmax - box.xmin, 1.0);
    const double across = std::max(width - 2 * margin, 1.0), up = std::max(height - 2 * margin, 1.0);
    scale = std::clamp(std::min(across / spanz, up / spanx), kMinScale, kMaxScale);
    centre = {box.zmin / 2 + box.zmax / 2, box.xmin / 2 + box.xmax / 2};
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
    if (!(last - first < 10000)) return out; // not a grid any more, or not a number
    for (double k = first; k <= last; ++k) out.push_back(k * step);
    return out;
}

std::string gridlabel(double value, double step) {
    if (std::fabs(value) < step / 2) return "0";
    char buf[32];
    if (step >= 1e-4 && std::fabs(value) < 1e7) {
        const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
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
        if (drawnwithin(table[static_cast<std::size_t>(i)], look.mind, look.maxd) && holds(cornersof(table, i, cache), p))
            return i;
    return -1;
}

std::vector<int> blocksat(const BlockTable& table, const Look& look, MapPoint p, CornerCache* cache) {
    std::vector<int> out;
    for (int i = kSlots - 1; i >= 0; --i)
        if (drawnwithin(table[static_cast<std::size_t>(i)], look.mind, look.maxd) && holds(cornersof(table, i, cache), p))
            out.push_back(i);
    return out;
}

std::vector<Pixel> cutpolygon(const std::vector<Pixel>& polygon, double left, double top, double right,
                              double bottom) {
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

BoxProjection::BoxProjection(const BoxCamera& camera)
    : camera_(camera), sy_(std::sin(camera.yaw * kRadians)), cy_(std::cos(camera.yaw * kRadians)),
      sp_(std::sin(camera.pitch * kRadians)), cp_(std::cos(camera.pitch * kRadians)) {}

Pixel BoxProjection::at(double z, double x, double h, double* depth) const {
    const double dz = z - camera_.target[0], dx = x - camera_.target[1], dh = h - camera_.target[2];
    // Looking along f, with r to the right and u up in the picture.
    const double across = dz * cy_ - dx * sy_;
    const double up = dz * sy_ * sp_ + dx * cy_ * sp_ + dh * cp_;
    if (depth) *depth = dz * sy_ * cp_ + dx * cy_ * cp_ - dh * sp_;
    return {camera_.width / 2.0 + camera_.scale * across, camera_.height / 2.0 - camera_.scale * up};
}

Pixel BoxCamera::project(double z, double x, double h, double* depth) const {
    return BoxProjection(*this).at(z, x, h, depth);
}

void BoxCamera::orbit(double dh, double dv) {
    yaw = std::remainder(yaw - dh * 0.4, 360.0);
    pitch = std::clamp(pitch + dv * 0.4, 5.0, 90.0);
}

void BoxCamera::zoom(double factor) { scale = std::clamp(scale * factor, kMinScale, kMaxScale); }

void BoxCamera::reset(const BlockTable& table, const Look& look, CornerCache* cache) {
    yaw = 30, pitch = 35;
    const MapBox box = drawnbox(table, look, cache).value_or(kMainArea);
    double high = 0;
    for (const Block& b : table)
        if (drawnwithin(b, look.mind, look.maxd) && std::isfinite(heights(b).second))
            high = std::max(high, heights(b).second);
    const double span = std::max({box.zmax - box.zmin, box.xmax - box.xmin, high, 1.0});
    target = {box.zmin / 2 + box.zmax / 2, box.xmin / 2 + box.xmax / 2, std::min(high, span) / 2};
    scale = std::clamp(std::min(width, height) / (span * 1.2), kMinScale, kMaxScale);
}

std::int32_t shade(std::int32_t display, double light) {
    const auto channel = [&](int shift) {
        return static_cast<std::int32_t>(std::lround(((display >> shift) & 255) * std::clamp(light, 0.0, 1.0)))
               << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

std::vector<BoxFace> boxfaces(const BlockTable& table, const Look& look, const BoxCamera& camera, CornerCache* cache,
                              const std::function<bool(int slot)>& wanted, double reach) {
    struct Placed {
        double depth;
        int slot;
    };
    const BoxProjection project(camera);
    std::vector<Placed> order;
    for (int i = 0; i < kSlots; ++i) {
        const Block& b = table[static_cast<std::size_t>(i)];
        if (!drawnwithin(b, look.mind, look.maxd)) continue;
        const auto [lo, hi] = heights(b);
        double depth = 0;
        project.at(b.z, b.x, lo / 2 + hi / 2, &depth);
        if (std::isfinite(depth)) order.push_back({depth, i});
    }
    std::stable_sort(order.begin(), order.end(), [](const Placed& a, const Placed& b) { return a.depth > b.depth; });

    // The light comes from above, over the map's left and top.
    const double lz = -0.45, lx = 0.55, lh = 0.70;
    const double yw = camera.yaw * kRadians, pt = camera.pitch * kRadians;
    const double fz = std::sin(yw) * std::cos(pt), fx = std::cos(yw) * std::cos(pt);
    std::vector<BoxFace> faces;
    faces.reserve(order.size() * 3);
    for (const Placed& p : order) {
        if (wanted && !wanted(p.slot)) continue;
        const Block& b = table[static_cast<std::size_t>(p.slot)];
        const auto k = cornersof(table, p.slot, cache);
        const auto [lo, hi] = heights(b);
        std::array<Pixel, 4> bottom, top;
        bool fits = true;
        for (std::size_t j = 0; j < 4; ++j) {
            bottom[j] = project.at(k[j].h, k[j].v, lo);
            top[j] = project.at(k[j].h, k[j].v, hi);
            for (const Pixel& q : {bottom[j], top[j]})
                fits = fits && std::fabs(q.h) <= reach && std::fabs(q.v) <= reach;
        }
        if (!fits) continue;
        const std::int32_t colour = mapcolour(b, look.colours);
        const double cz = (double(k[0].h) + k[2].h) / 2, cx = (double(k[0].v) + k[2].v) / 2;
        for (std::size_t j = 0; j < 4; ++j) {
            const std::size_t n = (j + 1) % 4;
            // A side faces the camera when its outward direction runs against
            // the way the camera looks.
            double oz = (double(k[j].h) + k[n].h) / 2 - cz, ox = (double(k[j].v) + k[n].v) / 2 - cx;
            if (oz * fz + ox * fx >= 0) continue;
            const double length = std::hypot(oz, ox);
            oz /= length, ox /= length;
            faces.push_back({{bottom[j], bottom[n], top[n], top[j]},
                             shade(colour, 0.35 + 0.5 * std::max(0.0, oz * lz + ox * lx)), p.slot});
        }
        faces.push_back({top, shade(colour, 0.35 + 0.5 * lh + 0.15), p.slot});
    }
    return faces;
}

} // namespace qs
