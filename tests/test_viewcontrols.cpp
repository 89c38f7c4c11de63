#include "support/fixture.h"

#include <gtest/gtest.h>

using namespace qs;
using qs::test::block;
using qs::test::Harness;
using qs::test::Person;
using qs::test::kFree;
using qs::test::Started;

using View = Started;

TEST_F(View, DepthBarsLimitEachOther) {
    p.drag(f.MinD, {600});
    p.drag(f.MaxD, {100});
    EXPECT_EQ(f.MaxD.value(), 600);
    EXPECT_EQ(f.sbStatusBar.text(2), "Depth: 600-600");
    p.drag(f.MinD, {0});
    p.drag(f.MaxD, {400});
    p.track(f.MinD, +1);
    p.drag(f.MinD, {900});
    EXPECT_EQ(f.MinD.value(), 400);
    EXPECT_EQ(f.sbStatusBar.text(2), "Depth: 400-400");
    p.drag(f.MinD, {0});
    p.drag(f.MaxD, {0});
    EXPECT_EQ(f.sbStatusBar.text(2), "Depth: 0-0");
}

TEST_F(View, DepthWindowRedrawsLiveWhileDragging) {
    f.blocks[0] = block(10, 5, 1, 1, 0, 10);
    f.blocks[1] = block(20, 5, 1, 1, 500, 10);
    f.refreshlist();
    f.MaxD.dragto(100); // Scroll only: the map follows at once
    EXPECT_EQ(f.Map.lines().size(), 4u);
    EXPECT_EQ(f.sbStatusBar.text(2), "Depth: 0-100");
    f.MaxD.dragto(600);
    EXPECT_EQ(f.Map.lines().size(), 8u);
    f.MaxD.release();
    EXPECT_EQ(f.Map.lines().size(), 8u);
}

TEST_F(View, BackgroundSliderRedrawsAndHighlights) {
    f.blocks[0] = block(10, 5, 1, 1, 0, 0, 0, 0xFFFFFF);
    f.refreshlist();
    f.Check1.setvalue(0);
    p.slide(255);
    EXPECT_EQ(f.Map.backcolor(), 0xFFFFFF);
    EXPECT_EQ(f.sbStatusBar.text(1), "Changed Background Color");
    // White outlines on white, but the current block in its own colour.
    ASSERT_EQ(f.Map.lines().size(), 8u);
    EXPECT_EQ(f.Map.lines()[4].colour, 0xFFFFFF);
}

TEST_F(View, BlockColourSwitch) {
    f.blocks[0] = block(10, 5, 1, 1, 0, 0, 0, 0x112233);
    f.blocks[1] = block(20, 5, 1, 1, 0, 0, 0, 0x445566);
    f.refreshlist();
    p.click(f.Check1);
    EXPECT_EQ(f.sbStatusBar.text(1), "Use Block Color: OFF");
    EXPECT_EQ(f.Map.lines()[0].colour, 0xFFFFFF);
    EXPECT_EQ(f.Map.lines()[8].colour, 0x332211); // the highlight in its own colour
    p.click(f.Check1);
    EXPECT_EQ(f.sbStatusBar.text(1), "Use Block Color: ON");
    ASSERT_EQ(f.Map.lines().size(), 12u);
    EXPECT_EQ(f.Map.lines()[0].colour, 0x332211);
    EXPECT_EQ(f.Map.lines()[4].colour, 0x665544);
    EXPECT_EQ(f.Map.lines()[8].colour, 0x332211 ^ 0xFFFFFF);
}

TEST_F(View, SelectPositionFollowsThePointer) {
    h.load(1);
    f.List1.setlistindex(0);
    p.point(5, 5);
    EXPECT_EQ(f.blocks[0].z, 2);
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");
    p.clickmap();
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");

    p.click(f.selpos);
    EXPECT_EQ(f.sbStatusBar.text(1), "Select Position ON");
    h.recordnotifications();
    p.point(-3.75f, 40.25f);
    EXPECT_EQ(h.log[0], "Map.MouseMove");
    EXPECT_EQ(h.log[1], "posyed.Change"); // Z before X
    EXPECT_EQ(f.posyed.text(), "-3.75");
    EXPECT_EQ(f.posxed.text(), "40.25");
    EXPECT_EQ(f.blocks[0].z, -3.75f);
    EXPECT_EQ(f.blocks[0].x, 40.25f);
    p.point(0.5f, 0, 1); // a held button changes nothing
    EXPECT_EQ(f.posyed.text(), ".5");
    EXPECT_EQ(f.posxed.text(), "0");
    p.point(12.3456789f, 7);
    EXPECT_EQ(f.posyed.text(), "12.34568");

    p.clickmap();
    EXPECT_EQ(f.sbStatusBar.text(1), "Select Position SELECTED");
    EXPECT_FALSE(f.selmode);
    p.point(30, 30);
    EXPECT_EQ(f.blocks[0].x, 7);

    p.click(f.selpos);
    p.click(f.selpos);
    EXPECT_EQ(f.sbStatusBar.text(1), "Select Position OFF");
}

TEST_F(View, PointerWithFieldsNotReadyMovesOnlyTheFields) {
    h.load(1);
    p.click(f.selpos);
    const auto before = f.blocks;
    f.fieldsready = false;
    p.point(1, 2);
    EXPECT_EQ(f.posxed.text(), "2");
    EXPECT_EQ(f.blocks, before);
}
