// The editor as a person works it: each field's handler, the bars and
// spinners, the list click, the colours and the presets.
#include "support/transcript.h"
#include "ui/typing.h"

using namespace qs;
using namespace qs::test;
using ListAndFields = Started;

// One block in slot 0, selected.
struct Editor : Started {
    Editor() { run("load 1; select 0"); }
};

TEST(EditFields, HandlersWriteTheirNormalFormsAndHoldBackTextsBeingTyped) {
    // Each field's text after a paste: "1.5e9" is not cut to "1.5"; five
    // characters are read ("1.0123", "0.1234").
    const std::pair<std::string, std::string> cases[] = {
        {"posxed ", "0"},         {"posxed -", "0"},           {"posxed abc", "0"},
        {"posxed -50", "-50"},    {"posxed -12.5", "-12.5"},   {"bottomed -50", "50"},
        {"heighted 2.", "2"},     {"sizexed 150", "100"},      {"bottomed 1234567", "1000"},
        {"angleed 12345", "154"}, {"angleed 2.5", "2"},        {"angleed 3.5", "4"},
        {"angleed 400", "40"},    {"angleed -30", "30"},       {"heighted 0.50", ".5"},
        {"posyed 1e3", "1000"},   {"sizeyed 1.0123", "1.012"}, {"sizexed 1e99", "100"},
        {"angleed 9e99", "127"},  {"heighted -1e99", "1000"},  {"heighted 1000.5", "1000"},
        {"sizexed 9e999", "100"}, {"bottomed 9e999", "1000"},  {"sizeyed 1.5e9", "100"},
        {"sizexed 1e20", "100"},  {"bottomed 0.1234", ".123"}};
    for (const auto& [typed, shown] : cases)
        Transcript::each(
            {{"load 1; paste " + typed, typed.substr(0, typed.find(' ')) + "=" + shown}});
    // X is committed in single precision, shown at once, or capped to the
    // largest single; one notation in both precisions settles.
    Transcript::each({{"load 1; paste posxed 1.23456789", "posxed=1.234568; b0.x=1.2345679"},
                      {"load 1; paste posxed 12345678", "posxed=12345680; b0.x=12345678"},
                      {"load 1; paste posxed -1e39", "posxed=-3.402823E+38; b0.x=-3.402823e+38"}});
    // Lone signs, points and exponents, and bytes that are not digits, in X and in Bottom.
    const std::pair<std::string, std::string> lone[] = {
        {"-", "0"},   {"+", "0"},       {".", "0"},       {"e", "0"},
        {"1e", "1"},  {"1e+", "1"},     {"--5", "0"},     {"5-", "5"},
        {"\t7", "7"}, {"\u00e95", "0"}, {"5\u00e9", "5"}, {"\xFF\xFE\x01", "0"}};
    for (const auto& [typed, shown] : lone)
        Transcript::each({{"load 1; paste posxed " + typed + "; paste bottomed " + typed,
                           "posxed=" + shown + "; bottomed=" + shown}});
    // A position entered before any size: pasted, one commit carries the
    // empty slot to slot 999; typed after the "0", "05" is two commits.
    Transcript::each({{"paste posxed 5", "b999.x=5; b0=empty; posxed=0"},
                      {"type posxed 5", "b998.x=5; b0=empty; posxed=0"}});
    // The texts the window holds back while a number is being typed.
    const char* held[] = {"1.",  ".",    "0.",  "2.50",  "0.0", "-0.", "1e",
                          "1E-", "12e+", "-1.", "100.0", "9.",  "19e"};
    const char* passed[] = {"",    "1", "1.5", "-1", "1e5",  "e",  ".e",
                            "abc", "+", "2.5", "10", "1.2.", "--", "-05"};
    for (const char* t : held)
        EXPECT_TRUE(ui::heldtext(t, false)) << t;
    for (const char* t : passed)
        EXPECT_FALSE(ui::heldtext(t, true)) << t;
    for (const char* t : {"-", "-0", "-00"}) {
        EXPECT_TRUE(ui::heldtext(t, true)) << t; // a field that keeps a sign
        EXPECT_FALSE(ui::heldtext(t, false)) << t;
    }
}

