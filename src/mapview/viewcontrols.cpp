// The depth window, the background grey, the block-colour switch and the
// size sliders.
#include "app/mainform.h"
#include "document/numtext.h"
#include "editor/editvalues.h"

namespace qs {

void MainForm::showdepth() {
    sbStatusBar.settext(2, "Depth: " + plainnum(static_cast<std::int32_t>(MinD.value())) + "-" +
                               plainnum(static_cast<std::int32_t>(MaxD.value())));
}

// Each depth bar's range ends at the other bar's value.
void MainForm::MaxD_Change() {
    MinD.setmax(MaxD.value());
    showdepth();
    refreshmap();
}

void MainForm::MinD_Change() {
    MaxD.setmin(MinD.value());
    showdepth();
    refreshmap();
}

void MainForm::Slider1_Change() {
    Map.setbackcolor(grey(Slider1.value()));
    refreshmap();
    markblock(curblock);
    status("Changed Background Color");
}

void MainForm::Check1_Click() {
    refreshmap();
    markblock(curblock);
    status(Check1.value() == 1 ? "Use Block Color: ON" : "Use Block Color: OFF");
}

void MainForm::VScroll1_Change(int /*index*/) {
    if (!fieldsready) return;
    fieldsready = false;
    sizexed.settext(signless(VScroll1[0].value() / 10.0));
    sizeyed.settext(signless(VScroll1[1].value() / 10.0));
    fieldsready = true;
    edchange();
}

} // namespace qs
