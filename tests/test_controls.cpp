#include "ui/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qs::ui;
using Log = std::vector<std::string>;

TEST(Controls, AWriteRunsTheHandlerToItsEndBeforeItReturns) {
    Dispatch d;
    Log log;
    d.record(&log);
    TextField a{d, "a"};
    TextField b{d, "b"};
    std::vector<std::string> seen;
    a.onchange = [&] {
        seen.push_back("a:" + a.text());
        b.settext("from a");
        seen.push_back("a done, b is " + b.text());
    };
    b.onchange = [&] { seen.push_back("b:" + b.text()); };
    a.settext("x");
    EXPECT_EQ(seen, (std::vector<std::string>{"a:x", "b:from a", "a done, b is from a"}));
    EXPECT_EQ(log, (Log{"a.Change", "b.Change"}));
    EXPECT_EQ(d.maxdepth(), 2);
    EXPECT_EQ(d.depth(), 0);
}

TEST(Controls, AnEqualWriteRaisesNothing) {
    Dispatch d;
    Log log;
    d.record(&log);
    TextField t{d, "t"};
    ScrollBar s{d, "s"};
    s.design(0, 10, 5, 1, 3);
    ListBox l{d, "l"};
    CheckBox c{d, "c"};
    Slider sl{d, "sl"};
    sl.setrange(0, 255);
    t.settext("");
    s.setvalue(5);
    l.setlistindex(-1);
    c.setvalue(0);
    sl.setvalue(0);
    EXPECT_TRUE(log.empty());
}

TEST(Controls, AHandlerThatRewritesItsOwnTextNestsOnce) {
    Dispatch d;
    Log log;
    d.record(&log);
    TextField t{d, "t"};
    int runs = 0;
    t.onchange = [&] {
        ++runs;
        if (t.text().size() > 3) t.settext(t.text().substr(0, 3));
    };
    t.settext("abcdef");
    EXPECT_EQ(t.text(), "abc");
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(log, (Log{"t.Change", "t.Change"}));
    EXPECT_EQ(d.maxdepth(), 2);
}

TEST(Controls, ScrollBarClampsAndSteps) {
    Dispatch d;
    Log log;
    d.record(&log);
    ScrollBar s{d, "VScroll1", 0};
    s.design(0, 1000, 0, 1, 10);
    s.setvalue(1500);
    EXPECT_EQ(s.value(), 1000);
    s.setvalue(-3);
    EXPECT_EQ(s.value(), 0);
    s.arrow(-1); // already at Min: no change, nothing raised
    s.page(+1);
    EXPECT_EQ(s.value(), 10);
    s.setvalue(40000); // beyond 16 bits as well
    EXPECT_EQ(s.value(), 1000);
    EXPECT_EQ(log, (Log{"VScroll1(0).Change", "VScroll1(0).Change", "VScroll1(0).Change",
                        "VScroll1(0).Change"}));
}

TEST(Controls, ScrollBarRangeWritesPullTheValueIn) {
    Dispatch d;
    ScrollBar s{d, "MinD"};
    s.design(0, 1000, 700, 1, 50);
    int changes = 0;
    s.onchange = [&] { ++changes; };
    s.setmax(400);
    EXPECT_EQ(s.value(), 400);
    EXPECT_EQ(changes, 1);
    s.setmin(500); // Min above Max: the range lies between them
    EXPECT_EQ(s.value(), 400);
    s.setvalue(600);
    EXPECT_EQ(s.value(), 500);
}

TEST(Controls, DraggingRaisesScrollThenOneChange) {
    Dispatch d;
    Log log;
    d.record(&log);
    ScrollBar s{d, "MaxD"};
    s.design(0, 1000, 1000, 1, 50);
    s.dragto(900);
    s.dragto(800);
    s.dragto(800);
    s.release();
    EXPECT_EQ(log, (Log{"MaxD.Scroll", "MaxD.Scroll", "MaxD.Change"}));
    log.clear();
    s.dragto(700);
    s.dragto(800); // back where it started: no Change at the end
    s.release();
    EXPECT_EQ(log, (Log{"MaxD.Scroll", "MaxD.Scroll"}));
}