// The size slider replaces a finer size only when it moves; the spinners step
// Bottom and Height and run again through their reset; the angle bar; a
// random angle is a whole degree; nothing is committed while the fields are
// not ready.
TEST_F(Editor, SlidersSpinnersAngleBarAndFieldsNotReady) {
    // A point typed between digits stays; the slider moves from 10 to 12, and
    // then stands at 12 already.
    play({{"paste heighted 25; paste heighted 2.5", "b0.height=2.5"},
          {"paste sizexed 1.23", "sizexed=1.2; b0.sizex=1.2"},
          {"paste sizexed 1.23", "b0.sizex=1.23"},
          {"drag VScroll1(1) 0", "sizeyed=0; sizexed=1.2"},
          {"drag VScroll1(1) 5", "sizeyed=.5"},
          {"drag VScroll1(1) 15", "sizeyed=1.5"},
          {"drag VScroll1(1) 1000", "sizeyed=100; sizexed=1.2; b0.sizez=100"}});
    play({{"paste bottomed 2; arrow BottomSB(0) 1", "bottomed=2.1; b0.bottom=2.1; BottomSB(0)=0"},
          {"paste bottomed 2; arrow BottomSB(1) 1", "bottomed=3; b0.bottom=3; BottomSB(1)=0"},
          {"paste bottomed 2; arrow BottomSB(2) 1", "bottomed=12; b0.bottom=12; BottomSB(2)=0"},
          {"paste bottomed .3; arrow BottomSB(0) 1", "bottomed=.4; b0.bottom=0.4"},
          {"paste bottomed 0; arrow BottomSB(0) -1", "bottomed=.1; b0.bottom=0.1; BottomSB(0)=0"},
          {"paste bottomed 5; arrow BottomSB(2) -1", "bottomed=5; b0.bottom=5; BottomSB(2)=0"},
          {"paste heighted 995; track HeightSB(2) 1",
           "heighted=1000; b0.height=1000; HeightSB(2)=0"},
          // Two commits, each rebuilding the list (two clicks): the
          // spinner's own write into the field commits nothing.
          {"log; arrow BottomSB(0) 1",
           "log2=BottomSB(0).Change,bottomed.Change; #BottomSB(0).Change=2; #List1.Click=4"},
          // The angle bar.
          {"paste angleed 355", "AngleSB=355"},
          {"arrow AngleSB 1", "angleed=0; AngleSB=0"},
          {"log; arrow AngleSB -1", "log="},
          {"track AngleSB 1", "b0.angle=45"},
          {"drag AngleSB 100 200", "b0.angle=200"}});
    // Random Angle: each draw of the generator as a whole degree, 0 to 359
    // (the colour button showed the first draw).
    ui::DefaultRandom replay;
    replay.next();
    for (int i = 0; i < 200; ++i) {
        run("click RNDANG");
        const float a = f.blocks[0].angle;
        EXPECT_EQ(a, std::min(static_cast<int>(replay.next() * 360.0f), 359));
        expect("angleed=" + numtext(a) + "; AngleSB=" + numtext(a));
    }
    // Not ready: the spinner's step leaves the field as it was.
    play({{"paste bottomed 0; mark; notready; paste posxed 33; paste sizexed 150; "
           "paste heighted 5000",
           "sizexed=100; heighted=1000"},
          {"arrow BottomSB(1) 1; arrow VScroll1(0) 1", "bottomed=0; BottomSB(1)=0; table=marked"}});
}

