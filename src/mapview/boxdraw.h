#pragma once
// The 3D view's picture, pixel by pixel: every drawn block as a box from its
// Bottom to Bottom + Height, each pixel showing the nearest face (a depth
// for each pixel, not an order of boxes), on a ground grid; and the marks of
// the selection and the current block, hidden where nearer faces cover
// them. The same code draws the window's view and `qrd render --view 3d`.
#include "mapview/raster.h"
#include "mapview/views.h"

#include <optional>

namespace qs {

// The picture's ground: its background, the grid's lines and the lines
// through 0, and the area the grid covers (see groundbox).
struct Ground {
    Argb background, grid, axis;
    MapBox area;
};

// The boxes and the ground grid, within the raster's clip; `buffer` then
// holds each pixel's depth and block, for the marks and for picking.
void drawboxes(Raster& raster, DepthBuffer& buffer, const BlockTable& table, const Look& look,
               const BoxCamera& camera, const Ground& ground, CornerCache* cache = nullptr);

// The selected blocks' edges in black and white dashes, the current block's
// wide in white on black, over a picture `drawboxes` drew into `buffer`.
void drawboxmarks(Raster& raster, DepthBuffer& buffer, const BlockTable& table, const Look& look,
                  const BoxCamera& camera, CornerCache* cache = nullptr);

// The pixels a block's box may cover, as (left, top, right, bottom), right
// and bottom excluded; none when it is not drawn; the whole picture when
// part of it lies behind the eye.
std::optional<std::array<int, 4>> boxpixels(const Block& b, const Look& look,
                                            const BoxCamera& camera);

} // namespace qs
