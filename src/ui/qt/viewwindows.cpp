#include "ui/qt/viewwindows.h"

#include "document/rowtext.h"
#include "ui/qt/pictures.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <cstring>
#include <utility>

namespace qs::ui {

namespace {

// One notch of a wheel zooms by this much.
constexpr double kNotch = 1.25;
// How far a press may move and still be a click, in pixels.
constexpr double kClickSlack = 3;

double notches(const QWheelEvent* e) {
    return e->angleDelta().y() / 120.0;
}

tools::Modifiers modifiers(Qt::KeyboardModifiers m) {
    return {(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0,
            (m & Qt::AltModifier) != 0};
}

// While a person edits a block, only it changes: the picture is drawn again
// where it was and where it is. Beyond a few blocks, all of it is.
constexpr std::size_t kFewest = 32;

} // namespace

ViewWindow::ViewWindow(MainForm& form, std::function<void()> before, std::function<void()> after)
    : form_(form), before_(std::move(before)), after_(std::move(after)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
    setFocusPolicy(Qt::StrongFocus);
    // Closed, a window costs one test per action.
    changes_ = form_.document.changed.connect([this](const Change& change) { take(change); });
    afteraction_ = form_.afteraction.connect([this] {
        if (isVisible()) update(bringup());
    });
}

ViewWindow::~ViewWindow() = default;

void ViewWindow::take(const Change& change) {
    if (stale_ || change.changedslots.empty()) return;
    if (!isVisible() || dirty_.size() + change.changedslots.size() > kFewest) {
        stale_ = true;
        dirty_.clear();
        return;
    }
    dirty_.insert(dirty_.end(), change.changedslots.begin(), change.changedslots.end());
}

Look ViewWindow::look() const {
    Look l{static_cast<float>(form_.MinD.value()), static_cast<float>(form_.MaxD.value()),
           form_.Check1.value() == 1, form_.curblock};
    for (int slot : form_.document.selection())
        l.selected.set(static_cast<std::size_t>(slot));
    return l;
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
    moved_ = false;
    resetview();
    update();
}

void ViewWindow::resizeEvent(QResizeEvent* e) {
    setsize(width(), height());
    // Until a person turns, pans or zooms it, the view fits what it shows.
    if (placed_ && !moved_) resetview();
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
    const bool same = !stale_ && kept_.size() == size() && key == shownkey_ &&
                      now.mind == shownlook_.mind && now.maxd == shownlook_.maxd &&
                      now.colours == shownlook_.colours;
    // Where blocks changed, and where they were marked or no longer are;
    // past a few dozen places, drawing everything costs less than working
    // out where.
    std::vector<QRect> places, marks;
    if (same) {
        for (int slot : dirty_) {
            const auto i = static_cast<std::size_t>(slot);
            places.push_back(bounds(shown_[i], now));
            shown_[i] = blocks[i];
            places.push_back(bounds(blocks[i], now));
        }
        auto& marked = layered() ? marks : places;
        if (now.current != shownlook_.current)
            for (int slot : {shownlook_.current, now.current})
                if (validslot(slot))
                    marked.push_back(bounds(blocks[static_cast<std::size_t>(slot)], now));
        const std::bitset<kSlots> changed = now.selected ^ shownlook_.selected;
        for (std::size_t i = changed._Find_first(); i < kSlots && marked.size() <= 2 * kFewest;
             i = changed._Find_next(i))
            marked.push_back(bounds(blocks[i], now));
    }
    const auto region = [this](const std::vector<QRect>& rects) {
        QRegion out;
        if (rects.size() > 2 * kFewest) return QRegion(rect());
        for (const QRect& r : rects)
            out += r;
        return out & rect();
    };
    QRegion dirty;
    if (!same) {
        shown_ = blocks;
        kept_ = QImage(size(), QImage::Format_RGB32);
        paint(kept_, {});
        dirty = kept_.rect();
    } else {
        dirty = region(places);
        if (!dirty.isEmpty()) paint(kept_, dirty == rect() ? QRegion() : dirty);
    }
    if (layered()) {
        // The marks over a copy of the picture, where it changed or they did.
        const QRegion over = dirty | region(marks);
        if (marked_.size() != kept_.size()) marked_ = QImage(kept_.size(), QImage::Format_RGB32);
        for (const QRect& part : over)
            for (int y = part.top(); y <= part.bottom(); ++y)
                std::memcpy(marked_.scanLine(y) + part.left() * 4,
                            kept_.constScanLine(y) + part.left() * 4,
                            static_cast<std::size_t>(part.width()) * 4);
        if (!over.isEmpty()) paintmarks(marked_, over == rect() ? QRegion() : over);
        dirty = over;
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
    const QImage& shown = layered() ? marked_ : kept_;
    for (const QRect& r : e->region())
        painter.drawImage(r, shown, r);
    paintover(painter);
}

MapWindow::MapWindow(MainForm& form, std::function<void()> before, std::function<void()> after)
    : ViewWindow(form, std::move(before), std::move(after)),
      tool_(form.document,
            tools::Host{
                [this](const std::string& what, const std::string& key,
                       const std::function<int()>& change) { form_.apply(what, key, change); },
                [this](const std::function<void()>& change) { form_.select(change); },
                [this](int slot) { form_.makecurrent(slot); },
                [this](const std::string& question) {
                    return form_.services.messagebox.askyesno(question, kAppTitle) == Answer::Yes;
                },
                [this](const std::string& text) {
                    form_.status(text);
                    form_.actionover();
                },
                [this] { return look(); }}) {
    setObjectName("MapWindow");
    setAccessibleName("Map");
    setAccessibleDescription(
        "The whole map in true proportions, where blocks are selected, moved, resized and "
        "turned; the wheel zooms, the middle button pans, Home fits");
    setMouseTracking(true);
    resize(640, 640);
    setsize(width(), height());
    // The commands of the selection, in the map's own menu and keys.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto toolkey = [this](tools::Key key) {
        return [this, key] { tool_.key(key, modifiers(QGuiApplication::keyboardModifiers())); };
    };
    addcommand("Select all", "Ctrl+A", toolkey(tools::Key::SelectAll));
    addcommand("Select none", "Esc", toolkey(tools::Key::Escape));
    addcommand("Cut", "Ctrl+X", [this] { form_.copyblocks(true); });
    addcommand("Copy", "Ctrl+C", [this] { form_.copyblocks(false); });
    addcommand("Paste under the pointer", "Ctrl+V", [this] {
        // Away from the map, they land where they were.
        const QPointF at = mapFromGlobal(QCursor::pos());
        const MapPoint p = tomap(at);
        const PastePlace place{p.z, p.x, tool_.gridstep()};
        form_.pasteblocks(rect().contains(at.toPoint()) ? &place : nullptr);
    });
    addcommand("Paste where they were", "Ctrl+Shift+V", [this] { form_.pasteblocks(nullptr); });
    addcommand("Delete the selected blocks", "Del", toolkey(tools::Key::Delete));
    addcommand("Duplicate the selected blocks", "Ctrl+Shift+D", toolkey(tools::Key::Duplicate));
    addcommand("Stack the selected blocks on what is beneath them", "Ctrl+T",
               toolkey(tools::Key::Stack));
    addcommand("Finer grid", "[", toolkey(tools::Key::SmallerGrid));
    addcommand("Coarser grid", "]", toolkey(tools::Key::LargerGrid));
    // Changes made elsewhere (undo, the list, the fields) move the handles,
    // and may change the selection the status line counts.
    afteraction_ = form_.afteraction.connect([this] {
        if (isVisible()) showtool();
    });
}

void MapWindow::addcommand(const char* name, const char* keys, std::function<void()> run) {
    auto* action = new QAction(name, this);
    action->setShortcut(QKeySequence(keys));
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        pass(run);
        showtool();
    });
    addAction(action);
}

