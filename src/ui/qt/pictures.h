#pragma once
// The map window's and the 3D view's pictures, painted with Qt's painter:
// the windows show them and `qrd render --view map|3d` writes them.
#include "mapview/views.h"

#include <QColor>

class QPainter;

namespace qs::ui {

// The map in true proportions: the background, a grid with labelled axes,
// the main map's area outlined, every drawn block as its outline over a
// light fill, and the current block marked with a black and a white line
// (seen on any colour and any background).
void paintplan(QPainter& painter, const BlockTable& table, const Look& look, const PlanView& view, QColor background);

// The blocks as boxes on a ground grid, far to near, faces shaded by their
// turn to the light, the current block's edges marked as on the map.
void paintboxes(QPainter& painter, const BlockTable& table, const Look& look, const BoxCamera& camera,
                QColor background);

} // namespace qs::ui
