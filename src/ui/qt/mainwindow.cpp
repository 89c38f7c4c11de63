#include "ui/qt/mainwindow.h"

#include "ui/placement.h"
#include "ui/qt/icons.h"
#include "ui/qt/mapwidget.h"
#include "ui/qt/qstring.h"
#include "ui/qt/viewwindows.h"
#include "ui/typing.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>

namespace qs::ui {

namespace {

// A label that reports a click: a press and release of the left button.
class ClickLabel : public QLabel {
  public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> onclick)
        : QLabel(text, parent), onclick_(std::move(onclick)) {}

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) onclick_();
    }

    // A caption wider than the label, such as a ruler of dashes, is narrowed
    // to fit rather than cut off.
    void paintEvent(QPaintEvent* e) override {
        const int needed = fontMetrics().horizontalAdvance(text());
        if (needed <= contentsRect().width() || buddy()) {
            QLabel::paintEvent(e);
            return;
        }
        QPainter painter(this);
        painter.scale(static_cast<double>(contentsRect().width()) / needed, 1.0);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, 0, needed, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }

  private:
    std::function<void()> onclick_;
};

// Text on a coloured button stays readable on any colour.
QString buttonstyle(Colour c) {
    const QColor back = tocolor(c);
    const QColor ink = back.lightness() > 120 ? Qt::black : Qt::white;
    return QString("QPushButton { background-color: %1; color: %2; border: 1px solid #6a6a6a; }"
                   "QPushButton:pressed { border: 2px inset #404040; }")
        .arg(back.name(), ink.name());
}

// The block list. Its rows are single lines of one fixed-pitch font, so a new
// text never changes a row's size: only that row is repainted, rather than
// the whole list laid out again as a list view does by default.
class BlockList : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    // A click below the last row, or a Ctrl+click on the selected row, would
    // take the highlight away while that row stays the current block.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* e) const override {
        if (!index.isValid()) return QItemSelectionModel::NoUpdate;
        (void)e;
        return QItemSelectionModel::ClearAndSelect;
    }

    void dataChanged(const QModelIndex& topleft, const QModelIndex& bottomright,
                     const QList<int>& roles) override {
        QAbstractItemView::dataChanged(topleft, bottomright, roles);
    }
};

// Lets the window's undo and redo keys through a text field, which would
// otherwise take them for its own undo of the text, and tells the window
// when a field loses the keyboard.
class FieldEvents : public QObject {
  public:
    FieldEvents(QObject* parent, std::function<void()> onleave)
        : QObject(parent), onleave_(std::move(onleave)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) onleave_();
        if (e->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, e);
        const QKeySequence pressed(static_cast<QKeyEvent*>(e)->keyCombination());
        for (const char* keys : {"Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Y"})
            if (pressed == QKeySequence(keys)) return true;
        return false;
    }

  private:
    std::function<void()> onleave_;
};

} // namespace

QString objectname(const Control& control) {
    if (control.index() < 0) return q(control.name());
    return q(control.name()) + "_" + QString::number(control.index());
}

QString MainWindow::listfontfamily() {
    return QFontDatabase::families().contains("Courier New") ? QString("Courier New")
                                                             : QString("Liberation Mono");
}

MainWindow::MainWindow(MainForm& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);
    setWindowIcon(appicon());
    setAcceptDrops(true);
    // The window's own controls keep their places and sizes on a panel of
    // their own; the views, docked, take the rest of the window.
    auto* centre = new QWidget(this);
    panel_ = new QWidget(centre);
    panel_->setObjectName("frmMainPanel");
    panel_->setFixedSize(kBare);
    centre->setFixedSize(kBare);
    setCentralWidget(centre);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    build();
    fitwindow();
    // What changes outside a person's event (the recovery copy's timer)
    // shows at once too.
    afteraction_ = form_.afteraction.connect([this] { sync(); });
    changes_ = form_.document.changed.connect([this](const Change& c) {
        if (c.file || c.saved) showtitle();
    });
}

