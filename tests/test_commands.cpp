#include "support/fixture.h"

#include <gtest/gtest.h>

using namespace qs;
using qs::test::block;
using qs::test::Harness;
using qs::test::numbered;
using qs::test::Person;
using qs::test::kFree;
using qs::test::Started;
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
    f.List1.setlistindex(3);
    p.press("New");
    EXPECT_EQ(f.blocks, BlockTable{});
    EXPECT_EQ(f.List1.rows(), std::vector<std::string>{kFree});
    EXPECT_EQ(f.curblock, 0);
    EXPECT_EQ(f.posxed.text(), "0");
    // Nothing is drawn but the empty free slot, a point at the origin.
    for (const auto& l : f.Map.lines()) EXPECT_EQ(l, (ui::Line{0, 0, 0, 0, l.colour}));
    EXPECT_TRUE(h.messagebox.asked.empty());
    EXPECT_EQ(f.sbStatusBar.text(1), "New Map");
}

TEST_F(Commands, CopyAppendsADuplicateAndMakesItCurrent) {
    h.load(5);
    f.List1.setlistindex(2);
    h.recordclicks();
    p.press("Copy");
    EXPECT_EQ(f.blocks[5], numbered(2));
    EXPECT_EQ(f.List1.listcount(), 7);
    EXPECT_EQ(f.List1.listindex(), 5);
    EXPECT_EQ(f.curblock, 5);
    EXPECT_EQ(f.posxed.text(), "3");
    EXPECT_EQ(std::vector<int>(h.clicks.end() - 2, h.clicks.end()), (std::vector<int>{6, 5})); // the next row, then the copy
    EXPECT_EQ(f.sbStatusBar.text(1), "Status"); // Copy writes no status
}

TEST_F(Commands, CopyFillsTheFirstEmptySlotAndTheFreeSlotCopiesOntoItself) {
    h.load(4);
    f.blocks[1] = Block{};
    f.List1.setlistindex(3);
    p.press("Copy");
    EXPECT_EQ(f.blocks[1], numbered(3));
    EXPECT_EQ(f.curblock, 1);

    Harness g(true);
    g.load(2);
    g.form.List1.setlistindex(2);
    Person(g.form).press("Copy");
    EXPECT_EQ(g.form.List1.listindex(), 2);
    EXPECT_EQ(g.form.List1.listcount(), 3);
    EXPECT_EQ(g.form.blocks[2], Block{});
}

TEST_F(Commands, CopyWithAFullTableCopiesNothing) {
    h.load(1000);
    f.List1.setlistindex(10);
    const auto before = f.blocks;
    p.press("Copy");
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.List1.listindex(), 10); // the rebuild kept the row
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

TEST_F(Commands, DeleteAnsweredNoChangesNothing) {
    h.load(4);
    f.List1.setlistindex(1);
    const auto before = f.blocks;
    h.messagebox.answers = {Answer::No};
    p.press("Delete");
    ASSERT_EQ(h.messagebox.asked.size(), 1u);
    EXPECT_EQ(h.messagebox.asked[0], (std::pair<std::string, std::string>{"Delete?", "Quarrystead"}));
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");
}

TEST_F(Commands, DeleteClosesTheGapAndKeepsTheRow) {
    h.load(4);
    f.List1.setlistindex(1);
    h.messagebox.answers = {Answer::Yes};
    p.press("Delete");
    EXPECT_EQ(f.blocks[1], numbered(2));
    EXPECT_EQ(f.blocks[2], numbered(3));
    EXPECT_EQ(f.blocks[3], Block{});
    EXPECT_EQ(f.List1.listcount(), 4);
    EXPECT_EQ(f.List1.listindex(), 1);
    EXPECT_EQ(f.posxed.text(), "3");
    EXPECT_EQ(f.sbStatusBar.text(1), "Block Deleted");

    // The last block: its row becomes the free slot's row, still selected.
    f.List1.setlistindex(2);
    h.messagebox.answers = {Answer::Yes};
    p.press("Delete");
    EXPECT_EQ(f.List1.listcount(), 3);
    EXPECT_EQ(f.List1.rows()[2], kFree);
    EXPECT_EQ(f.List1.listindex(), 2);

    // The free slot's row: nothing to clear, still reported.
    f.sbStatusBar.settext(1, "");
    const auto before = f.blocks;
    h.messagebox.answers = {Answer::Yes};
    p.press("Delete");
    EXPECT_EQ(f.blocks, before);
    EXPECT_EQ(f.sbStatusBar.text(1), "Block Deleted");
}
