#include "ui/qt/pictures.h"

#include "mapview/boxdraw.h"
#include "mapview/raster.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace qs::ui {

namespace {

QColor display(std::int32_t c, int alpha = 255) {
    return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255, alpha);
}

// Lines over the background: dark on a light one, light otherwise.
QColor ink(QColor background, int alpha) {
    const bool light = background.alpha() > 0 && background.lightness() > 140;
    return light ? QColor(0, 0, 0, alpha) : QColor(255, 255, 255, alpha);
}

// A colour laid over an opaque background with an alpha, as one opaque
// colour; over a see-through background, the colour with that alpha.
QColor over(QColor background, QColor colour, int alpha) {
    if (background.alpha() < 255) return QColor(colour.red(), colour.green(), colour.blue(), alpha);
    const auto mix = [&](int b, int c) { return (b * (255 - alpha) + c * alpha + 127) / 255; };
    return QColor(mix(background.red(), colour.red()), mix(background.green(), colour.green()),
                  mix(background.blue(), colour.blue()));
}

// The ink over an opaque background, as one opaque colour; over a
// see-through one, the ink itself.
QColor mixed(QColor background, int alpha) {
    const QColor light = ink(background, 255);
    return over(background, light, alpha);
}

std::vector<Pixel> plancorners(const Block& b, const PlanView& view) {
    std::vector<Pixel> out;
    for (const Corner& c : blockcorners(b))
        out.push_back(view.topixel({c.h, c.v}));
    return out;
}

// The pixels of corners, widened by the mark's width; all of them when a
// corner is not finite.
QRect spread(std::span<const Pixel> corners) {
    double left = corners[0].h, right = left, top = corners[0].v, bottom = top;
    for (const Pixel& p : corners) {
        if (!std::isfinite(p.h) || !std::isfinite(p.v))
            return QRect(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30);
        left = std::min(left, p.h), right = std::max(right, p.h);
        top = std::min(top, p.v), bottom = std::max(bottom, p.v);
    }
    const double limit = 1 << 29;
    const auto at = [&](double v) { return static_cast<int>(std::clamp(v, -limit, limit)); };
    return QRect(QPoint(at(left) - 4, at(top) - 4), QPoint(at(right) + 4, at(bottom) + 4));
}

} // namespace

namespace {

Argb argbof(QColor c) {
    return c.rgba();
}

// A line `width` pixels wide from a to b, its ends squared.
void wideline(Raster& r, Pixel a, Pixel b, double width, Argb colour) {
    const double dx = b.h - a.h, dy = b.v - a.v, length = std::hypot(dx, dy);
    if (!(length > 0)) return;
    const double ux = dx / length * width / 2, uy = dy / length * width / 2;
    const Pixel q[4] = {{a.h - ux - uy, a.v - uy + ux},
                        {b.h + ux - uy, b.v + uy + ux},
                        {b.h + ux + uy, b.v + uy - ux},
                        {a.h - ux + uy, a.v - uy - ux}};
    r.polygon(q, colour);
}

void outline(Raster& r, std::span<const Pixel> corners, Argb colour, int on = 0, int off = 0) {
    for (std::size_t j = 0; j < corners.size(); ++j)
        r.line(corners[j], corners[(j + 1) % corners.size()], colour, on, off);
}

} // namespace

