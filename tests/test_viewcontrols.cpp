// The controls of the view: the depth window, the background, the colour
// switch and placing a block with the pointer.
#include "support/transcript.h"

using namespace qs::test;
using ViewControls = Started;

TEST_F(ViewControls, DepthBarsLimitEachOther) {
    play({{"drag MinD 600; drag MaxD 100", "MaxD=600; depth=Depth: 600-600"},
          {"drag MinD 0; drag MaxD 400; track MinD 1; drag MinD 900", "MinD=400; depth=Depth: 400-400"},
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
    play({{"put 0 10 5 1 1 0 0 0 112233; put 1 20 5 1 1 0 0 0 445566; refreshlist; click Check1",
           "status=Use Block Color: OFF; colour0=ffffff; colour8=332211"}, // the highlight in its own colour
          {"click Check1", "status=Use Block Color: ON; lines=12; colour0=332211; colour4=665544; colour8=ccddee"}});
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
    run("click selpos; mark");
    f.fieldsready = false;
    play({{"point 1 2", "posxed=2; table=marked"}});
}
