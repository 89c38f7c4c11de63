#include "document/exact.h"
#include "document/footprint.h"
#include "document/table.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

using namespace qs;

namespace {
Block sized(float sx, float sz, float x = 0) {
    Block b;
    b.sizex = sx;
    b.sizez = sz;
    b.x = x;
    return b;
}
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
} // namespace

// The four slot tests differ, above all for NaN, negative and single zero
// sizes: listed run, exactly empty, drawn, saved run.
TEST(SlotTests, EachTestAsItsOwn) {
    struct Case {
        Block b;
        bool ends, empty, drawn, saved;
    };
    const Case cases[] = {{sized(0, 5), false, false, false, false},     {sized(-1, -1), true, false, false, true},
                          {sized(kNaN, kNaN), true, true, false, false}, {sized(kNaN, 3), false, false, false, false},
                          {sized(-0.0f, 0, 5), true, true, false, false}, {sized(0.001f, 0.001f), false, false, true, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(endslistedrun(c.b), c.ends) << c.b.sizex << " " << c.b.sizez;
        EXPECT_EQ(isemptyslot(c.b), c.empty) << c.b.sizex << " " << c.b.sizez;
        EXPECT_EQ(isdrawn(c.b), c.drawn) << c.b.sizex << " " << c.b.sizez;
        EXPECT_EQ(continuessavedrun(c.b), c.saved) << c.b.sizex << " " << c.b.sizez;
    }
}

// What the window never asks of the table (the commands' own tests cover
// the rest): a copy from no slot, emptying a slot beyond the table, and the
// first empty slot of a full table, which is none.
TEST(TableOperations, CopyFromNoSlotEmptyingBeyondTheTableAndAFullTable) {
    BlockTable t{};
    t[0] = sized(1, 1, 1);
    EXPECT_EQ(copytofirstempty(t, -1), 1);
    emptyslot(t, 1000);
    EXPECT_EQ(t[0], sized(1, 1, 1));
    EXPECT_EQ(t[1], Block{});
    t.fill(sized(1, 1));
    EXPECT_EQ(firstemptyslot(t), kSlots);
}

// A line is cut to a rectangle, or dropped when nothing of it is inside.
TEST(Footprint, LinesAreCutToTheRectangle) {
    struct Case {
        double x1, y1, x2, y2;
        bool kept;
        double cx1, cy1, cx2, cy2;
    };
    const Case cases[] = {{-5, 5, 15, 5, true, 0, 5, 10, 5},   {5, -10, 5, 30, true, 5, 0, 5, 10},
                          {-5, 20, 15, 20, false, 0, 0, 0, 0}, {20, -5, 20, 15, false, 0, 0, 0, 0},
                          {2, 3, 4, 5, true, 2, 3, 4, 5}};
    for (const Case& c : cases) {
        double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        EXPECT_EQ(cliptorect(x1, y1, x2, y2, 0, 10, 10), c.kept) << c.x1 << "," << c.y1;
        if (c.kept) {
            EXPECT_EQ((std::array{x1, y1, x2, y2}), (std::array{c.cx1, c.cy1, c.cx2, c.cy2}));
        }
    }
}

// Exact value texts: every bit back, and nothing but such texts taken.
TEST(Exact, TextsGiveBackEveryBit) {
    for (std::uint32_t bits : {0x00000000u, 0x80000000u, 0x00000001u, 0x7f7fffffu, 0x7fc01234u, 0xffc00001u,
                               0x7f800000u, 0xff800000u, 0x3dcccccdu}) {
        const float v = std::bit_cast<float>(bits);
        const auto back = readexact(exacttext(v));
        ASSERT_TRUE(back) << exacttext(v);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*back), bits) << exacttext(v);
    }
    EXPECT_EQ(exacttext(-std::numeric_limits<float>::infinity()), "-inf");
    for (const char* bad : {"", "abc", "1e99", "nan", "nan(0x3f800000)", "nan(0x7fc0123)", "inf ", "1,5"})
        EXPECT_FALSE(readexact(bad)) << bad;
}
