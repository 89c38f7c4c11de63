#include "blocklist/rowtext.h"
#include "support/fixture.h"

#include <gtest/gtest.h>

using namespace qs;
using qs::test::block;
using qs::test::Harness;
using qs::test::numbered;
using qs::test::Person;
using qs::test::kFree;
using qs::test::Started;

TEST(RowText, WorkedRows) {
    EXPECT_EQ(rowtext(block(12.5f, -3, 2, 0.5f, 0, 1.5f, 45)),
              "  12.5    -3     2   0.5     0   1.5   45");
    EXPECT_EQ(rowtext(block(-20, 75, 100, 10, -2.5f, 1000, 359)),
              "   -20    75   100    10  -2.5  1000  359");
    EXPECT_EQ(rowtext(Block{}), kFree);
    EXPECT_EQ(rowtext(Block{}).size(), 41u);
}

TEST(RowText, ValuesThatFillOrOverflowTheirColumn) {
    EXPECT_EQ(rowtext(block(1, -12.25f, 1, 1)).substr(0, 12), "     1-12.25");
    // Wider than the column: written whole, so no digit is lost.
    EXPECT_EQ(rowtext(block(-12.345f, 0, 1, 1)).substr(0, 13), "-12.345     0");
    EXPECT_EQ(rowtext(block(0, 0, 1, 1, 0, 0, 123456)).substr(36), "123456");
    EXPECT_EQ(rowtext(block(1.23456789f, 0, 1, 1)).substr(0, 8), "1.234568");
}

TEST(RefreshList, RowsFollowTheListedRun) {
    Harness h(true);
    auto& f = h.form;
    h.load(3);
    ASSERT_EQ(f.List1.listcount(), 4);
    EXPECT_EQ(f.List1.rows()[3], kFree);

    // A gap at slot 1 hides slot 2 and resets the free slot.
    f.blocks[1] = block(0, 0, 0, 0, 0, 0, 0, 0xABCDEF);
    f.refreshlist();
    ASSERT_EQ(f.List1.listcount(), 2);
    EXPECT_EQ(f.blocks[1], Block{});
    EXPECT_EQ(f.blocks[2], numbered(2));

    // Negative sizes end the run and are wiped; 0 and 5 is listed.
    f.blocks[1] = block(7, 7, -1, -1);
    f.refreshlist();
    EXPECT_EQ(f.List1.listcount(), 2);
    EXPECT_EQ(f.blocks[1], Block{});
    f.blocks[1] = block(7, 7, 0, 5);
    f.refreshlist();
    EXPECT_EQ(f.List1.listcount(), 4);
}

TEST(RefreshList, TheFreeSlotRowOnlyBelowNineHundredNinetyNineRows) {
    Harness h(true);
    auto& f = h.form;
    h.load(998);
    EXPECT_EQ(f.List1.listcount(), 999);
    EXPECT_EQ(f.List1.rows()[998], kFree);

    h.load(999);
    f.blocks[999] = block(0, 0, 0, 0, 0, 0, 0, 5); // not listed, and left alone
    f.refreshlist();
    EXPECT_EQ(f.List1.listcount(), 999);
    EXPECT_NE(f.List1.rows()[998], kFree);
    EXPECT_EQ(f.blocks[999].colour, 5);

    h.load(1000);
    EXPECT_EQ(f.List1.listcount(), 1000);
    EXPECT_EQ(f.List1.rows()[999], rowtext(numbered(999)));
}

TEST(RefreshList, ReselectsTheNextRowThenTheRememberedOne) {
    Harness h(true);
    auto& f = h.form;
    h.load(6); // seven rows
    h.recordclicks();
    f.List1.setlistindex(4);
    h.clicks.clear();
    f.refreshlist();
    EXPECT_EQ(h.clicks, (std::vector<int>{5, 4}));
    EXPECT_EQ(f.curblock, 4);

    f.List1.setlistindex(6); // the last row
    h.clicks.clear();
    f.refreshlist();
    EXPECT_EQ(h.clicks, (std::vector<int>{6}));

    f.List1.setlistindex(6);
    for (int i = 4; i < 7; ++i) f.blocks[static_cast<std::size_t>(i)] = Block{};
    h.clicks.clear();
    f.refreshlist(); // five rows now: row 6 is gone
    EXPECT_EQ(h.clicks, (std::vector<int>{0}));
    EXPECT_EQ(f.List1.listindex(), 0);
}

