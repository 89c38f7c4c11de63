// The colour bars, their labels, the colour presets, the size preset and the
// random angle. They only write editor controls; the commit does the rest.
#include "app/mainform.h"
#include "document/numtext.h"
#include "editor/editvalues.h"

#include <algorithm>

namespace qs {

void MainForm::Color_Change(int /*index*/) {
    edchange();
    Picture1.setbackcolor(displaycolour(Color[0].value(), Color[1].value(), Color[2].value()));
}

void MainForm::Label3_Click(int index) {
    auto& bar = Color[static_cast<std::size_t>(index)];
    bar.setvalue(bar.value() ^ 255);
}

void MainForm::Command1_Click(int index) {
    const ui::Colour c = Command1[static_cast<std::size_t>(index)].backcolor();
    Color[0].setvalue(c & 255);
    Color[1].setvalue((c / 256) & 255);
    Color[2].setvalue((c / 65536) & 255);
    Picture1.setbackcolor(c);
    if (index == 3) newrandompreset();
}

void MainForm::newrandompreset() {
    const auto c = static_cast<std::int32_t>(services.random.next() * 16777216.0f);
    Command1[3].setbackcolor(c);
    Command1[3].setmaskcolor(c);
}

void MainForm::Command2_Click() {
    sizexed.settext("1");
    sizeyed.settext("1");
    VScroll1[0].setvalue(10);
    VScroll1[1].setvalue(10);
    heighted.settext(".5");
}

void MainForm::RNDANG_Click() {
    const float draw = services.random.next() * 360.0f;
    const auto a = std::min(static_cast<std::int32_t>(draw), 359);
    AngleSB.setvalue(a);
    angleed.settext(plainnum(a));
}

} // namespace qs
