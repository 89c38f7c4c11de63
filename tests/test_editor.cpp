#include "document/numtext.h"
#include "support/fixture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qs;
using qs::test::block;
using qs::test::Harness;
using qs::test::numbered;
using qs::test::Person;
using qs::test::kFree;
using qs::test::Started;
using Log = std::vector<std::string>;

using Editor = Started;

TEST_F(Editor, TypicalEventTwoIntoSizeXOnTheFreeSlot) {
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
    EXPECT_EQ(f.curblock, 0);
    EXPECT_EQ(f.VScroll1[0].value(), 20);
    EXPECT_EQ(f.blocks[0].sizex, 2);
    EXPECT_EQ(f.sizexed.text(), "2");
    EXPECT_TRUE(f.Map.lines().empty() || f.Map.lines().size() == 4u); // not drawn: Size Z is 0
}

TEST_F(Editor, FieldHandlersWriteTheirNormalForms) {
    struct Case {
        ui::TextField MainForm::*field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {&MainForm::posxed, "", "0"},          {&MainForm::posxed, "-", "0"},
        {&MainForm::posxed, "abc", "0"},       {&MainForm::posxed, "-50", "-50"},
        {&MainForm::posxed, "-12.5", "-12.5"}, {&MainForm::bottomed, "-50", "50"},
        {&MainForm::bottomed, "-3", "3"},      {&MainForm::sizexed, "150", "100"},
        {&MainForm::bottomed, "1234567", "1000"}, {&MainForm::angleed, "12345", "154"},
        {&MainForm::angleed, "2.5", "2"},      {&MainForm::angleed, "3.5", "4"},
        {&MainForm::angleed, "400", "40"},     {&MainForm::angleed, "-30", "30"},
        {&MainForm::heighted, "0.50", ".5"},   {&MainForm::sizeyed, "1.01234", "1.012"},
        {&MainForm::posyed, "1e3", "1000"},    {&MainForm::sizexed, "1e99", "100"},
        {&MainForm::angleed, "9e99", "127"},   {&MainForm::heighted, "-1e99", "1000"},
    };
    for (const Case& c : cases) {
        Harness fresh(true);
        fresh.load(1); // a block with sizes, so the commit keeps it in place
        ui::TextField& field = fresh.form.*c.field;
        field.settext(c.typed);
        EXPECT_EQ(field.text(), c.shown) << field.name() << " given \"" << c.typed << "\"";
        EXPECT_TRUE(fresh.form.fieldsready);
    }
}

TEST_F(Editor, TypingOneCharacterAtATime) {
    h.load(1);
    f.List1.setlistindex(0);
    p.paste(f.heighted, "");
    EXPECT_EQ(f.heighted.text(), "0");
    p.paste(f.heighted, "2");
    p.type(f.heighted, ".");
    EXPECT_EQ(f.heighted.text(), "2"); // a trailing point vanishes at once
    p.paste(f.heighted, "25");
    f.heighted.settext("2.5"); // the point typed between the digits
    EXPECT_EQ(f.heighted.text(), "2.5");
    EXPECT_EQ(f.blocks[0].height, 2.5f);
    // "-" typed in front of "50".
    p.paste(f.bottomed, "50");
    p.paste(f.bottomed, "-50");
    EXPECT_EQ(f.bottomed.text(), "50");
    p.paste(f.posxed, "50");
    p.paste(f.posxed, "-50");
    EXPECT_EQ(f.posxed.text(), "-50");
    EXPECT_EQ(f.blocks[0].x, -50);
}

TEST_F(Editor, CommitsInSinglePrecisionAndShowsItAtOnce) {
    h.load(1);
    f.List1.setlistindex(0);
    p.paste(f.posxed, "1.23456789");
    EXPECT_EQ(f.posxed.text(), "1.234568");
    EXPECT_EQ(f.blocks[0].x, 1.23456789f);
    // Twelve million and more switches notation in neither precision, so
    // the field and the rebuild agree.
    p.paste(f.posxed, "12345678");
    EXPECT_EQ(f.posxed.text(), "12345680");
    EXPECT_EQ(f.blocks[0].x, 12345678.0f);
    EXPECT_EQ(f.dispatch.depth(), 0);
    // Beyond the single range an X is capped to the largest single.
    p.paste(f.posxed, "-1e39");
    EXPECT_EQ(f.posxed.text(), "-3.402823E+38");
    EXPECT_EQ(f.blocks[0].x, static_cast<float>(-3.402823e38));
}

