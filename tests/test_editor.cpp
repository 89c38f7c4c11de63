#include "document/numtext.h"
#include "support/fixture.h"
#include "ui/typing.h"

#include <gtest/gtest.h>

using namespace qs;
using namespace qs::test;
using Log = std::vector<std::string>;

namespace {
// One block in slot 0, selected.
struct Editor : Started {
    Editor() {
        h.load(1);
        p.select(0);
    }
};
} // namespace

TEST_F(Started, TypicalEventTwoIntoSizeXOnTheFreeSlot) {
    h.recordnotifications();
    p.paste(f.sizexed, "2"); // the field's "0" selected and typed over
    // The handler's own write is unchanged; edchange moves the size slider,
    // whose handler commits nested; each commit's rebuild selects row 1 and
    // then row 0 again.
    const Log rebuild = {"List1.Click", "sizexed.Change", "VScroll1(0).Change",
                         "List1.Click", "sizexed.Change", "VScroll1(0).Change"};
    Log expected = {"sizexed.Change", "VScroll1(0).Change"};
    expected.insert(expected.end(), rebuild.begin(), rebuild.end());
    expected.insert(expected.end(), rebuild.begin(), rebuild.end());
    EXPECT_EQ(h.log, expected);
    EXPECT_EQ(f.List1.rows(), (std::vector<std::string>{"     0     0     2     0     0     0    0", kFree}));
    EXPECT_EQ(f.List1.listindex(), 0);
    EXPECT_EQ(f.VScroll1[0].value(), 20);
    EXPECT_EQ(f.blocks[0].sizex, 2);
    EXPECT_TRUE(f.Map.lines().empty() || f.Map.lines().size() == 4u); // not drawn: Size Z is 0
}

TEST(EditFields, HandlersWriteTheirNormalForms) {
    struct Case {
        ui::TextField MainForm::*field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {&MainForm::posxed, "", "0"},          {&MainForm::posxed, "-", "0"},
        {&MainForm::posxed, "abc", "0"},       {&MainForm::posxed, "-50", "-50"},
        {&MainForm::posxed, "-12.5", "-12.5"}, {&MainForm::bottomed, "-50", "50"},
        {&MainForm::heighted, "2.", "2"},      {&MainForm::sizexed, "150", "100"},
        {&MainForm::bottomed, "1234567", "1000"}, {&MainForm::angleed, "12345", "154"},
        {&MainForm::angleed, "2.5", "2"},      {&MainForm::angleed, "3.5", "4"},
        {&MainForm::angleed, "400", "40"},     {&MainForm::angleed, "-30", "30"},
        {&MainForm::heighted, "0.50", ".5"},   {&MainForm::sizeyed, "1.01234", "1.012"},
        {&MainForm::posyed, "1e3", "1000"},    {&MainForm::sizexed, "1e99", "100"},
        {&MainForm::angleed, "9e99", "127"},   {&MainForm::heighted, "-1e99", "1000"},
        {&MainForm::sizexed, "9e999", "100"},  {&MainForm::sizeyed, "1.5e9", "100"}, // not cut to "1.8", "1.5"
        {&MainForm::bottomed, "9e999", "1000"}, {&MainForm::sizexed, "1e20", "100"},
        {&MainForm::bottomed, "0.1234", ".123"}, // five characters are read
        {&MainForm::posxed, "1.23456789", "1.234568"}, // committed as a single and shown at once
        {&MainForm::posxed, "12345678", "12345680"},   // one notation in both precisions: it settles
        {&MainForm::posxed, "-1e39", "-3.402823E+38"}, // capped to the largest single
    };
    for (const Case& c : cases) {
        Harness fresh(true);
        fresh.load(1); // a block with sizes, so the commit keeps it in place
        ui::TextField& field = fresh.form.*c.field;
        field.settext(c.typed);
        EXPECT_EQ(field.text(), c.shown) << field.name() << " given \"" << c.typed << "\"";
        EXPECT_EQ(fresh.form.dispatch.depth(), 0);
    }
    // X is committed in single precision, or capped to the largest single.
    const std::pair<const char*, float> committed[] = {
        {"1.23456789", 1.23456789f}, {"12345678", 12345678.0f}, {"-1e39", static_cast<float>(-3.402823e38)}};
    for (auto [typed, x] : committed) {
        Harness fresh(true);
        fresh.load(1);
        fresh.form.posxed.settext(typed);
        EXPECT_EQ(fresh.form.blocks[0].x, x) << typed;
    }
}

