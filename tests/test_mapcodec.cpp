#include "document/mapcodec.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace qs;

namespace {

std::vector<std::byte> bytes(std::initializer_list<int> values) {
    std::vector<std::byte> out;
    for (int v : values) out.push_back(static_cast<std::byte>(v));
    return out;
}

std::vector<std::byte> le32(std::uint32_t v) {
    return bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
}
std::vector<std::byte> single(float f) { return le32(std::bit_cast<std::uint32_t>(f)); }

std::vector<std::byte> cat(std::initializer_list<std::vector<std::byte>> parts) {
    std::vector<std::byte> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Block red() { return Block{1.5f, -2, 1, 1, 0, 0.5f, 30, 16711680}; }

} // namespace

TEST(MapCodec, EmptyTableIsThirtyTwoBytesWithANegativeZeroAngle) {
    BlockTable t{};
    const auto file = encodemap(t);
    std::vector<std::byte> expected(32, std::byte{0});
    expected[27] = std::byte{0x80};
    EXPECT_EQ(file, expected);

    BlockTable back;
    back[5].sizex = 9; // replaced by the read
    decodemap(file, back);
    EXPECT_EQ(back, BlockTable{});
    EXPECT_FALSE(std::signbit(back[0].angle));
}

// Height before Bottom, the angle stored negated, the colour's bytes low first.
TEST(MapCodec, PureRedBlockFieldByField) {
    BlockTable t{};
    t[0] = red();
    EXPECT_EQ(encodemap(t), cat({single(1.5f), single(-2), single(1), single(1), bytes({0x00, 0x00, 0x00, 0x3F}),
                                 single(0), single(-30), bytes({0x00, 0x00, 0xFF, 0x00})}));
}

TEST(MapCodec, SavedRunStopsAtTheFirstZeroSize) {
    BlockTable t;
    t.fill(red());
    EXPECT_EQ(encodemap(t).size(), 32000u);
    t[3].sizex = 0;
    t[3].sizez = 2;
    EXPECT_EQ(savedruncount(t), 3);
    EXPECT_EQ(encodemap(t).size(), 96u);
    t[3] = red();
    t[4].sizez = 0;
    EXPECT_EQ(savedruncount(t), 4);
    // Slot 0 is written whatever its sizes; negative sizes do not stop it.
    BlockTable u{};
    u[1] = Block{0, 0, -1, -1, 0, 0, 0, 0};
    EXPECT_EQ(savedruncount(u), 2);
}

TEST(MapCodec, ReadsWholeRecordsAndAtMostAThousand) {
    BlockTable t;
    t.fill(red());
    auto file = encodemap(t);
    file.resize(32 * 1000 + 32 * 31 + 7, std::byte{0x41});

    BlockTable back{};
    decodemap(file, back);
    EXPECT_EQ(back, t);

    std::vector<std::byte> forty(file.begin(), file.begin() + 40);
    decodemap(forty, back);
    EXPECT_EQ(back[0], red());
    EXPECT_EQ(back[1], Block{});

    std::vector<std::byte> partial(file.begin(), file.begin() + 31);
    decodemap(partial, back);
    EXPECT_EQ(back, BlockTable{});
    decodemap({}, back);
    EXPECT_EQ(back, BlockTable{});
}

TEST(MapCodec, RoundTripKeepsEveryBitIncludingOddValues) {
    BlockTable t{};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    t[0] = Block{-0.0f, 1e-45f, 1e30f, 2, -5, 7, nan, -1};
    t[1] = Block{inf, -inf, 1, 1, 3.4e38f, 3.4e38f, -0.0f, 2147483647};
    t[2] = Block{1, 2, 3, 4, 5, 6, 45.5f, 0x123456};
    BlockTable back{};
    decodemap(encodemap(t), back);
    for (int i = 0; i < 3; ++i) {
        const auto& a = t[static_cast<std::size_t>(i)];
        const auto& b = back[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::memcmp(&a, &b, sizeof(Block)), 0) << "slot " << i;
    }
    EXPECT_EQ(back[3], Block{});
}
