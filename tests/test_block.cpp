#include "document/block.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qs;

namespace {
Block sized(float sx, float sz) {
    Block b;
    b.sizex = sx;
    b.sizez = sz;
    return b;
}
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
} // namespace

TEST(SlotTests, ZeroAndFiveIsListedButNotDrawnMovedOrSaved) {
    const Block b = sized(0, 5);
    EXPECT_FALSE(endslistedrun(b));
    EXPECT_FALSE(isdrawn(b));
    EXPECT_FALSE(isemptyslot(b));
    EXPECT_FALSE(continuessavedrun(b));
}

TEST(SlotTests, NegativeSizesEndTheListButAreNotEmpty) {
    const Block b = sized(-1, -1);
    EXPECT_TRUE(endslistedrun(b));
    EXPECT_FALSE(isemptyslot(b));
    EXPECT_FALSE(isdrawn(b));
    EXPECT_TRUE(continuessavedrun(b));
}

TEST(SlotTests, NaNCountsAsZeroOrLessAndAsZeroButNeverAsPositive) {
    const Block both = sized(kNaN, kNaN);
    EXPECT_TRUE(endslistedrun(both));
    EXPECT_TRUE(isemptyslot(both));
    EXPECT_FALSE(isdrawn(both));
    EXPECT_FALSE(continuessavedrun(both));

    const Block one = sized(kNaN, 3);
    EXPECT_FALSE(endslistedrun(one)); // 3 is not zero or less
    EXPECT_FALSE(isemptyslot(one));
    EXPECT_FALSE(isdrawn(one));
    EXPECT_FALSE(continuessavedrun(one));
}

TEST(SlotTests, EmptyIgnoresTheOtherFieldsAndNegativeZero) {
    Block b = sized(-0.0f, 0);
    b.x = 5;
    b.colour = 7;
    EXPECT_TRUE(isemptyslot(b));
    EXPECT_TRUE(endslistedrun(b));
    EXPECT_TRUE(isdrawn(sized(0.001f, 0.001f)));
}