TEST(Controls, ListBoxClearRaisesNoClick) {
    Dispatch d;
    Log log;
    d.record(&log);
    ListBox l{d, "List1"};
    l.additem("a");
    l.additem("b");
    l.setlistindex(1);
    l.clear();
    EXPECT_EQ(l.listindex(), -1);
    EXPECT_EQ(l.listcount(), 0);
    l.additem("c");
    l.setlistindex(1); // one past the last row
    l.setlistindex(0);
    EXPECT_EQ(log, (Log{"List1.Click", "List1.Click"}));
}

TEST(Controls, ControlArraysPassTheirIndex) {
    Dispatch d;
    Log log;
    d.record(&log);
    std::array<ScrollBar, 2> bars{{{d, "Color", 0}, {d, "Color", 1}}};
    std::vector<int> indices;
    for (int i = 0; i < 2; ++i) {
        bars[static_cast<std::size_t>(i)].design(0, 255, 0, 1, 16);
        bars[static_cast<std::size_t>(i)].onchange = [&indices, i] { indices.push_back(i); };
    }
    bars[1].setvalue(9);
    bars[0].setvalue(9);
    EXPECT_EQ(indices, (std::vector<int>{1, 0}));
    EXPECT_EQ(log, (Log{"Color(1).Change", "Color(0).Change"}));
}

TEST(Controls, CheckBoxButtonLabelSurfaceToolbarRaiseTheirNotifications) {
    Dispatch d;
    Log log;
    d.record(&log);
    CheckBox c{d, "Check1"};
    Button b{d, "selpos"};
    Label l{d, "Label3", 2};
    Surface s{d, "Map"};
    Toolbar t{d, "tbToolBar"};
    std::string key;
    float mx = 0, my = 0;
    t.onclick = [&](const std::string& k) { key = k; };
    s.onmousemove = [&](int, int, float x, float y) { mx = x, my = y; };
    c.click();
    b.click();
    l.click();
    s.click();
    s.mousemove(1, 0, -3.75f, 40.25f);
    t.click("Save");
    EXPECT_EQ(c.value(), 1);
    EXPECT_EQ(key, "Save");
    EXPECT_EQ(mx, -3.75f);
    EXPECT_EQ(my, 40.25f);
    EXPECT_EQ(log, (Log{"Check1.Click", "selpos.Click", "Label3(2).Click", "Map.Click",
                        "Map.MouseMove", "tbToolBar.ButtonClick"}));
}

TEST(Controls, SurfaceKeepsFiniteLinesUntilCleared) {
    Dispatch d;
    Surface s{d, "Map"};
    s.line(0, 0, 1, 1, 5);
    s.line(0, std::numeric_limits<float>::infinity(), 1, 1, 5);
    s.line(std::numeric_limits<float>::quiet_NaN(), 0, 1, 1, 5);
    ASSERT_EQ(s.lines().size(), 1u);
    EXPECT_EQ(s.lines()[0], (Line{0, 0, 1, 1, 5}));
    const auto before = s.clears();
    s.cls();
    EXPECT_TRUE(s.lines().empty());
    EXPECT_EQ(s.clears(), before + 1);
}

TEST(Controls, APersonsActionBeginsAndEndsOnceAroundItsWholeCascade) {
    Dispatch d;
    Log seen;
    d.onactionbegin = [&](const Action& a) { seen.push_back("begin " + (a.source ? a.source->label() : "") + a.event); };
    d.onactionend = [&] { seen.push_back("end"); };
    TextField a{d, "a"};
    TextField b{d, "b"};
    Label quiet{d, "quiet"}; // no handler: nothing happens, so no action
    a.onchange = [&] {
        b.settext(a.text());
        d.act("inner", [&] { seen.push_back("inner runs nested"); });
    };
    b.onchange = [&] { seen.push_back("b " + b.text()); };
    a.settext("x");
    quiet.click();
    d.act("Recover", [&] { a.settext("y"); });
    EXPECT_EQ(seen, (Log{"begin aChange", "b x", "inner runs nested", "end", "begin Recover", "b y",
                         "inner runs nested", "end"}));
    EXPECT_EQ(d.depth(), 0);
}
