// Editing on the map with the map window's tools, as transcripts: points are
// "Z X" (across, up), as the map shows them; a pixel spans 0.1 map units.
#include "support/actor.h"
#include "support/transcript.h"
#include "tools/snap.h"
#include "tools/values.h"

using namespace qs;
using namespace qs::test;

// Three blocks: 0 at Z 10, X 10 (2 by 2), 1 at Z 20 beside it, 2 above them
// at X 20, 4 units across.
struct Tools : Started {
    Tools() {
        run("put 0 10 10 1 1 0 1 0 ff0000; put 1 10 20 1 1 0 2; put 2 20 10 2 1 0 1; refreshlist; "
            "mark");
    }
};

TEST_F(Tools, ClicksShiftCtrlAndAltAndBoxesSelectAndTheClickedBlockBecomesCurrent) {
    // A box takes the blocks inside it, or leftwards the blocks it touches.
    play({{"mdrag 5 5 25 15", "selection=0-1"},
          {"mdrag 10.5 5 25 15", "selection=1"},
          {"mdrag 5 5 25 15 shift", "selection=0-1"}, // the taken stay taken
          {"mdrag 10.5 5 25 15", "selection=1"},
          {"mdrag 25 15 10.5 5", "selection=0-1"},
          {"mdrag 15 25 5 18 shift", "selection=0-2"},
          {"mdrag 5 5 25 15 ctrl", "selection=2"},
          {"mpress 25 15; mmove 10.5 5",
           "mapstatus=1 selected | grid 1 | box takes blocks it touches"},
          {"mrelease 10.5 5", "selection=0-1"},
          {"mdrag 10 5 10 25", "selection="},    // straight up: inside, so none
          {"mdrag 18.5 11 5 30", "selection=2"}, // near two corners, touching neither
          // Clicks.
          {"mclick 20 10", "selection=1; cur=1; mapstatus=1 selected | grid 1"},
          {"mclick 10 10 shift", "selection=0-1; cur=0; mapstatus=2 selected, gap 8 | grid 1"},
          // The gap from a corner to the middle of an edge.
          {"put 1 10.5 20 1 1 0 2; mclick 10 10 ctrl; mclick 10 10 shift",
           "mapstatus=2 selected, gap 8 | grid 1"},
          {"mclick 20 10 ctrl", "selection=0; cur=0"},
          {"mclick 40 40", "selection=; cur=0; mapstatus=Nothing selected | grid 1"},
          {"mkey all", "selection=0-2"},
          {"mkey esc", "selection=; cur=0"},
          {"mpress 10 10", "selection=0"}, // taken at the press
          // A block inside another: Alt+click goes down the stack and round.
          {"mrelease 10 10; put 3 10 10 0.5 0.5 0 1; refreshlist; mclick 10 10 alt",
           "selection=3; cur=3"},
          {"mclick 10 10 alt", "selection=0"},
          {"mclick 10 10 alt", "selection=3"},
          // A block after a gap has no row: it is selected, and the status
          // bar says so; the current block stays.
          {"put 1 empty; refreshlist; mclick 10 20",
           "selection=2; cur=0; status=Block 3 has no row: Refresh (F5) "
           "closes the gap before it"}});
}

