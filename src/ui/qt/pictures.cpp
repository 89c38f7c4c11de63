#include "ui/qt/pictures.h"

#include "mapview/raster.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace qs::ui {

namespace {

QColor display(std::int32_t c, int alpha = 255) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255, alpha); }

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

// A segment in pixels, cut to the picture with a margin; false when nothing
// of it is near the picture.
bool cut(const QPainter& painter, Pixel a, Pixel b, QLineF& out) {
    const QRect r = painter.window();
    double x1 = a.h, y1 = a.v, x2 = b.h, y2 = b.v;
    const double margin = 8;
    if (!std::isfinite(x1 + y1 + x2 + y2)) return false;
    x1 += margin, y1 += margin, x2 += margin, y2 += margin;
    if (!cliptorect(x1, y1, x2, y2, 0, r.width() + 2 * margin, r.height() + 2 * margin)) return false;
    out = QLineF(x1 - margin, y1 - margin, x2 - margin, y2 - margin);
    return true;
}


// A closed outline of pixels, cut to the picture.
void outline(QPainter& painter, const std::vector<Pixel>& corners) {
    for (std::size_t j = 0; j < corners.size(); ++j) {
        QLineF line;
        if (cut(painter, corners[j], corners[(j + 1) % corners.size()], line)) painter.drawLine(line);
    }
}

// Black under white: a mark that shows on any colour.
void mark(QPainter& painter, const std::vector<Pixel>& corners) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    outline(painter, corners);
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    outline(painter, corners);
}

std::vector<Pixel> plancorners(const Block& b, const PlanView& view) {
    std::vector<Pixel> out;
    for (const Corner& c : blockcorners(b)) out.push_back(view.topixel({c.h, c.v}));
    return out;
}

// The pixels of corners, widened by the mark's width; all of them when a
// corner is not finite.
QRect spread(const std::vector<Pixel>& corners) {
    double left = corners[0].h, right = left, top = corners[0].v, bottom = top;
    for (const Pixel& p : corners) {
        if (!std::isfinite(p.h) || !std::isfinite(p.v)) return QRect(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30);
        left = std::min(left, p.h), right = std::max(right, p.h);
        top = std::min(top, p.v), bottom = std::max(bottom, p.v);
    }
    const double limit = 1 << 29;
    const auto at = [&](double v) { return static_cast<int>(std::clamp(v, -limit, limit)); };
    return QRect(QPoint(at(left) - 4, at(top) - 4), QPoint(at(right) + 4, at(bottom) + 4));
}

} // namespace

namespace {

Argb argbof(QColor c) { return c.rgba(); }

// A line `width` pixels wide from a to b, its ends squared.
void wideline(Raster& r, Pixel a, Pixel b, double width, Argb colour) {
    const double dx = b.h - a.h, dy = b.v - a.v, length = std::hypot(dx, dy);
    if (!(length > 0)) return;
    const double ux = dx / length * width / 2, uy = dy / length * width / 2;
    const Pixel q[4] = {{a.h - ux - uy, a.v - uy + ux}, {b.h + ux - uy, b.v + uy + ux},
                        {b.h + ux + uy, b.v + uy - ux}, {a.h - ux + uy, a.v - uy - ux}};
    r.polygon(q, colour);
}

void outline(Raster& r, const std::vector<Pixel>& corners, Argb colour, int on = 0, int off = 0) {
    for (std::size_t j = 0; j < corners.size(); ++j) r.line(corners[j], corners[(j + 1) % corners.size()], colour, on, off);
}

} // namespace

void paintplan(QImage& image, const BlockTable& table, const Look& look, const PlanView& view, QColor background,
               const QRegion& only, CornerCache* cache, bool marks) {
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
    const std::vector<double> across = gridlines(low.z, high.z, step), up = gridlines(low.x, high.x, step);
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
    const Pixel a = view.topixel({kMainArea.zmin, kMainArea.xmax}), b = view.topixel({kMainArea.zmax, kMainArea.xmin});
    outline(raster, {a, {b.h, a.v}, b, {a.h, b.v}}, argbof(mixed(background, 150)), 4, 2);

    // The blocks: first every light fill, then every outline, so a block
    // under another still shows its edges. The fills are the block's colour
    // over the background.
    struct Drawn {
        std::vector<Pixel> corners;
        Argb colour, fill;
    };
    std::vector<Drawn> drawn;
    for (int i = 0; i < kSlots; ++i) {
        const Block& block = table[static_cast<std::size_t>(i)];
        if (!drawnwithin(block, look.mind, look.maxd)) continue;
        const auto k = cache ? cache->corners(i, block) : blockcorners(block);
        Drawn d{{}, 0, 0};
        for (const Corner& c : k) d.corners.push_back(view.topixel({c.h, c.v}));
        if (!part.intersects(spread(d.corners))) continue; // the pixels painted again are the part's
        const QColor colour = display(mapcolour(block, look.colours));
        d.colour = argbof(colour);
        d.fill = argbof(over(background, colour, 56));
        drawn.push_back(std::move(d));
    }
    for (const Drawn& d : drawn) raster.polygon(d.corners, d.fill);
    for (const Drawn& d : drawn) outline(raster, d.corners, d.colour);

    // The grid's labels.
    {
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
            painter.drawText(QPointF(3, view.topixel({0, x}).v - 3), QString::fromStdString(gridlabel(x, step)));
        painter.drawText(QPointF(r.width() - 14, r.height() - 16), "Z");
        painter.drawText(QPointF(14, 12), "X");
    }
    if (marks) paintmarks(image, table, look, view, only, cache);
}