TEST_F(Editor, APointTypedBetweenDigitsStays) {
    p.paste(f.heighted, "25");
    f.heighted.settext("2.5");
    EXPECT_EQ(f.blocks[0].height, 2.5f);
}

TEST_F(Editor, SizeSliderReplacesAFinerSizeOnlyWhenItMoves) {
    p.paste(f.sizexed, "1.23"); // the slider moves from 10 to 12
    EXPECT_EQ(f.sizexed.text(), "1.2");
    EXPECT_EQ(f.blocks[0].sizex, 1.2f);
    p.paste(f.sizexed, "1.23"); // it stands at 12 already
    EXPECT_EQ(f.blocks[0].sizex, 1.23f);
    const std::pair<int, const char*> slid[] = {{0, "0"}, {5, ".5"}, {15, "1.5"}, {1000, "100"}};
    for (auto [value, text] : slid) {
        p.drag(f.VScroll1[1], {value});
        EXPECT_EQ(f.sizeyed.text(), text);
        EXPECT_EQ(f.sizexed.text(), "1.2");
    }
    EXPECT_EQ(f.blocks[0].sizez, 100);
}

TEST_F(Editor, NothingIsCommittedWhileFieldsAreNotReady) {
    const auto before = f.blocks;
    f.fieldsready = false;
    p.paste(f.posxed, "33");
    p.paste(f.sizexed, "150");
    p.paste(f.heighted, "5000");
    EXPECT_EQ(f.sizexed.text(), "100");
    EXPECT_EQ(f.heighted.text(), "1000");
    p.arrow(f.BottomSB[1], +1);
    p.arrow(f.VScroll1[0], +1);
    EXPECT_EQ(f.bottomed.text(), "0");
    EXPECT_EQ(f.BottomSB[1].value(), 0);
    EXPECT_EQ(f.blocks, before);
}

TEST(EditFields, APositionEnteredBeforeAnySizeIsCarriedAway) {
    // Pasted "5": one commit, the empty slot travels to slot 999. Typed
    // after the field's "0": "05" is rewritten to "5", two commits.
    for (const bool typed : {false, true}) {
        Harness h(true);
        typed ? Person(h.form).type(h.form.posxed, "5") : Person(h.form).paste(h.form.posxed, "5");
        EXPECT_EQ(h.form.blocks[typed ? 998 : 999].x, 5);
        EXPECT_EQ(h.form.blocks[0], Block{});
        EXPECT_EQ(h.form.posxed.text(), "0");
    }
}

TEST_F(Editor, SpinnersStepBottomAndHeightAndRunAgainThroughTheirReset) {
    struct Case {
        const char* start;
        int column;
        int direction;
        const char* shown;
    };
    const Case bottom[] = {{"2", 0, +1, "2.1"}, {"2", 1, +1, "3"},  {"2", 2, +1, "12"},
                           {".3", 0, +1, ".4"}, {"0", 0, -1, ".1"}, {"5", 2, -1, "5"}};
    for (const Case& c : bottom) {
        p.paste(f.bottomed, c.start);
        p.arrow(f.BottomSB[static_cast<std::size_t>(c.column)], c.direction);
        EXPECT_EQ(f.bottomed.text(), c.shown) << c.start << " column " << c.column;
        EXPECT_EQ(f.blocks[0].bottom, static_cast<float>(readnum(c.shown)));
        for (auto& bar : f.BottomSB) EXPECT_EQ(bar.value(), 0);
    }
    p.paste(f.heighted, "995");
    p.track(f.HeightSB[2], +1);
    EXPECT_EQ(f.heighted.text(), "1000");
    EXPECT_EQ(f.blocks[0].height, 1000);
    h.recordnotifications();
    p.arrow(f.BottomSB[0], +1);
    EXPECT_EQ((Log{h.log[0], h.log[1]}), (Log{"BottomSB(0).Change", "bottomed.Change"}));
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "BottomSB(0).Change"), 2);
    // Two commits, each rebuilding the list (two clicks): the spinner's own
    // write into the field commits nothing.
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "List1.Click"), 4);
}

