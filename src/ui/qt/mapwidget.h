#pragma once
// Paints a drawing surface: its back colour and its lines, scaled from the
// surface's user scale to the widget. The drawing is kept in an image, so it
// survives being covered, and only lines added since the last paint are
// drawn onto it.
#include "ui/controls.h"

#include <QImage>
#include <QWidget>

namespace qs::ui {

class SurfaceWidget : public QWidget {
  public:
    SurfaceWidget(Surface& surface, QWidget* parent);

    // Brings the kept image up to date with the surface.
    void sync();

    // Surface coordinates of a point of the widget, and back.
    QPointF tosurface(QPointF widgetpoint) const;
    QPointF towidget(float h, float v) const;

    // How many lines the last sync drew onto the kept image.
    std::size_t linesdrawn() const { return drawn_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

  public:
    // Called before and after a person's action reaches the surface, so the
    // window can finish what went before and mirror the model.
    std::function<void()> beforeevent;
    std::function<void()> afterevent;

  private:
    void redrawall();
    void drawlines(std::size_t from);
    // After a clear: repaints only where the new drawing differs from the
    // one shown.
    void redrawchanged();
    // A line in widget pixels, cut to a margin around the widget; false when
    // nothing of it is near the widget.
    bool topixels(const Line& l, QLineF& out) const;
    void forward(QMouseEvent* e);

    Surface& surface_;
    QImage image_;
    std::uint64_t clears_ = ~std::uint64_t{0};
    Colour back_ = -1;
    std::size_t drawn_ = 0;

  public:
    // The lines the kept image shows, in order, with where each lies in
    // pixels, so unchanged lines are never worked out again.
    struct Shown {
        QLineF pixels;
        QRect box;
        bool visible = false;
    };

  private:
    Shown place(const Line& l) const;
    std::vector<Line> shown_;
    std::vector<Shown> placed_;
    bool pressed_ = false;
};

QColor tocolor(Colour c);

} // namespace qs::ui
