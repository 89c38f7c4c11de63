// The main map: each drawn block's outline in its map colour, the depth
// window, and the highlight of the current block; and the controls of the
// view: the depth bars, the background, the colour switch and placing a
// block with the pointer.
#include "mapview/mapdraw.h"
#include "support/transcript.h"

using namespace qs;
using namespace qs::test;
using MapDrawing = Started;
using ViewControls = Started;

TEST(MapNumbers, ColoursAndRounding) {
    // Outer bytes swapped, truncating division.
    const std::pair<std::int32_t, std::int32_t> colours[] = {
        {0x112233, 0x332211}, {0x7F123456, 0x563412}, {-1, 0xFF0000},
        {16777215, 16777215}, {-256, 0xFF00},         {INT32_MIN, 0}};
    for (auto [in, out] : colours)
        EXPECT_EQ(tocol(in), out) << in;
    const std::pair<double, double> rounded[] = {
        {0.25, 0.3}, {-0.25, -0.2}, {1.04, 1},
        {1.05, 1.1}, {-0.05, 0},    {static_cast<double>(0.3f) + 0.1, 0.4}}; // halves up
    for (auto [in, out] : rounded)
        EXPECT_EQ(round10(in), out) << in;
}

TEST_F(MapDrawing, RefreshmapDrawsEachDrawnBlockAsFourLinesInItsMapColourWhereItNowIs) {
    // Each slot's corners are kept between redraws: a block whose position,
    // sizes or angle change must be drawn where it now is.
    const auto moved = [](const std::string& to) {
        return "put 0 10 5 2 1; refreshmap; put 0 " + to + "; refreshmap";
    };
    play({{moved("13 5 2 1"), "lines=4; line0=7 14 7 12 000000; line2=3 12 3 14 000000"},
          {moved("10 8 2 1"), "lines=4; line0=10 11 10 9 000000; line2=6 9 6 11 000000"},
          {moved("10 5 5 1"), "lines=4; line0=10 11 10 9 000000; line2=0 9 0 11 000000"},
          {moved("10 5 2 4"), "lines=4; line0=7 14 7 6 000000; line2=3 6 3 14 000000"},
          {moved("10 5 2 1 0 0 90"), "lines=4; line0=4 12 6 12 000000; line2=6 8 4 8 000000"},
          // Sizes that are not positive draw nothing, nor do values that are
          // not numbers; a huge block is drawn, its lines finite (the surface
          // keeps no other: see SurfaceKeepsFiniteLinesUntilCleared).
          {"put 6 1 1 0 5; put 1 1 1 nan 5; put 2 1 1 -1 5; put 3 inf 1 1 1; "
           "put 4 1 1 1e30 1e30 3e38 3e38 nan; put 5 1 1 1 1 -inf inf; put 0 1 1 1e30 1e30 0 1; "
           "refreshmap",
           "lines=4; line0=1e+30 1e+30 1e+30 -1e+30 000000"}});
    // Slot 500 lies beyond any gap: still drawn. Lines 0 and 2 hold the four
    // corners.
    play({{"put 0 10 5 2 1 0 0 0 ff0000; put 500 20 0 1 1 0 0 0 00ff00; refreshmap",
           "lines=8; line0=7 11 7 9 0000ff; line2=3 9 3 11 0000ff; colour4=00ff00"},
          {"click Check1; refreshmap", "lines=8; colour0=ffffff; colour7=ffffff"},
          {"put 0 empty; put 500 empty; refreshmap", "lines=0"}}); // only the background
    // The depth window passes blocks that touch it: tops 300 and bottoms 300.
    play({{"put 0 1 0 1 1 250 50; put 1 2 0 1 1 300 10; put 2 3 0 1 1 301 0; put 3 4 0 1 1 200 99; "
           "set MaxD 300; set MinD 300; refreshmap",
           "lines=8; line0=1 2 1 0 ffffff; line4=1 3 1 1 ffffff"},
          // The highlight, in the inverse colour, takes no test: a zero size,
          // outside the depth window. A zero Size X draws a line 10 units
          // long: B and C coincide, as do D and A. Slots -1 and 1000 are no
          // slots: nothing is drawn for them.
          {"put 3 10 5 0 5 2000 0 0 ff0000; cls; markblock 3; markblock -1; markblock 1000",
           "lines=4; colour0=0000ff"},
          {"click Check1; cls; markblock 3",
           "lines=4; line0=5 15 5 5 ffff00; line1=5 5 5 5 ffff00"}});
}

TEST_F(ViewControls, BlockColourBackgroundDepthBarsAndSelectPosition) {
    play({{"put 0 10 5 1 1 0 0 0 112233; put 1 20 5 1 1 0 0 0 445566; refreshlist; click Check1",
           "status=Use Block Color: OFF; colour0=ffffff; colour8=332211"},
          {"click Check1",
           "status=Use Block Color: ON; lines=12; colour0=332211; colour4=665544; colour8=ccddee"},
          // The background redraws the map and the current block's highlight.
          {"slide 255", "Map=ffffff; status=Changed Background Color; lines=12; colour8=ccddee"}});
    // The depth bars redraw live while dragging and limit each other.
    run("put 0 10 5 1 1 0 10; put 1 20 5 1 1 500 10; refreshlist");
    f.MaxD.dragto(100); // Scroll only: the map follows at once
    expect("lines=4; depth=Depth: 0-100");
    f.MaxD.dragto(600);
    expect("lines=8");
    f.MaxD.release();
    expect("lines=8");
    play({{"drag MinD 600; drag MaxD 100", "MaxD=600; depth=Depth: 600-600"},
          {"drag MinD 0; drag MaxD 400; track MinD 1; drag MinD 900",
           "MinD=400; depth=Depth: 400-400"},
          {"drag MinD 0; drag MaxD 0", "depth=Depth: 0-0"}});
    // Select Position: the current block follows the pointer.
    play({{"load 1; select 0; point 5 5", "b0.z=2; status=Changed Background Color"},
          {"clickmap", "status=Changed Background Color"},
          {"click selpos", "status=Select Position ON"},
          {"log; point -3.75 40.25",
           "log2=Map.MouseMove,posyed.Change; posyed=-3.75; posxed=40.25; b0.z=-3.75; b0.x=40.25"},
          {"point 0.5 0 1", "posyed=.5; posxed=0"}, // a held button changes nothing
          {"point 12.3456789 7", "posyed=12.34568"},
          {"clickmap", "status=Select Position SELECTED"},
          {"point 30 30", "b0.x=7"},
          {"click selpos; click selpos", "status=Select Position OFF"},
          // With the fields not ready, the pointer moves only the fields.
          {"click selpos; mark; notready; point 1 2", "posxed=2; table=marked"}});
}
