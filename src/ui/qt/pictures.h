#pragma once
// The map window's and the 3D view's pictures in Qt's images: the windows
// show them and `qrd render --view map|3d` writes them.
#include "mapview/raster.h"
#include "mapview/views.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>

class QPainter;

namespace qs::ui {

// The map in true proportions: the background, a grid with labelled axes,
// the main map's area outlined, every drawn block as its outline over a
// light fill, and the current block marked with a black and a white line
// (seen on any colour and any background).
// The selected blocks are marked with black and white dashes. With `only`
// given, only the pixels within its bounds are painted. Without `marks`,
// the current block and the selection are left unmarked, for paintmarks to
// mark over a copy.
void paintplan(QImage& image, const BlockTable& table, const Look& look, const PlanView& view,
               QColor background, const QRegion& only = {}, CornerCache* cache = nullptr,
               bool marks = true);
void paintmarks(QImage& image, const BlockTable& table, const Look& look, const PlanView& view,
                const QRegion& only = {}, CornerCache* cache = nullptr);

// The blocks as boxes on a ground grid, each pixel the nearest face, faces
// shaded by their turn to the light; `buffer` keeps each pixel's depth and
// block. With `only` given, only the pixels within it are painted. The
// marks of the selection and the current block go over such a picture,
// hidden where nearer faces cover them.
// The grid covers `ground` (see groundbox).
void paintboxes(QImage& image, DepthBuffer& buffer, const BlockTable& table, const Look& look,
                const BoxCamera& camera, QColor background, const MapBox& ground,
                const QRegion& only = {}, CornerCache* cache = nullptr);
void paintboxmarks(QImage& image, DepthBuffer& buffer, const BlockTable& table, const Look& look,
                   const BoxCamera& camera, const QRegion& only = {}, CornerCache* cache = nullptr);

// The pixels a block's drawing may touch in each picture, its mark
// included; empty when the picture does not draw it.
QRect planbounds(const Block& b, const Look& look, const PlanView& view);
QRect boxbounds(const Block& b, const Look& look, const BoxCamera& camera);

} // namespace qs::ui