TEST_F(Editor, AngleBar) {
    p.paste(f.angleed, "355");
    EXPECT_EQ(f.AngleSB.value(), 355);
    p.arrow(f.AngleSB, +1);
    EXPECT_EQ(f.angleed.text(), "0");
    EXPECT_EQ(f.AngleSB.value(), 0);
    h.recordnotifications();
    p.arrow(f.AngleSB, -1);
    EXPECT_TRUE(h.log.empty());
    p.track(f.AngleSB, +1);
    EXPECT_EQ(f.blocks[0].angle, 45);
    p.drag(f.AngleSB, {100, 200});
    EXPECT_EQ(f.blocks[0].angle, 200);
}

TEST_F(Started, ListClickFillsEveryControlAndWritesNothingBack) {
    const Block first = block(-5, 3, 2.57f, 1, -5, 7, 45.5f, 8405024);
    h.load(3, [&](int i) { return i == 0 ? first : block(1, 1, 1, 1, 0, 0, i == 1 ? -90.0f : 725.0f); });
    f.blocks[0] = first; // as before the rebuild's commit
    p.select(1);
    p.select(0);
    const std::pair<ui::TextField*, const char*> texts[] = {
        {&f.posxed, "-5"}, {&f.posyed, "3"}, {&f.sizexed, "2.57"}, {&f.bottomed, "5"}, {&f.heighted, "7"},
        {&f.angleed, "46"}};
    for (const auto& [field, text] : texts) EXPECT_EQ(field->text(), text) << field->name();
    const std::pair<ui::ScrollBar*, int> values[] = {
        {&f.VScroll1[0], 26}, {&f.AngleSB, 46}, {&f.Color[0], 128}, {&f.Color[1], 64}, {&f.Color[2], 32}};
    for (const auto& [bar, value] : values) EXPECT_EQ(bar->value(), value) << bar->label();
    EXPECT_EQ(f.blocks[0], first);
    EXPECT_TRUE(f.fieldsready);
    p.select(1);
    EXPECT_EQ(f.angleed.text(), "90");
    p.select(2);
    EXPECT_EQ(f.AngleSB.value(), 5);
    // No row selected: the click names no slot and is ignored.
    f.List1.clear();
    f.List1.onclick();
    EXPECT_EQ(f.curblock, 2);
}

TEST_F(Started, ListClickUnhighlightsTheOldBlockAndHighlightsTheNew) {
    h.load(2, [](int i) { return block(10 + 10.0f * static_cast<float>(i), 5, 2, 1, 0, 0, 0, i == 0 ? 0xFF0000 : 0x00FF00); });
    p.select(0);
    f.Map.cls();
    p.select(1);
    const auto& lines = f.Map.lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].colour, 0x0000FF);            // slot 0 in its map colour
    EXPECT_EQ(lines[4].colour, 0x00FF00 ^ 0xFFFFFF); // slot 1 highlighted
    f.Map.cls();
    f.List1.onclick(); // the current row clicked again
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].colour, 0x00FF00);
    EXPECT_EQ(lines[4].colour, 0x00FF00 ^ 0xFFFFFF);
}

TEST_F(Started, OversizedBlockFromAFileIsCappedOnlyWhenSelected) {
    f.blocks[0] = block(1, 1, 150, 150);
    f.blocks[1] = block(2, 2, 150, -150);
    f.refreshlist();
    EXPECT_EQ(f.blocks[0].sizex, 100);
    EXPECT_EQ(f.VScroll1[0].value(), 1000);
    EXPECT_EQ(f.blocks[1].sizex, 150);
    EXPECT_EQ(f.blocks[1].sizez, -150);
}

