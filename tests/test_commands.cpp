// The toolbar's commands: New, Copy, Refresh and Delete.
#include "support/transcript.h"

using namespace qs;
using namespace qs::test;
using Commands = Started;

TEST_F(Commands, KeysAreMatchedExactly) {
    run("load 2; mark; yes; press new; press DELETE; press Help");
    f.tbToolBar.click("Delete ");
    f.tbToolBar.click("");
    expect("table=marked; asked=0; dialogs=0; status=Status");
}

TEST_F(Commands, NewDiscardsWithoutAsking) {
    play({{"mark; load 5; select 3; press New",
           "table=marked; rows=1; row 0=" + kFree + "; cur=0; asked=0; status=New Map"}});
    // Nothing is drawn but the empty free slot, a point at the origin.
    for (const auto& l : f.Map.lines()) EXPECT_EQ(l, (ui::Line{0, 0, 0, 0, l.colour}));
}

TEST(Copy, FillsTheFirstEmptySlotAndMakesTheCopyCurrent) {
    // Copy writes no status.
    Transcript::each({{"load 4; put 1 empty; select 3; press Copy",
                       "b1=n3; b4=empty; List1=1; cur=1; rows=5; status=Status"},
                      {"load 2; select 2; press Copy", "b2=empty; b3=empty; List1=2; cur=2; rows=3"}, // onto itself
                      {"load 1000; select 10; mark; press Copy", "table=marked; List1=10; cur=10; rows=1000"}});
    // Appended after the last block: each rebuild (the commit's, then the
    // copy's) selects the row after, then its row: the copy's is the copy.
    Transcript().play({{"load 5; select 2; clicks; press Copy",
                        "b5=n2; b4=n4; b6=empty; List1=5; cur=5; rows=7; status=Status; clicks=3,2,6,5"}});
}

TEST_F(Commands, RefreshClosesOneGapAndRedraws) {
    run("load 4; put 1 empty; refreshlist");
    f.Map.cls();
    play({{"press Refresh", "b1=n2; b3=empty; rows=4; lines=32; status=Refreshed Map and List"}});
}

TEST_F(Commands, DeleteAsksAndThenClosesTheGapKeepingTheRow) {
    play({{"load 4; select 1; mark; no; press Delete", "table=marked; status=Status"}});
    EXPECT_EQ(h.messagebox.asked.front(), (std::pair<std::string, std::string>{"Delete?", "Quarrystead"}));
    // Row 1, then the last block (its row becomes the free slot's), then the
    // free slot's row itself (nothing to clear, still reported).
    play({{"select 1; yes; press Delete", "b0=n0; b1=n2; b2=n3; b3=empty; rows=4; List1=1; status=Block Deleted"},
          {"select 2; yes; press Delete", "b1=n2; b2=empty; rows=3; List1=2"}});
    f.sbStatusBar.settext(1, "");
    play({{"select 2; yes; press Delete", "b1=n2; b2=empty; rows=3; List1=2; status=Block Deleted; row 2=" + kFree}});
}
