#pragma once
// The real window: one widget for each control of the main form, placed from
// the layout in twips. What a person does is forwarded into the form; after
// each event the widgets of the controls whose state changed are updated,
// with their signals blocked, however deep the cascade went.
#include "app/mainform.h"

#include <QMainWindow>
#include <QSize>

#include <map>

#include <functional>
#include <vector>

class QDockWidget;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;

namespace qs::ui {

class SurfaceWidget;
class ViewWindow;
class MapWindow;
class BoxWindow;

inline constexpr int kTwipsPerPixel = 15;

// The window's own controls, in pixels: 8580 by 7185 twips.
inline constexpr QSize kBare{572, 479};

class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(MainForm& form, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Mirrors into the widgets what changed in the form since the last call.
    void sync();

    // Moves the window to the form's Left and Top, in twips.
    void placefromform();

    // The map window and the 3D view, each in a dock: opened again at start
    // where they were when the editor last closed.
    MapWindow& mapwindow() { return *mapwindow_; }
    BoxWindow& boxwindow() { return *boxwindow_; }
    QDockWidget& mapdock() { return *mapdock_; }
    QDockWidget& boxdock() { return *boxdock_; }
    void restoreviews();
    void rememberviews();
    // Opens a view, or closes it (F2, F3).
    void toggleview(QDockWidget* dock);

    // The font the block list uses: "Courier New" where it exists, otherwise
    // the metric-compatible "Liberation Mono".
    static QString listfontfamily();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // A map file dropped from the file manager opens as from the command line.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    struct Binding {
        const Control* control;
        std::uint64_t seen;
        std::function<void()> update;
    };

    void build();
    void showtitle();
    void placeview(QDockWidget* view);
    // Whether a view shows docked in the window.
    bool docked() const;
    // The window's size: its controls alone, or larger with views docked.
    void fitwindow();
    // The docked views take the rest of the window.
    void filldocks();
    QPoint onascreen(QPoint at) const;
    void bind(const Control& control, std::function<void()> update);
    QRect place(const Control& control) const;
    void after() { sync(); }
    void updatelist();
    void tick();
    // Passes a held text on to its field.
    void flush();
    // Gives every control's widget its accessible name and description.
    void describe();

    MainForm& form_;
    std::vector<Binding> bindings_;
    QListWidget* list_ = nullptr;
    std::vector<QLabel*> panels_;
    QTimer* clock_ = nullptr;
    QPoint placed_;
    QLineEdit* held_ = nullptr;
    QObject* fieldevents_ = nullptr;
    Connection afteraction_, changes_;
    TextField* heldfield_ = nullptr;
    std::uint64_t rowsseen_ = 0;
    QWidget* panel_ = nullptr;
    MapWindow* mapwindow_ = nullptr;
    BoxWindow* boxwindow_ = nullptr;
    QDockWidget* mapdock_ = nullptr;
    QDockWidget* boxdock_ = nullptr;
    QSize dockedsize_;
    bool grown_ = false;                   // the window holds docked views
    std::map<QDockWidget*, bool> floated_; // floating before, so placed already
};

// "VScroll1(0)" becomes "VScroll1_0"; other names stay as they are.
QString objectname(const Control& control);

} // namespace qs::ui