void MainWindow::showtitle() {
    // The file's name and the desktop's mark of unsaved changes; a map of no
    // file has the window's own caption.
    const FileRef& file = form_.document.file();
    setWindowTitle(file.path.empty() ? QString(kAppTitle) : q(file.title) + "[*] - " + kAppTitle);
    setWindowModified(!file.path.empty() && form_.document.modified());
}

MainWindow::~MainWindow() {
    // The form may outlive the window, and the fields lose the keyboard as
    // the window goes: neither may reach it any more.
    afteraction_.disconnect();
    for (auto* edit : findChildren<QLineEdit*>())
        edit->removeEventFilter(fieldevents_);
    // The docks hide as the window goes: the window's size is no longer theirs to change.
    for (QDockWidget* dock : {mapdock_, boxdock_})
        dock->disconnect(this);
}

QRect MainWindow::place(const Control& c) const {
    const auto px = [](int twips) {
        return static_cast<int>(std::lround(twips / double(kTwipsPerPixel)));
    };
    return {px(c.geometry.left), px(c.geometry.top), px(c.geometry.width), px(c.geometry.height)};
}

void MainWindow::bind(const Control& control, std::function<void()> update) {
    bindings_.push_back({&control, ~std::uint64_t{0}, std::move(update)});
}

void MainWindow::sync() {
    for (Binding& b : bindings_) {
        if (b.control->revision() == b.seen) continue;
        b.seen = b.control->revision();
        b.update();
    }
}

void MainWindow::restoreviews() {
    // Where the views were, docked or floating, open or not, and how large
    // the window was with views docked.
    SettingsStore& store = form_.services.settings;
    const QByteArray docks = QByteArray::fromBase64(
        QByteArray::fromStdString(store.get(kAppTitle, "Window", "Docks", "")));
    const QStringList size = q(store.get(kAppTitle, "Window", "DockedSize", "")).split('x');
    if (size.size() == 2 && size[0].toInt() > 0 && size[1].toInt() > 0)
        dockedsize_ = {size[0].toInt(), size[1].toInt()};
    if (!docks.isEmpty()) restoreState(docks);
    for (QDockWidget* dock : {mapdock_, boxdock_})
        floated_[dock] = dock->isFloating();
    fitwindow();
}

void MainWindow::rememberviews() {
    SettingsStore& store = form_.services.settings;
    if (docked()) dockedsize_ = size();
    store.set(kAppTitle, "Window", "Docks", saveState().toBase64().toStdString());
    if (dockedsize_.isValid())
        store.set(
            kAppTitle, "Window", "DockedSize",
            QString("%1x%2").arg(dockedsize_.width()).arg(dockedsize_.height()).toStdString());
}

bool MainWindow::docked() const {
    for (const QDockWidget* dock : {mapdock_, boxdock_})
        if (dock->isVisible() && !dock->isFloating()) return true;
    return false;
}