TEST_F(ListAndFields, ListClickFillsEveryControlAndWritesNothingBack) {
    const std::string first = "put 0 -5 3 2.57 1 -5 7 45.5 804020";
    play({{first + "; put 1 1 1 1 1 0 0 -90; put 2 1 1 1 1 0 0 725; refreshlist;" + first +
               "; select 1; select 0",
           "posxed=-5; posyed=3; sizexed=2.57; bottomed=5; heighted=7; angleed=46; VScroll1(0)=26; "
           "AngleSB=46; Color(0)=128; Color(1)=64; Color(2)=32; b0=-5 3 2.57 1 -5 7 45.5 804020"},
          {"select 1", "angleed=90"},
          {"select 2", "AngleSB=5"},
          {"unselect; relist", "cur=2"}, // no row selected: the click names no slot and is ignored
          // An oversized block from a file is capped only when selected.
          {"select 0; put 0 1 1 100.5 100.5; put 1 2 2 150 -150; refreshlist",
           "b0.sizex=100; b0.sizez=100; VScroll1(0)=1000; b1.sizex=150; "
           "b1.sizez=-150"}});
}

TEST_F(ListAndFields, TypicalEventAndListClickUnhighlightsTheOldBlockAndHighlightsTheNew) {
    // Typing 2 into Size X on the free slot.
    // The handler's own write is unchanged; edchange moves the size slider,
    // whose handler commits nested; each commit's rebuild selects row 1 and
    // then row 0 again.
    const std::string click = ",List1.Click,sizexed.Change,VScroll1(0).Change";
    const std::string log = "log=sizexed.Change,VScroll1(0).Change" + click + click + click +
                            click + "; row 0=     0     0     2     0     0     0    0; ";
    play({{"log; paste sizexed 2", log + "rows=2; List1=0; VScroll1(0)=20; b0.sizex=2; lines=0"},
          // The list click unhighlights the old block and highlights the new.
          {"put 0 10 5 2 1 0 0 0 ff0000; put 1 20 5 2 1 0 0 0 00ff00; refreshlist; select 0; cls; "
           "select 1",
           "lines=8; colour0=0000ff; colour4=ff00ff"}, // slot 1 highlighted
          {"cls; relist", "lines=8; colour0=00ff00; colour4=ff00ff"}});
}

TEST_F(Editor, SizePresetColourBarsLabelsAndPresets) {
    // The size preset turns the free slot into a block.
    play({{"select 1; click Command2", "b1=0 0 1 1 0 0.5 0 000000; rows=3; cur=1"},
          {"select 0; paste posxed 7; click Command2", "b0=7 2 1 1 0 0.5 0 102030"},
          {"drag Color(0) 100 255; drag Color(1) 0; drag Color(2) 0",
           "b0.colour=16711680; Picture1=0000ff"},
          {"click Label3(0)", "Color(0)=0"},
          {"set Color(0) 200; click Label3(0)", "Color(0)=55"},
          {"set Color(1) 7; set Color(2) 255", "b0.colour=3606527; Picture1=ff0737"},
          {"click Command1(1)", "b0.colour=8405056; Picture1=404080"},
          {"click Command1(2)", "b0.colour=8421504; Picture1=808080"},
          {"click Command1(0)", "b0.colour=16777215; Picture1=ffffff"},
          {"log; click Command1(0)", "log=Command1(0).Click"}}); // already white: nothing to commit

    // Random shows the generator's first draw from the start; it applies the
    // colour it shows, whatever it is, each component in its bar, and then
    // shows the next draw.
    ui::DefaultRandom replay;
    EXPECT_EQ(f.Command1[3].backcolor(), static_cast<std::int32_t>(replay.next() * 16777216.0f));
    f.Command1[3].setbackcolor(1 + 2 * 256 + 200 * 65536);
    play({{"click Command1(3)", "b0.colour=66248; Picture1=c80201; Color(0)=1; Color(2)=200"}});
    EXPECT_EQ(f.Command1[3].backcolor(), static_cast<std::int32_t>(replay.next() * 16777216.0f));
    EXPECT_EQ(f.Command1[3].maskcolor(), f.Command1[3].backcolor());
}
