// The block list: its rows, its rebuild, sort and moves; and the toolbar's
// commands on it: New, Copy, Refresh and Delete.
#include "document/rowtext.h"
#include "support/transcript.h"

using namespace qs;
using namespace qs::test;
using BlockList = Started;
using Commands = Started;

TEST(RowText, WorkedRowsAndValuesThatFillOrOverflowTheirColumn) {
    const std::pair<Block, std::string> rows[] = {
        {Block{12.5f, -3, 2, 0.5f, 0, 1.5f, 45}, "  12.5    -3     2   0.5     0   1.5   45"},
        {Block{-20, 75, 100, 10, -2.5f, 1000, 359}, "   -20    75   100    10  -2.5  1000  359"},
        {Block{}, kFree},
        // Six characters touch the column to the left; wider values are
        // written whole, so no digit is lost.
        {Block{1, -12.25f, 1, 1}, "     1-12.25     1     1     0     0    0"},
        {Block{-12.345f, 0, 1, 1}, "-12.345     0     1     1     0     0    0"},
        {Block{0, 0, 1, 1, 0, 0, 123456}, "     0     0     1     1     0     0123456"},
        {Block{1.23456789f, 0, 1, 1}, "1.234568     0     1     1     0     0    0"}};
    for (const auto& [b, row] : rows)
        EXPECT_EQ(rowtext(b), row);
}

TEST_F(BlockList, RowsRebuildSortAndMoves) {
    // Rows follow the listed run, and the free slot is reset.
    // A gap (whatever its other fields) or negative sizes end the run and
    // are wiped; a slot with one size of 0 is listed. The free-slot row only
    // below 999 rows; slot 999 is left alone then.
    play({{"load 3", "rows=4; row 3=" + kFree},
          {"put 1 0 0 0 0 0 0 0 abcdef; refreshlist", "rows=2; b1=empty; b2=n2"},
          {"put 1 7 7 -1 -1; refreshlist", "rows=2; b1=empty; b2=n2"},
          {"put 1 7 7 0 5; refreshlist", "rows=4; b2=n2"},
          {"load 998", "row 998=" + kFree},
          {"load 999; put 999 0 0 0 0 0 0 0 000005; refreshlist", "rows=999; b999.colour=5"},
          {"load 1000", "row 999=" + rowtext(numbered(999))},
          // A row's text is its block's, whatever the rows next to it held.
          {"load 3; select 3; put 0 n2; refreshlist", "row 0=" + rowtext(numbered(2))}});
    // The rebuild selects the next row, then the remembered one.
    play({{"press New; load 6; select 4; clicks; refreshlist", "clicks=5,4; cur=4"},
          {"select 6; clicks; refreshlist", "clicks=6; cur=6"},
          // Row 6 is gone.
          {"put 4 empty; put 5 empty; put 6 empty; clicks; refreshlist", "clicks=0"}});
    // Bottom -5, Angles 45.5, 400 and -30: only the selected block is
    // rewritten as its fields show it; the rows show each block's own values.
    const std::string odd =
        "put 0 1 1 1 1 -5; put 1 2 1 1 1 0 0 45.5; put 2 3 1 1 1 0 0 400; put 3 4 1 1 1 0 0 -30; ";
    play({{odd + "select 0; refreshlist", "b0.bottom=5; b1.angle=45.5; b2.angle=400; b3.angle=-30"},
          {odd + "select 1; refreshlist", "b0.bottom=-5; b1.angle=46; b2.angle=400; b3.angle=-30"},
          {odd + "select 2; refreshlist", "b0.bottom=-5; b1.angle=45.5; b2.angle=40; b3.angle=-30"},
          {odd + "select 3; refreshlist",
           "b0.bottom=-5; b1.angle=45.5; b2.angle=400; b3.angle=-30; angleed=30; row 0=     1     "
           "1     1     1    -5     0    0; row 1=     2     1     1     1     0     0 45.5"}});
    // Sort carries the first gap to the end and leaves other slots; the gap
    // is empty, though not all zero.
    play({{"put 0 n0; put 1 9 9 0 0 0 0 0 123456; put 2 n2; put 3 n3; sort",
           "b1=n2; b2=n3; b999=9 9 0 0 0 0 0 123456; rows=4"},
          {"put 1 empty; put 2 empty; put 3 n3; sort", "b0=n0; b2=n3"}, // one pass closes one gap
          {"sort", "b1=n3"},
          // One size of 0, or negative sizes: not moved (the latter ends the
          // list and is wiped as its free slot).
          {"put 1 2 2 0 3; put 2 2 2 -1 -1; put 3 n3; sort",
           "b1=2 2 0 3 0 0 0 000000; b2=empty; b3=n3"},
          {"load 1000; unselect; sort", "rows=1000"}}); // no gap at all: the list is still rebuilt
    // Moves swap with the neighbour but never onto the last row. Rows 0-3 blocks, row 4 the free
    // slot. The free-slot row moves up: the list then ends at slot 3. In a full table the row above
    // the last cannot move down; the last can move up.
    play({{"press New; load 4; select 2; arrow VScroll2 1",
           "List1=3; cur=3; VScroll2=0; b2=n3; b3=n2"},
          {"select 3; arrow VScroll2 1", "List1=3; cur=3; b2=n3; b3=n2"},
          {"select 0; arrow VScroll2 -1", "List1=0; cur=0; VScroll2=0; b0=n0; b1=n1"},
          {"select 1; arrow VScroll2 -1", "List1=0; cur=0; b0=n1; b1=n0; b2=n3; b3=n2"},
          {"select 4; arrow VScroll2 -1", "b4=n2; rows=4; List1=3"},
          {"load 1000; select 998; arrow VScroll2 1", "b998=n998"},
          {"select 999; arrow VScroll2 -1", "b998=n999; List1=998"}});
}

