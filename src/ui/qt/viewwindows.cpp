#include "ui/qt/viewwindows.h"

#include "document/rowtext.h"
#include "ui/qt/pictures.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace qs::ui {

namespace {

// One notch of a wheel zooms by this much.
constexpr double kNotch = 1.25;

double notches(const QWheelEvent* e) { return e->angleDelta().y() / 120.0; }

} // namespace

ViewWindow::ViewWindow(MainForm& form, const char* section, QWidget* parent, std::function<void()> before,
                       std::function<void()> after)
    : QWidget(parent, Qt::Window), form_(form), section_(section), before_(std::move(before)),
      after_(std::move(after)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
    // Closed, a window costs one test per action.
    changes_ = form_.document.changed.connect([this](const Change& change) { take(change); });
    afteraction_ = form_.afteraction.connect([this] {
        if (isVisible()) update(bringup());
    });
}

ViewWindow::~ViewWindow() = default;

// While a person edits a block, only it changes: the picture is drawn again
// where it was and where it is. Beyond a few blocks, all of it is.
constexpr std::size_t kFewest = 32;

void ViewWindow::take(const Change& change) {
    if (stale_ || change.changedslots.empty()) return;
    if (!isVisible() || dirty_.size() + change.changedslots.size() > kFewest) {
        stale_ = true;
        dirty_.clear();
        return;
    }
    dirty_.insert(dirty_.end(), change.changedslots.begin(), change.changedslots.end());
}

void ViewWindow::toggle() {
    if (!isVisible() && !std::exchange(positioned_, true) && place) place(*this);
    setVisible(!isVisible());
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void ViewWindow::remember() {
    SettingsStore& store = form_.services.settings;
    store.set(kAppTitle, section_, "Open", isVisible() ? "1" : "0");
    store.set(kAppTitle, section_, "Geometry", saveGeometry().toBase64().toStdString());
}

void ViewWindow::restore() {
    SettingsStore& store = form_.services.settings;
    const std::string geometry = store.get(kAppTitle, section_, "Geometry", "");
    if (!geometry.empty()) positioned_ = restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
    if (store.get(kAppTitle, section_, "Open", "0") == "1") toggle();
}

Look ViewWindow::look() const {
    return {static_cast<float>(form_.MinD.value()), static_cast<float>(form_.MaxD.value()), form_.Check1.value() == 1,
            form_.curblock};
}

QColor ViewWindow::background() const {
    const Colour c = form_.Map.backcolor();
    return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255);
}

void ViewWindow::pass(const std::function<void()>& action) {
    before_();
    action();
    after_();
}

void ViewWindow::keyPressEvent(QKeyEvent* e) {
    // A key of the window's own, not a shortcut: both windows have one.
    if (e->keyCombination() != QKeySequence(kFitKey)[0]) return QWidget::keyPressEvent(e);
    resetview();
    update();
}

void ViewWindow::resizeEvent(QResizeEvent* e) {
    setsize(width(), height());
    QWidget::resizeEvent(e);
}

void ViewWindow::showEvent(QShowEvent* e) {
    setsize(width(), height());
    if (!placed_) resetview();
    placed_ = true;
    QWidget::showEvent(e);
}

QRegion ViewWindow::bringup() {
    const Look now = look();
    const std::vector<double> key = viewkey();
    const BlockTable& blocks = form_.blocks;
    const bool same = !stale_ && kept_.size() == size() && key == shownkey_ && now.mind == shownlook_.mind &&
                      now.maxd == shownlook_.maxd && now.colours == shownlook_.colours;
    QRegion dirty;
    if (same) {
        for (int slot : dirty_) {
            const auto i = static_cast<std::size_t>(slot);
            dirty += bounds(shown_[i], now);
            shown_[i] = blocks[i];
            dirty += bounds(blocks[i], now);
        }
        if (now.current != shownlook_.current)
            for (int slot : {shownlook_.current, now.current})
                if (validslot(slot)) dirty += bounds(blocks[static_cast<std::size_t>(slot)], now);
    }
    if (!same) {
        shown_ = blocks;
        kept_ = QImage(size(), QImage::Format_RGB32);
        QPainter painter(&kept_);
        paint(painter, {});
        dirty = kept_.rect();
    } else if (!dirty.isEmpty()) {
        dirty &= kept_.rect();
        QPainter painter(&kept_);
        painter.setClipRegion(dirty);
        paint(painter, dirty);
    }
    dirty_.clear();
    stale_ = false;
    shownlook_ = now;
    shownkey_ = key;
    return dirty;
}

void ViewWindow::paintEvent(QPaintEvent* e) {
    ++paints_;
    bringup();
    QPainter painter(this);
    for (const QRect& r : e->region()) painter.drawImage(r, kept_, r);
}