void paintplan(QImage& image, const BlockTable& table, const Look& look, const PlanView& view,
               QColor background, const QRegion& only, CornerCache* cache, bool marks) {
    // Parts apart from each other (where a block was, and where it is now)
    // are painted each on its own, not with all that lies between them.
    if (only.rectCount() > 1) {
        for (const QRect& each : only)
            paintplan(image, table, look, view, background, QRegion(each), cache, marks);
        return;
    }
    const QRect r = image.rect();
    const QRect part = only.isEmpty() ? r : only.boundingRect() & r;
    Raster raster(reinterpret_cast<Argb*>(image.bits()), image.width(), image.height(),
                  static_cast<int>(image.bytesPerLine() / 4));
    raster.clip(part.left(), part.top(), part.right() + 1, part.bottom() + 1);
    raster.fill(argbof(background));

    // The grid, the axes through 0 stronger.
    const double step = gridstep(view.scale);
    const MapPoint low = view.tomap({0, static_cast<double>(r.height())});
    const MapPoint high = view.tomap({static_cast<double>(r.width()), 0});
    const std::vector<double> across = gridlines(low.z, high.z, step),
                              up = gridlines(low.x, high.x, step);
    const Argb grid = argbof(mixed(background, 40)), axis = argbof(mixed(background, 120));
    for (double z : across) {
        const double h = std::floor(view.topixel({z, 0}).h);
        raster.fillrect(h, 0, h + 1, r.height(), z == 0 ? axis : grid);
    }
    for (double x : up) {
        const double v = std::floor(view.topixel({0, x}).v);
        raster.fillrect(0, v, r.width(), v + 1, x == 0 ? axis : grid);
    }

    // The main map's area.
    const Pixel a = view.topixel({kMainArea.zmin, kMainArea.xmax}),
                b = view.topixel({kMainArea.zmax, kMainArea.xmin});
    outline(raster, std::array<Pixel, 4>{a, Pixel{b.h, a.v}, b, Pixel{a.h, b.v}},
            argbof(mixed(background, 150)), 4, 2);

    // The blocks: first every light fill, then every outline, so a block
    // under another still shows its edges. The fills are the block's colour
    // over the background.
    struct Drawn {
        std::array<Pixel, 4> corners;
        Argb colour, fill;
    };
    std::vector<Drawn> drawn;
    for (int i = 0; i < kSlots; ++i) {
        const Block& block = table[static_cast<std::size_t>(i)];
        if (!drawnwithin(block, look.mind, look.maxd)) continue;
        const auto k = cache ? cache->corners(i, block) : blockcorners(block);
        Drawn d{{}, 0, 0};
        for (std::size_t j = 0; j < 4; ++j)
            d.corners[j] = view.topixel({k[j].h, k[j].v});
        if (!part.intersects(spread(d.corners)))
            continue; // the pixels painted again are the part's
        const QColor colour = display(mapcolour(block, look.colours));
        d.colour = argbof(colour);
        d.fill = argbof(over(background, colour, 56));
        drawn.push_back(std::move(d));
    }
    for (const Drawn& d : drawn)
        raster.polygon(d.corners, d.fill);
    for (const Drawn& d : drawn)
        outline(raster, d.corners, d.colour);

    // The grid's labels, along the bottom and the left edge.
    const int labels = 48;
    if (part.left() < labels || part.bottom() >= r.height() - labels || part.top() < labels) {
        QPainter painter(&image);
        painter.setClipRect(part);
        QFont font("Liberation Sans");
        font.setPixelSize(10);
        painter.setFont(font);
        painter.setPen(mixed(background, 170));
        for (double z : across)
            painter.drawText(QPointF(view.topixel({z, 0}).h + 3, r.height() - 4),
                             QString::fromStdString(gridlabel(z, step)));
        for (double x : up)
            painter.drawText(QPointF(3, view.topixel({0, x}).v - 3),
                             QString::fromStdString(gridlabel(x, step)));
        painter.drawText(QPointF(r.width() - 14, r.height() - 16), "Z");
        painter.drawText(QPointF(14, 12), "X");
    }
    if (marks) paintmarks(image, table, look, view, only, cache);
}

