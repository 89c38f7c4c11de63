#pragma once
// Two more ways to look at the table, each a window of its own beside the
// main window: the map in true proportions, and the blocks as boxes in 3D.
// They read the table after a person's action is over and never write it;
// what a person does in them reaches the form as the main window's own
// controls would pass it on.
#include "app/mainform.h"
#include "mapview/views.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

namespace qs::ui {

class ViewWindow : public QWidget {
public:
    // `section` names the window's settings; `before` and `after` run around
    // anything the window passes on to the form, as the main window's own
    // widgets do.
    ViewWindow(MainForm& form, const char* section, QWidget* parent, std::function<void()> before,
               std::function<void()> after);
    ~ViewWindow() override;
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    void toggle();
    // Keeps the window's size, position and whether it is open in the
    // settings, and puts them back.
    void remember();
    void restore();
    // Finds the window a place before it is first shown, unless the
    // settings gave it one.
    std::function<void(ViewWindow&)> place;

    // What the pictures show of the form: its depth window, colour switch
    // and current block.
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
    virtual void paint(QPainter& painter, const QRegion& only) = 0;
    // What the picture depends on besides the table and the look: the
    // view, the size, the background.
    virtual std::vector<double> viewkey() const = 0;
    // The pixels a block's drawing may touch.
    virtual QRect bounds(const Block& b, const Look& look) const = 0;
    QColor background() const;
    void pass(const std::function<void()>& action);

    MainForm& form_;

private:
    const char* section_;
    std::function<void()> before_, after_;
    // Brings the kept picture up to date: all of it after a change of the
    // view, the size or the look, otherwise only where blocks changed;
    // gives the pixels that changed.
    QRegion bringup();
    // Notes the slots a transaction changed, to draw them again.
    void take(const Change& change);
    Connection changes_, afteraction_;
    bool placed_ = false;
    bool positioned_ = false;
    int paints_ = 0;
    QImage kept_;
    BlockTable shown_{}; // the blocks as the kept picture shows them
    std::vector<int> dirty_; // slots changed since
    bool stale_ = true;      // the kept picture is to be drawn anew
    Look shownlook_;
    std::vector<double> shownkey_;

protected:
    mutable CornerCache corners_; // a cache: filling it changes nothing seen
};

// The map from above in true proportions: wheel zooms about the pointer,
// dragging the empty map pans, Home fits every drawn block; hovering a block
// shows its row, clicking it selects the row; with "Select Pos." on the
// pointer places the current block as on the main map.
class MapWindow : public ViewWindow {
public:
    MapWindow(MainForm& form, QWidget* parent, std::function<void()> before, std::function<void()> after);
    PlanView& view() { return view_; }
    // The tooltip for a pixel of the window: the row of the block under it.
    QString rowat(QPointF at) const;

protected:
    void resetview() override;
    void paint(QPainter& painter, const QRegion& only) override;
    std::vector<double> viewkey() const override;
    QRect bounds(const Block& b, const Look& look) const override;
    void setsize(int w, int h) override { view_.width = w, view_.height = h; }
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    MapPoint tomap(QPointF at) const { return view_.tomap({at.x(), at.y()}); }
    PlanView view_;
    QPointF pressed_;
    bool down_ = false, dragged_ = false;
};

// The blocks as boxes from Bottom to Bottom + Height on a ground grid:
// dragging orbits, the wheel zooms, Home goes back to the first view.
class BoxWindow : public ViewWindow {
public:
    BoxWindow(MainForm& form, QWidget* parent, std::function<void()> before, std::function<void()> after);
    BoxCamera& camera() { return camera_; }

protected:
    void resetview() override;
    void paint(QPainter& painter, const QRegion& only) override;
    std::vector<double> viewkey() const override;
    QRect bounds(const Block& b, const Look& look) const override;
    void setsize(int w, int h) override { camera_.width = w, camera_.height = h; }
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    BoxCamera camera_;
    QPointF last_;
};

// The keys that open and close the windows, and that fit or reset a view.
inline constexpr const char* kMapWindowKey = "F2";
inline constexpr const char* kBoxWindowKey = "F3";
inline constexpr const char* kFitKey = "Home";

} // namespace qs::ui