TEST_F(Editor, SizeSliderReplacesAFinerSizeOnlyWhenItMoves) {
    h.load(1); // Size X 1: slider at 10
    f.List1.setlistindex(0);
    p.paste(f.sizexed, "1.23");
    EXPECT_EQ(f.sizexed.text(), "1.2");
    EXPECT_EQ(f.blocks[0].sizex, 1.2f);

    p.paste(f.sizexed, "1.2");
    EXPECT_EQ(f.VScroll1[0].value(), 12);
    p.paste(f.sizexed, "1.23");
    EXPECT_EQ(f.sizexed.text(), "1.23");
    EXPECT_EQ(f.blocks[0].sizex, 1.23f);
}

TEST_F(Editor, NothingIsCommittedWhileFieldsAreNotReady) {
    h.load(2);
    const auto before = f.blocks;
    f.fieldsready = false;
    p.paste(f.posxed, "33");
    p.paste(f.sizexed, "150");
    p.paste(f.heighted, "5000");
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.sizexed.text(), "100");
    EXPECT_EQ(f.heighted.text(), "1000");
    p.arrow(f.BottomSB[1], +1);
    p.arrow(f.VScroll1[0], +1);
    EXPECT_EQ(f.bottomed.text(), "0");
    EXPECT_EQ(f.BottomSB[1].value(), 0);
    EXPECT_EQ(f.blocks, before);
}

TEST_F(Editor, ColourCommitPacksRedHigh) {
    h.load(1);
    f.List1.setlistindex(0);
    p.drag(f.Color[0], {100, 255});
    p.drag(f.Color[1], {0});
    p.drag(f.Color[2], {0});
    EXPECT_EQ(f.blocks[0].colour, 16711680);
    EXPECT_EQ(f.Picture1.backcolor(), 255);
    f.Color[0].setvalue(0);
    f.Color[2].setvalue(255);
    EXPECT_EQ(f.blocks[0].colour, 255);
    EXPECT_EQ(f.Picture1.backcolor(), 0xFF0000);
}

TEST_F(Editor, APositionEnteredBeforeAnySizeIsCarriedAway) {
    // Pasted "5": one commit, the empty slot travels to slot 999.
    p.paste(f.posxed, "5");
    EXPECT_EQ(f.blocks[999].x, 5);
    EXPECT_EQ(f.blocks[0], Block{});
    EXPECT_EQ(f.posxed.text(), "0");

    // Typed after the field's "0": "05" is rewritten to "5", two commits.
    Harness g(true);
    Person q(g.form);
    q.type(g.form.posxed, "5");
    EXPECT_EQ(g.form.blocks[998].x, 5);
    EXPECT_EQ(g.form.blocks[999].x, 0);
}

TEST_F(Editor, SpinnersStepBottomAndHeight) {
    h.load(1);
    f.List1.setlistindex(0);
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
}

TEST_F(Editor, SpinnerRunsTwiceThroughItsReset) {
    h.load(1);
    f.List1.setlistindex(0);
    p.paste(f.bottomed, "2");
    h.recordnotifications();
    p.arrow(f.BottomSB[0], +1);
    ASSERT_GE(h.log.size(), 3u);
    EXPECT_EQ(h.log[0], "BottomSB(0).Change");
    EXPECT_EQ(h.log[1], "bottomed.Change");
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "BottomSB(0).Change"), 2);
}

