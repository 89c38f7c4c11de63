// The compaction pass and moving the selected block up or down.
#include "app/mainform.h"
#include "document/edits.h"

namespace qs {

void MainForm::sort() {
    edits::closefirstgap(document);
    refreshlist();
}

void MainForm::VScroll2_Change() {
    const int r = List1.listindex();
    const int v = VScroll2.value();
    const int n = List1.listcount();
    const int t = r + v;
    // No block moves onto the last row.
    if (t < n - 1 && t > -1 && validslot(r)) {
        document.swap(r, t);
        List1.setlistindex(List1.listindex() + VScroll2.value());
        refreshlist();
    }
    // The reset raises the handler once more with a value of 0.
    VScroll2.setvalue(0);
}

} // namespace qs
