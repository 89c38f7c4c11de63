#include "document/numtext.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace qs;

TEST(Readnum, ReadsTheLeadingNumber) {
    EXPECT_EQ(readnum(""), 0);
    EXPECT_EQ(readnum("abc"), 0);
    EXPECT_EQ(readnum("-"), 0);
    EXPECT_EQ(readnum("12abc"), 12);
    EXPECT_EQ(readnum(" .5"), 0.5);
    EXPECT_EQ(readnum("1e2"), 100);
    EXPECT_EQ(readnum("1E2"), 100);
    EXPECT_EQ(readnum(" 1 2"), 12);
    EXPECT_EQ(readnum("-12.5"), -12.5);
    EXPECT_EQ(readnum("+7"), 7);
    EXPECT_EQ(readnum("1.5E-1"), 0.15);
    EXPECT_EQ(readnum("- 5"), -5);
    EXPECT_EQ(readnum("1 E 2"), 100);
}

TEST(Readnum, StopsAtWhatIsNotPartOfANumber) {
    EXPECT_EQ(readnum("+"), 0);
    EXPECT_EQ(readnum("."), 0);
    EXPECT_EQ(readnum("e"), 0);
    EXPECT_EQ(readnum("1e"), 1);
    EXPECT_EQ(readnum("1e+"), 1);
    EXPECT_EQ(readnum("--5"), 0);
    EXPECT_EQ(readnum("5-"), 5);
    EXPECT_EQ(readnum("1.2.3"), 1.2);
    EXPECT_EQ(readnum("2,5"), 2);
    EXPECT_EQ(readnum("\xC3\xA9" "5"), 0);
    EXPECT_EQ(readnum("0x10"), 0);
    EXPECT_EQ(readnum("Inf"), 0);
    EXPECT_EQ(readnum("NaN"), 0);
}