void MapWindow::showtool() {
    if (statusline) statusline->setText(QString::fromStdString(tool_.status()));
    // What goes over the picture, where it was and where it is now.
    QRegion now;
    if (tool_.band() || tool_.guide() || !tool_.figure().empty()) {
        now = rect();
    } else {
        for (const auto& [handle, at] : tool_.handles(pixel())) {
            const QPointF p = topixel(at);
            now += QRectF(p.x() - 7, p.y() - 7, 14, 14).toAlignedRect();
        }
    }
    update(now | overlaid_);
    overlaid_ = now;
}

void MapWindow::resetview() {
    view_.fit(drawnbox(form_.blocks, look(), &corners_).value_or(kMainArea));
}

void MapWindow::paint(QImage& image, const QRegion& only) {
    paintplan(image, form_.blocks, look(), view_, background(), only, &corners_, false);
}

void MapWindow::paintmarks(QImage& image, const QRegion& only) {
    ui::paintmarks(image, form_.blocks, look(), view_, only, &corners_);
}

void MapWindow::paintover(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    // The current block's handles, small squares that show on any colour.
    for (const auto& [handle, at] : tool_.handles(pixel())) {
        const QPointF p = topixel(at);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        if (handle.turn)
            painter.drawEllipse(p, 4.5, 4.5);
        else
            painter.drawRect(QRectF(p.x() - 3.5, p.y() - 3.5, 7, 7));
    }
    if (const auto band = tool_.band()) {
        // The box: solid while it takes what lies inside it, dashed while it
        // takes what it touches.
        const QRectF r(topixel({band->zmin, band->xmax}), topixel({band->zmax, band->xmin}));
        painter.setBrush(QColor(80, 140, 255, 40));
        painter.setPen(
            QPen(QColor(40, 110, 255), 1, tool_.bandtouching() ? Qt::DashLine : Qt::SolidLine));
        painter.drawRect(r);
    }
    if (const auto& guide = tool_.guide()) {
        const QPointF a = topixel(guide->a), b = topixel(guide->b);
        painter.setPen(QPen(QColor(255, 0, 200), 1, Qt::DashLine));
        if (a == b) {
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(a, 6, 6);
        } else {
            // The whole line through the edge, across the window.
            const QLineF edge(a, b);
            QLineF along = edge;
            along.setLength(4 * (width() + height()));
            QLineF back(edge.p2(), edge.p1());
            back.setLength(4 * (width() + height()));
            painter.drawLine(back.p2(), along.p2());
        }
    }
    if (!tool_.figure().empty()) {
        // Beside the pointer, on a plate that reads on any background.
        const QString text = QString::fromStdString(tool_.figure());
        const QPointF at = mapFromGlobal(QCursor::pos()) + QPointF(16, 20);
        const QRectF box =
            QRectF(painter.fontMetrics().boundingRect(text)).translated(at).adjusted(-4, -2, 4, 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 225, 230));
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(Qt::black);
        painter.drawText(at, text);
    }
}

