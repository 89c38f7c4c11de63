// The control model: each write raises its notification at once, runs its
// handler to the end, and an equal write raises nothing.
#include "ui/controls.h"
#include "ui/placement.h"

#include <gtest/gtest.h>

using namespace qs::ui;
using Log = std::vector<std::string>;

struct Model : ::testing::Test {
    Dispatch d;
    Log log;
    Model() { d.record(&log); }
};

TEST_F(Model, AWriteRunsTheHandlerToItsEndBeforeItReturnsAndEqualWritesRaiseNothing) {
    TextField a{d, "a"}, b{d, "b"};
    Log seen;
    a.onchange = [&] {
        seen.push_back("a:" + a.text());
        b.settext("from a");
        seen.push_back("a done, b is " + b.text());
    };
    b.onchange = [&] {
        seen.push_back("b:" + b.text());
        if (b.text().size() > 4) b.settext(b.text().substr(0, 4)); // rewrites itself: nests once
    };
    a.settext("x");
    EXPECT_EQ(seen, (Log{"a:x", "b:from a", "b:from", "a done, b is from"}));
    EXPECT_EQ(log, (Log{"a.Change", "b.Change", "b.Change"}));
    EXPECT_EQ(std::pair(d.maxdepth(), d.depth()), std::pair(3, 0));

    log.clear();
    ScrollBar s{d, "s"};
    ListBox l{d, "l"};
    CheckBox c{d, "c"};
    Slider sl{d, "sl"};
    a.settext("x"), s.setvalue(0), l.setlistindex(-1), c.setvalue(0), sl.setvalue(0);
    EXPECT_TRUE(log.empty());
}

TEST_F(Model, ScrollBarsClampStepDragAndFollowTheirRange) {
    ScrollBar s{d, "VScroll1", 0};
    s.design(0, 1000, 0, 1, 10);
    // Min above Max: between them.
    const std::pair<std::function<void()>, int> steps[] = {
        {[&] { s.setvalue(1500); }, 1000},  {[&] { s.setvalue(-3); }, 0},
        {[&] { s.arrow(-1); }, 0},          {[&] { s.page(+1); }, 10},
        {[&] { s.setvalue(40000); }, 1000}, {[&] { s.setmax(400); }, 400},
        {[&] { s.setmin(500); }, 400},      {[&] { s.setvalue(600); }, 500},
        {[&] { s.setmin(40000); }, 500}};
    for (const auto& [step, value] : steps) {
        step();
        EXPECT_EQ(s.value(), value);
    }
    EXPECT_EQ(log.size(), 6u); // the arrow at Min and the write within the new range raise nothing
    // Dragging raises Scroll, then one Change when let go away from where it started.
    log.clear();
    ScrollBar m{d, "MaxD"};
    m.design(0, 1000, 1000, 1, 50);
    for (const auto& drag : {std::vector{900, 800, 800}, {700, 800}}) {
        for (int v : drag)
            m.dragto(v);
        m.release();
    }
    EXPECT_EQ(log,
              (Log{"MaxD.Scroll", "MaxD.Scroll", "MaxD.Change", "MaxD.Scroll", "MaxD.Scroll"}));
}

// Each kind's own notification is seen through the window's handlers in the
// window's tests; the list's refusals are seen only here.
TEST_F(Model, AListClearsWithoutAClickAndRefusesRowsItHasNot) {
    ListBox list{d, "List1"};
    for (const char* row : {"a", "b"})
        list.additem(row);
    list.setlistindex(1);
    list.clear();
    EXPECT_EQ(std::pair(list.listindex(), list.listcount()), std::pair(-1, 0));
    list.additem("c");
    for (int row : {1, -2, 0})
        list.setlistindex(row); // one past the last row, none, the row
    EXPECT_EQ(log, (Log{"List1.Click", "List1.Click"}));
}

TEST_F(Model, SurfaceKeepsFiniteLinesUntilCleared) {
    Surface s{d, "Map"};
    s.line(0, 0, 1, 1, 5);
    s.line(0, std::numeric_limits<float>::infinity(), 1, 1, 5);
    s.line(std::numeric_limits<float>::quiet_NaN(), 0, 1, 1, 5);
    EXPECT_EQ(s.lines(), (std::vector<Line>{{0, 0, 1, 1, 5}}));
    const auto before = s.clears();
    s.cls();
    EXPECT_EQ(std::pair(s.lines().size(), s.clears()), std::pair(std::size_t{0}, before + 1));
}

TEST_F(Model, APersonsActionBeginsAndEndsOnceAroundItsWholeCascade) {
    Log seen;
    d.onactionbegin = [&](const Action& a) { seen.push_back("begin " + a.event); };
    d.onactionend = [&] { seen.push_back("end"); };
    TextField a{d, "a"};
    a.onchange = [&] { d.act("inner", [&] { seen.push_back("inner runs nested"); }); };
    a.settext("x");
    EXPECT_EQ(seen, (Log{"begin Change", "inner runs nested", "end"}));
    d.resetmaxdepth();
    d.act("alone", [] {});
    EXPECT_EQ(d.maxdepth(), 1);
}

// A new window goes beside the main window, clear of it and of the other
// view, made smaller to fit; with no room, nowhere.
TEST(Placement, BesideTheMainWindowWhereTheScreenHasRoom) {
    const Rect screen{0, 0, 1280, 1024}, main{66, 66, 574, 505};
    const std::tuple<Rect, int, int, Rect, std::optional<Rect>> cases[] = {
        // Right, narrowed; right, below the other; right, above the other.
        {main, 640, 640, {}, Rect{648, 66, 632, 640}},
        {main, 400, 300, Rect{648, 66, 400, 300}, Rect{648, 374, 400, 300}},
        {main, 400, 690, Rect{648, 700, 400, 300}, Rect{648, 2, 400, 690}},
        // Below, lowered to fit; left; below, left of the other; no room.
        {{66, 66, 1000, 505}, 800, 600, {}, Rect{66, 579, 800, 445}},
        {{700, 300, 574, 505}, 640, 640, {}, Rect{52, 300, 640, 640}},
        {{66, 66, 572, 479}, 800, 600, Rect{646, 66, 634, 640}, Rect{0, 553, 638, 471}},
        {{0, 0, 1280, 1000}, 640, 640, {}, std::nullopt}};
    for (const auto& [at, w, h, avoid, place] : cases)
        EXPECT_EQ(beside(screen, at, w, h, avoid), place);
}
