// Rebuilding the block list from the table.
#include "app/mainform.h"
#include "document/rowtext.h"

namespace qs {

int MainForm::listrows() {
    for (int i = 0; i < kSlots; ++i) {
        const Block& b = blocks[static_cast<std::size_t>(i)];
        if (endslistedrun(b)) return i;
        List1.additem(rowcache_.row(i, b));
    }
    return kSlots;
}

void MainForm::reselect(int row) {
    // Selecting the next row first makes the click run for the row even when
    // it is selected already.
    if (row < List1.listcount() - 1) List1.setlistindex(row + 1);
    List1.setlistindex(row);
}

void MainForm::refreshlist() {
    const int r0 = List1.listindex();
    List1.clear();

    const int k = listrows();
    // The free slot is offered only while fewer than 999 rows are listed.
    if (List1.listcount() < 999) {
        List1.additem(kFreeSlotRow);
        document.set(k, Block{});
    }

    if (r0 > -1 && r0 < List1.listcount())
        reselect(r0);
    else
        List1.setlistindex(0);

    // The click left the commit flag on, so a shown text that its field had
    // normalised commits here.
    showblock(List1.listindex());
}

} // namespace qs