TEST_F(Tools, DragsMoveTheSelectionOnTheGridOrOntoAnotherBlockAndAreOneStepEach) {
    play({{"mclick 10 10; mdrag 10 10 13.3 10.2", "b0.z=13; b0.x=10; steps=1"},
          {"undo", "status=Undone: moving 1 block; table=marked"},
          // With Ctrl, a block dragged from outside the selection joins it.
          {"mdrag 20 10 20 12 ctrl", "b0.x=12; b1.x=12; cur=1; selection=0-1"},
          {"undo; mclick 10 10", "table=marked; selection=0"},
          {"mdrag 10 10 13.3 10.2 ctrl", "b0.z=13.3; b0.x=10.2"}, // Ctrl: off the grid
          {"undo; mpress 10 10; mmove 17.97 10.3",
           "guide=19 11 19 11; figure=Z +8, X 0; b0.z=18; b0.x=10"},
          {"mrelease 17.97 10.3", "b0.z=18; guide=; figure="}, // onto block 1's corner
          {"undo; mclick 20 10 shift; mpress 10 10; mmove 12 14; mmove 13 15",
           "b0.z=13; b1.z=23; b1.x=15"},
          {"mkey esc", "table=marked; steps=0"}, // everything back
          {"mrelease 13 15; mdrag 10 10 11 10; mdrag 11 10 13 10", "b0.z=13; b1.z=23; steps=2"},
          {"undo", "status=Undone: moving 2 blocks; b0.z=11"},
          // Down and across, a corner onto another block's corner off the grid.
          {"put 3 3.3 30.3 1 1; refreshlist; mkey esc; mdrag 20 10 27.25 5.35",
           "b1.z=28.3; b1.x=5.3"},
          {"select 2; mdrag 11 10 11 11", "cur=0; b0.x=11"}}); // the block dragged becomes current
}

TEST_F(Tools, HandlesResizeAndTurnAndKeysNudgeRaiseAndChangeTheGrid) {
    // The right edge of block 0 (Z 9 to 11): the left edge stays.
    play({{"mdrag 11 10 13.4 10", "b0.sizex=2; b0.z=11; b0.sizez=1"},
          {"undo; mdrag 11.65 10 13.4 10", "b0.sizex=2; b0.z=11"}, // 6.5 pixels off: held
          {"undo; mdrag 11.75 10 13.4 10", "table=marked"},        // 7.5 pixels: not held
          {"undo; mdrag 11 10 13.4 10 ctrl", "b0.sizex=2.2; b0.z=11.2"},
          {"undo; mdrag 11 10 5 10", "b0.sizex=0.5; b0.z=9.5"}, // never through zero
          {"undo; mdrag 11 11 12 13", "b0.sizex=1.5; b0.sizez=2; b0.z=10.5; b0.x=11"}, // a corner
          {"undo", "status=Undone: resizing a block; table=marked"},
          // The turn handle, above the block: 40 degrees round, snapped to 45.
          {"mpress 10 13.4; mmove 7.81 12.6", "figure=Angle 45; b0.angle=45"},
          {"mrelease 7.81 12.6; undo; mdrag 10 13.4 7.81 12.6 ctrl", "b0.angle=40; b0.z=10"},
          {"mdrag 7.81 12.6 10 13.4; undo", "status=Undone: turning 1 block; b0.angle=40"},
          // Turned, its handles turn with it: its top edge is now up and left.
          {"mhover 9.36 10.77", "handleangle=130"},
          {"mhover 10.77 10.64", "handleangle=40"},
          {"mdrag 9.36 10.77 8.07 12.3", "b0.sizez=2; b0.angle=40; b0.z=9.357212; b0.x=10.76604"},
          // Two turn about their middle.
          {"undo; undo; mkey esc; mclick 20 10 shift; mclick 10 10 shift; mdrag 10 13.4 11.6 5",
           "b0.angle=90; b1.angle=90; b0.z=15; b0.x=5; b1.z=15; b1.x=15"},
          {"undo", "status=Undone: turning 2 blocks; table=marked"},
          {"mdrag 10 13.4 20 6.6", "b0.angle=180; b0.z=20; b1.z=10"},
          {"undo", "table=marked"},
          // Three, from the last one's handle: each about the middle of them all.
          {"mclick 10 20 shift; mdrag 10 23.4 6.6 10",
           "b0.z=20; b0.x=10; b1.z=20; b1.x=20; b2.z=10; b2.x=10; b2.angle=90"}});
    // Keys, back on the table as it was: a series of them is one step.
    play({{"undo; mclick 10 10; mkey right; mkey up shift; mkey left", "b0.z=10; b0.x=20; steps=1"},
          {"mkey pageup; mkey pageup", "b0.bottom=2; steps=2"},
          // Bottom stays at 0 or more.
          {"mkey pagedown; mkey pagedown; mkey pagedown", "b0.bottom=0"},
          {"mkey larger; mkey right", "b0.z=12.5; mapstatus=1 selected | grid 2.5"},
          {"mkey smaller; mkey smaller; mkey smaller; mkey smaller; mkey smaller; mkey smaller",
           "mapstatus=1 selected | grid 0.1"},
          {"mkey larger; mkey larger; mkey larger; mkey larger; mkey larger; mkey larger; "
           "mkey larger; mkey larger",
           "mapstatus=1 selected | grid 10"},
          {"undo", "status=Undone: moving 1 block; b0.z=10"},
          // The raising came back to 0: no step.
          {"undo", "status=Undone: moving 1 block; table=marked"},
          {"undo", "status=Nothing to undo"}});
}

