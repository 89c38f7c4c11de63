#include "document/rowtext.h"
#include "support/fixture.h"

#include <gtest/gtest.h>

using namespace qs;
using namespace qs::test;

TEST(RowText, WorkedRowsAndValuesThatFillOrOverflowTheirColumn) {
    const std::pair<Block, std::string> rows[] = {
        {block(12.5f, -3, 2, 0.5f, 0, 1.5f, 45), "  12.5    -3     2   0.5     0   1.5   45"},
        {block(-20, 75, 100, 10, -2.5f, 1000, 359), "   -20    75   100    10  -2.5  1000  359"},
        {Block{}, kFree},
        // Six characters touch the column to the left; wider values are
        // written whole, so no digit is lost.
        {block(1, -12.25f, 1, 1), "     1-12.25     1     1     0     0    0"},
        {block(-12.345f, 0, 1, 1), "-12.345     0     1     1     0     0    0"},
        {block(0, 0, 1, 1, 0, 0, 123456), "     0     0     1     1     0     0123456"},
        {block(1.23456789f, 0, 1, 1), "1.234568     0     1     1     0     0    0"}};
    for (const auto& [b, row] : rows) EXPECT_EQ(rowtext(b), row);
}

TEST_F(Started, RowsFollowTheListedRunAndTheFreeSlotIsReset) {
    h.load(3);
    EXPECT_EQ(f.List1.rows().back(), kFree);
    // A gap (whatever its other fields) or negative sizes end the run and
    // are wiped; a slot with one size of 0 is listed.
    const std::pair<Block, int> second[] = {
        {block(0, 0, 0, 0, 0, 0, 0, 0xABCDEF), 2}, {block(7, 7, -1, -1), 2}, {block(7, 7, 0, 5), 4}};
    for (const auto& [b, rows] : second) {
        f.blocks[1] = b;
        f.refreshlist();
        EXPECT_EQ(f.List1.listcount(), rows);
        if (rows == 2) {
            EXPECT_EQ(f.blocks[1], Block{});
        }
        EXPECT_EQ(f.blocks[2], numbered(2));
    }
    // The free-slot row only below 999 rows; slot 999 is left alone then.
    h.load(998);
    EXPECT_EQ(f.List1.rows()[998], kFree);
    h.load(999);
    f.blocks[999] = block(0, 0, 0, 0, 0, 0, 0, 5);
    f.refreshlist();
    EXPECT_EQ(f.List1.listcount(), 999);
    EXPECT_EQ(f.blocks[999].colour, 5);
    h.load(1000);
    EXPECT_EQ(f.List1.rows()[999], rowtext(numbered(999)));
}

TEST_F(Started, TheRebuildSelectsTheNextRowThenTheRememberedOne) {
    h.load(6); // seven rows
    h.recordclicks();
    const std::pair<int, std::vector<int>> cases[] = {{4, {5, 4}}, {6, {6}}};
    for (const auto& [row, clicks] : cases) {
        p.select(row);
        h.clicks.clear();
        f.refreshlist();
        EXPECT_EQ(h.clicks, clicks);
        EXPECT_EQ(f.curblock, row);
    }
    for (int i = 4; i < 7; ++i) f.blocks[static_cast<std::size_t>(i)] = Block{};
    h.clicks.clear();
    f.refreshlist(); // five rows now: row 6 is gone
    EXPECT_EQ(h.clicks, (std::vector<int>{0}));
}

