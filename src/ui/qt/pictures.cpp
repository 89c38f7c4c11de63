#include "ui/qt/pictures.h"

#include <QFont>
#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace qs::ui {

namespace {

QColor display(std::int32_t c, int alpha = 255) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255, alpha); }

// Lines over the background: dark on a light one, light otherwise.
QColor ink(QColor background, int alpha) {
    const bool light = background.alpha() > 0 && background.lightness() > 140;
    return light ? QColor(0, 0, 0, alpha) : QColor(255, 255, 255, alpha);
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

QPolygonF polygon(const std::vector<Pixel>& pixels) {
    QPolygonF out;
    out.reserve(static_cast<qsizetype>(pixels.size()));
    for (const Pixel& p : pixels) out.append(QPointF(p.h, p.v));
    return out;
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

} // namespace

void paintplan(QPainter& painter, const BlockTable& table, const Look& look, const PlanView& view, QColor background) {
    const QRect r = painter.window();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(r, background);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The grid, the axes through 0 stronger, and their labels.
    const double step = gridstep(view.scale);
    const MapPoint low = view.tomap({0, static_cast<double>(r.height())});
    const MapPoint high = view.tomap({static_cast<double>(r.width()), 0});
    const std::vector<double> across = gridlines(low.z, high.z, step), up = gridlines(low.x, high.x, step);
    for (double z : across) {
        painter.setPen(QPen(ink(background, z == 0 ? 120 : 40), 0));
        const double h = view.topixel({z, 0}).h;
        painter.drawLine(QLineF(h, 0, h, r.height()));
    }
    for (double x : up) {
        painter.setPen(QPen(ink(background, x == 0 ? 120 : 40), 0));
        const double v = view.topixel({0, x}).v;
        painter.drawLine(QLineF(0, v, r.width(), v));
    }
    QFont font("Liberation Sans");
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(ink(background, 170));
    for (double z : across)
        painter.drawText(QPointF(view.topixel({z, 0}).h + 3, r.height() - 4), QString::fromStdString(gridlabel(z, step)));
    for (double x : up)
        painter.drawText(QPointF(3, view.topixel({0, x}).v - 3), QString::fromStdString(gridlabel(x, step)));
    painter.drawText(QPointF(r.width() - 14, r.height() - 16), "Z");
    painter.drawText(QPointF(14, 12), "X");

    // The main map's area.
    painter.setPen(QPen(ink(background, 150), 1, Qt::DashLine));
    const Pixel a = view.topixel({kMainArea.zmin, kMainArea.xmax}), b = view.topixel({kMainArea.zmax, kMainArea.xmin});
    outline(painter, {a, {b.h, a.v}, b, {a.h, b.v}});

    // The blocks: a light fill, then the outline.
    for (int i = 0; i < kSlots; ++i) {
        const Block& block = table[static_cast<std::size_t>(i)];
        if (!drawnwithin(block, look.mind, look.maxd)) continue;
        const std::vector<Pixel> corners = plancorners(block, view);
        const std::int32_t colour = mapcolour(block, look.colours);
        const std::vector<Pixel> inside = cutpolygon(corners, -2, -2, r.width() + 2, r.height() + 2);
        if (inside.size() >= 3) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(display(colour, 56));
            painter.drawPolygon(polygon(inside));
        }
        painter.setPen(QPen(display(colour), 0));
        outline(painter, corners);
    }
    if (look.current >= 0 && look.current < kSlots) {
        const Block& current = table[static_cast<std::size_t>(look.current)];
        if (drawnwithin(current, look.mind, look.maxd)) mark(painter, plancorners(current, view));
    }
}

void paintboxes(QPainter& painter, const BlockTable& table, const Look& look, const BoxCamera& camera,
                QColor background) {
    const QRect r = painter.window();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(r, background);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The ground grid around the blocks and the main map's area.
    MapBox box = drawnbox(table, look).value_or(kMainArea);
    box = {std::min(box.zmin, kMainArea.zmin), std::max(box.zmax, kMainArea.zmax), std::min(box.xmin, kMainArea.xmin),
           std::max(box.xmax, kMainArea.xmax)};
    const double step = gridstep(camera.scale, 40);
    const std::vector<double> zs = gridlines(box.zmin - step, box.zmax + step, step);
    const std::vector<double> xs = gridlines(box.xmin - step, box.xmax + step, step);
    if (!zs.empty() && !xs.empty()) {
        QLineF line;
        for (double z : zs) {
            painter.setPen(QPen(ink(background, z == 0 ? 120 : 45), 0));
            if (cut(painter, camera.project(z, xs.front(), 0), camera.project(z, xs.back(), 0), line))
                painter.drawLine(line);
        }
        for (double x : xs) {
            painter.setPen(QPen(ink(background, x == 0 ? 120 : 45), 0));
            if (cut(painter, camera.project(zs.front(), x, 0), camera.project(zs.back(), x, 0), line))
                painter.drawLine(line);
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    const std::vector<BoxFace> faces = boxfaces(table, look, camera);
    for (const BoxFace& f : faces) {
        QPolygonF quad;
        for (const Pixel& p : f.corners) quad.append(QPointF(p.h, p.v));
        painter.setBrush(display(f.colour));
        painter.setPen(QPen(display(shade(f.colour, 0.6)), 0));
        painter.drawPolygon(quad);
    }
    for (const BoxFace& f : faces)
        if (f.slot == look.current) mark(painter, {f.corners.begin(), f.corners.end()});
    painter.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace qs::ui