std::vector<double> MapWindow::viewkey() const {
    return {double(view_.width), double(view_.height), view_.scale,
            view_.centre.z,      view_.centre.x,       double(background().rgb())};
}

QRect MapWindow::bounds(const Block& b, const Look& l) const {
    return planbounds(b, l, view_);
}

void MapWindow::wheelEvent(QWheelEvent* e) {
    moved_ = true;
    view_.zoomabout({e->position().x(), e->position().y()}, std::pow(kNotch, notches(e)));
    update();
}

void MapWindow::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    pressed_ = e->position();
    if (e->button() == Qt::MiddleButton || (e->button() == Qt::LeftButton && spaceheld_)) {
        panning_ = true;
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    if (form_.selmode) {
        placing_ = true;
        return;
    }
    pass([&] { tool_.press(tomap(e->position()), modifiers(e->modifiers()), pixel()); });
    showtool();
}

void MapWindow::mouseMoveEvent(QMouseEvent* e) {
    if (panning_) {
        moved_ = true;
        const QPointF moved = e->position() - pressed_;
        view_.pan(moved.x(), moved.y());
        pressed_ = e->position();
        update();
        return;
    }
    const MapPoint p = tomap(e->position());
    if (form_.selmode) {
        // As on the main map: Z across, X up, the buttons and keys held.
        const int buttons = e->buttons() & Qt::LeftButton ? 1 : 0;
        const int shift = e->modifiers() & Qt::ShiftModifier ? 1 : 0;
        pass([&] {
            form_.Map.mousemove(buttons, shift, static_cast<float>(p.z), static_cast<float>(p.x));
        });
        return;
    }
    if (e->buttons() & Qt::LeftButton) {
        tool_.move(p, modifiers(e->modifiers()), pixel());
        showtool();
        return;
    }
    tool_.hover(p, pixel());
    // The pointer says what a press would do: move, resize along the
    // handle's side, or turn.
    static const Qt::CursorShape sizes[] = {Qt::SizeHorCursor, Qt::SizeBDiagCursor,
                                            Qt::SizeVerCursor, Qt::SizeFDiagCursor};
    switch (tool_.cursor()) {
    case tools::Cursor::Move:
        setCursor(Qt::SizeAllCursor);
        break;
    case tools::Cursor::Turn:
        setCursor(Qt::PointingHandCursor);
        break;
    case tools::Cursor::Resize: {
        const double turn = std::fmod(std::fmod(tool_.handleangle(), 180) + 180 + 22.5, 180);
        setCursor(sizes[static_cast<int>(turn / 45) % 4]);
        break;
    }
    default:
        setCursor(spaceheld_ ? Qt::OpenHandCursor : Qt::ArrowCursor);
    }
}

void MapWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (panning_ && (e->button() == Qt::MiddleButton || e->button() == Qt::LeftButton)) {
        panning_ = false;
        unsetCursor();
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    if (std::exchange(placing_, false)) {
        pass([&] { form_.Map.click(); });
        return;
    }
    pass([&] { tool_.release(tomap(e->position()), modifiers(e->modifiers()), pixel()); });
    showtool();
}

void MapWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        spaceheld_ = true;
        setCursor(Qt::OpenHandCursor);
        return;
    }
    static const std::pair<int, tools::Key> keys[] = {
        {Qt::Key_Left, tools::Key::Left},     {Qt::Key_Right, tools::Key::Right},
        {Qt::Key_Up, tools::Key::Up},         {Qt::Key_Down, tools::Key::Down},
        {Qt::Key_PageUp, tools::Key::PageUp}, {Qt::Key_PageDown, tools::Key::PageDown}};
    for (const auto& [qt, key] : keys)
        if (e->key() == qt) {
            pass([&] { tool_.key(key, modifiers(e->modifiers())); });
            showtool();
            return;
        }
    ViewWindow::keyPressEvent(e);
}