void MainWindow::fitwindow() {
    // With no view docked, the window is its controls and no more; with one,
    // it grows to take it and may be resized and maximised.
    if (!docked()) {
        if (isMaximized() || isFullScreen()) showNormal();
        // The size it had with views docked, for the next time.
        if (std::exchange(grown_, false)) dockedsize_ = size();
        setFixedSize(kBare);
        return;
    }
    const bool first = !std::exchange(grown_, true);
    if (first) {
        setMinimumSize(kBare);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (isMaximized() || isFullScreen()) return;
    // Room for each docked view: the map beside the controls, the 3D view
    // below them, as they start; more if the window had more.
    const auto shows = [this](Qt::DockWidgetArea area) {
        for (QDockWidget* dock : {mapdock_, boxdock_})
            if (dock->isVisible() && !dock->isFloating() && dockWidgetArea(dock) == area)
                return true;
        return false;
    };
    const bool right = shows(Qt::RightDockWidgetArea) || shows(Qt::LeftDockWidgetArea);
    const bool below = shows(Qt::BottomDockWidgetArea) || shows(Qt::TopDockWidgetArea);
    QSize wanted(kBare.width() + (right ? 640 : 0),
                 std::max(kBare.height() + (below ? 400 : 0), right ? 720 : 0));
    if (!below && !right) wanted = kBare + QSize(0, 400);
    if (first && dockedsize_.isValid()) wanted = dockedsize_;
    if (const QScreen* s = screen())
        wanted = wanted.boundedTo(s->availableGeometry().size() - QSize(16, 48));
    resize(first ? wanted.expandedTo(kBare) : size().expandedTo(wanted));
    filldocks();
}

void MainWindow::filldocks() {
    // The docked views take all the window leaves beside and below the
    // controls, which keep their size.
    QList<QDockWidget*> across, down;
    for (QDockWidget* dock : {mapdock_, boxdock_}) {
        if (!dock->isVisible() || dock->isFloating()) continue;
        const Qt::DockWidgetArea area = dockWidgetArea(dock);
        (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea ? across : down)
            .append(dock);
    }
    if (!across.isEmpty()) resizeDocks({across.front()}, {width() - kBare.width()}, Qt::Horizontal);
    if (!down.isEmpty()) resizeDocks({down.front()}, {height() - kBare.height()}, Qt::Vertical);
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (grown_) filldocks();
}

void MainWindow::toggleview(QDockWidget* dock) {
    const bool show = !dock->isVisible();
    dock->setVisible(show);
    if (show) {
        dock->raise();
        dock->widget()->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::placefromform() {
    // A position is applied as stored; only values no window could take are
    // brought into the range of a screen coordinate.
    const auto px = [](float twips) {
        const double v = std::isfinite(twips) ? twips / double(kTwipsPerPixel) : 0.0;
        return static_cast<int>(std::clamp(v, -32000.0, 32000.0));
    };
    placed_ = QPoint(px(form_.left), px(form_.top));
    move(onascreen(placed_));
}

QPoint MainWindow::onascreen(QPoint at) const {
    // The title bar must lie on a screen far enough to be taken hold of;
    // otherwise the window goes to the top left of the primary screen.
    const QRect titlebar(at.x(), at.y(), width(), 24);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(titlebar);
        if (seen.width() >= 100 && seen.height() >= 12) return at;
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry().topLeft() : at;
}

void MainWindow::placeview(QDockWidget* view) {
    // A view floating for the first time goes beside the main window and the
    // other view when the screen has room; otherwise where Qt put it.
    const auto rect = [](const QRect& r) { return Rect{r.x(), r.y(), r.width(), r.height()}; };
    const QScreen* screen = this->screen();
    if (screen == nullptr) return;
    const QDockWidget* other = view == mapdock_ ? boxdock_ : mapdock_;
    const bool apart = other->isVisible() && other->isFloating();
    const QSize wanted = view == mapdock_ ? QSize(640, 640) : QSize(800, 600);
    const auto at = beside(rect(screen->availableGeometry()), rect(frameGeometry()), wanted.width(),
                           wanted.height(), apart ? rect(other->frameGeometry()) : Rect{});
    if (at) view->setGeometry(at->x, at->y, at->w, at->h);
}

void MainWindow::changeEvent(QEvent* e) {
    // Back in the window, a person learns of another program's change to
    // the map's file.
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        flush();
        form_.checkdisk();
    }
    QMainWindow::changeEvent(e);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
    std::vector<std::string> paths;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    flush();
    form_.openfiles(paths);
    after();
    e->acceptProposedAction();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    form_.minimised = isMinimized();
    // A window that was not moved keeps its stored twips exactly, rather than
    // the nearest whole pixel.
    if (!form_.minimised && pos() != placed_) {
        form_.left = static_cast<float>(x() * kTwipsPerPixel);
        form_.top = static_cast<float>(y() * kTwipsPerPixel);
    }
    rememberviews();
    form_.unload();
    e->accept();
}

void MainWindow::build() {
    MainForm& f = form_;

    // The toolbar.
    auto* toolbar = new QToolBar(panel_);
    toolbar->setObjectName(objectname(f.tbToolBar));
    toolbar->setGeometry(place(f.tbToolBar));
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setMovable(false);
    // Each button's tooltip names its command and its key.
    const std::map<std::string, std::pair<const char*, const char*>> commands = {
        {"New", {"New map", "Ctrl+N"}},
        {"Open", {"Open map", "Ctrl+O"}},
        {"Save", {"Save map as", "Ctrl+Shift+S"}},
        {"Copy", {"Copy block", "Ctrl+D"}},
        {"Refresh", {"Refresh map and list", "F5"}},
        {"Delete", {"Delete block", "Delete, in the list"}}};
    for (const std::string& key : f.tbToolBar.keys) {
        QAction* action = toolbar->addAction(toolbaricon(q(key)), q(key));
        action->setObjectName("tb" + q(key));
        const auto& [title, keys] = commands.at(key);
        action->setToolTip(QString("%1 (%2)").arg(title, keys));
        connect(action, &QAction::triggered, this, [this, key] {
            flush();
            form_.tbToolBar.click(key);
            after();
        });
    }

    // The other views of the map, behind a separator, each in a dock: the
    // map on the right, the 3D view below the controls.
    const auto before = [this] { flush(); };
    const auto afterwards = [this] { after(); };
    mapwindow_ = new MapWindow(form_, before, afterwards);
    boxwindow_ = new BoxWindow(form_, before, afterwards);
    auto* mappanel = new QWidget;
    auto* maplayout = new QVBoxLayout(mappanel);
    maplayout->setContentsMargins(0, 0, 0, 0);
    maplayout->setSpacing(0);
    maplayout->addWidget(mapwindow_, 1);
    mapwindow_->statusline = new QLabel(mappanel);
    mapwindow_->statusline->setObjectName("MapStatus");
    mapwindow_->statusline->setContentsMargins(4, 1, 4, 1);
    maplayout->addWidget(mapwindow_->statusline);
    mapwindow_->showtool();
    mapdock_ = new QDockWidget("Map", this);
    mapdock_->setObjectName("MapDock");
    mapdock_->setWidget(mappanel);
    boxdock_ = new QDockWidget("3D view", this);
    boxdock_->setObjectName("BoxDock");
    boxdock_->setWidget(boxwindow_);
    addDockWidget(Qt::RightDockWidgetArea, mapdock_);
    addDockWidget(Qt::BottomDockWidgetArea, boxdock_);
    for (QDockWidget* dock : {mapdock_, boxdock_}) {
        dock->hide();
        connect(dock, &QDockWidget::visibilityChanged, this, [this] { fitwindow(); });
        connect(dock, &QDockWidget::dockLocationChanged, this, [this] { fitwindow(); });
        connect(dock, &QDockWidget::topLevelChanged, this, [this, dock](bool floating) {
            if (floating && !std::exchange(floated_[dock], true)) placeview(dock);
            fitwindow();
        });
    }
    toolbar->addSeparator();
    for (const auto& [name, title, keys, dock] :
         {std::tuple<const char*, const char*, const char*, QDockWidget*>{"Map", "Map window",
                                                                          kMapWindowKey, mapdock_},
          {"3D", "3D view", kBoxWindowKey, boxdock_}}) {
        QAction* action = toolbar->addAction(toolbaricon(name), name);
        action->setObjectName(QString("tb") + name);
        action->setToolTip(QString("%1 (%2)").arg(title, keys));
        connect(action, &QAction::triggered, this, [this, dock = dock] { toggleview(dock); });
        // The key works in the view's own window too.
        auto* key =
            new QShortcut(QKeySequence(keys), this, nullptr, nullptr, Qt::ApplicationShortcut);
        connect(key, &QShortcut::activated, this, [this, dock = dock] { toggleview(dock); });
    }

    // Labels; the colour labels are clickable.
    for (Label* label : {&f.Label1, &f.Label2, &f.Label8, &f.Label4, &f.Label9, &f.Label6,
                         &f.Label5, &f.Label7, &f.Label3[0], &f.Label3[1], &f.Label3[2]}) {
        auto* w = new ClickLabel(q(label->caption), panel_, [this, label] {
            flush();
            label->click();
            after();
        });
        w->setObjectName(objectname(*label));
        w->setGeometry(place(*label));
    }

    // The window's own keys. They work in every window of the program: the
    // map window and the 3D view pass them on too.
    auto addkey = [this](const char* keys, std::function<void()> run) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, run] {
            flush();
            run();
            after();
        });
    };
    addkey("Ctrl+Z", [this] { form_.undo(); });
    addkey("Ctrl+Shift+Z", [this] { form_.redo(); });
    addkey("Ctrl+Y", [this] { form_.redo(); });
    addkey(kRecoverKey, [this] { form_.recover(); });
    for (const auto& [key, command] : {std::pair{"Ctrl+N", "New"},
                                       {"Ctrl+O", "Open"},
                                       {"Ctrl+D", "Copy"},
                                       {"F5", "Refresh"},
                                       {"Ctrl+Shift+S", "Save"}}) {
        const std::string name = command;
        addkey(key, [this, name] { form_.tbToolBar.click(name); });
    }
    addkey("Ctrl+S", [this] { form_.saveagain(); });
    addkey("Ctrl+E", [this] { form_.exportscene(); });
    // The desktop's Quit key, Ctrl+Q where the platform names none.
    auto* quit = new QShortcut(this);
    quit->setContext(Qt::ApplicationShortcut);
    const auto quitkeys = QKeySequence::keyBindings(QKeySequence::Quit);
    quit->setKeys(quitkeys.isEmpty() ? QList<QKeySequence>{QKeySequence("Ctrl+Q")} : quitkeys);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    fieldevents_ = new FieldEvents(this, [this] { flush(); });

    // Text fields.
    for (TextField* field :
         {&f.posxed, &f.posyed, &f.sizexed, &f.sizeyed, &f.bottomed, &f.heighted, &f.angleed}) {
        auto* w = new QLineEdit(panel_);
        w->setObjectName(objectname(*field));
        w->setGeometry(place(*field));
        w->setTextMargins(0, 0, 0, 0);
        w->installEventFilter(fieldevents_);
        const bool keepssign = field == &f.posxed || field == &f.posyed;
        connect(w, &QLineEdit::textEdited, this, [this, w, field, keepssign](const QString& text) {
            // A number being typed that the field would cut back ("1.",
            // "-", "1e") is shown but held; the next keystroke, or leaving
            // the field, passes the whole text on as one change.
            if (held_ != nullptr && held_ != w) flush();
            held_ = nullptr;
            if (heldtext(text.toStdString(), keepssign)) {
                held_ = w;
                heldfield_ = field;
                return;
            }
            field->settext(text.toStdString());
            after();
        });
        connect(w, &QLineEdit::returnPressed, this, [this] { flush(); });
        bind(*field, [this, w, field] {
            if (held_ == w) held_ = nullptr; // the program wrote the field
            const QString text = q(field->text());
            if (w->text() == text) return;
            const int caret = w->cursorPosition();
            QSignalBlocker block(w);
            w->setText(text);
            w->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
        });
    }

    // Scroll bars.
    auto addbar = [this](ScrollBar& bar, Qt::Orientation o) {
        auto* w = new QScrollBar(o, panel_);
        w->setObjectName(objectname(bar));
        w->setGeometry(place(bar));
        connect(w, &QAbstractSlider::actionTriggered, this, [this, w, &bar](int action) {
            flush();
            // The widget has worked out where the thumb goes; the form decides.
            if (action == QAbstractSlider::SliderMove && w->isSliderDown())
                bar.dragto(w->sliderPosition());
            else if (action != QAbstractSlider::SliderNoAction)
                bar.setvalue(w->sliderPosition());
            after();
        });
        connect(w, &QAbstractSlider::sliderReleased, this, [this, &bar] {
            flush();
            bar.release();
            after();
        });
        bind(bar, [w, &bar] {
            QSignalBlocker block(w);
            w->setRange(std::min(bar.min(), bar.max()), std::max(bar.min(), bar.max()));
            w->setSingleStep(bar.smallchange);
            w->setPageStep(bar.largechange);
            if (!w->isSliderDown() || w->sliderPosition() != bar.value()) w->setValue(bar.value());
        });
    };
    addbar(f.MinD, Qt::Vertical);
    addbar(f.MaxD, Qt::Vertical);
    addbar(f.VScroll1[0], Qt::Vertical);
    addbar(f.VScroll1[1], Qt::Vertical);
    addbar(f.VScroll2, Qt::Vertical);
    addbar(f.AngleSB, Qt::Horizontal);
    for (auto& bar : f.HeightSB)
        addbar(bar, Qt::Horizontal);
    for (auto& bar : f.BottomSB)
        addbar(bar, Qt::Horizontal);
    for (auto& bar : f.Color)
        addbar(bar, Qt::Horizontal);
    // "&Red:" shows "Red:" with its access key, which moves to its bar.
    for (std::size_t i = 0; i < 3; ++i)
        findChild<QLabel*>(objectname(f.Label3[i]))
            ->setBuddy(findChild<QScrollBar*>(objectname(f.Color[i])));

    // Buttons.
    for (Button* button : {&f.selpos, &f.RNDANG, &f.Command2, &f.Command1[3], &f.Command1[2],
                           &f.Command1[1], &f.Command1[0]}) {
        auto* w = new QPushButton(q(button->caption), panel_);
        w->setObjectName(objectname(*button));
        w->setGeometry(place(*button));
        w->setAutoDefault(false);
        connect(w, &QPushButton::clicked, this, [this, button] {
            flush();
            button->click();
            after();
        });
        if (button->showscolour)
            bind(*button, [w, button] { w->setStyleSheet(buttonstyle(button->backcolor())); });
    }

    // The check box.
    auto* check = new QCheckBox(q(f.Check1.caption), panel_);
    check->setObjectName(objectname(f.Check1));
    check->setGeometry(place(f.Check1));
    check->setStyleSheet("QCheckBox { spacing: 3px; }");
    connect(check, &QCheckBox::clicked, this, [this] {
        flush();
        form_.Check1.click();
        after();
    });
    bind(f.Check1, [check, this] {
        QSignalBlocker block(check);
        check->setChecked(form_.Check1.value() == 1);
    });

    // The background slider.
    auto* slider = new QSlider(Qt::Horizontal, panel_);
    slider->setObjectName(objectname(f.Slider1));
    slider->setGeometry(place(f.Slider1));
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(16);
    connect(slider, &QSlider::valueChanged, this, [this](int v) {
        flush();
        form_.Slider1.setvalue(v);
        after();
    });
    bind(f.Slider1, [slider, this] {
        QSignalBlocker block(slider);
        slider->setRange(form_.Slider1.min(), form_.Slider1.max());
        slider->setValue(form_.Slider1.value());
    });

    // The block list.
    list_ = new BlockList(panel_);
    list_->setObjectName(objectname(f.List1));
    list_->setGeometry(place(f.List1));
    // Seven pixels a character: a 41-character row fits beside the list's
    // scroll bar, and the columns end under the header's column names.
    QFont listfont(listfontfamily());
    listfont.setPixelSize(12);
    listfont.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    list_->setFont(listfont);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Rows are cut at the right edge, as in a plain list box: a scroll bar
    // that came and went with the widest row would shift the whole list.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        flush();
        form_.List1.setlistindex(row);
        after();
    });
    bind(f.List1, [this] { updatelist(); });
    // The Delete key itself: the desktop's standard Delete keys may include
    // Ctrl+D, which is Copy's.
    auto* deletekey =
        new QShortcut(QKeySequence(Qt::Key_Delete), list_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deletekey, &QShortcut::activated, this, [this] {
        flush();
        form_.tbToolBar.click("Delete");
        after();
    });
    // The clipboard's keys: the selected blocks, or the row's block.
    const auto listkey = [this](const char* keys, std::function<void()> run) {
        auto* key = new QShortcut(QKeySequence(keys), list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(key, &QShortcut::activated, this, [this, run = std::move(run)] {
            flush();
            run();
            after();
        });
    };
    listkey("Ctrl+X", [this] { form_.copyblocks(true); });
    listkey("Ctrl+C", [this] { form_.copyblocks(false); });
    listkey("Ctrl+V", [this] { form_.pasteblocks(nullptr); });
    listkey("Ctrl+Shift+V", [this] { form_.pasteblocks(nullptr); });

    // The map and the colour swatch.
    for (Surface* surface : {&f.Map, &f.Picture1}) {
        auto* w = new SurfaceWidget(*surface, panel_);
        w->setObjectName(objectname(*surface));
        w->setGeometry(place(*surface));
        w->beforeevent = [this] { flush(); };
        w->afterevent = [this] { after(); };
        bind(*surface, [w] { w->sync(); });
    }

    // The status bar: two panels of the program's, then the date and time.
    auto* status = new QStatusBar(panel_);
    status->setObjectName(objectname(f.sbStatusBar));
    status->setGeometry(place(f.sbStatusBar));
    status->setSizeGripEnabled(false);
    const int widths[4] = {0, 110, 76, 48};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(status);
        panel->setObjectName("sbStatusBar_panel" + QString::number(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (widths[i] > 0) panel->setFixedWidth(widths[i]);
        status->addWidget(panel, i == 0 ? 1 : 0);
        panels_.push_back(panel);
    }
    bind(f.sbStatusBar, [this] {
        panels_[0]->setText(q(form_.sbStatusBar.text(1)));
        panels_[1]->setText(q(form_.sbStatusBar.text(2)));
    });
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, [this] { tick(); });
    clock_->start(1000);
    tick();
    describe();
}