TEST(RefreshList, TheSelectedBlockEndsHoldingWhatItsFieldsShow) {
    Harness h(true);
    auto& f = h.form;
    const Block odd[] = {block(1, 1, 1, 1, -5), block(2, 1, 1, 1, 0, 0, 45.5f),
                         block(3, 1, 1, 1, 0, 0, 400), block(4, 1, 1, 1, 0, 0, -30)};
    for (int sel = 0; sel < 4; ++sel) {
        for (int i = 0; i < 4; ++i) f.blocks[static_cast<std::size_t>(i)] = odd[i];
        f.List1.setlistindex(sel);
        f.refreshlist();
        for (int i = 0; i < 4; ++i) {
            const Block& b = f.blocks[static_cast<std::size_t>(i)];
            if (i != sel) {
                EXPECT_EQ(b, odd[i]) << "unselected slot " << i;
                continue;
            }
            switch (i) {
            case 0: EXPECT_EQ(b.bottom, 5); EXPECT_EQ(f.List1.rows()[0].substr(24, 6), "     5"); break;
            case 1: EXPECT_EQ(b.angle, 46); break;
            case 2: EXPECT_EQ(b.angle, 40); break;
            case 3: EXPECT_EQ(b.angle, -30); EXPECT_EQ(f.angleed.text(), "30"); break;
            }
        }
    }
    // Unselected rows show their own values.
    f.List1.setlistindex(3);
    f.blocks[0] = odd[0];
    f.blocks[1] = odd[1];
    f.refreshlist();
    EXPECT_EQ(f.List1.rows()[0].substr(24, 6), "    -5");
    EXPECT_EQ(f.List1.rows()[1].substr(36), " 45.5");
}

TEST(Sort, CarriesTheFirstGapToTheEnd) {
    Harness h(true);
    auto& f = h.form;
    const Block a = numbered(0), b = numbered(1), c = numbered(2);
    f.blocks[0] = a;
    f.blocks[1] = block(9, 9, 0, 0, 0, 0, 0, 0x123456); // empty, but not all zero
    f.blocks[2] = b;
    f.blocks[3] = c;
    f.sort();
    EXPECT_EQ(f.blocks[0], a);
    EXPECT_EQ(f.blocks[1], b);
    EXPECT_EQ(f.blocks[2], c);
    EXPECT_EQ(f.blocks[999], block(9, 9, 0, 0, 0, 0, 0, 0x123456));
    EXPECT_EQ(f.List1.listcount(), 4);

    f.blocks.fill(Block{});
    f.blocks[0] = a;
    f.blocks[3] = b;
    f.sort();
    EXPECT_EQ(f.blocks[2], b); // one pass closes one gap
    f.sort();
    EXPECT_EQ(f.blocks[1], b);
}

TEST(Sort, LeavesSlotsThatAreNotExactlyEmpty) {
    Harness h(true);
    auto& f = h.form;
    f.blocks[0] = block(1, 1, -1, -1);
    f.blocks[1] = block(2, 2, 0, 3);
    f.blocks[2] = numbered(2);
    auto before = f.blocks;
    f.sort();
    EXPECT_EQ(f.blocks[1], before[1]);
    EXPECT_EQ(f.blocks[2], before[2]);
    // Slot 0 was the free slot: the rebuild wiped it.
    EXPECT_EQ(f.blocks[0], Block{});

    // A full table has no gap; sort still rebuilds the list.
    h.load(1000);
    before = f.blocks;
    f.List1.clear();
    f.sort();
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.List1.listcount(), 1000);
}

TEST(MoveBlock, SwapsWithTheNeighbourButNeverOntoTheLastRow) {
    Harness h(true);
    auto& f = h.form;
    Person p(f);
    h.load(4); // rows 0-3 blocks, row 4 the free slot
    f.List1.setlistindex(2);
    p.arrow(f.VScroll2, +1); // the lower arrow
    EXPECT_EQ(f.blocks[3], numbered(2));
    EXPECT_EQ(f.blocks[2], numbered(3));
    EXPECT_EQ(f.List1.listindex(), 3);
    EXPECT_EQ(f.curblock, 3);
    EXPECT_EQ(f.VScroll2.value(), 0);

    auto before = f.blocks;
    p.arrow(f.VScroll2, +1); // target 4 is the last row
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.List1.listindex(), 3);
    EXPECT_EQ(f.VScroll2.value(), 0);

    f.List1.setlistindex(0);
    p.arrow(f.VScroll2, -1);
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.List1.listindex(), 0);

    // The free-slot row moves up: the list then ends at slot 3.
    f.List1.setlistindex(4);
    p.arrow(f.VScroll2, -1);
    EXPECT_EQ(f.blocks[4], numbered(2));
    EXPECT_EQ(f.List1.listcount(), 4);
    EXPECT_EQ(f.List1.listindex(), 3);
    EXPECT_EQ(f.blocks[3], Block{});
}

TEST(MoveBlock, OnAFullTable) {
    Harness h(true);
    auto& f = h.form;
    Person p(f);
    h.load(1000);
    f.List1.setlistindex(998);
    p.arrow(f.VScroll2, +1);
    EXPECT_EQ(f.blocks[998], numbered(998));
    f.List1.setlistindex(999);
    p.arrow(f.VScroll2, -1);
    EXPECT_EQ(f.blocks[998], numbered(999));
    EXPECT_EQ(f.blocks[999], numbered(998));
    EXPECT_EQ(f.List1.listindex(), 998);
}
