// Placing the current block by pointing at the map.
#include "app/mainform.h"
#include "document/numtext.h"

namespace qs {

void MainForm::selpos_Click() {
    selmode = !selmode;
    status(selmode ? "Select Position ON" : "Select Position OFF");
}

// The horizontal coordinate is a Z position, the vertical one an X position.
// Z is written first, so each movement commits twice.
void MainForm::Map_MouseMove(int /*button*/, int /*shift*/, float x, float y) {
    if (!selmode) return;
    posyed.settext(signednum(x));
    posxed.settext(signednum(y));
}

void MainForm::Map_Click() {
    if (!selmode) return;
    status("Select Position SELECTED");
    selmode = false;
}

} // namespace qs