TEST_F(Commands, NewDiscardsWithoutAskingKeysAreMatchedExactlyCopyAndRefresh) {
    play({{"mark; load 5; select 3; press New",
           "table=marked; rows=1; row 0=" + kFree + "; cur=0; asked=0; status=New Map"}});
    // Nothing is drawn but the empty free slot, a point at the origin.
    for (const auto& l : f.Map.lines())
        EXPECT_EQ(l, (ui::Line{0, 0, 0, 0, l.colour}));
    // Keys that are not quite a command's do nothing, and say nothing.
    run("load 2; mark; yes; press new; press DELETE; press Help");
    f.tbToolBar.click("Delete ");
    f.tbToolBar.click("");
    expect("table=marked; asked=0; dialogs=0; status=New Map");
    // Copy fills the first empty slot and makes the copy current; Refresh
    // closes one gap and redraws.
    // Copy writes no status; the free slot's row copies onto itself.
    Transcript::each(
        {{"load 4; put 1 empty; select 3; press Copy",
          "b1=n3; b4=empty; List1=1; cur=1; rows=5; status=Status"},
         {"load 2; select 2; press Copy", "b2=empty; b3=empty; List1=2; cur=2; rows=3"},
         {"load 1000; select 10; mark; press Copy", "table=marked; List1=10; cur=10; rows=1000"},
         // Appended after the last block: each rebuild (the commit's, then the
         // copy's) selects the row after, then its row: the copy's is the copy.
         {"load 5; select 2; clicks; press Copy",
          "b5=n2; b4=n4; b6=empty; List1=5; cur=5; rows=7; status=Status; clicks=3,2,6,5"},
         {"load 4; put 1 empty; refreshlist; cls; press Refresh",
          "b1=n2; b3=empty; rows=4; lines=32; status=Refreshed Map and List"}});
}

TEST_F(Commands, DeleteAsksAndThenClosesTheGapKeepingTheRow) {
    play({{"load 4; select 1; mark; no; press Delete", "table=marked; status=Status"}});
    EXPECT_EQ(h.messagebox.asked.front(),
              (std::pair<std::string, std::string>{"Delete?", "Quarrystead"}));
    // Row 1, then the last block (its row becomes the free slot's), then the
    // free slot's row itself (nothing to clear, still reported).
    play({{"select 1; yes; press Delete",
           "b0=n0; b1=n2; b2=n3; b3=empty; rows=4; List1=1; status=Block Deleted"},
          {"select 2; yes; press Delete", "b1=n2; b2=empty; rows=3; List1=2"},
          {"status ; select 2; yes; press Delete",
           "b1=n2; b2=empty; rows=3; List1=2; status=Block Deleted; row 2=" + kFree},
          {"load 1000; select 998; yes; press Delete", "b998=n999; b999=empty"}});
}
