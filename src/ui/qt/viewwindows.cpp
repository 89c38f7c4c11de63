#include "ui/qt/viewwindows.h"

#include "document/rowtext.h"
#include "ui/qt/pictures.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

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
    subscription_ = form_.afteraction.size();
    form_.afteraction.push_back([this] {
        if (isVisible()) update();
    });
    auto* fit = new QShortcut(QKeySequence(kFitKey), this);
    connect(fit, &QShortcut::activated, this, [this] {
        resetview();
        update();
    });
}

ViewWindow::~ViewWindow() { form_.afteraction[subscription_] = nullptr; }

void ViewWindow::toggle() {
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
    if (!geometry.empty()) restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
    if (store.get(kAppTitle, section_, "Open", "0") == "1") show();
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

void ViewWindow::showEvent(QShowEvent* e) {
    if (!placed_) resetview();
    placed_ = true;
    QWidget::showEvent(e);
}

void ViewWindow::paintEvent(QPaintEvent*) {
    ++paints_;
    QPainter painter(this);
    paint(painter);
}

MapWindow::MapWindow(MainForm& form, QWidget* parent, std::function<void()> before, std::function<void()> after)
    : ViewWindow(form, "MapWindow", parent, std::move(before), std::move(after)) {
    setObjectName("MapWindow");
    setWindowTitle(QString("Map - %1").arg(kAppTitle));
    setAccessibleName("Map");
    setAccessibleDescription("The whole map in true proportions; the wheel zooms, dragging pans, Home fits");
    setMouseTracking(true);
    resize(640, 640);
    view_.width = width(), view_.height = height();
}

void MapWindow::resetview() {
    view_.width = width(), view_.height = height();
    view_.fit(drawnbox(form_.blocks, look()).value_or(kMainArea));
}

void MapWindow::paint(QPainter& painter) {
    view_.width = width(), view_.height = height();
    paintplan(painter, form_.blocks, look(), view_, background());
}

void MapWindow::resizeEvent(QResizeEvent* e) {
    view_.width = width(), view_.height = height();
    QWidget::resizeEvent(e);
}

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
    const int slot = blockat(form_.blocks, look(), tomap(e->position()));
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
    camera_.width = width(), camera_.height = height();
    camera_.reset(form_.blocks, look());
}

void BoxWindow::paint(QPainter& painter) {
    camera_.width = width(), camera_.height = height();
    paintboxes(painter, form_.blocks, look(), camera_, background());
}

void BoxWindow::resizeEvent(QResizeEvent* e) {
    camera_.width = width(), camera_.height = height();
    QWidget::resizeEvent(e);
}

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
