#pragma once
// qrd render: a map file as the window's map draws it, to PNG or SVG.
#include <iosfwd>
#include <string>

namespace qs::qrd {

struct RenderOptions {
    float mind = 0, maxd = 1000;   // the depth window
    bool colours = true;           // "Use Block Colors."
    int width = 204, height = 429; // the window's map, in pixels
    int background = -1;           // a grey level 0 to 255; -1 leaves it transparent
    // "main" draws the main window's map; "map" the map window's picture
    // fitted to every drawn block; "3d" the 3D view's first picture.
    std::string view = "main";
};

int render(const std::string& file, const std::string& to, const RenderOptions& options,
           std::ostream& err);

} // namespace qs::qrd
