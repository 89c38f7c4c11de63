#include "support/fixture.h"

#include <gtest/gtest.h>

using namespace qs;
using namespace qs::test;
using ui::Answer;

using Commands = Started;

TEST_F(Commands, KeysAreMatchedExactly) {
    h.load(2);
    const auto before = f.blocks;
    h.messagebox.answers = {Answer::Yes};
    for (const char* key : {"new", "DELETE", "Delete ", "", "Help"}) p.press(key);
    EXPECT_EQ(f.blocks, before);
    EXPECT_TRUE(h.messagebox.asked.empty());
    EXPECT_EQ(h.filedialog.shown, 0);
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");
}

TEST_F(Commands, NewDiscardsWithoutAsking) {
    h.load(5);
    p.select(3);
    p.press("New");
    EXPECT_EQ(f.blocks, BlockTable{});
    EXPECT_EQ(f.List1.rows(), std::vector<std::string>{kFree});
    EXPECT_EQ(f.curblock, 0);
    // Nothing is drawn but the empty free slot, a point at the origin.
    for (const auto& l : f.Map.lines()) EXPECT_EQ(l, (ui::Line{0, 0, 0, 0, l.colour}));
    EXPECT_TRUE(h.messagebox.asked.empty());
    EXPECT_EQ(f.sbStatusBar.text(1), "New Map");
}

TEST(Copy, FillsTheFirstEmptySlotAndMakesTheCopyCurrent) {
    struct Case {
        int blocks, gap, row;  // blocks in slots 0.., an emptied slot (-1: none), the selected row
        int target, selected, rows;
    };
    const Case cases[] = {
        {5, -1, 2, 5, 5, 7},       // appended after the last block
        {4, 1, 3, 1, 1, 5},        // the gap at slot 1 is filled
        {2, -1, 2, 2, 2, 3},       // the free slot copies onto itself
        {1000, -1, 10, -1, 10, 1000}}; // a full table: nothing copied
    for (const Case& c : cases) {
        Harness h(true);
        h.load(c.blocks);
        if (c.gap >= 0) h.form.blocks[static_cast<std::size_t>(c.gap)] = Block{};
        h.form.List1.setlistindex(c.row);
        h.recordclicks();
        const auto before = h.form.blocks;
        Person(h.form).press("Copy");
        auto expected = before;
        if (c.target >= 0) expected[static_cast<std::size_t>(c.target)] = before[static_cast<std::size_t>(c.row)];
        EXPECT_EQ(h.form.blocks, expected) << c.blocks;
        EXPECT_EQ(h.form.List1.listindex(), c.selected) << c.blocks;
        EXPECT_EQ(h.form.curblock, c.selected);
        EXPECT_EQ(h.form.List1.listcount(), c.rows) << c.blocks;
        EXPECT_EQ(h.form.sbStatusBar.text(1), "Status"); // Copy writes no status
        if (c.blocks == 5) { // the row after the copy first, then the copy
            EXPECT_EQ(std::vector<int>(h.clicks.end() - 2, h.clicks.end()), (std::vector<int>{6, 5}));
        }
    }
}

TEST_F(Commands, RefreshClosesOneGapAndRedraws) {
    h.load(4);
    f.blocks[1] = Block{};
    f.refreshlist();
    f.Map.cls();
    p.press("Refresh");
    EXPECT_EQ(f.blocks[1], numbered(2));
    EXPECT_EQ(f.List1.listcount(), 4);
    EXPECT_GE(f.Map.lines().size(), 12u);
    EXPECT_EQ(f.sbStatusBar.text(1), "Refreshed Map and List");
}

TEST_F(Commands, DeleteAsksAndThenClosesTheGapKeepingTheRow) {
    h.load(4);
    p.select(1);
    const auto before = f.blocks;
    h.messagebox.answers = {Answer::No};
    p.press("Delete");
    EXPECT_EQ(h.messagebox.asked.front(), (std::pair<std::string, std::string>{"Delete?", "Quarrystead"}));
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");
    // Row 1, then the last block (its row becomes the free slot's), then the
    // free slot's row itself (nothing to clear, still reported).
    const std::pair<int, std::vector<int>> deletes[] = {{1, {0, 2, 3}}, {2, {0, 2}}, {2, {0, 2}}};
    for (const auto& [row, left] : deletes) {
        p.select(row);
        f.sbStatusBar.settext(1, "");
        h.messagebox.answers = {Answer::Yes};
        p.press("Delete");
        for (std::size_t i = 0; i < left.size(); ++i) EXPECT_EQ(f.blocks[i], numbered(left[i]));
        EXPECT_EQ(f.blocks[left.size()], Block{});
        EXPECT_EQ(f.List1.listcount(), static_cast<int>(left.size()) + 1);
        EXPECT_EQ(f.List1.listindex(), row);
        EXPECT_EQ(f.sbStatusBar.text(1), "Block Deleted");
    }
    EXPECT_EQ(f.List1.rows()[2], kFree);
}