TEST(Readnum, ExponentsBeyondTheDoubleRangeSaturate) {
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(readnum("1e999"), big);
    EXPECT_EQ(readnum("-1e999"), -big);
    EXPECT_EQ(readnum("9e99999999999999999999"), big);
    EXPECT_EQ(readnum("1e-999"), 0);
    EXPECT_EQ(readnum("1e-99999999999999999999"), 0);
    EXPECT_EQ(readnum(std::string(400, '9')), big);
    EXPECT_EQ(readnum("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(readnum("0e999"), 0);
    // A long run of digits that stays in range is read exactly.
    EXPECT_EQ(readnum("0." + std::string(300, '0') + "1e301"), 1);
    EXPECT_EQ(readnum(std::string(100000, '0') + "7"), 7);
}

TEST(Numstr, WritesTheShortestDigitsWithALeadingBlankOrSign) {
    EXPECT_EQ(numstr(0.0f), " 0");
    EXPECT_EQ(numstr(-0.0f), " 0");
    EXPECT_EQ(numstr(0.1f), " .1");
    EXPECT_EQ(numstr(1234567.5f), " 1234568");
    EXPECT_EQ(numstr(0.5), " .5");
    EXPECT_EQ(numstr(-0.25), "-.25");
    EXPECT_EQ(numstr(7.0), " 7");
    EXPECT_EQ(numstr(1.234568f), " 1.234568");
    EXPECT_EQ(numstr(1.23456789f), " 1.234568");
    EXPECT_EQ(numstr(1.23456789), " 1.23456789");
    EXPECT_EQ(numstr(0.1 + 0.2), " .3");
    EXPECT_EQ(numstr(100.0f), " 100");
    EXPECT_EQ(numstr(std::int32_t{-3}), "-3");
    EXPECT_EQ(numstr(std::int32_t{2147483647}), " 2147483647");
}

TEST(Numstr, SwitchesToExponentsAtTheSameMagnitudesInBothPrecisions) {
    EXPECT_EQ(numstr(0.0001), " .0001");
    EXPECT_EQ(numstr(0.0001f), " .0001");
    EXPECT_EQ(numstr(0.00001), " 1E-05");
    EXPECT_EQ(numstr(0.00001f), " 1E-05");
    EXPECT_EQ(numstr(-0.000012345), "-1.2345E-05");
    EXPECT_EQ(numstr(999999999999999.0), " 999999999999999");
    EXPECT_EQ(numstr(1e15), " 1E+15");
    EXPECT_EQ(numstr(1e15f), " 1E+15");
    EXPECT_EQ(numstr(12345678.0f), " 12345680");
    EXPECT_EQ(numstr(std::numeric_limits<float>::max()), " 3.402823E+38");
    EXPECT_EQ(numstr(std::numeric_limits<double>::max()), " 1.79769313486232E+308");
    EXPECT_EQ(numstr(1e-45f), " 1E-45");
}

TEST(Numstr, ValuesThatAreNotFiniteGetTextsThatReadAsZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(numstr(nan), " NaN");
    EXPECT_EQ(numstr(inf), " Inf");
    EXPECT_EQ(numstr(-inf), "-Inf");
    EXPECT_EQ(plainnum(-inf), "-Inf");
    EXPECT_EQ(signless(-inf), "Inf");
    for (float v : {nan, inf, -inf}) EXPECT_EQ(readnum(numstr(v)), 0);
}

TEST(Plainnum, HasNoBlankAndALeadingZero) {
    EXPECT_EQ(plainnum(0.5), "0.5");
    EXPECT_EQ(plainnum(-3.0), "-3");
    EXPECT_EQ(plainnum(-0.25f), "-0.25");
    EXPECT_EQ(plainnum(0.0f), "0");
    EXPECT_EQ(plainnum(12.5f), "12.5");
    EXPECT_EQ(plainnum(0.00001), "1E-05");
    EXPECT_EQ(plainnum(std::int32_t{1000}), "1000");
    EXPECT_EQ(plainnum(std::int32_t{-32768}), "-32768");
}

TEST(SignForms, ComposeSignAndSignlessText) {
    EXPECT_EQ(signless(-3.75f), "3.75");
    EXPECT_EQ(signednum(-3.75f), "-3.75");
    EXPECT_EQ(signednum(12.5f), "12.5");
    EXPECT_EQ(signednum(0.5f), ".5");
    EXPECT_EQ(signednum(0.0f), "0");
    EXPECT_EQ(signchar(-0.0f), "");
}

// Every text written reads back to a finite value, and a single's text read
// as a double is written back as the same text: the field handlers and the
// list rebuild then never rewrite each other.
TEST(Numstr, TextsReadBackAndSettleAcrossPrecisions) {
    std::mt19937 gen(1234);
    for (int i = 0; i < 200000; ++i) {
        const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
        const std::string text = numstr(f);
        const double back = readnum(text);
        ASSERT_TRUE(std::isfinite(back)) << text;
        if (!std::isfinite(f)) continue;
        ASSERT_EQ(numstr(back), text) << "double text differs for " << text;
        ASSERT_EQ(numstr(static_cast<float>(back)), text) << "single text unstable: " << text;
        const std::string plain = plainnum(f);
        ASSERT_EQ(plainnum(readnum(plain)), plain);
    }
}

TEST(Numstr, ShortDecimalsRoundTripExactly) {
    std::mt19937 gen(99);
    std::uniform_int_distribution<int> digits(-9999999, 9999999);
    std::uniform_int_distribution<int> scale(-12, 12);
    for (int i = 0; i < 50000; ++i) {
        const double d =
            readnum(std::to_string(digits(gen)) + "e" + std::to_string(scale(gen)));
        const float f = static_cast<float>(d);
        ASSERT_EQ(static_cast<float>(readnum(numstr(f))), f) << numstr(f);
        ASSERT_EQ(readnum(numstr(d)), d) << numstr(d);
        ASSERT_EQ(readnum(plainnum(d)), d) << plainnum(d);
    }
}

TEST(Towhole, RoundsHalvesToEven) {
    EXPECT_EQ(towhole16(0.5), 0);
    EXPECT_EQ(towhole16(1.5), 2);
    EXPECT_EQ(towhole16(2.5), 2);
    EXPECT_EQ(towhole16(-1.5), -2);
    EXPECT_EQ(towhole16(-2.5), -2);
    EXPECT_EQ(towhole32(359.5), 360);
    EXPECT_EQ(towhole32(358.5), 358);
    EXPECT_EQ(towhole32(2.4999999), 2);
    EXPECT_EQ(towhole32(-0.4), 0);
}

TEST(Towhole, OutsideTheRangeGivesTheNearestEnd) {
    EXPECT_EQ(towhole16(32767.4), 32767);
    EXPECT_EQ(towhole16(32767.5), 32767);
    EXPECT_EQ(towhole16(-32768.5), -32768);
    EXPECT_EQ(towhole16(1e10), 32767);
    EXPECT_EQ(towhole16(-1e10), -32768);
    EXPECT_EQ(towhole32(1e300), 2147483647);
    EXPECT_EQ(towhole32(-1e300), -2147483647 - 1);
    EXPECT_EQ(towhole32(std::numeric_limits<double>::infinity()), 2147483647);
    EXPECT_EQ(towhole32(-std::numeric_limits<double>::infinity()), -2147483647 - 1);
    EXPECT_EQ(towhole16(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(towhole32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Tosingle, CapsBeyondTheSingleRange) {
    const float big = std::numeric_limits<float>::max();
    EXPECT_EQ(tosingle(1e99), big);
    EXPECT_EQ(tosingle(-1e99), -big);
    EXPECT_EQ(tosingle(0.1), 0.1f);
    EXPECT_EQ(tosingle(3.4028235e38), big);
}
