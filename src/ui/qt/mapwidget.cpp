#include "ui/qt/mapwidget.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qs::ui {

QColor tocolor(Colour c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

namespace {

// Clips a segment to a rectangle (Liang-Barsky); false when nothing is left.
bool clip(double& x1, double& y1, double& x2, double& y2, double lo, double hix, double hiy) {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - lo, hix - x1, y1 - lo, hiy - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

int buttonstate(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int shiftstate(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

SurfaceWidget::SurfaceWidget(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
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
    if (surface_.clears() != clears_ || surface_.backcolor() != back_ || image_.size() != pixels ||
        drawn_ > surface_.lines().size()) {
        redrawall();
    } else if (drawn_ < surface_.lines().size()) {
        drawlines(drawn_);
    }
}

void SurfaceWidget::redrawall() {
    image_ = QImage(size() * devicePixelRatioF(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(devicePixelRatioF());
    image_.fill(tocolor(surface_.backcolor()));
    clears_ = surface_.clears();
    back_ = surface_.backcolor();
    drawlines(0);
    update();
}

void SurfaceWidget::drawlines(std::size_t from) {
    const auto& lines = surface_.lines();
    QPainter painter(&image_);
    QRectF dirty;
    // Lines far outside the widget are cut to a margin around it, so huge
    // coordinates never reach the painter.
    const double margin = 16;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const QPointF a = towidget(l.x1, l.y1);
        const QPointF b = towidget(l.x2, l.y2);
        double x1 = a.x(), y1 = a.y(), x2 = b.x(), y2 = b.y();
        if (!clip(x1, y1, x2, y2, -margin, width() + margin, height() + margin)) continue;
        painter.setPen(QPen(tocolor(l.colour), 0));
        painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        dirty |= QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2)))
                     .adjusted(-2, -2, 2, 2);
    }
    drawn_ = lines.size();
    if (!dirty.isEmpty()) update(dirty.toAlignedRect());
}

void SurfaceWidget::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    painter.drawImage(e->rect(), image_, QRectF(QPointF(e->rect().topLeft()) * devicePixelRatioF(),
                                                QSizeF(e->rect().size()) * devicePixelRatioF()));
}

void SurfaceWidget::resizeEvent(QResizeEvent*) { redrawall(); }

void SurfaceWidget::forward(QMouseEvent* e) {
    const QPointF p = tosurface(e->position());
    surface_.mousemove(buttonstate(e->buttons()), shiftstate(e->modifiers()), static_cast<float>(p.x()),
                       static_cast<float>(p.y()));
    if (afterevent) afterevent();
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) { forward(e); }

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pressed_ = true;
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) {
    // A click is a press and a release of the left button over the surface.
    if (e->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (!rect().contains(e->position().toPoint())) return;
    surface_.click();
    if (afterevent) afterevent();
}

} // namespace qs::ui
