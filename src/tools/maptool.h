#pragma once
// Editing blocks where a person sees them, on the map from above: select
// them (click, Shift+click adds, Ctrl+click toggles, Alt+click cycles
// through a stack, Alt+Shift+click adds the next one, a box dragged on the
// empty map), move them (drag, the
// arrow keys), resize the current block by the handles on its edges and
// corners, turn it (or the selection) by its turn handle, stack, duplicate
// and delete the selection. Snapping, on unless Ctrl is held, goes to the
// grid and to other blocks' corners and edges within a few pixels; angles
// snap to 15 degrees.
//
// A state machine on pointer and key events in map units, apart from any
// toolkit. It changes the map through the window it works in (`Host`), each
// drag, nudge series or command one transaction, and so one step of the
// history.
#include "document/document.h"
#include "mapview/views.h"
#include "tools/snap.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qs::tools {

struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
};

// What the tool needs of the window it works in.
struct Host {
    // Runs `change` as one transaction titled `what`, which merges with the
    // step before when they share `mergekey`; the window then shows the map,
    // and the slot `change` gives (not -1) is made the current block in the
    // same step.
    std::function<void(const std::string& what, const std::string& mergekey,
                       const std::function<int()>& change)>
        edit;
    // Runs a change of the selection alone.
    std::function<void(const std::function<void()>& change)> select;
    // Makes a slot the current block, as a person selects its list row.
    std::function<void(int slot)> makecurrent;
    // Asks a question with Yes and No; true for Yes.
    std::function<bool(const std::string& question)> ask;
    // Says something in the status bar.
    std::function<void(const std::string& text)> say;
    // What the map shows: the depth window, for what can be hit.
    std::function<Look()> look;
};

// What a click on a block (-1: on none) does to the selection, in any view:
// selects only it (with Shift, adds it; with Ctrl, takes it in or out) and
// makes it the current block; on none, selects none (unless Shift or Ctrl
// is held).
void clickselect(Document& d, const Host& host, int slot, Modifiers m);

enum class Key {
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Escape,
    Delete,
    SmallerGrid,
    LargerGrid,
    SelectAll,
    Duplicate,
    Stack
};

// The handles of the current block: its four edges and four corners, each
// moving the sides it names (-1, 0 or 1 along the block's own two axes),
// and its turn handle.
struct Handle {
    int along = 0, across = 0; // sides of Size X and Size Z that move
    bool turn = false;
    bool operator==(const Handle&) const = default;
};

// What the pointer shows over the map.
enum class Cursor { Arrow, Move, Resize, Turn, Band };

class MapTool {
  public:
    MapTool(Document& document, Host host);

    // What a person does with the pointer, at a map point; `pixel` is how
    // many map units one pixel of the screen spans.
    void press(MapPoint at, Modifiers m, double pixel);
    void move(MapPoint at, Modifiers m, double pixel);
    void release(MapPoint at, Modifiers m, double pixel);
    // Over the map with no button held: sets the cursor and what is hovered.
    void hover(MapPoint at, double pixel);
    // A key.
    void key(Key k, Modifiers m);
    bool dragging() const { return drag_ != Drag::None; }

    // Where the handles of the current block are, with the pixel size.
    std::vector<std::pair<Handle, MapPoint>> handles(double pixel) const;

    double gridstep() const { return kGridSteps[grid_]; }
    Cursor cursor() const { return cursor_; }
    // The box being dragged out, and whether blocks touching it count.
    std::optional<MapBox> band() const;
    bool bandtouching() const { return touching_; }
    // The line snapping holds to while it holds.
    const std::optional<Guide>& guide() const { return guide_; }
    // The figure shown beside the pointer while dragging: the offset, the
    // size or the angle.
    const std::string& figure() const { return figure_; }
    // The turn of the handle being hovered or dragged, for its cursor.
    double handleangle() const { return handleangle_; }
    // A line for the status bar: how many blocks are selected, the grid,
    // snapping, the gap between two selected blocks.
    std::string status() const;

  private:
    enum class Drag { None, Pending, Band, Move, Resize, Turn };
    int hit(MapPoint at) const;
    std::optional<Handle> handleat(MapPoint at, double pixel) const;
    // The blocks a command works on: the selection, or the current block.
    std::vector<int> targets() const;
    // Selects a block as a click does; with `current`, it becomes the
    // current block too.
    void pick(int slot, Modifiers m, bool current);
    void dragmove(MapPoint at, bool snap, double pixel);
    void dragresize(MapPoint at, bool snap);
    void dragturn(MapPoint at, bool snap);
    void finishband(Modifiers m);
    // Writes the blocks as they were when the drag began, moved by f.
    void reshape(const std::string& what, const std::function<void(int slot, Block& b)>& f);
    void nudge(double dz, double dx, double dbottom);
    void remove();
    void duplicate();
    void stack();
    std::string count(const char* verb, std::size_t n) const;

    Document& d_;
    Host host_;
    std::size_t grid_ = kDefaultGrid;
    Drag drag_ = Drag::None;
    MapPoint pressed_;
    Modifiers pressedwith_;
    int pressedon_ = -1;
    Handle handle_;
    std::vector<int> moving_;
    std::vector<Block> before_; // the moving blocks as they were
    std::string key_;           // the merge key of this drag or nudge series
    int serial_ = 0;
    Cursor cursor_ = Cursor::Arrow;
    MapPoint at_;
    bool touching_ = false;
    std::optional<Guide> guide_;
    std::string figure_;
    double handleangle_ = 0;
    std::vector<int> cycle_; // the stack under the last Alt+click
    int becomes_ = -1;       // the block a drag makes current as it begins
    mutable CornerCache corners_;
};

} // namespace qs::tools
