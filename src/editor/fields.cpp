// The seven edit fields and the commit of the current block.
#include "app/mainform.h"
#include "document/numtext.h"
#include "editor/editvalues.h"

#include <cmath>
#include <limits>

namespace qs {

namespace {

// A value above a field's cap whose normal form is longer than the five
// characters the field reads would be cut to a small number on the next
// pass ("1.5E+09" to "1.5"); it is written as the cap instead, which the
// commit would have written anyway.
std::string capped(double v, std::string text, double cap, const char* captext) {
    return v > cap && text.size() > 5 ? captext : text;
}

// A size text beyond the single range stays in double precision, so that it
// is capped rather than turned into an unreadable single.
std::string sizetext(std::string_view text) {
    const double v = readnum(first(text, 5));
    if (std::fabs(v) > std::numeric_limits<float>::max() && std::isinf(static_cast<float>(v)))
        return capped(v, signless(v), 100, "100");
    return capped(v, signless(static_cast<float>(v)), 100, "100");
}

std::string depthtext(std::string_view text) {
    const double v = readnum(first(text, 5));
    return capped(v, signless(v), 1000, "1000");
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
    bottomed.settext(depthtext(bottomed.text()));
    edchange();
}

void MainForm::heighted_Change() {
    heighted.settext(depthtext(heighted.text()));
    edchange();
}

void MainForm::angleed_Change() {
    angleed.settext(angletext(angleed.text()));
    AngleSB.setvalue(anglebar(angleed.text()));
    edchange();
}

void MainForm::sliderstofields() {
    VScroll1[0].setvalue(sizeslider(sizexed.text()));
    VScroll1[1].setvalue(sizeslider(sizeyed.text()));
}

void MainForm::edchange() {
    if (readnum(sizexed.text()) > 100) sizexed.settext("100");
    if (readnum(sizeyed.text()) > 100) sizeyed.settext("100");
    if (readnum(bottomed.text()) > 1000) bottomed.settext("1000");
    if (readnum(heighted.text()) > 1000) heighted.settext("1000");
    if (!fieldsready || !validslot(curblock)) return;

    // Nested runs may change curblock; this commit stays with the slot it took.
    Block& b = document.write(curblock);
    b.x = tosingle(readnum(posxed.text()));
    b.z = tosingle(readnum(posyed.text()));
    b.sizex = tosingle(readnum(sizexed.text()));
    b.sizez = tosingle(readnum(sizeyed.text()));
    sliderstofields();
    b.bottom = tosingle(readnum(bottomed.text()));
    b.height = tosingle(readnum(heighted.text()));
    b.angle = tosingle(readnum(angleed.text()));
    angleed.settext(angletext(angleed.text()));
    AngleSB.setvalue(anglebar(angleed.text()));
    b.colour = blockcolour(Color[0].value(), Color[1].value(), Color[2].value());
    sort();
    refreshmap();
}

} // namespace qs
