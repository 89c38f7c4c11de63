// Selecting a block from the list: it becomes the current block and fills
// the editor controls.
#include "app/mainform.h"
#include "document/numtext.h"
#include "editor/editvalues.h"
#include "mapview/mapdraw.h"

namespace qs {

void MainForm::List1_Click() {
    const int row = List1.listindex();
    if (!validslot(row)) return;
    if (validslot(curblock)) {
        // Drawing the old current block in its map colour takes its highlight away.
        drawslot(curblock, mapcolour(blocks[static_cast<std::size_t>(curblock)]));
    }
    curblock = static_cast<std::int16_t>(row);
    fieldsready = false;
    showblock(row);
    fieldsready = true;
}

void MainForm::showblock(int c) {
    if (!validslot(c)) return;
    // Read from the table at each step: a commit nested in one of the writes
    // below may change the block.
    const Block& b = blocks[static_cast<std::size_t>(c)];
    markblock(c);
    posxed.settext(signednum(b.x));
    posyed.settext(signednum(b.z));
    sizexed.settext(signless(b.sizex));
    sizeyed.settext(signless(b.sizez));
    sliderstofields();
    bottomed.settext(signednum(b.bottom));
    heighted.settext(signless(b.height));
    angleed.settext(signless(b.angle));
    angleed.settext(angletext(angleed.text()));
    AngleSB.setvalue(anglebar(angleed.text()));
    // Whole-number division toward zero, then the low byte.
    Color[0].setvalue((b.colour / 65536) & 255);
    Color[1].setvalue((b.colour / 256) & 255);
    Color[2].setvalue(b.colour & 255);
}

} // namespace qs