void MapWindow::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        spaceheld_ = false;
        unsetCursor();
        return;
    }
    ViewWindow::keyReleaseEvent(e);
}

QString ViewWindow::rowof(int slot) const {
    if (slot < 0) return {};
    if (slot < form_.List1.listcount())
        return QString::fromStdString(form_.List1.rows()[static_cast<std::size_t>(slot)]);
    return QString::fromStdString(rowtext(form_.blocks[static_cast<std::size_t>(slot)])) +
           "  (not listed)";
}

QString MapWindow::rowat(QPointF at) const {
    return rowof(blockat(form_.blocks, look(), tomap(at)));
}

bool MapWindow::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString row = rowat(help->pos());
        if (row.isEmpty() || tool_.dragging())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), "<pre>" + row.toHtmlEscaped() + "</pre>", this);
        return true;
    }
    return ViewWindow::event(e);
}

BoxWindow::BoxWindow(MainForm& form, std::function<void()> before, std::function<void()> after)
    : ViewWindow(form, std::move(before), std::move(after)) {
    setObjectName("BoxView");
    setAccessibleName("3D view");
    setAccessibleDescription(
        "The blocks as boxes; dragging turns the view, the wheel zooms, a click selects, F "
        "frames the selection, P switches perspective, Home goes back");
    setMouseTracking(true);
    resize(800, 600);
}

void BoxWindow::resetview() {
    camera_.reset(form_.blocks, look(), &corners_);
}

void BoxWindow::frame() {
    moved_ = true;
    camera_.frame(form_.blocks, look(), form_.document.selection(), &corners_);
    update();
}

void BoxWindow::paint(QImage& image, const QRegion& only) {
    paintboxes(image, buffer_, form_.blocks, look(), camera_, background(), ground_, only,
               &corners_);
}

void BoxWindow::paintmarks(QImage& image, const QRegion& only) {
    paintboxmarks(image, buffer_, form_.blocks, look(), camera_, only, &corners_);
}

int BoxWindow::pick(QPointF at) {
    catchup();
    return buffer_.slotat(static_cast<int>(std::floor(at.x())),
                          static_cast<int>(std::floor(at.y())));
}

std::vector<double> BoxWindow::viewkey() const {
    // The ground grid grows with the blocks: when it does, all is drawn.
    ground_ = groundbox(form_.blocks, look(), &corners_);
    return {double(camera_.width),
            double(camera_.height),
            camera_.yaw,
            camera_.pitch,
            camera_.scale,
            camera_.target[0],
            camera_.target[1],
            camera_.target[2],
            double(background().rgb()),
            ground_.zmin,
            ground_.zmax,
            ground_.xmin,
            ground_.xmax,
            double(camera_.perspective)};
}

QRect BoxWindow::bounds(const Block& b, const Look& l) const {
    return boxbounds(b, l, camera_);
}

void BoxWindow::wheelEvent(QWheelEvent* e) {
    moved_ = true;
    camera_.zoom(std::pow(kNotch, notches(e)));
    update();
}

void BoxWindow::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    pressed_ = last_ = e->position();
    orbiting_ = false;
}

void BoxWindow::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton)) return;
    // A press that moves a few pixels is still a click.
    if (!orbiting_ && QLineF(pressed_, e->position()).length() < kClickSlack) return;
    orbiting_ = moved_ = true;
    const QPointF moved = e->position() - last_;
    last_ = e->position();
    camera_.orbit(moved.x(), moved.y());
    update();
}

void BoxWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || std::exchange(orbiting_, false)) return;
    const int slot = pick(e->position());
    const tools::Modifiers m = modifiers(e->modifiers());
    const tools::Host host{{},
                           [this](const std::function<void()>& change) { form_.select(change); },
                           [this](int s) { form_.makecurrent(s); },
                           {},
                           {},
                           {}};
    pass([&] { tools::clickselect(form_.document, host, slot, m); });
}

void BoxWindow::keyPressEvent(QKeyEvent* e) {
    if (e->keyCombination() == QKeySequence(kFrameKey)[0]) return frame();
    if (e->keyCombination() == QKeySequence(kProjectionKey)[0]) {
        camera_.perspective = !camera_.perspective;
        update();
        return;
    }
    ViewWindow::keyPressEvent(e);
}

bool BoxWindow::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString row = rowof(pick(help->pos()));
        if (row.isEmpty() || orbiting_)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), "<pre>" + row.toHtmlEscaped() + "</pre>", this);
        return true;
    }
    return ViewWindow::event(e);
}

} // namespace qs::ui
