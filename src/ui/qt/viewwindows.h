#pragma once
// Two more ways to look at the map, each in a dock of the main window (or
// floating beside it): the map in true proportions, where blocks are edited
// with the pointer and keys, and the blocks as boxes in 3D. They repaint
// what the document's change events name; what a person does in them
// reaches the form as one action, as the main window's own controls pass it
// on.
#include "app/mainform.h"
#include "mapview/raster.h"
#include "mapview/views.h"
#include "tools/maptool.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;

namespace qs::ui {

class ViewWindow : public QWidget {
  public:
    // `before` and `after` run around anything the window passes on to the
    // form, as the main window's own widgets do.
    ViewWindow(MainForm& form, std::function<void()> before, std::function<void()> after);
    ~ViewWindow() override;
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    // What the pictures show of the form: its depth window, colour switch,
    // current block and selection.
    Look look() const;
    // How many times the window has painted itself, for the tests.
    int paints() const { return paints_; }
    // Forgets the kept picture: the next paint draws everything.
    void invalidate() { stale_ = true; }

  protected:
    // Called when the window is first shown or its view key is pressed.
    virtual void resetview() = 0;
    // The view follows the window's size.
    virtual void setsize(int w, int h) = 0;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    // Paints the picture, or with `only` given, what lies within it.
    virtual void paint(QImage& image, const QRegion& only) = 0;
    // Paints what goes over the kept picture, redrawn at every paint.
    virtual void paintover(QPainter& painter) { (void)painter; }
    // A window whose picture has its marks (the current block, the
    // selection) on a layer of their own, painted over a copy of it, so
    // that a change of the selection costs no new picture.
    virtual bool layered() const { return false; }
    virtual void paintmarks(QImage& image, const QRegion& only) { (void)image, (void)only; }
    // What the picture depends on besides the table and the look: the
    // view, the size, the background.
    virtual std::vector<double> viewkey() const = 0;
    // The pixels a block's drawing may touch.
    virtual QRect bounds(const Block& b, const Look& look) const = 0;
    QColor background() const;
    void pass(const std::function<void()>& action);
    // Brings the kept picture up to date now.
    void catchup() { bringup(); }
    // A block's row in the list, or its values and "(not listed)".
    QString rowof(int slot) const;

    MainForm& form_;
    bool moved_ = false; // a person turned, panned or zoomed the view

  private:
    std::function<void()> before_, after_;
    // Brings the kept picture up to date: all of it after a change of the
    // view, the size or the look, otherwise only where blocks changed;
    // gives the pixels that changed.
    QRegion bringup();
    // Notes the slots a transaction changed, to draw them again.
    void take(const Change& change);
    Connection changes_, afteraction_;
    bool placed_ = false;
    int paints_ = 0;
    QImage kept_;
    QImage marked_;          // the kept picture with its marks, when layered
    BlockTable shown_{};     // the blocks as the kept picture shows them
    std::vector<int> dirty_; // slots changed since
    bool stale_ = true;      // the kept picture is to be drawn anew
    Look shownlook_;
    std::vector<double> shownkey_;

  protected:
    mutable CornerCache corners_; // a cache: filling it changes nothing seen
};

// The map from above in true proportions, where blocks are edited: a click
// selects, a drag moves, the handles resize and turn, a drag on the empty
// map selects a box (see tools/maptool.h); the middle button, or Space held,
// pans; the wheel zooms about the pointer; Home fits every drawn block.
// With "Select Pos." on, the pointer places the current block as on the main
// map.
class MapWindow : public ViewWindow {
  public:
    MapWindow(MainForm& form, std::function<void()> before, std::function<void()> after);
    PlanView& view() { return view_; }
    tools::MapTool& tool() { return tool_; }
    // The tooltip for a pixel of the window: the row of the block under it.
    QString rowat(QPointF at) const;
    // Where the tool's line of the status bar goes.
    QLabel* statusline = nullptr;
    // The tool's part of the picture changed: its marks and its status line.
    void showtool();

  protected:
    void resetview() override;
    void paint(QImage& image, const QRegion& only) override;
    void paintover(QPainter& painter) override;
    bool layered() const override { return true; }
    void paintmarks(QImage& image, const QRegion& only) override;
    std::vector<double> viewkey() const override;
    QRect bounds(const Block& b, const Look& look) const override;
    void setsize(int w, int h) override { view_.width = w, view_.height = h; }
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;

  private:
    MapPoint tomap(QPointF at) const { return view_.tomap({at.x(), at.y()}); }
    QPointF topixel(MapPoint p) const {
        const Pixel px = view_.topixel(p);
        return {px.h, px.v};
    }
    double pixel() const { return 1 / view_.scale; }
    void addcommand(const char* name, const char* keys, std::function<void()> run);
    PlanView view_;
    tools::MapTool tool_;
    Connection afteraction_;
    QRegion overlaid_; // where the tool's marks were painted over the picture
    QPointF pressed_;
    bool panning_ = false, spaceheld_ = false, placing_ = false;
};

// The blocks as boxes from Bottom to Bottom + Height on a ground grid, each
// pixel the nearest face: dragging orbits, the wheel zooms, a click selects
// the block under the pointer as on the map (Shift adds, Ctrl takes in or
// out), hovering shows its row; F frames the selection (or everything), P
// switches between orthographic and perspective, Home goes back to the
// first view.
class BoxWindow : public ViewWindow {
  public:
    BoxWindow(MainForm& form, std::function<void()> before, std::function<void()> after);
    BoxCamera& camera() { return camera_; }
    // The block a pixel of the window shows, from the pass that drew it;
    // -1 for none.
    int pick(QPointF at);
    // Looks at the selection, or at everything when nothing is selected.
    void frame();

  protected:
    void resetview() override;
    void paint(QImage& image, const QRegion& only) override;
    bool layered() const override { return true; }
    void paintmarks(QImage& image, const QRegion& only) override;
    std::vector<double> viewkey() const override;
    QRect bounds(const Block& b, const Look& look) const override;
    void setsize(int w, int h) override { camera_.width = w, camera_.height = h; }
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;

  private:
    BoxCamera camera_;
    DepthBuffer buffer_;
    mutable MapBox ground_; // the grid's area, as the last look at the view found it
    QPointF pressed_, last_;
    bool orbiting_ = false;
};

// The keys that open and close the views, and that fit or reset a view.
inline constexpr const char* kMapWindowKey = "F2";
inline constexpr const char* kBoxWindowKey = "F3";
inline constexpr const char* kFitKey = "Home";
inline constexpr const char* kFrameKey = "F";
inline constexpr const char* kProjectionKey = "P";

} // namespace qs::ui