MapWindow::MapWindow(MainForm& form, QWidget* parent, std::function<void()> before, std::function<void()> after)
    : ViewWindow(form, "MapWindow", parent, std::move(before), std::move(after)) {
    setObjectName("MapWindow");
    setWindowTitle(QString("Map - %1").arg(kAppTitle));
    setAccessibleName("Map");
    setAccessibleDescription("The whole map in true proportions; the wheel zooms, dragging pans, Home fits");
    setMouseTracking(true);
    resize(640, 640);
    setsize(width(), height());
}

void MapWindow::resetview() {
    view_.fit(drawnbox(form_.blocks, look(), &corners_).value_or(kMainArea));
}

void MapWindow::paint(QPainter& painter, const QRegion& only) {
    paintplan(painter, form_.blocks, look(), view_, background(), only, &corners_);
}

std::vector<double> MapWindow::viewkey() const {
    return {double(view_.width), double(view_.height), view_.scale, view_.centre.z, view_.centre.x,
            double(background().rgb())};
}

QRect MapWindow::bounds(const Block& b, const Look& l) const { return planbounds(b, l, view_); }

void MapWindow::wheelEvent(QWheelEvent* e) {
    view_.zoomabout({e->position().x(), e->position().y()}, std::pow(kNotch, notches(e)));
    update();
}

void MapWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pressed_ = e->position();
    down_ = true;
    dragged_ = false;
}

void MapWindow::mouseMoveEvent(QMouseEvent* e) {
    if (form_.selmode) {
        // As on the main map: Z across, X up, the buttons and keys held.
        const MapPoint p = tomap(e->position());
        const int buttons = e->buttons() & Qt::LeftButton ? 1 : 0;
        const int shift = e->modifiers() & Qt::ShiftModifier ? 1 : 0;
        pass([&] { form_.Map.mousemove(buttons, shift, static_cast<float>(p.z), static_cast<float>(p.x)); });
        return;
    }
    if (!down_) return;
    const QPointF moved = e->position() - pressed_;
    if (!dragged_ && moved.manhattanLength() < 4) return;
    dragged_ = true;
    view_.pan(moved.x(), moved.y());
    pressed_ = e->position();
    update();
}

void MapWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !down_) return;
    down_ = false;
    if (dragged_) return;
    if (form_.selmode) {
        pass([&] { form_.Map.click(); });
        return;
    }
    // The row of the block, selected as a person selects it in the list.
    const int slot = blockat(form_.blocks, look(), tomap(e->position()), &corners_);
    if (slot >= 0 && slot < form_.List1.listcount()) pass([&] { form_.List1.setlistindex(slot); });
}

QString MapWindow::rowat(QPointF at) const {
    const int slot = blockat(form_.blocks, look(), tomap(at));
    if (slot < 0) return {};
    if (slot < form_.List1.listcount())
        return QString::fromStdString(form_.List1.rows()[static_cast<std::size_t>(slot)]);
    return QString::fromStdString(rowtext(form_.blocks[static_cast<std::size_t>(slot)])) + "  (not listed)";
}

bool MapWindow::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString row = rowat(help->pos());
        if (row.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), "<pre>" + row.toHtmlEscaped() + "</pre>", this);
        return true;
    }
    return ViewWindow::event(e);
}

BoxWindow::BoxWindow(MainForm& form, QWidget* parent, std::function<void()> before, std::function<void()> after)
    : ViewWindow(form, "BoxView", parent, std::move(before), std::move(after)) {
    setObjectName("BoxView");
    setWindowTitle(QString("3D - %1").arg(kAppTitle));
    setAccessibleName("3D view");
    setAccessibleDescription("The blocks as boxes; dragging turns the view, the wheel zooms, Home goes back");
    resize(800, 600);
}

void BoxWindow::resetview() {
    camera_.reset(form_.blocks, look(), &corners_);
}

void BoxWindow::paint(QPainter& painter, const QRegion& only) {
    paintboxes(painter, form_.blocks, look(), camera_, background(), only, &corners_);
}

std::vector<double> BoxWindow::viewkey() const {
    // The ground grid grows with the blocks: when it does, all is drawn.
    const MapBox ground = groundbox(form_.blocks, look(), &corners_);
    return {double(camera_.width), double(camera_.height), camera_.yaw, camera_.pitch, camera_.scale,
            camera_.target[0], camera_.target[1], camera_.target[2], double(background().rgb()),
            ground.zmin, ground.zmax, ground.xmin, ground.xmax};
}

QRect BoxWindow::bounds(const Block& b, const Look& l) const { return boxbounds(b, l, camera_); }

void BoxWindow::wheelEvent(QWheelEvent* e) {
    camera_.zoom(std::pow(kNotch, notches(e)));
    update();
}

void BoxWindow::mousePressEvent(QMouseEvent* e) { last_ = e->position(); }

void BoxWindow::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    const QPointF moved = e->position() - last_;
    last_ = e->position();
    camera_.orbit(moved.x(), moved.y());
    update();
}

} // namespace qs::ui