void paintmarks(QImage& image, const BlockTable& table, const Look& look, const PlanView& view,
                const QRegion& only, CornerCache* cache) {
    if (only.rectCount() > 1) {
        for (const QRect& each : only)
            paintmarks(image, table, look, view, QRegion(each), cache);
        return;
    }
    const QRect r = image.rect();
    const QRect part = only.isEmpty() ? r : only.boundingRect() & r;
    Raster raster(reinterpret_cast<Argb*>(image.bits()), image.width(), image.height(),
                  static_cast<int>(image.bytesPerLine() / 4));
    raster.clip(part.left(), part.top(), part.right() + 1, part.bottom() + 1);
    // Selected blocks: black and white dashes, apart from the current
    // block's wide mark and from the outlines in the blocks' colours, on any
    // colour.
    std::vector<Pixel> corners(4);
    for (std::size_t i = look.selected._Find_first(); i < kSlots; i = look.selected._Find_next(i)) {
        const Block& b = table[i];
        if (static_cast<int>(i) == look.current || !drawnwithin(b, look.mind, look.maxd)) continue;
        const auto k = cache ? cache->corners(static_cast<int>(i), b) : blockcorners(b);
        for (std::size_t j = 0; j < 4; ++j)
            corners[j] = view.topixel({k[j].h, k[j].v});
        if (!part.intersects(spread(corners))) continue;
        outline(raster, corners, 0xFF000000);
        outline(raster, corners, 0xFFFFFFFF, 4, 4);
    }
    // The current block: white on black, wide.
    if (look.current >= 0 && look.current < kSlots) {
        const Block& current = table[static_cast<std::size_t>(look.current)];
        if (drawnwithin(current, look.mind, look.maxd)) {
            const std::vector<Pixel> k = plancorners(current, view);
            for (const auto& [width, colour] :
                 {std::pair{4.0, Argb{0xFF000000}}, {2.0, Argb{0xFFFFFFFF}}})
                for (std::size_t j = 0; j < 4; ++j) {
                    Pixel from = k[j], to = k[(j + 1) % 4];
                    // Far-out corners cut to the picture, with room for the width.
                    if (!cliptorect(from.h, from.v, to.h, to.v, -8, r.width() + 8.0,
                                    r.height() + 8.0))
                        continue;
                    wideline(raster, from, to, width, colour);
                }
        }
    }
}

namespace {

Raster rasterof(QImage& image) {
    return Raster(reinterpret_cast<Argb*>(image.bits()), image.width(), image.height(),
                  static_cast<int>(image.bytesPerLine() / 4));
}

// Each rectangle of a part (the whole picture when none is given) in turn.
template <class Draw>
void eachpart(Raster& raster, const QImage& image, const QRegion& only, Draw draw) {
    if (only.isEmpty()) {
        raster.unclip();
        draw();
        return;
    }
    for (const QRect& r : only& image.rect()) {
        raster.clip(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        draw();
    }
}

} // namespace

void paintboxes(QImage& image, DepthBuffer& buffer, const BlockTable& table, const Look& look,
                const BoxCamera& camera, QColor background, const MapBox& area, const QRegion& only,
                CornerCache* cache) {
    Raster raster = rasterof(image);
    const Ground ground{argbof(background), argbof(mixed(background, 45)),
                        argbof(mixed(background, 120)), area};
    eachpart(raster, image, only,
             [&] { drawboxes(raster, buffer, table, look, camera, ground, cache); });
}

void paintboxmarks(QImage& image, DepthBuffer& buffer, const BlockTable& table, const Look& look,
                   const BoxCamera& camera, const QRegion& only, CornerCache* cache) {
    Raster raster = rasterof(image);
    eachpart(raster, image, only,
             [&] { drawboxmarks(raster, buffer, table, look, camera, cache); });
}

QRect planbounds(const Block& b, const Look& look, const PlanView& view) {
    if (!drawnwithin(b, look.mind, look.maxd)) return {};
    return spread(plancorners(b, view));
}

QRect boxbounds(const Block& b, const Look& look, const BoxCamera& camera) {
    const auto pixels = boxpixels(b, look, camera);
    if (!pixels) return {};
    const auto [left, top, right, bottom] = *pixels;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace qs::ui
