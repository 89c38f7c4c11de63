// The main map: each drawn block's outline in its map colour, the depth
// window, and the highlight of the current block; and the controls of the
// view: the depth bars, the background, the colour switch and placing a
// block with the pointer.
#include "mapview/mapdraw.h"
#include "support/transcript.h"

#include <limits>

using namespace qs;
using namespace qs::test;
using MapDrawing = Started;
using ViewControls = Started;

TEST(MapNumbers, ColoursRoundingAndCorners) {
    // Outer bytes swapped, truncating division.
    const std::pair<std::int32_t, std::int32_t> colours[] = {
        {0x112233, 0x332211}, {0x7F123456, 0x563412},
        {-1, 0xFF0000},       {-256, 0xFF00},
        {16777215, 16777215}, {std::numeric_limits<std::int32_t>::min(), 0}};
    for (auto [in, out] : colours)
        EXPECT_EQ(tocol(in), out) << in;
    EXPECT_EQ(tocol(tocol(0x123456)), 0x123456);
    const std::pair<double, double> rounded[] = {
        {0.25, 0.3}, {-0.25, -0.2}, {1.04, 1},
        {1.05, 1.1}, {-0.05, 0},    {static_cast<double>(0.3f) + 0.1, 0.4}}; // halves up
    for (auto [in, out] : rounded)
        EXPECT_EQ(round10(in), out) << in;
    const std::pair<double, std::array<float, 8>> corners[] = {
        {0, {7, 11, 7, 9, 3, 9, 3, 11}}, {90 * kDegToRad, {4, 12, 6, 12, 6, 8, 4, 8}}};
    for (const auto& [angle, expected] : corners) {
        const auto k = squarecorners(10, 5, 2, 1, angle);
        EXPECT_EQ((std::array{k[0].h, k[0].v, k[1].h, k[1].v, k[2].h, k[2].v, k[3].h, k[3].v}),
                  expected)
            << angle;
    }
}

TEST_F(MapDrawing, RefreshmapDrawsEachDrawnBlockAsFourLinesInItsMapColour) {
    // Slot 500 lies beyond any gap: still drawn.
    play({{"put 0 10 5 2 1 0 0 0 ff0000; put 500 20 0 1 1 0 0 0 00ff00; refreshmap",
           "lines=8; line0=7 11 7 9 0000ff; line1=7 9 3 9 0000ff; line2=3 9 3 11 0000ff; line3=3 "
           "11 7 11 0000ff; "
           "colour4=00ff00"},
          {"click Check1; refreshmap", "lines=8; colour0=ffffff; colour7=ffffff"},
          {"put 0 empty; put 500 empty; refreshmap", "lines=0"}}); // only the background
    // The depth window passes blocks that touch it: tops 300 and bottoms 300.
    play({{"put 0 1 0 1 1 250 50; put 1 2 0 1 1 300 10; put 2 3 0 1 1 301 0; put 3 4 0 1 1 200 99; "
           "set MaxD 300; set MinD 300; refreshmap",
           "lines=8; line0=1 2 1 0 ffffff; line4=1 3 1 1 ffffff"}});
}

// Sizes that are not positive draw nothing, nor do values that are not
// numbers; a huge block is drawn, and only finite lines reach the surface.
TEST_F(MapDrawing, RefreshmapSkipsSizesThatAreNotPositiveAndSurvivesOddValues) {
    play({{"put 0 1 1 0 5; put 1 1 1 nan 5; put 2 1 1 -1 5; put 3 inf 1 1 1; put 4 1 1 1e30 1e30 "
           "3e38 3e38 nan; "
           "put 5 1 1 1 1 -inf inf; put 6 1 1 1e30 1e30 0 1; refreshmap",
           "lines=4; line0=1e+30 1e+30 1e+30 -1e+30 000000"}});
    for (const ui::Line& l : f.Map.lines())
        EXPECT_TRUE(std::isfinite(l.x1) && std::isfinite(l.y2));
}