TEST_F(Tools, StackDuplicateAndDeleteWorkOnTheSelection) {
    // Blocks 3 and 4 on block 0: Alt+click takes 4, Alt+Shift+click adds 3.
    play({{"put 3 10 10 0.5 0.5 0 1; put 4 10 10 0.5 0.5 0 3; refreshlist; mark; mclick 10 10 alt",
           "selection=4"},
          {"mclick 10 10 alt shift", "selection=3-4"},
          {"mkey stack", "b3.bottom=1; b4.bottom=2; cur=3"}, // on block 0, then on block 3
          {"undo; mclick 20 10; mclick 10 20 shift; mkey duplicate",
           "selection=5-6; b5=9 21 1 1 0 2 0 000000; b6=19 11 2 1 0 1 0 000000; cur=5"},
          {"undo", "status=Undone: duplicating 2 blocks; table=marked"},
          {"mclick 20 10; mclick 10 20 shift; yes; mkey delete",
           "asked=1; b1=10 10 0.5 0.5 0 1 0 000000; rows=4; cur=2"},
          {"undo; mkey esc; mclick 20 10; yes; mkey delete", "asked=2; b1=20 10 2 1 0 1 0 000000"},
          // A full map takes no copies, and the current block stays.
          {"load 1000; mclick 2 0.1; mkey duplicate",
           "status=Not enough free slots: 1 needed, 0 free; cur=0; selection=0"}});
    EXPECT_EQ(h.messagebox.asked[0].first, "Delete 2 blocks?");
    EXPECT_EQ(h.messagebox.asked[1].first, "Delete?");
}

// Snapping to the block at Z -1..1, X -1..1 with a reach of 0.6: a corner
// before an edge, an edge only between its ends. The offset found and the
// guide, as "dz dx | z x z x".
TEST(Snap, ACornerFirstThenAnEdgeBetweenItsEnds) {
    const BlockTable table{Block{0, 0, 1, 1, 0, 1}};
    const int target = 0;
    const auto n = [](double v) { return static_cast<float>(std::round(v * 1e6) / 1e6) + 0.0f; };
    const std::pair<std::vector<MapPoint>, std::string> cases[] = {
        {{{1.3, 1.2}}, "-0.3 -0.2 | 1 1 1 1"},
        {{{1.2, 0.5}}, "-0.2 0.5 | 1 1 1 1"}, // the edge is nearer, the corner holds
        {{{1.4, 0.2}}, "-0.4 0 | 1 1 1 -1"},
        {{{-1.2, 2.5}, {-1.2, -2.5}}, "0 0 |"}, // beside the edge's line, past its ends
        {{{3, 3}}, "0 0 |"}};
    for (const auto& [moving, want] : cases) {
        const tools::Snapped s = tools::snaptoblocks(moving, {}, table, {&target, 1}, 0.6);
        std::string got = texts({n(s.offset.z), n(s.offset.x)}) + " |";
        if (const auto& g = s.guide)
            got += " " + texts({n(g->a.z), n(g->a.x), n(g->b.z), n(g->b.x)});
        EXPECT_EQ(got, want) << moving[0].z << " " << moving[0].x;
    }
}

