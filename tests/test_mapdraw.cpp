#include "mapview/mapdraw.h"
#include "support/harness.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qs;
using qs::test::block;
using qs::test::Harness;
using qs::ui::Line;

namespace {

std::vector<Line> outline(float ah, float av, float bh, float bv, float ch, float cv, float dh,
                          float dv, std::int32_t col) {
    return {{ah, av, bh, bv, col}, {bh, bv, ch, cv, col}, {ch, cv, dh, dv, col}, {dh, dv, ah, av, col}};
}

} // namespace

TEST(Tocol, SwapsTheOuterBytesWithTruncatingDivision) {
    EXPECT_EQ(tocol(0x112233), 0x332211);
    EXPECT_EQ(tocol(0x7F123456), 0x563412);
    EXPECT_EQ(tocol(-1), 0xFF0000);
    EXPECT_EQ(tocol(-256), 0xFF00);
    EXPECT_EQ(tocol(16777215), 16777215);
    EXPECT_EQ(tocol(tocol(0x123456)), 0x123456);
    EXPECT_EQ(tocol(std::numeric_limits<std::int32_t>::min()), 0);
}

TEST(Round10, RoundsHalvesUp) {
    EXPECT_EQ(round10(0.25), 0.3);
    EXPECT_EQ(round10(-0.25), -0.2);
    EXPECT_EQ(round10(1.04), 1);
    EXPECT_EQ(round10(1.05), 1.1);
    EXPECT_EQ(round10(-0.05), 0);
    EXPECT_EQ(round10(static_cast<double>(0.3f) + 0.1), 0.4);
}

TEST(Square, CornersAtZeroAndNinetyDegrees) {
    auto k = squarecorners(10, 5, 2, 1, 0);
    EXPECT_EQ(k[0].h, 7); EXPECT_EQ(k[0].v, 11);
    EXPECT_EQ(k[1].h, 7); EXPECT_EQ(k[1].v, 9);
    EXPECT_EQ(k[2].h, 3); EXPECT_EQ(k[2].v, 9);
    EXPECT_EQ(k[3].h, 3); EXPECT_EQ(k[3].v, 11);
    k = squarecorners(10, 5, 2, 1, 90 * kDegToRad);
    EXPECT_EQ(k[0].h, 4); EXPECT_EQ(k[0].v, 12);
    EXPECT_EQ(k[1].h, 6); EXPECT_EQ(k[1].v, 12);
    EXPECT_EQ(k[2].h, 6); EXPECT_EQ(k[2].v, 8);
    EXPECT_EQ(k[3].h, 4); EXPECT_EQ(k[3].v, 8);
}

TEST(Refreshmap, DrawsEachDrawnBlockAsFourLinesInItsMapColour) {
    Harness h;
    auto& f = h.form;
    f.blocks[0] = block(10, 5, 2, 1, 0, 0, 0, 0xFF0000);
    f.blocks[500] = block(20, 0, 1, 1, 0, 0, 0, 0x00FF00); // beyond any gap: still drawn
    f.refreshmap();
    ASSERT_EQ(f.Map.lines().size(), 8u);
    const auto expected = outline(7, 11, 7, 9, 3, 9, 3, 11, 0x0000FF);
    EXPECT_EQ(std::vector<Line>(f.Map.lines().begin(), f.Map.lines().begin() + 4), expected);
    EXPECT_EQ(f.Map.lines()[4].colour, 0x00FF00);

    f.Check1.setvalue(0);
    f.refreshmap();
    for (const Line& l : f.Map.lines()) EXPECT_EQ(l.colour, 0xFFFFFF);
}

TEST(Refreshmap, EmptyTableLeavesOnlyTheBackground) {
    Harness h;
    h.form.Map.line(0, 0, 1, 1, 3);
    h.form.refreshmap();
    EXPECT_TRUE(h.form.Map.lines().empty());
}

TEST(Refreshmap, DepthWindowPassesBlocksThatTouchIt) {
    Harness h;
    auto& f = h.form;
    f.MaxD.setvalue(300);
    f.MinD.setvalue(300);
    f.blocks[0] = block(1, 0, 1, 1, 250, 50);  // top 300: drawn
    f.blocks[1] = block(2, 0, 1, 1, 300, 10);  // bottom 300: drawn
    f.blocks[2] = block(3, 0, 1, 1, 301, 0);   // above: not drawn
    f.blocks[3] = block(4, 0, 1, 1, 200, 99);  // top 299: not drawn
    f.refreshmap();
    ASSERT_EQ(f.Map.lines().size(), 8u);
    EXPECT_EQ(f.Map.lines()[0].y1, 2);  // slot 0, x 1 + sizez 1
    EXPECT_EQ(f.Map.lines()[4].y1, 3);  // slot 1
}

TEST(Refreshmap, SkipsSizesThatAreNotPositiveAndSurvivesOddValues) {
    Harness h;
    auto& f = h.form;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    f.blocks[0] = block(1, 1, 0, 5);
    f.blocks[1] = block(1, 1, nan, 5);
    f.blocks[2] = block(1, 1, -1, 5);
    f.blocks[3] = block(inf, 1, 1, 1);
    f.blocks[4] = block(1, 1, 1e30f, 1e30f, 3e38f, 3e38f, nan);
    f.blocks[5] = block(1, 1, 1, 1, -inf, inf);
    f.refreshmap();
    // Only finite lines reach the surface; nothing ends the program.
    for (const Line& l : f.Map.lines()) EXPECT_TRUE(std::isfinite(l.x1) && std::isfinite(l.y2));
}

TEST(Markblock, HighlightsInTheInverseColourWithoutTests) {
    Harness h;
    auto& f = h.form;
    f.blocks[3] = block(10, 5, 0, 5, 2000, 0, 0, 0xFF0000); // zero size, outside the depth window
    f.markblock(3);
    ASSERT_EQ(f.Map.lines().size(), 4u);
    EXPECT_EQ(f.Map.lines()[0].colour, 0xFFFF00);
    // A zero Size X draws a line 10 units long: B and C coincide, as do D and A.
    const Line& ab = f.Map.lines()[0];
    const Line& bc = f.Map.lines()[1];
    EXPECT_EQ(ab.x1, ab.x2);
    EXPECT_EQ(ab.y1 - ab.y2, 10);
    EXPECT_EQ(bc.x1, bc.x2);
    EXPECT_EQ(bc.y1, bc.y2);

    f.Check1.setvalue(0);
    f.markblock(3);
    EXPECT_EQ(f.Map.lines()[4].colour, 0x0000FF);
}

TEST(Markblock, SkipsIndicesOutsideTheTable) {
    Harness h;
    h.form.markblock(-1);
    h.form.markblock(1000);
    EXPECT_TRUE(h.form.Map.lines().empty());
}

// Each slot's corners are kept between redraws: a block whose position,
// sizes or angle change must be drawn where it now is.
TEST(Refreshmap, AnEditedBlockIsDrawnWhereItNowIs) {
    Harness h;
    auto& f = h.form;
    f.blocks[0] = block(10, 5, 2, 1);
    for (float Block::*field : {&Block::x, &Block::z, &Block::sizex, &Block::sizez, &Block::angle}) {
        f.refreshmap();
        f.blocks[0].*field += 3;
        f.refreshmap();
        const Block& b = f.blocks[0];
        const auto k = squarecorners(b.x, b.z, b.sizex, b.sizez, b.angle * kDegToRad);
        EXPECT_EQ(f.Map.lines(), outline(k[0].h, k[0].v, k[1].h, k[1].v, k[2].h, k[2].v, k[3].h, k[3].v, 0));
    }
}
