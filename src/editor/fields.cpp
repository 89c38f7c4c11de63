// The seven edit fields and the commit of the current block.
#include "app/mainform.h"
#include "document/numtext.h"

#include <cmath>
#include <limits>

namespace qs {

namespace {

std::int32_t wholeangle(std::string_view text) {
    return towhole32(readnum(first(text, 4))) % 360;
}

// The normal form of the angle field: whole degrees, remainder by 360,
// without a sign.
std::string angletext(std::string_view text) { return signless(wholeangle(text)); }

// A size text beyond the single range stays in double precision, so that the
// size cap turns it into "100" rather than an unreadable single.
std::string sizetext(std::string_view text) {
    const double v = readnum(first(text, 5));
    if (std::fabs(v) > std::numeric_limits<float>::max() && std::isinf(static_cast<float>(v)))
        return signless(v);
    return signless(static_cast<float>(v));
}

} // namespace

void MainForm::posxed_Change() {
    posxed.settext(signednum(readnum(posxed.text())));
    edchange();
}

void MainForm::posyed_Change() {
    posyed.settext(signednum(readnum(posyed.text())));
    edchange();
}

void MainForm::sizexed_Change() {
    sizexed.settext(sizetext(sizexed.text()));
    edchange();
}

void MainForm::sizeyed_Change() {
    sizeyed.settext(sizetext(sizeyed.text()));
    edchange();
}

void MainForm::bottomed_Change() {
    bottomed.settext(signless(readnum(first(bottomed.text(), 5))));
    edchange();
}

void MainForm::heighted_Change() {
    heighted.settext(signless(readnum(first(heighted.text(), 5))));
    edchange();
}

void MainForm::angleed_Change() {
    angleed.settext(angletext(angleed.text()));
    AngleSB.setvalue(towhole32(readnum(angleed.text())) % 360);
    edchange();
}

void MainForm::edchange() {
    if (readnum(sizexed.text()) > 100) sizexed.settext("100");
    if (readnum(sizeyed.text()) > 100) sizeyed.settext("100");
    if (readnum(bottomed.text()) > 1000) bottomed.settext("1000");
    if (readnum(heighted.text()) > 1000) heighted.settext("1000");
    if (!fieldsready || !validslot(curblock)) return;

    // Nested runs may change curblock; this commit stays with the slot it took.
    Block& b = blocks[static_cast<std::size_t>(curblock)];
    b.x = tosingle(readnum(posxed.text()));
    b.z = tosingle(readnum(posyed.text()));
    b.sizex = tosingle(readnum(sizexed.text()));
    b.sizez = tosingle(readnum(sizeyed.text()));
    VScroll1[0].setvalue(towhole16(readnum(sizexed.text()) * 10));
    VScroll1[1].setvalue(towhole16(readnum(sizeyed.text()) * 10));
    b.bottom = tosingle(readnum(bottomed.text()));
    b.height = tosingle(readnum(heighted.text()));
    b.angle = tosingle(readnum(angleed.text()));
    angleed.settext(angletext(angleed.text()));
    AngleSB.setvalue(towhole32(readnum(angleed.text())) % 360);
    b.colour = Color[0].value() * 65536 + Color[1].value() * 256 + Color[2].value();
    sort();
    refreshmap();
}

} // namespace qs