TEST_F(Editor, AngleBar) {
    h.load(1);
    f.List1.setlistindex(0);
    p.paste(f.angleed, "355");
    EXPECT_EQ(f.AngleSB.value(), 355);
    p.arrow(f.AngleSB, +1);
    EXPECT_EQ(f.angleed.text(), "0");
    EXPECT_EQ(f.AngleSB.value(), 0);
    EXPECT_EQ(f.blocks[0].angle, 0);
    h.recordnotifications();
    p.arrow(f.AngleSB, -1);
    EXPECT_TRUE(h.log.empty());
    p.track(f.AngleSB, +1);
    EXPECT_EQ(f.angleed.text(), "45");
    EXPECT_EQ(f.blocks[0].angle, 45);
    p.drag(f.AngleSB, {100, 200});
    EXPECT_EQ(f.blocks[0].angle, 200);
}

TEST_F(Editor, ListClickFillsEveryControl) {
    f.blocks[0] = block(-5, 3, 2.57f, 1, -5, 7, 45.5f, 8405024);
    f.blocks[1] = block(1, 1, 1, 1, 0, 0, -90);
    f.blocks[2] = block(1, 1, 1, 1, 0, 0, 725);
    f.refreshlist();
    f.blocks[0] = block(-5, 3, 2.57f, 1, -5, 7, 45.5f, 8405024); // as before the rebuild
    f.List1.setlistindex(1);
    f.List1.setlistindex(0);
    EXPECT_EQ(f.posxed.text(), "-5");
    EXPECT_EQ(f.posyed.text(), "3");
    EXPECT_EQ(f.sizexed.text(), "2.57");
    EXPECT_EQ(f.VScroll1[0].value(), 26);
    EXPECT_EQ(f.bottomed.text(), "5");
    EXPECT_EQ(f.heighted.text(), "7");
    EXPECT_EQ(f.angleed.text(), "46");
    EXPECT_EQ(f.AngleSB.value(), 46);
    EXPECT_EQ(f.Color[0].value(), 128);
    EXPECT_EQ(f.Color[1].value(), 64);
    EXPECT_EQ(f.Color[2].value(), 32);
    EXPECT_EQ(f.blocks[0].angle, 45.5f); // the click writes nothing back
    EXPECT_TRUE(f.fieldsready);
    f.List1.setlistindex(1);
    EXPECT_EQ(f.angleed.text(), "90");
    f.List1.setlistindex(2);
    EXPECT_EQ(f.angleed.text(), "5");
    EXPECT_EQ(f.AngleSB.value(), 5);
}

TEST_F(Editor, ListClickUnhighlightsTheOldBlockAndHighlightsTheNew) {
    f.blocks[0] = block(10, 5, 2, 1, 0, 0, 0, 0xFF0000);
    f.blocks[1] = block(20, 5, 2, 1, 0, 0, 0, 0x00FF00);
    f.refreshlist();
    f.List1.setlistindex(0);
    f.Map.cls();
    f.List1.setlistindex(1);
    const auto& lines = f.Map.lines();
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0].colour, 0x0000FF);            // slot 0 in its map colour
    EXPECT_EQ(lines[4].colour, 0x00FF00 ^ 0xFFFFFF); // slot 1 highlighted

    f.Map.cls();
    f.List1.setlistindex(0);
    f.List1.setlistindex(1);
    f.Map.cls();
    f.List1.onclick(); // the current row clicked again
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].colour, 0x00FF00);
    EXPECT_EQ(lines[4].colour, 0x00FF00 ^ 0xFFFFFF);
}

TEST_F(Editor, ListClickWithNoRowSelectedIsIgnored) {
    h.load(2);
    f.List1.setlistindex(1);
    f.List1.clear();
    f.List1.onclick();
    EXPECT_EQ(f.curblock, 1);
    EXPECT_TRUE(f.fieldsready);
}

TEST_F(Editor, OversizedBlockFromAFileIsCappedOnlyWhenSelected) {
    f.blocks[0] = block(1, 1, 150, 150);
    f.blocks[1] = block(2, 2, 150, -150);
    f.List1.setlistindex(0);
    f.refreshlist();
    EXPECT_EQ(f.blocks[0].sizex, 100);
    EXPECT_EQ(f.blocks[0].sizez, 100);
    EXPECT_EQ(f.VScroll1[0].value(), 1000);
    EXPECT_EQ(f.blocks[1].sizex, 150);
    EXPECT_EQ(f.blocks[1].sizez, -150);
}

