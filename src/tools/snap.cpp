#include "tools/snap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qs::tools {

std::array<MapPoint, 4> cornerpoints(const Block& b) {
    const auto k = blockcorners(b);
    return {MapPoint{k[0].h, k[0].v}, MapPoint{k[1].h, k[1].v}, MapPoint{k[2].h, k[2].v},
            MapPoint{k[3].h, k[3].v}};
}

Snapped snaptoblocks(std::span<const MapPoint> moving, MapPoint offset, const BlockTable& table,
                     std::span<const int> targets, double reach, CornerCache* cache) {
    Snapped best{offset, std::nullopt};
    double nearest = reach;
    // Only blocks within reach of where the moving corners are now.
    MapBox around{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                  std::numeric_limits<double>::infinity(),
                  -std::numeric_limits<double>::infinity()};
    for (const MapPoint& m : moving) {
        around.zmin = std::min(around.zmin, m.z + offset.z - reach);
        around.zmax = std::max(around.zmax, m.z + offset.z + reach);
        around.xmin = std::min(around.xmin, m.x + offset.x - reach);
        around.xmax = std::max(around.xmax, m.x + offset.x + reach);
    }
    std::vector<std::array<MapPoint, 4>> near;
    for (int slot : targets) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        const auto k = cache ? cache->corners(slot, b) : blockcorners(b);
        std::array<MapPoint, 4> corners;
        double zmin = k[0].h, zmax = zmin, xmin = k[0].v, xmax = xmin;
        for (std::size_t j = 0; j < 4; ++j) {
            corners[j] = {k[j].h, k[j].v};
            zmin = std::min<double>(zmin, k[j].h), zmax = std::max<double>(zmax, k[j].h);
            xmin = std::min<double>(xmin, k[j].v), xmax = std::max<double>(xmax, k[j].v);
        }
        if (zmax >= around.zmin && zmin <= around.zmax && xmax >= around.xmin &&
            xmin <= around.xmax)
            near.push_back(corners);
    }
    // A corner onto a corner first; onto an edge only when no corner is as
    // near, since a corner is the stronger hold.
    for (int pass = 0; pass < 2 && !best.guide; ++pass) {
        for (const auto& target : near) {
            for (const MapPoint& m : moving) {
                const MapPoint at{m.z + offset.z, m.x + offset.x};
                for (std::size_t j = 0; j < 4; ++j) {
                    const MapPoint& a = target[j];
                    const MapPoint& b = target[(j + 1) % 4];
                    MapPoint onto = a;
                    if (pass == 1) {
                        // The nearest point of the edge a-b.
                        const double dz = b.z - a.z, dx = b.x - a.x, length = dz * dz + dx * dx;
                        const double t =
                            length > 0
                                ? std::clamp(((at.z - a.z) * dz + (at.x - a.x) * dx) / length, 0.0,
                                             1.0)
                                : 0;
                        onto = {a.z + t * dz, a.x + t * dx};
                    }
                    const double distance = std::hypot(onto.z - at.z, onto.x - at.x);
                    if (!(distance < nearest)) continue;
                    nearest = distance;
                    best.offset = {offset.z + onto.z - at.z, offset.x + onto.x - at.x};
                    best.guide = pass == 0 ? Guide{onto, onto} : Guide{a, b};
                }
            }
        }
    }
    return best;
}

} // namespace qs::tools