// What the tools write, the fields hold: after any of them, showing each
// block in the fields and committing them changes no bit of the table.
TEST(ToolValues, WhatTheToolsWriteTheFieldsHold) {
    for (const auto& [turned, held] :
         {std::pair{365.0, 5.0f}, {-370.0, 350.0f}, {359.6, 0.0f}, {0.0, 0.0f}})
        EXPECT_EQ(tools::holdangle(turned), held) << turned;
    EXPECT_EQ(tools::holddepth(1004), 1000);
    EXPECT_FALSE(std::signbit(tools::holddepth(-0.0))); // no "-0" bottom in the file
    Transcript t;
    t.run("put 0 10 10 1 1 0 1; put 1 14 20 2 1 0 2 30; put 2 30 5 0.5 3 1 1 90; refreshlist");
    std::mt19937 gen(5);
    Actor actor(t.h, std::ref(gen), t.dir.path.string());
    for (int i = 0; i < 300; ++i) {
        actor.maptool();
        ASSERT_EQ(t.value("invariants"), "") << actor.recent();
    }
    const BlockTable after = t.f.blocks;
    for (int row = 0; row + 1 < t.f.List1.listcount(); ++row) {
        t.run("select " + std::to_string(row));
        t.f.edchange(); // what any keystroke in any field ends in
    }
    EXPECT_EQ(std::memcmp(&after, &t.f.blocks, sizeof after), 0);
}

TEST_F(Tools, TheClipboardTakesTheSelectionAndPastesIntoFreeSlotsAsOneStep) {
    play(
        {{"mclick 10 10; mclick 20 10 shift; copy",
          "clipblocks=2; status=Copied 2 blocks to the clipboard; steps=0; "
          "cliptext=x\\tz\\tsizex\\tsizez\\tbottom\\theight\\tangle\\tcolour\\n"
          "10\\t10\\t1\\t1\\t0\\t1\\t0\\t16711680\\n10\\t20\\t1\\t1\\t0\\t2\\t0\\t0\\n"},
         {"pastehere",
          "selection=3-4; cur=3; b3=10 10 1 1 0 1 0 ff0000; b4=10 20 1 1 0 2 0 000000; steps=1; "
          "status=Pasted 2 blocks"},
         {"undo", "table=marked; status=Undone: pasting 2 blocks"},
         // Under the pointer: the middle of their outlines, on the grid.
         {"pasteat 40.3 29.6 1", "b3.z=35; b3.x=30; b4.z=45; b4.x=30"},
         {"cut", "selection=; rows=4; table=marked; status=Cut 2 blocks to the clipboard"},
         {"undo", "b3.z=35; rows=6"},
         // Nothing selected: the current block.
         {"undo; select 3; cut; undo", "cur=3; table=marked"},
         {"mkey esc; select 3; copy", "status=Nothing selected to copy"},
         // Text from elsewhere: missing columns are 0, and bad text says where.
         {"cliptext {\"format\": \"quarrystead map\", \"version\": 1, \"records\": [{\"x\": 1, "
          "\"z\": 2, \"sizex\": 3, \"sizez\": 4, \"bottom\": 0, \"height\": 0, \"angle\": 0, "
          "\"colour\": 0}]}; pastehere",
          "b3=1 2 3 4 0 0 0 000000; selection=3; status=Pasted 1 block"},
         {"undo; cliptext Size X,Size Z,x\\n1,2,3\\n4,five,6; pastehere",
          "status=Could not paste: line 3, column 3: sizez \"five\" is not a number; table=marked"},
         {"cliptext x,z\\n1,1; pastehere",
          "status=Could not paste: block 1 needs sizes that are not 0, one of "
          "them above 0; table=marked"},
         {"cliptext ; pastehere", "status=Could not paste: the clipboard holds no blocks"},
         {"cliptext x,z,sizex,sizez\\n5,1,1,1; pasteat 5 5 1e-308",
          "b3.z=1"}, // a step too fine to work out: left where they were
         {"load 998; mark full; cliptext sizex,sizez\\n1,1\\n1,1\\n1,1; pastehere",
          "status=Not enough free slots: 3 needed, 2 free; table=full"},
         {"cliptext sizex,sizez\\n1,1\\n2,2; pastehere",
          "status=Pasted 2 blocks; b998=0 0 1 1 0 0 0 000000; b999=0 0 2 2 0 0 0 000000"}});
}
