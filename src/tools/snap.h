#pragma once
// Snapping on the map: to the grid, and to the corners and edges of other
// blocks within a few pixels, with the line that holds while it snaps.
#include "document/block.h"
#include "mapview/views.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace qs::tools {

// The grid steps [ and ] go through, in map units.
inline constexpr std::array<double, 7> kGridSteps{0.1, 0.25, 0.5, 1, 2.5, 5, 10};
inline constexpr std::size_t kDefaultGrid = 3; // 1 map unit
// How near, in pixels, another block's corner or edge must be to snap to.
inline constexpr double kSnapPixels = 6;
// Angles snap to multiples of this.
inline constexpr double kAngleStep = 15;

// A line of the map the snapping holds to, from a to b.
struct Guide {
    MapPoint a, b;
    bool operator==(const Guide&) const = default;
};

// The offset that brings one of `moving` (corners that move by `offset`)
// onto a corner or an edge of the blocks `targets` names, when one lies
// within `reach` map units; with the guide that shows where it holds.
struct Snapped {
    MapPoint offset;
    std::optional<Guide> guide;
};
// The targets' corners come from `cache` when given one.
Snapped snaptoblocks(std::span<const MapPoint> moving, MapPoint offset, const BlockTable& table,
                     std::span<const int> targets, double reach, CornerCache* cache = nullptr);

// The corners of a block as map points.
std::array<MapPoint, 4> cornerpoints(const Block& b);

} // namespace qs::tools
