// Undo and redo: every person's action is one transaction of the document,
// and one that changes the map is one step of its history.
#include "app/mainform.h"

#include <algorithm>

namespace qs {

void MainForm::actionbegin(const ui::Action& action) {
    document.begin(actiontitle(action), mergekey(action, curblock), !travelling_);
}

void MainForm::actionend() {
    document.commit();
    actionover();
}

std::string MainForm::actiontitle(const ui::Action& a) const {
    if (a.source == nullptr) return a.event;
    if (a.source == &tbToolBar) return tbToolBar.pressed();
    return a.source->actiontitle.empty() ? a.source->label() : a.source->actiontitle;
}

std::string MainForm::mergekey(const ui::Action& a, int block) const {
    // Keystrokes in one field on one block are one step, and so is a block
    // following the pointer.
    if (a.source == nullptr) return a.mergekey;
    const bool typing = dynamic_cast<const ui::TextField*>(a.source) != nullptr;
    if (!typing && a.source != &Map) return {};
    return a.source->label() + "#" + std::to_string(block);
}

MapMarks MainForm::mapmarks() const {
    // Only the last few outlines are kept: one drawn over another in the
    // same place hides it, and the marks are a handful of highlights.
    constexpr std::size_t kKept = 64;
    const auto& lines = Map.lines();
    const bool drawn = Map.clears() == mapclears_ && mapdrawn_ <= lines.size();
    const std::size_t from =
        std::max(drawn ? mapdrawn_ : 0, lines.size() - std::min(lines.size(), kKept));
    return {drawn, {lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end()}};
}

void MainForm::restore(const Stance& stance) {
    List1.clear();
    listrows();
    if (List1.listcount() < 999) List1.additem(kFreeSlotRow);
    // The list click fills the editor with the commit flag off; unlike a
    // rebuild, nothing shows the block a second time with it on, so nothing
    // that the fields normalise is written back.
    const int row = stance.current;
    List1.setlistindex(row >= 0 && row < List1.listcount() ? row : 0);
    // The map as it was: its drawing, and the outlines that were over it.
    if (stance.marks.drawn)
        refreshmap();
    else
        Map.cls();
    for (const Line& l : stance.marks.lines)
        Map.line(l.x1, l.y1, l.x2, l.y2, l.colour);
}

void MainForm::apply(const std::string& what, const std::string& mergekey,
                     const std::function<int()>& change) {
    dispatch.act(
        what,
        [&] {
            const int current = change();
            refreshmap();
            refreshlist();
            if (current >= 0 && current < List1.listcount() && current != curblock)
                reselect(current);
        },
        mergekey);
}

void MainForm::select(const std::function<void()>& change) {
    dispatch.act("selecting", change);
}

void MainForm::makecurrent(int slot) {
    if (slot >= 0 && slot < List1.listcount()) {
        List1.setlistindex(slot);
        return;
    }
    // A block after a gap in the table has no row until the gap closes.
    if (validslot(slot)) {
        status("Block " + std::to_string(slot + 1) +
               " has no row: Refresh (F5) closes the gap before it");
        actionover();
    }
}

void MainForm::undo() {
    travel(false);
}
void MainForm::redo() {
    travel(true);
}

void MainForm::travel(bool forward) {
    if (!(forward ? history.canredo() : history.canundo())) {
        status(forward ? "Nothing to redo" : "Nothing to undo");
        actionover();
        return;
    }
    travelling_ = true;
    dispatch.act(forward ? "Redo" : "Undo", [&] {
        const Step* step = forward ? document.redo() : document.undo();
        restore(forward ? step->after : step->before);
        status((forward ? "Redone: " : "Undone: ") + step->what);
    });
    travelling_ = false;
}

} // namespace qs