TEST_F(Editor, SizeSlidersWriteBothFieldsInTenths) {
    h.load(1);
    f.List1.setlistindex(0);
    const std::pair<int, const char*> cases[] = {{0, "0"}, {5, ".5"}, {15, "1.5"}, {1000, "100"}};
    for (auto [value, text] : cases) {
        p.drag(f.VScroll1[1], {value});
        EXPECT_EQ(f.sizeyed.text(), text);
        EXPECT_EQ(f.sizexed.text(), "1");
    }
    EXPECT_EQ(f.blocks[0].sizez, 100);
}

TEST_F(Editor, ColourLabelsAndPresets) {
    h.load(1);
    f.List1.setlistindex(0);
    f.Color[0].setvalue(0);
    p.click(f.Label3[0]);
    EXPECT_EQ(f.Color[0].value(), 255);
    f.Color[0].setvalue(200);
    p.click(f.Label3[0]);
    EXPECT_EQ(f.Color[0].value(), 55);

    p.click(f.Command1[1]);
    EXPECT_EQ(f.Color[0].value(), 128);
    EXPECT_EQ(f.Color[1].value(), 64);
    EXPECT_EQ(f.Color[2].value(), 64);
    EXPECT_EQ(f.Picture1.backcolor(), 4210816);
    EXPECT_EQ(f.blocks[0].colour, 8405056);
    p.click(f.Command1[2]);
    EXPECT_EQ(f.blocks[0].colour, 8421504);
    p.click(f.Command1[0]);
    EXPECT_EQ(f.blocks[0].colour, 16777215);

    h.recordnotifications();
    p.click(f.Command1[0]); // already white: nothing to commit
    EXPECT_EQ(h.log, Log{"Command1(0).Click"});
}

TEST_F(Editor, RandomPresetAppliesTheShownColourAndDrawsTheNext) {
    h.load(1);
    f.List1.setlistindex(0);
    const ui::Colour shown = f.Command1[3].backcolor();
    p.click(f.Command1[3]);
    EXPECT_EQ(f.Picture1.backcolor(), shown);
    EXPECT_EQ(f.blocks[0].colour, (shown & 255) * 65536 + (shown / 256 & 255) * 256 + (shown / 65536 & 255));
    ui::DefaultRandom replay;
    replay.next();
    EXPECT_EQ(f.Command1[3].backcolor(), static_cast<std::int32_t>(replay.next() * 16777216.0f));
    EXPECT_EQ(f.Command1[3].maskcolor(), f.Command1[3].backcolor());
}

TEST_F(Editor, SizePresetTurnsTheFreeSlotIntoABlock) {
    h.load(1);
    f.List1.setlistindex(1); // the free slot
    f.Color[2].setvalue(9);
    p.click(f.Command2);
    EXPECT_EQ(f.blocks[1].sizex, 1);
    EXPECT_EQ(f.blocks[1].sizez, 1);
    EXPECT_EQ(f.blocks[1].height, 0.5f);
    EXPECT_EQ(f.List1.listcount(), 3);
    EXPECT_EQ(f.curblock, 1);

    f.List1.setlistindex(0);
    p.paste(f.posxed, "7");
    p.click(f.Command2);
    EXPECT_EQ(f.blocks[0], block(7, 2, 1, 1, 0, 0.5f, 0, 0x102030));
}

TEST_F(Editor, RandomAngleIsAWholeDegree) {
    h.load(1);
    f.List1.setlistindex(0);
    for (int i = 0; i < 200; ++i) {
        p.click(f.RNDANG);
        const float a = f.blocks[0].angle;
        EXPECT_EQ(a, std::floor(a));
        EXPECT_GE(a, 0);
        EXPECT_LE(a, 359);
        EXPECT_EQ(f.angleed.text().find('.'), std::string::npos);
        EXPECT_EQ(f.AngleSB.value(), a);
    }
}