TEST_F(Started, TheSelectedBlockEndsHoldingWhatItsFieldsShow) {
    const Block odd[] = {block(1, 1, 1, 1, -5), block(2, 1, 1, 1, 0, 0, 45.5f), block(3, 1, 1, 1, 0, 0, 400),
                         block(4, 1, 1, 1, 0, 0, -30)};
    const Block shown[] = {block(1, 1, 1, 1, 5), block(2, 1, 1, 1, 0, 0, 46), block(3, 1, 1, 1, 0, 0, 40), odd[3]};
    for (std::size_t sel = 0; sel < 4; ++sel) {
        std::copy(std::begin(odd), std::end(odd), f.blocks.begin());
        p.select(static_cast<int>(sel));
        f.refreshlist();
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(f.blocks[i], i == sel ? shown[i] : odd[i]) << sel << i;
    }
    EXPECT_EQ(f.angleed.text(), "30");
    EXPECT_EQ(f.List1.rows()[0].substr(24, 6), "    -5"); // unselected rows show their own values
    EXPECT_EQ(f.List1.rows()[1].substr(36), " 45.5");
}

TEST_F(Started, SortCarriesTheFirstGapToTheEndAndLeavesOtherSlots) {
    const Block gap = block(9, 9, 0, 0, 0, 0, 0, 0x123456); // empty, though not all zero
    for (int i = 0; i < 4; ++i) f.blocks[static_cast<std::size_t>(i)] = i == 1 ? gap : numbered(i);
    f.sort();
    EXPECT_EQ(f.blocks[1], numbered(2));
    EXPECT_EQ(f.blocks[2], numbered(3));
    EXPECT_EQ(f.blocks[999], gap);
    EXPECT_EQ(f.List1.listcount(), 4);
    f.blocks.fill(Block{});
    f.blocks[0] = numbered(0);
    f.blocks[3] = numbered(3);
    f.sort();
    EXPECT_EQ(f.blocks[2], numbered(3)); // one pass closes one gap
    f.sort();
    EXPECT_EQ(f.blocks[1], numbered(3));
    // One size of 0, or negative sizes: not moved (the latter ends the list
    // and is wiped as its free slot).
    f.blocks[1] = block(2, 2, 0, 3);
    f.blocks[2] = block(2, 2, -1, -1);
    f.blocks[3] = numbered(3);
    f.sort();
    EXPECT_EQ(f.blocks[1], block(2, 2, 0, 3));
    EXPECT_EQ(f.blocks[2], Block{});
    EXPECT_EQ(f.blocks[3], numbered(3));
    h.load(1000); // no gap at all: the list is still rebuilt
    f.List1.clear();
    f.sort();
    EXPECT_EQ(f.List1.listcount(), 1000);
}

TEST_F(Started, MovesSwapWithTheNeighbourButNeverOntoTheLastRow) {
    h.load(4); // rows 0-3 blocks, row 4 the free slot
    struct Move {
        int row, direction, selected;
        std::vector<int> order; // the numbered blocks in slots 0-3 afterwards
    };
    const Move moves[] = {{2, +1, 3, {0, 1, 3, 2}}, {3, +1, 3, {0, 1, 3, 2}}, {0, -1, 0, {0, 1, 3, 2}},
                          {1, -1, 0, {1, 0, 3, 2}}};
    for (const Move& m : moves) {
        p.select(m.row);
        p.arrow(f.VScroll2, m.direction);
        EXPECT_EQ(f.List1.listindex(), m.selected);
        EXPECT_EQ(f.curblock, m.selected);
        EXPECT_EQ(f.VScroll2.value(), 0);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(f.blocks[i], numbered(m.order[i])) << m.row << " slot " << i;
    }
    // The free-slot row moves up: the list then ends at slot 3.
    p.select(4);
    p.arrow(f.VScroll2, -1);
    EXPECT_EQ(f.blocks[4], numbered(2));
    EXPECT_EQ(f.List1.listcount(), 4);
    EXPECT_EQ(f.List1.listindex(), 3);
    // A full table: the row above the last cannot move down; the last can move up.
    h.load(1000);
    p.select(998);
    p.arrow(f.VScroll2, +1);
    EXPECT_EQ(f.blocks[998], numbered(998));
    p.select(999);
    p.arrow(f.VScroll2, -1);
    EXPECT_EQ(f.blocks[998], numbered(999));
    EXPECT_EQ(f.List1.listindex(), 998);
}