TEST_F(Editor, ColourBarsLabelsAndPresets) {
    p.drag(f.Color[0], {100, 255});
    p.drag(f.Color[1], {0});
    p.drag(f.Color[2], {0});
    EXPECT_EQ(f.blocks[0].colour, 16711680);
    EXPECT_EQ(f.Picture1.backcolor(), 255);
    p.click(f.Label3[0]);
    EXPECT_EQ(f.Color[0].value(), 0);
    f.Color[0].setvalue(200);
    p.click(f.Label3[0]);
    EXPECT_EQ(f.Color[0].value(), 55);
    f.Color[1].setvalue(7);
    f.Color[2].setvalue(255);
    EXPECT_EQ(f.blocks[0].colour, 55 * 65536 + 7 * 256 + 255);
    EXPECT_EQ(f.Picture1.backcolor(), 55 + 7 * 256 + 255 * 65536);

    const std::pair<int, std::int32_t> presets[] = {{1, 8405056}, {2, 8421504}, {0, 16777215}};
    for (auto [button, colour] : presets) {
        p.click(f.Command1[static_cast<std::size_t>(button)]);
        EXPECT_EQ(f.blocks[0].colour, colour);
        EXPECT_EQ(f.Picture1.backcolor(), f.Command1[static_cast<std::size_t>(button)].backcolor());
    }
    EXPECT_EQ(f.Picture1.backcolor(), 0xFFFFFF);
    h.recordnotifications();
    p.click(f.Command1[0]); // already white: nothing to commit
    EXPECT_EQ(h.log, Log{"Command1(0).Click"});

    // Random applies the colour it showed and shows the generator's next.
    const ui::Colour shown = f.Command1[3].backcolor();
    p.click(f.Command1[3]);
    EXPECT_EQ(f.Picture1.backcolor(), shown);
    EXPECT_EQ(f.blocks[0].colour, (shown & 255) * 65536 + (shown / 256 & 255) * 256 + (shown / 65536 & 255));
    ui::DefaultRandom replay;
    replay.next();
    EXPECT_EQ(f.Command1[3].backcolor(), static_cast<std::int32_t>(replay.next() * 16777216.0f));
    EXPECT_EQ(f.Command1[3].maskcolor(), f.Command1[3].backcolor());
    // Whatever it shows, each component lands in its bar.
    f.Command1[3].setbackcolor(1 + 2 * 256 + 200 * 65536);
    p.click(f.Command1[3]);
    EXPECT_EQ(f.blocks[0].colour, 1 * 65536 + 2 * 256 + 200);
}

TEST_F(Editor, SizePresetTurnsTheFreeSlotIntoABlock) {
    p.select(1); // the free slot
    p.click(f.Command2);
    EXPECT_EQ(f.blocks[1], block(0, 0, 1, 1, 0, 0.5f, 0, 0));
    EXPECT_EQ(f.List1.listcount(), 3);
    EXPECT_EQ(f.curblock, 1);
    p.select(0);
    p.paste(f.posxed, "7");
    p.click(f.Command2);
    EXPECT_EQ(f.blocks[0], block(7, 2, 1, 1, 0, 0.5f, 0, 0x102030));
}

TEST_F(Editor, RandomAngleIsAWholeDegree) {
    for (int i = 0; i < 200; ++i) {
        p.click(f.RNDANG);
        const float a = f.blocks[0].angle;
        EXPECT_EQ(a, std::floor(a));
        EXPECT_TRUE(a >= 0 && a <= 359) << a;
        EXPECT_EQ(f.angleed.text().find('.'), std::string::npos);
        EXPECT_EQ(f.AngleSB.value(), a);
    }
}

// The texts the window holds back while a number is being typed.
TEST(Typing, HeldTexts) {
    const char* held[] = {"1.", ".", "0.", "2.50", "0.0", "-0.", "1e", "1E-", "12e+", "-1.", "100.0", "9.", "19e"};
    const char* passed[] = {"", "1", "1.5", "-1", "1e5", "e", ".e", "abc", "+", "2.5", "10", "1.2.", "--"};
    for (const char* t : held) EXPECT_TRUE(ui::heldtext(t, false)) << t;
    for (const char* t : passed) EXPECT_FALSE(ui::heldtext(t, true)) << t;
    for (const char* t : {"-", "-0", "-00"}) {
        EXPECT_TRUE(ui::heldtext(t, true)) << t; // a field that keeps a sign
        EXPECT_FALSE(ui::heldtext(t, false)) << t;
    }
    EXPECT_FALSE(ui::heldtext("-05", true));
}
