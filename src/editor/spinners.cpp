// The Bottom and Height step spinners and the angle bar.
#include "app/mainform.h"
#include "document/numtext.h"
#include "mapview/mapdraw.h"

namespace qs {

void MainForm::spinner(ui::TextField& field, std::array<ui::ScrollBar, 3>& bars, int index) {
    static constexpr double kStep[3] = {0.1, 1, 10};
    if (fieldsready) {
        fieldsready = false;
        const double t = tosingle(readnum(field.text()));
        const double v = t + bars[static_cast<std::size_t>(index)].value() * kStep[index];
        field.settext(signless(round10(v)));
        fieldsready = true;
        edchange();
    }
    // The moved spinner's reset raises this handler again, with a value of 0.
    for (auto& bar : bars)
        bar.setvalue(0);
}

void MainForm::BottomSB_Change(int index) {
    spinner(bottomed, BottomSB, index);
}

void MainForm::HeightSB_Change(int index) {
    spinner(heighted, HeightSB, index);
}

void MainForm::AngleSB_Change() {
    angleed.settext(plainnum(static_cast<std::int32_t>(AngleSB.value() % 360)));
}

} // namespace qs
