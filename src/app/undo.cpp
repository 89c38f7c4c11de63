// Undo and redo: every person's action that changes the table is one step of
// the history, recorded once the action is over.
#include "app/mainform.h"

#include <cstring>

namespace qs {

void MainForm::actionbegin(const ui::Action& action) {
    if (restoring_) return;
    before_ = blocks;
    rowbefore_ = List1.listindex();
    blockbefore_ = curblock;
    action_ = action;
}

void MainForm::actionend() {
    if (restoring_) return;
    history.record(before_, blocks, rowbefore_, List1.listindex(), actiontitle(action_),
                   mergekey(action_, blockbefore_));
    changed();
    actionover();
}

std::string MainForm::actiontitle(const ui::Action& a) const {
    if (a.source == nullptr) return a.event;
    if (a.source == &tbToolBar) return tbToolBar.pressed();
    const std::string& name = a.source->name();
    const int i = a.source->index();
    static const char* const fields[][2] = {{"posxed", "X"},         {"posyed", "Z"},
                                            {"sizexed", "Size X"},   {"sizeyed", "Size Z"},
                                            {"bottomed", "Bottom"},  {"heighted", "Height"},
                                            {"angleed", "Angle"}};
    for (const auto& [field, title] : fields)
        if (name == field) return std::string("typing in ") + title;
    static const char* const colours[] = {"red", "green", "blue"};
    if (name == "VScroll1") return i == 0 ? "Size X slider" : "Size Z slider";
    if (name == "AngleSB") return "angle bar";
    if (name == "BottomSB") return "Bottom spinner";
    if (name == "HeightSB") return "Height spinner";
    if (name == "VScroll2") return "moving a block";
    if (name == "Color" && i >= 0 && i < 3) return std::string(colours[i]) + " bar";
    if (name == "Label3" && i >= 0 && i < 3) return std::string("inverting ") + colours[i];
    if (name == "Command1") return a.source->caption + " colour";
    if (name == "Command2") return "size preset";
    if (name == "RNDANG") return "random angle";
    if (name == "List1") return "selecting a row";
    if (name == "Map") return "placing with the pointer";
    return a.source->label();
}

std::string MainForm::mergekey(const ui::Action& a, int block) const {
    // Keystrokes in one field on one block are one step, and so is a block
    // following the pointer.
    if (a.source == nullptr) return {};
    const bool typing = dynamic_cast<const ui::TextField*>(a.source) != nullptr;
    if (!typing && a.source != &Map) return {};
    return a.source->label() + "#" + std::to_string(block);
}

void MainForm::restore(const BlockTable& table, int row) {
    restoring_ = true;
    blocks = table;
    refreshmap();
    List1.clear();
    listrows();
    if (List1.listcount() < 999) List1.additem(kFreeSlotRow);
    // The list click fills the editor with the commit flag off; unlike a
    // rebuild, nothing shows the block a second time with it on, so nothing
    // that the fields normalise is written back.
    List1.setlistindex(row >= 0 && row < List1.listcount() ? row : 0);
    restoring_ = false;
}

void MainForm::undo() { travel(false); }
void MainForm::redo() { travel(true); }

void MainForm::travel(bool forward) {
    BlockTable table = blocks;
    const Step* step = forward ? history.redo(table) : history.undo(table);
    if (step == nullptr) {
        status(forward ? "Nothing to redo" : "Nothing to undo");
        return;
    }
    restore(table, forward ? step->rowafter : step->rowbefore);
    status((forward ? "Redone: " : "Undone: ") + step->what);
    changed();
    actionover();
}

bool MainForm::modified() const { return std::memcmp(blocks.data(), clean_.data(), sizeof(BlockTable)) != 0; }

} // namespace qs
