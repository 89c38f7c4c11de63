#include "document/table.h"

#include <gtest/gtest.h>

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

TEST(TableOperations, GapsCopiesAndEmptySlots) {
    BlockTable t{};
    for (int i = 0; i < 4; ++i) t[static_cast<std::size_t>(i)] = sized(1, 1, static_cast<float>(i + 1));
    t[1] = sized(0, 0, 9); // empty, though not all zero
    EXPECT_EQ(listedcount(t), 1);
    EXPECT_EQ(firstemptyslot(t), 1);
    closefirstgap(t);
    EXPECT_EQ(t[1].x, 3);
    EXPECT_EQ(t[2].x, 4);
    EXPECT_EQ(t[999].x, 9);
    EXPECT_EQ(listedcount(t), 3);
    EXPECT_EQ(copytofirstempty(t, 0), 3);
    EXPECT_EQ(t[3].x, 1);
    EXPECT_EQ(copytofirstempty(t, -1), 4); // no slot to copy from
    EXPECT_EQ(t[4], Block{});
    emptyslot(t, 1);
    emptyslot(t, 1000); // no such slot
    EXPECT_EQ(t[1], Block{});
    t.fill(sized(1, 1));
    EXPECT_EQ(firstemptyslot(t), kSlots);
    EXPECT_EQ(copytofirstempty(t, 0), kSlots);
    EXPECT_EQ(listedcount(t), kSlots);
    const BlockTable full = t;
    closefirstgap(t);
    EXPECT_EQ(t, full);
}
