#pragma once
// Pictures drawn pixel by pixel into memory, apart from any toolkit: filled
// convex polygons, one-pixel lines plain or dashed, and, for the 3D view,
// triangles and lines kept to the nearest surface with a depth for each
// pixel and the slot of the block each pixel shows. Many small shapes cost
// little: each is clipped to the picture (and to the part being drawn
// again) before a pixel is touched.
#include "mapview/views.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace qs {

// 0xAARRGGBB, as a 32-bit picture of Qt's holds them.
using Argb = std::uint32_t;
inline constexpr Argb argb(std::int32_t display, std::uint32_t alpha = 255) {
    return alpha << 24 | static_cast<Argb>(display & 255) << 16 |
           static_cast<Argb>(display & 0xFF00) | static_cast<Argb>((display >> 16) & 255);
}

// For each pixel of a picture, the depth of the nearest surface drawn there
// and the slot of the block it belongs to (-1 for none). It outlives a
// picture's drawing, so that a part can be drawn again, and so that what a
// pixel shows can be looked up afterwards.
struct DepthBuffer {
    int width = 0, height = 0;
    std::vector<float> depth;
    std::vector<std::int32_t> owners; // the slot each pixel shows, -1 for none
    // The slot a pixel shows; -1 for none or outside.
    int slotat(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height || owners.empty()) return -1;
        return owners[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

class Raster {
  public:
    // Draws into `pixels`, `stride` pixels a row; the memory stays the
    // caller's.
    Raster(Argb* pixels, int width, int height, int stride);

    int width() const { return width_; }
    int height() const { return height_; }
    Argb at(int x, int y) const { return pixels_[index(x, y)]; }

    // Only pixels within the rectangle are drawn from now on.
    void clip(int left, int top, int right, int bottom);
    void unclip() { clip(0, 0, width_, height_); }
    // The clip as (left, top, right, bottom), right and bottom excluded.
    std::array<int, 4> clipped() const { return {left_, top_, right_, bottom_}; }

    void fill(Argb colour);
    void fillrect(double left, double top, double right, double bottom, Argb colour);
    // A convex polygon, the pixels whose centres lie inside it.
    void polygon(std::span<const Pixel> corners, Argb colour);
    // A line a pixel wide from a to b; with a dash, `on` pixels drawn and
    // `off` left, along the line's longer axis, starting at a.
    void line(Pixel a, Pixel b, Argb colour, int on = 0, int off = 0);

    // With depth: the pixels of the triangle (or line) that lie nearer than
    // what the pixel shows, which then shows `colour` and records `slot`.
    // `keepdepth` sizes the buffer to the picture and clears it within the
    // clip; `usedepth` draws against it as it is.
    void keepdepth(DepthBuffer& buffer);
    void usedepth(DepthBuffer& buffer) { buffer_ = &buffer; }
    void triangle(const Point3& a, const Point3& b, const Point3& c, Argb colour, int slot);
    // A line drawn where it is not behind a surface: where its depth is
    // within `slack` of what the pixel shows, or nearer; or where the pixel
    // shows block `own`, whose faces the line lies on.
    void line(const Point3& a, const Point3& b, Argb colour, double slack, int own = -1, int on = 0,
              int off = 0);

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_) +
               static_cast<std::size_t>(x);
    }
    Argb& pixel(int x, int y) { return pixels_[index(x, y)]; }
    Argb* pixels_;
    int width_, height_, stride_;
    int left_ = 0, top_ = 0, right_, bottom_; // the clip, right and bottom excluded
    DepthBuffer* buffer_ = nullptr;
};

} // namespace qs
