#pragma once
// The base of every control of the window model.
//
// A control holds its state and raises its notifications synchronously: the
// handler runs to its end inside the write that changed the state. Writing a
// value equal to the present one raises nothing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qs::ui {

class Control;

// Position and size in twips from the top left of the window's client area.
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The outermost notification of a person's action: which control raised it
// and what happened to it. `source` is null for an action of the program's
// own, such as recovering a map; `event` then says what it is.
struct Action {
    const Control* source = nullptr;
    std::string event;
    std::string mergekey; // for an action of the program's own: what it merges with
};

// Shared by the controls of one window: counts how deeply notifications are
// nested and, for tests, records each one as "name(index).Event".
//
// The outermost notification is a person's action. `onactionbegin` runs just
// before its handler and `onactionend` just after it, once the whole cascade
// below it is over, however deep it went. Whatever needs to know that an
// action is over (the history, the modified state, the recovery copy, other
// views) hangs off these two.
class Dispatch {
  public:
    int depth() const { return depth_; }
    int maxdepth() const { return maxdepth_; }
    void resetmaxdepth() { maxdepth_ = depth_; }

    // Appends every notification raised from now on to `log`; nullptr stops.
    void record(std::vector<std::string>* log) { log_ = log; }

    void raise(const Control& source, const char* event, const std::function<void()>& handler);

    // Runs `body` as one action of the program's own: a single begin and end
    // around it, whatever it raises.
    void act(const std::string& what, const std::function<void()>& body,
             const std::string& mergekey = {});

    std::function<void(const Action&)> onactionbegin;
    std::function<void()> onactionend;

  private:
    void run(const Action& action, const std::function<void()>& body);

    int depth_ = 0;
    int maxdepth_ = 0;
    std::vector<std::string>* log_ = nullptr;
};

class Control {
  public:
    Control(Dispatch& dispatch, std::string name, int index = -1)
        : dispatch_(&dispatch), name_(std::move(name)), index_(index) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    int index() const { return index_; } // -1 outside a control array
    // "posxed", or "VScroll1(0)" for a member of a control array.
    std::string label() const;

    // Bumped by every change of state, so a view can tell what to update.
    std::uint64_t revision() const { return revision_; }

    Geometry geometry;
    std::string caption;
    // What a screen reader says of the control, and what a person's action
    // on it is called in the history ("typing in X").
    std::string accessiblename;
    std::string description;
    std::string actiontitle;

  protected:
    void touch() { ++revision_; }
    void raise(const char* event, const std::function<void()>& handler) {
        dispatch_->raise(*this, event, handler);
    }

  private:
    Dispatch* dispatch_;
    std::string name_;
    int index_;
    std::uint64_t revision_ = 0;
};

} // namespace qs::ui