TEST_F(MapDrawing, MarkblockHighlightsInTheInverseColourWithoutTests) {
    // A zero size, outside the depth window. A zero Size X draws a line 10
    // units long: B and C coincide, as do D and A.
    play({{"put 3 10 5 0 5 2000 0 0 ff0000; cls; markblock 3",
           "lines=4; line0=5 15 5 5 ffff00; line1=5 5 5 5 ffff00"},
          // Slots -1 and 1000 are no slots: nothing is drawn for them.
          {"click Check1; cls; markblock 3; markblock -1; markblock 1000",
           "lines=4; colour0=0000ff"}});
}

// Each slot's corners are kept between redraws: a block whose position,
// sizes or angle change must be drawn where it now is.
TEST_F(MapDrawing, AnEditedBlockIsDrawnWhereItNowIs) {
    const std::string drawn = "put 0 10 5 2 1; refreshmap; put 0 ";
    play({{drawn + "13 5 2 1; refreshmap",
           "lines=4; line0=7 14 7 12 000000; line2=3 12 3 14 000000"},
          {drawn + "10 8 2 1; refreshmap",
           "lines=4; line0=10 11 10 9 000000; line2=6 9 6 11 000000"},
          {drawn + "10 5 5 1; refreshmap",
           "lines=4; line0=10 11 10 9 000000; line2=0 9 0 11 000000"},
          {drawn + "10 5 2 4; refreshmap", "lines=4; line0=7 14 7 6 000000; line2=3 6 3 14 000000"},
          {drawn + "10 5 2 1 0 0 90; refreshmap",
           "lines=4; line0=4 12 6 12 000000; line2=6 8 4 8 000000"}});
}

TEST_F(ViewControls, DepthBarsLimitEachOther) {
    play({{"drag MinD 600; drag MaxD 100", "MaxD=600; depth=Depth: 600-600"},
          {"drag MinD 0; drag MaxD 400; track MinD 1; drag MinD 900",
           "MinD=400; depth=Depth: 400-400"},
          {"drag MinD 0; drag MaxD 0", "depth=Depth: 0-0"}});
}

TEST_F(ViewControls, DepthWindowRedrawsLiveWhileDragging) {
    run("put 0 10 5 1 1 0 10; put 1 20 5 1 1 500 10; refreshlist");
    f.MaxD.dragto(100); // Scroll only: the map follows at once
    expect("lines=4; depth=Depth: 0-100");
    f.MaxD.dragto(600);
    expect("lines=8");
    f.MaxD.release();
    expect("lines=8");
}

TEST_F(ViewControls, BackgroundSliderRedrawsAndHighlights) {
    // White outlines on white, but the current block in its own colour.
    play({{"put 0 10 5 1 1 0 0 0 ffffff; refreshlist; click Check1; slide 255",
           "Map=ffffff; status=Changed Background Color; lines=8; colour4=ffffff"}});
}

TEST_F(ViewControls, BlockColourSwitch) {
    play(
        {{"put 0 10 5 1 1 0 0 0 112233; put 1 20 5 1 1 0 0 0 445566; refreshlist; click Check1",
          "status=Use Block Color: OFF; colour0=ffffff; colour8=332211"}, // the highlight in its
                                                                          // own colour
         {"click Check1",
          "status=Use Block Color: ON; lines=12; colour0=332211; colour4=665544; colour8=ccddee"}});
}

TEST_F(ViewControls, SelectPositionFollowsThePointer) {
    play({{"load 1; select 0; point 5 5", "b0.z=2; status=Status"},
          {"clickmap", "status=Status"},
          {"click selpos", "status=Select Position ON"},
          {"log; point -3.75 40.25",
           "log2=Map.MouseMove,posyed.Change; posyed=-3.75; posxed=40.25; b0.z=-3.75; b0.x=40.25"},
          {"point 0.5 0 1", "posyed=.5; posxed=0"}, // a held button changes nothing
          {"point 12.3456789 7", "posyed=12.34568"},
          {"clickmap", "status=Select Position SELECTED"},
          {"point 30 30", "b0.x=7"},
          {"click selpos; click selpos", "status=Select Position OFF"}});
    EXPECT_FALSE(f.selmode);
    // With the fields not ready, the pointer moves only the fields.
    play({{"click selpos; mark; notready; point 1 2", "posxed=2; table=marked"}});
}
