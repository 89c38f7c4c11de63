// Which handler each control's notification runs.
#include "app/mainform.h"

namespace qs {

void MainForm::wire() {
    posxed.onchange = [this] { posxed_Change(); };
    posyed.onchange = [this] { posyed_Change(); };
    sizexed.onchange = [this] { sizexed_Change(); };
    sizeyed.onchange = [this] { sizeyed_Change(); };
    bottomed.onchange = [this] { bottomed_Change(); };
    heighted.onchange = [this] { heighted_Change(); };
    angleed.onchange = [this] { angleed_Change(); };

    List1.onclick = [this] { List1_Click(); };
    VScroll2.onchange = [this] { VScroll2_Change(); };

    MaxD.onchange = MaxD.onscroll = [this] { MaxD_Change(); };
    MinD.onchange = MinD.onscroll = [this] { MinD_Change(); };
    Slider1.onchange = [this] { Slider1_Change(); };
    Check1.onclick = [this] { Check1_Click(); };
    for (int i = 0; i < 2; ++i)
        VScroll1[static_cast<std::size_t>(i)].onchange = [this, i] { VScroll1_Change(i); };

    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        BottomSB[k].onchange = [this, i] { BottomSB_Change(i); };
        HeightSB[k].onchange = [this, i] { HeightSB_Change(i); };
        Color[k].onchange = [this, i] { Color_Change(i); };
        Label3[k].onclick = [this, i] { Label3_Click(i); };
    }
    AngleSB.onchange = [this] { AngleSB_Change(); };
    for (int i = 0; i < 4; ++i)
        Command1[static_cast<std::size_t>(i)].onclick = [this, i] { Command1_Click(i); };
    Command2.onclick = [this] { Command2_Click(); };
    RNDANG.onclick = [this] { RNDANG_Click(); };

    selpos.onclick = [this] { selpos_Click(); };
    Map.onmousemove = [this](int button, int shift, float x, float y) {
        Map_MouseMove(button, shift, x, y);
    };
    Map.onclick = [this] { Map_Click(); };

    tbToolBar.onclick = [this](const std::string& key) { tbToolBar_ButtonClick(key); };

    dispatch.onactionbegin = [this](const ui::Action& action) { actionbegin(action); };
    dispatch.onactionend = [this] { actionend(); };
}

} // namespace qs
