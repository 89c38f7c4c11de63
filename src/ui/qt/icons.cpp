#include "ui/qt/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qs::ui {

namespace {

const QColor kInk(40, 40, 40);

void page(QPainter& p, QRectF r) {
    QPainterPath path;
    const double fold = 4;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(kInk, 1));
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

QPixmap draw(const QString& key, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    if (key == "New") {
        page(p, QRectF(3.5, 1.5, 9, 13));
    } else if (key == "Open") {
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(QColor(230, 190, 80));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.drawRect(QRectF(1.5, 3, 5, 2));
        p.setBrush(QColor(250, 215, 110));
        QPolygonF flap({{3.5, 7.5}, {15, 7.5}, {13, 13.5}, {1.5, 13.5}});
        p.drawPolygon(flap);
    } else if (key == "Save") {
        p.setPen(QPen(QColor(20, 40, 90), 1));
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4, 9, 8, 5.5));
    } else if (key == "Copy") {
        page(p, QRectF(1.5, 1.5, 8, 10));
        page(p, QRectF(6.5, 4.5, 8, 10));
    } else if (key == "Refresh") {
        p.setPen(QPen(QColor(30, 130, 60), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 130, 60));
        p.drawPolygon(QPolygonF({{9.5, 0.5}, {14, 3.5}, {9.5, 6.5}}));
    } else if (key == "Map") {
        // A grid with a block on it.
        p.setPen(QPen(QColor(110, 110, 110), 0.8));
        for (double at : {2.5, 6.5, 10.5, 14.5}) {
            p.drawLine(QPointF(at, 1.5), QPointF(at, 14.5));
            p.drawLine(QPointF(1.5, at), QPointF(14.5, at));
        }
        p.setPen(QPen(QColor(30, 90, 170), 1.3));
        p.setBrush(QColor(120, 170, 230, 140));
        p.drawPolygon(QPolygonF({{4, 9}, {9, 4}, {12.5, 7.5}, {7.5, 12.5}}));
    } else if (key == "3D") {
        // A box seen from above a corner.
        p.setPen(QPen(kInk, 0.9));
        p.setBrush(QColor(235, 170, 90));
        p.drawPolygon(QPolygonF({{2, 5}, {8, 2}, {14, 5}, {8, 8}}));
        p.setBrush(QColor(190, 120, 50));
        p.drawPolygon(QPolygonF({{2, 5}, {8, 8}, {8, 14.5}, {2, 11.5}}));
        p.setBrush(QColor(150, 90, 35));
        p.drawPolygon(QPolygonF({{8, 8}, {14, 5}, {14, 11.5}, {8, 14.5}}));
    } else if (key == "Delete") {
        p.setPen(QPen(QColor(200, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    }
    return pixmap;
}

} // namespace

QIcon toolbaricon(const QString& key) {
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(draw(key, size));
    return icon;
}

QIcon appicon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(QColor(70, 70, 70));
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / 16.0, size / 16.0);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(230, 120, 60), 1.2));
            p.save();
            p.translate(6, 6);
            p.rotate(-20);
            p.drawRect(QRectF(-3.5, -2.5, 7, 5));
            p.restore();
            p.setPen(QPen(QColor(120, 200, 240), 1.2));
            p.translate(10.5, 11);
            p.rotate(30);
            p.drawRect(QRectF(-3, -2, 6, 4));
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace qs::ui
