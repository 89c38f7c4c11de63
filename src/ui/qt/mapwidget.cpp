#include "ui/qt/mapwidget.h"

#include "document/footprint.h"
#include "mapview/raster.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qs::ui {

QColor tocolor(Colour c) {
    return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255);
}

namespace {

int buttonstate(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}

int shiftstate(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

Raster rasterof(QImage& image) {
    return Raster(reinterpret_cast<Argb*>(image.bits()), image.width(), image.height(),
                  static_cast<int>(image.bytesPerLine() / 4));
}

void drawline(Raster& raster, const SurfaceWidget::Shown& s, Colour colour, double ratio) {
    raster.line({s.pixels.x1() * ratio, s.pixels.y1() * ratio},
                {s.pixels.x2() * ratio, s.pixels.y2() * ratio}, argb(colour));
}

} // namespace

SurfaceWidget::SurfaceWidget(Surface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF SurfaceWidget::towidget(float h, float v) const {
    return {(static_cast<double>(h) - surface_.scaleleft) / surface_.scalewidth * width(),
            (static_cast<double>(v) - surface_.scaletop) / surface_.scaleheight * height()};
}

QPointF SurfaceWidget::tosurface(QPointF p) const {
    return {surface_.scaleleft + p.x() / width() * surface_.scalewidth,
            surface_.scaletop + p.y() / height() * surface_.scaleheight};
}

void SurfaceWidget::sync() {
    const QSize pixels = size() * devicePixelRatioF();
    if (surface_.backcolor() != back_ || image_.size() != pixels) {
        redrawall();
    } else if (surface_.clears() != clears_ || drawn_ > surface_.lines().size()) {
        redrawchanged();
    } else if (drawn_ < surface_.lines().size()) {
        drawlines(drawn_);
    }
}

bool SurfaceWidget::topixels(const Line& l, QLineF& out) const {
    const QPointF a = towidget(l.x1, l.y1);
    const QPointF b = towidget(l.x2, l.y2);
    double x1 = a.x(), y1 = a.y(), x2 = b.x(), y2 = b.y();
    // Lines far outside the widget are cut to a margin around it, so huge
    // coordinates never reach the painter; every path cuts them alike, so a
    // line covers the same pixels whichever path draws it.
    const double margin = 16;
    if (!cliptorect(x1, y1, x2, y2, -margin, width() + margin, height() + margin)) return false;
    out = QLineF(x1, y1, x2, y2);
    return true;
}

SurfaceWidget::Shown SurfaceWidget::place(const Line& l) const {
    Shown s;
    s.visible = topixels(l, s.pixels);
    if (s.visible)
        s.box = QRectF(s.pixels.p1(), s.pixels.p2())
                    .normalized()
                    .adjusted(-2, -2, 2, 2)
                    .toAlignedRect();
    return s;
}

void SurfaceWidget::redrawchanged() {
    const auto& lines = surface_.lines();
    clears_ = surface_.clears();
    // Lines that differ, at the same place in the order, mark where the
    // picture may differ; everywhere else the same lines lie in the same
    // order and the kept pixels stand. Past a few dozen places, drawing
    // everything costs less than working out where.
    constexpr std::size_t kPlaces = 64;
    std::vector<QRect> places;
    auto mark = [&](const Shown& s) {
        if (s.visible && places.size() <= kPlaces) places.push_back(s.box);
    };
    const std::size_t common = std::min(lines.size(), shown_.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (std::memcmp(&lines[i], &shown_[i], sizeof(Line)) == 0) continue;
        mark(placed_[i]);
        shown_[i] = lines[i];
        placed_[i] = place(lines[i]);
        mark(placed_[i]);
    }
    for (std::size_t i = common; i < shown_.size(); ++i)
        mark(placed_[i]);
    placed_.resize(lines.size());
    shown_.resize(lines.size());
    for (std::size_t i = common; i < lines.size(); ++i) {
        shown_[i] = lines[i];
        placed_[i] = place(lines[i]);
        mark(placed_[i]);
    }
    drawn_ = lines.size();
    if (places.size() > kPlaces) {
        redrawall();
        return;
    }
    QRegion damage;
    for (const QRect& r : places)
        damage |= r;
    damage &= rect();
    if (damage.isEmpty()) return;
    int covered = 0;
    for (const QRect& r : damage)
        covered += r.width() * r.height();
    if (damage.rectCount() > 16 || covered * 2 > width() * height()) {
        redrawall();
        return;
    }
    // Each damaged rectangle is painted afresh: the background, then every
    // line that crosses it, in the drawing's order. A line covers the same
    // pixels however it is clipped, so the seams never show.
    Raster raster = rasterof(image_);
    const double ratio = image_.devicePixelRatio();
    for (const QRect& area : damage) {
        const QRect device =
            QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect();
        raster.clip(device.left(), device.top(), device.left() + device.width(),
                    device.top() + device.height());
        raster.fill(argb(back_));
        const int left = area.left(), top = area.top(), right = area.right(),
                  bottom = area.bottom();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Shown& s = placed_[i];
            if (!s.visible || s.box.left() > right || s.box.right() < left ||
                s.box.top() > bottom || s.box.bottom() < top)
                continue;
            drawline(raster, s, lines[i].colour, ratio);
        }
    }
    update(damage);
}

void SurfaceWidget::redrawall() {
    image_ = QImage(size() * devicePixelRatioF(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(devicePixelRatioF());
    image_.fill(tocolor(surface_.backcolor()));
    clears_ = surface_.clears();
    back_ = surface_.backcolor();
    shown_.clear();
    placed_.clear();
    drawlines(0);
    update();
}

void SurfaceWidget::drawlines(std::size_t from) {
    const auto& lines = surface_.lines();
    Raster raster = rasterof(image_);
    const double ratio = image_.devicePixelRatio();
    QRect dirty;
    placed_.resize(from);
    for (std::size_t i = from; i < lines.size(); ++i) {
        placed_.push_back(place(lines[i]));
        const Shown& s = placed_.back();
        if (!s.visible) continue;
        drawline(raster, s, lines[i].colour, ratio);
        dirty |= s.box;
    }
    shown_.resize(from);
    shown_.insert(shown_.end(), lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end());
    drawn_ = lines.size();
    if (!dirty.isEmpty()) update(dirty);
}

void SurfaceWidget::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    painter.drawImage(e->rect(), image_,
                      QRectF(QPointF(e->rect().topLeft()) * devicePixelRatioF(),
                             QSizeF(e->rect().size()) * devicePixelRatioF()));
}

void SurfaceWidget::resizeEvent(QResizeEvent*) {
    redrawall();
}

void SurfaceWidget::forward(QMouseEvent* e) {
    if (beforeevent) beforeevent();
    const QPointF p = tosurface(e->position());
    surface_.mousemove(buttonstate(e->buttons()), shiftstate(e->modifiers()),
                       static_cast<float>(p.x()), static_cast<float>(p.y()));
    if (afterevent) afterevent();
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) {
    forward(e);
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pressed_ = true;
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) {
    // A click is a press and a release of the left button over the surface.
    if (e->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (!rect().contains(e->position().toPoint())) return;
    if (beforeevent) beforeevent();
    surface_.click();
    if (afterevent) afterevent();
}

} // namespace qs::ui