void MainWindow::flush() {
    if (held_ == nullptr) return;
    QLineEdit* w = held_;
    held_ = nullptr;
    heldfield_->settext(w->text().toStdString());
    after();
}

void MainWindow::describe() {
    for (Control* c : form_.controls()) {
        if (auto* w = findChild<QWidget*>(objectname(*c))) {
            w->setAccessibleName(q(c->accessiblename));
            w->setAccessibleDescription(q(c->description));
        }
    }
}

void MainWindow::tick() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[2]->setText(now.date().toString("yyyy-MM-dd"));
    panels_[3]->setText(now.time().toString("HH:mm"));
}

void MainWindow::updatelist() {
    // Only rows whose text changed since the last update are sent.
    const ListBox& model = form_.List1;
    const int n = model.listcount();
    QSignalBlocker block(list_);
    while (list_->count() > n)
        delete list_->takeItem(list_->count() - 1);
    const int shown = list_->count();
    std::uint64_t newest = rowsseen_;
    for (int i = 0; i < n; ++i) {
        const std::uint64_t revision = model.rowrevision(i);
        if (i < shown && revision <= rowsseen_) continue;
        const QString text = q(model.rows()[static_cast<std::size_t>(i)]);
        if (i < shown)
            list_->item(i)->setText(text);
        else
            list_->addItem(text);
        newest = std::max(newest, revision);
    }
    rowsseen_ = newest;
    if (list_->currentRow() != model.listindex()) {
        // Selecting a row shows it, as a list box does.
        list_->setCurrentRow(model.listindex());
        if (QListWidgetItem* current = list_->currentItem()) list_->scrollToItem(current);
    }
}

} // namespace qs::ui
