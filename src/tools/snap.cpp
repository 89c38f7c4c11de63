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
    std::optional<MapBox> around;
    for (const MapPoint& m : moving)
        takein(around, m.z + offset.z, m.x + offset.x);
    if (!around) return best;
    std::vector<std::array<MapPoint, 4>> near;
    for (int slot : targets) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        const auto k = cache ? cache->corners(slot, b) : blockcorners(b);
        std::array<MapPoint, 4> corners;
        MapBox box = MapBox::of(k[0].h, k[0].v);
        for (std::size_t j = 0; j < 4; ++j) {
            corners[j] = {k[j].h, k[j].v};
            box.takein(k[j].h, k[j].v);
        }
        if (box.zmax >= around->zmin - reach && box.zmin <= around->zmax + reach &&
            box.xmax >= around->xmin - reach && box.xmin <= around->xmax + reach)
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
