#include "document/numtext.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace qs;

namespace {
const double kBig = std::numeric_limits<double>::max();
const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
} // namespace

TEST(Readnum, ReadsTheLeadingNumberAndSaturatesBeyondTheRange) {
    const std::pair<std::string, double> cases[] = {
        {"", 0}, {"abc", 0}, {"-", 0}, {"12abc", 12}, {" .5", 0.5}, {"1e2", 100}, {"1E2", 100}, {" 1 2", 12},
        {"-12.5", -12.5}, {"+7", 7}, {"1.5E-1", 0.15}, {"- 5", -5}, {"1 E 2", 100}, {"+", 0}, {".", 0},
        {"e", 0}, {"1e", 1}, {"1e+", 1}, {"--5", 0}, {"5-", 5}, {"1.2.3", 1.2}, {"2,5", 2},
        {"\xC3\xA9" "5", 0}, {"0x10", 0}, {"Inf", 0}, {"NaN", 0}, {"1e999", kBig}, {"-1e999", -kBig},
        {"9e99999999999999999999", kBig}, {"1e-999", 0}, {"1e-99999999999999999999", 0},
        {std::string(400, '9'), kBig}, {"0." + std::string(400, '0') + "1", 0}, {"0e999", 0},
        {"0." + std::string(300, '0') + "1e301", 1}, {std::string(100000, '0') + "7", 7}};
    for (const auto& [text, value] : cases) EXPECT_EQ(readnum(text), value) << text.substr(0, 40);
}

TEST(Numstr, NumberTexts) {
    const std::pair<std::string, std::string> cases[] = {
        {numstr(0.0f), " 0"}, {numstr(-0.0f), " 0"}, {numstr(0.1f), " .1"}, {numstr(1234567.5f), " 1234568"},
        {numstr(0.5), " .5"}, {numstr(-0.25), "-.25"}, {numstr(7.0), " 7"}, {numstr(1.23456789f), " 1.234568"},
        {numstr(1.23456789), " 1.23456789"}, {numstr(0.1 + 0.2), " .3"}, {numstr(100.0f), " 100"},
        {numstr(std::int32_t{-3}), "-3"}, {numstr(std::int32_t{2147483647}), " 2147483647"},
        // One exponent switch for both precisions, below 1E-4 and from 1E+15.
        {numstr(0.0001), " .0001"}, {numstr(0.0001f), " .0001"}, {numstr(0.00001), " 1E-05"},
        {numstr(0.00001f), " 1E-05"}, {numstr(-0.000012345), "-1.2345E-05"},
        {numstr(999999999999999.0), " 999999999999999"}, {numstr(1e15), " 1E+15"}, {numstr(1e15f), " 1E+15"},
        {numstr(12345678.0f), " 12345680"}, {numstr(std::numeric_limits<float>::max()), " 3.402823E+38"},
        {numstr(kBig), " 1.79769313486232E+308"}, {numstr(1e-45f), " 1E-45"}, {numstr(1e100), " 1E+100"}, {numstr(1e-10), " 1E-10"}, {numstr(2e-9f), " 2E-09"},
        {numstr(kNaN), " NaN"}, {numstr(kInf), " Inf"}, {numstr(-kInf), "-Inf"}, {plainnum(-kInf), "-Inf"},
        {signless(-kInf), "Inf"}, {plainnum(0.5), "0.5"}, {plainnum(-3.0), "-3"}, {plainnum(-0.25f), "-0.25"},
        {plainnum(0.0f), "0"}, {plainnum(12.5f), "12.5"}, {plainnum(0.00001), "1E-05"},
        {plainnum(std::int32_t{-32768}), "-32768"}, {signless(-3.75f), "3.75"}, {signednum(-3.75f), "-3.75"},
        {signednum(0.5f), ".5"}, {signednum(0.0f), "0"}, {std::string(signchar(-0.0f)), ""}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
    for (float v : {kNaN, kInf, -kInf}) EXPECT_EQ(readnum(numstr(v)), 0);
}

// Every text written reads back to a finite value, and a single's text read
// as a double is written back as the same text: the field handlers and the
// list rebuild then never rewrite each other. Short decimals read back
// exactly.
TEST(Numstr, TextsReadBackAndSettleAcrossPrecisions) {
    std::mt19937 gen(1234);
    for (int i = 0; i < 200000; ++i) {
        const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
        const std::string text = numstr(f);
        ASSERT_TRUE(std::isfinite(readnum(text))) << text;
        if (!std::isfinite(f)) continue;
        ASSERT_EQ(numstr(readnum(text)), text) << "double text differs for " << text;
        ASSERT_EQ(numstr(static_cast<float>(readnum(text))), text) << "single text unstable: " << text;
        ASSERT_EQ(plainnum(readnum(plainnum(f))), plainnum(f));
    }
    std::uniform_int_distribution<int> digits(-9999999, 9999999), scale(-12, 12);
    for (int i = 0; i < 50000; ++i) {
        const double d = readnum(std::to_string(digits(gen)) + "e" + std::to_string(scale(gen)));
        const auto f = static_cast<float>(d);
        ASSERT_EQ(static_cast<float>(readnum(numstr(f))), f) << numstr(f);
        ASSERT_EQ(readnum(numstr(d)), d) << numstr(d);
        ASSERT_EQ(readnum(plainnum(d)), d) << plainnum(d);
    }
}

TEST(Towhole, RoundsHalvesToEvenAndKeepsToItsRange) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const std::pair<double, int> small[] = {{0.5, 0},        {1.5, 2},         {2.5, 2},     {-1.5, -2},
                                            {-2.5, -2},      {32767.4, 32767}, {32767.5, 32767},
                                            {-32768.5, -32768}, {1e10, 32767}, {-1e10, -32768}, {nan, 0}};
    for (auto [v, whole] : small) EXPECT_EQ(towhole16(v), whole) << v;
    const std::pair<double, std::int64_t> large[] = {{359.5, 360},       {358.5, 358},         {2.4999999, 2},
                                                     {-0.4, 0},          {1e300, 2147483647},  {-1e300, -2147483648},
                                                     {inf, 2147483647}, {-inf, -2147483648}, {nan, 0}};
    for (auto [v, whole] : large) EXPECT_EQ(towhole32(v), whole) << v;
}

TEST(Tosingle, CapsBeyondTheSingleRange) {
    const float big = std::numeric_limits<float>::max();
    EXPECT_EQ(tosingle(1e99), big);
    EXPECT_EQ(tosingle(-1e99), -big);
    EXPECT_EQ(tosingle(0.1), 0.1f);
    EXPECT_EQ(tosingle(3.4028235e38), big);
}