void paintmarks(QImage& image, const BlockTable& table, const Look& look, const PlanView& view, const QRegion& only,
                CornerCache* cache) {
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
        for (std::size_t j = 0; j < 4; ++j) corners[j] = view.topixel({k[j].h, k[j].v});
        if (!part.intersects(spread(corners))) continue;
        outline(raster, corners, 0xFF000000);
        outline(raster, corners, 0xFFFFFFFF, 4, 4);
    }
    // The current block: white on black, wide.
    if (look.current >= 0 && look.current < kSlots) {
        const Block& current = table[static_cast<std::size_t>(look.current)];
        if (drawnwithin(current, look.mind, look.maxd)) {
            const std::vector<Pixel> k = plancorners(current, view);
            for (const auto& [width, colour] : {std::pair{4.0, Argb{0xFF000000}}, {2.0, Argb{0xFFFFFFFF}}})
                for (std::size_t j = 0; j < 4; ++j) {
                    Pixel from = k[j], to = k[(j + 1) % 4];
                    // Far-out corners cut to the picture, with room for the width.
                    if (!cliptorect(from.h, from.v, to.h, to.v, -8, r.width() + 8.0, r.height() + 8.0)) continue;
                    wideline(raster, from, to, width, colour);
                }
        }
    }
}

MapBox groundbox(const BlockTable& table, const Look& look, CornerCache* cache) {
    const MapBox box = drawnbox(table, look, cache).value_or(kMainArea);
    return {std::min(box.zmin, kMainArea.zmin), std::max(box.zmax, kMainArea.zmax), std::min(box.xmin, kMainArea.xmin),
            std::max(box.xmax, kMainArea.xmax)};
}

void paintboxes(QPainter& painter, const BlockTable& table, const Look& look, const BoxCamera& camera,
                QColor background, const QRegion& only, CornerCache* cache) {
    const QRect r = painter.window();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(r, background);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The ground grid around the blocks and the main map's area.
    const MapBox box = groundbox(table, look, cache);
    const double step = gridstep(camera.scale, 40);
    const std::vector<double> zs = gridlines(box.zmin - step, box.zmax + step, step);
    const std::vector<double> xs = gridlines(box.xmin - step, box.xmax + step, step);
    if (!zs.empty() && !xs.empty()) {
        QLineF line;
        for (double z : zs) {
            painter.setPen(QPen(mixed(background, z == 0 ? 120 : 45), 0));
            if (cut(painter, camera.project(z, xs.front(), 0), camera.project(z, xs.back(), 0), line))
                painter.drawLine(line);
        }
        for (double x : xs) {
            painter.setPen(QPen(mixed(background, x == 0 ? 120 : 45), 0));
            if (cut(painter, camera.project(zs.front(), x, 0), camera.project(zs.back(), x, 0), line))
                painter.drawLine(line);
        }
    }

    // Faces filled without a pen, shaded apart, and the top's edges drawn
    // darker, so boxes of one colour side by side still read apart. A pen on
    // every face would cost more than all the fills.
    // Repainting a part, the boxes that lie wholly outside it are passed by
    // before their faces are worked out.
    const BoxProjection project(camera);
    const auto near = [&](int slot) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        const double reach = std::fabs(double(b.sizex)) + std::fabs(double(b.sizez));
        const double bottom = b.bottom, top = static_cast<float>(b.bottom + b.height);
        std::vector<Pixel> around;
        for (double dz : {-reach, reach})
            for (double dx : {-reach, reach})
                for (double h : {bottom, top}) around.push_back(project.at(b.z + dz, b.x + dx, h));
        return only.intersects(spread(around));
    };
    const std::vector<BoxFace> faces =
        boxfaces(table, look, camera, cache, only.isEmpty() ? std::function<bool(int)>() : near);
    QPolygonF quad(4);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const BoxFace& f = faces[i];
        for (std::size_t j = 0; j < 4; ++j) quad[static_cast<qsizetype>(j)] = QPointF(f.corners[j].h, f.corners[j].v);
        // The last face of a box is its top.
        const bool top = i + 1 == faces.size() || faces[i + 1].slot != f.slot;
        if (!only.isEmpty() && !only.intersects(quad.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2))) continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(display(f.colour));
        painter.drawPolygon(quad);
        if (!top) continue;
        const QLineF edges[] = {{quad[0], quad[1]}, {quad[1], quad[2]}, {quad[2], quad[3]}, {quad[3], quad[0]}};
        painter.setPen(QPen(display(shade(f.colour, 0.55)), 0));
        painter.drawLines(edges, 4);
    }
    for (const BoxFace& f : faces)
        if (f.slot == look.current) mark(painter, {f.corners.begin(), f.corners.end()});
}

QRect planbounds(const Block& b, const Look& look, const PlanView& view) {
    if (!drawnwithin(b, look.mind, look.maxd)) return {};
    return spread(plancorners(b, view));
}

QRect boxbounds(const Block& b, const Look& look, const BoxCamera& camera) {
    if (!drawnwithin(b, look.mind, look.maxd)) return {};
    std::vector<Pixel> corners;
    const BoxProjection project(camera);
    const double bottom = b.bottom, top = static_cast<float>(b.bottom + b.height);
    for (const Corner& c : blockcorners(b))
        for (double h : {bottom, top}) corners.push_back(project.at(c.h, c.v, h));
    return spread(corners);
}

} // namespace qs::ui
