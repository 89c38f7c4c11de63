// The document: numbers as texts, the slots and the table, exact value
// texts, and the bytes of a map file.
#include "document/document.h"
#include "document/edits.h"
#include "document/exact.h"
#include "document/footprint.h"
#include "document/mapcodec.h"
#include "document/numtext.h"
#include "document/table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace qs;

const double kBig = std::numeric_limits<double>::max();
const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Bytes written as hex pairs, spaces ignored: "0000c03f 00".
static std::vector<std::byte> hexbytes(const std::string& hex) {
    std::vector<std::byte> out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += hex[i] == ' ' ? 1u : 2u)
        if (hex[i] != ' ')
            out.push_back(static_cast<std::byte>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

const Block kRed{1.5f, -2, 1, 1, 0, 0.5f, 30, 16711680};

// Texts read as their leading number, saturating beyond the range; numbers
// written as texts, rounded to whole numbers, and as exact value texts.
TEST(NumberTexts, ReadWrittenRoundedExactAndSettlingAcrossPrecisions) {
    const std::pair<std::string, double> cases[] = {
        {"", 0},          {"abc", 0},      {"-", 0},          {"12abc", 12},    {" .5", 0.5},
        {"1e2", 100},     {"1E2", 100},    {" 1 2", 12},      {"-12.5", -12.5}, {"+7", 7},
        {"1.5E-1", 0.15}, {"- 5", -5},     {"1 E 2", 100},    {"+", 0},         {".", 0},
        {"e", 0},         {"1e", 1},       {"1e+", 1},        {"--5", 0},       {"5-", 5},
        {"1.2.3", 1.2},   {"2,5", 2},      {"\u00e95", 0},    {"0x10", 0},      {"Inf", 0},
        {"NaN", 0},       {"1e999", kBig}, {"-1e999", -kBig}, {"1e-999", 0},    {"0e999", 0},
        {" NaN", 0},      {" Inf", 0},     {"-Inf", 0}}; // as numbers are written
    for (const auto& [text, value] : cases)
        EXPECT_EQ(readnum(text), value) << text;
    for (const auto& [text, has] :
         {std::pair{"+5", true}, {" - .5", true}, {"..5", false}, {"-", false}, {"5", true}})
        EXPECT_EQ(hasnumber(text), has) << text;
    // Long texts.
    EXPECT_EQ(readnum("9e99999999999999999999"), kBig);
    EXPECT_TRUE(std::signbit(readnum("-0")) && !std::signbit(readnum("-")));
    EXPECT_EQ(readnum("1e-99999999999999999999"), 0);
    EXPECT_EQ(readnum(std::string(400, '9')), kBig);
    EXPECT_EQ(readnum("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(readnum("0." + std::string(300, '0') + "1e301"), 1);
    EXPECT_EQ(readnum(std::string(100000, '0') + "7"), 7);
    // Singles in seven digits, doubles in fifteen; one exponent switch for
    // both, below 1E-4 and from 1E+15; then whole numbers, and the texts
    // without a sign's space.
    const std::pair<float, const char*> singles[] = {
        {0.0f, " 0"},   {kInf, " Inf"},    {2e-9f, " 2E-09"},    {1234567.5f, " 1234568"},
        {-0.0f, " 0"},  {-kInf, "-Inf"},   {1e-45f, " 1E-45"},   {1.23456789f, " 1.234568"},
        {0.1f, " .1"},  {100.0f, " 100"},  {0.0001f, " .0001"},  {12345678.0f, " 12345680"},
        {kNaN, " NaN"}, {1e15f, " 1E+15"}, {0.00001f, " 1E-05"}, {3.4028235e38f, " 3.402823E+38"}};
    for (const auto& [v, text] : singles)
        EXPECT_EQ(numstr(v), text);
    const std::pair<double, const char*> doubles[] = {
        {7.0, " 7"},      {0.1 + 0.2, " .3"},  {1.23456789, " 1.23456789"},
        {0.5, " .5"},     {0.0001, " .0001"},  {-0.000012345, "-1.2345E-05"},
        {-0.25, "-.25"},  {1e100, " 1E+100"},  {999999999999999.0, " 999999999999999"},
        {1e15, " 1E+15"}, {0.00001, " 1E-05"}, {kBig, " 1.79769313486232E+308"},
        {1e-10, " 1E-10"}};
    for (const auto& [v, text] : doubles)
        EXPECT_EQ(numstr(v), text);
    const std::pair<std::string, std::string> others[] = {
        {numstr(std::int32_t{-3}), "-3"}, {numstr(std::int32_t{2147483647}), " 2147483647"},
        {plainnum(-kInf), "-Inf"},        {signless(-kInf), "Inf"},
        {plainnum(0.5), "0.5"},           {plainnum(-3.0), "-3"},
        {plainnum(-0.25f), "-0.25"},      {plainnum(0.0f), "0"},
        {plainnum(12.5f), "12.5"},        {plainnum(0.00001), "1E-05"},
        {signless(-3.75f), "3.75"},       {plainnum(std::int32_t{-32768}), "-32768"},
        {signednum(-3.75f), "-3.75"},     {signednum(0.5f), ".5"},
        {signednum(0.0f), "0"},           {std::string(signchar(-0.0f)), ""}};
    for (const auto& [text, expected] : others)
        EXPECT_EQ(text, expected);
    EXPECT_EQ(plainnum(0.1234567890123456), "0.123456789012346"); // 15 digits at most
    // Whole numbers round halves to even and keep to their range; a single
    // caps beyond its own.
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const std::pair<double, int> small[] = {
        {0.5, 0},      {1.5, 2},         {2.5, 2},         {-1.5, -2},
        {-2.5, -2},    {32767.4, 32767}, {32767.5, 32767}, {-32768.5, -32768},
        {1e10, 32767}, {-1e10, -32768},  {nan, 0}};
    for (auto [v, whole] : small)
        EXPECT_EQ(towhole16(v), whole) << v;
    const std::pair<double, std::int64_t> large[] = {
        {359.5, 360},      {358.5, 358},        {2.4999999, 2},
        {-0.4, 0},         {1e300, 2147483647}, {-1e300, -2147483648},
        {inf, 2147483647}, {-inf, -2147483648}, {nan, 0}};
    for (auto [v, whole] : large)
        EXPECT_EQ(towhole32(v), whole) << v;
    const float big = std::numeric_limits<float>::max();
    EXPECT_EQ((std::array{tosingle(1e99), tosingle(-1e99), tosingle(0.1), tosingle(3.4028235e38)}),
              (std::array{big, -big, 0.1f, big}));
    // Exact value texts: every bit back, and nothing but such texts taken.
    for (std::uint32_t bits : {0x00000000u, 0x80000000u, 0x00000001u, 0x7f7fffffu, 0x7fc01234u,
                               0xffc00001u, 0x7f800000u, 0xff800000u, 0x3dcccccdu})
        EXPECT_EQ(std::bit_cast<std::uint32_t>(
                      readexact(exacttext(std::bit_cast<float>(bits))).value_or(1.5f)),
                  bits);
    EXPECT_EQ(exacttext(-std::numeric_limits<float>::infinity()), "-inf");
    for (const char* bad :
         {"", "abc", "1e99", "nan", "nan(0x3f800000)", "nan(0x7fc0123)", "inf ", "1,5"})
        EXPECT_FALSE(readexact(bad)) << bad;
    // Every text written reads back to a finite value, and a single's text read
    // as a double is written back as the same text: the field handlers and the
    // list rebuild then never rewrite each other. Short decimals read back
    // exactly.
    std::mt19937 gen(1234);
    for (int i = 0; i < 200000; ++i) {
        const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
        const std::string text = numstr(f);
        ASSERT_TRUE(std::isfinite(readnum(text))) << text;
        if (!std::isfinite(f)) continue;
        ASSERT_EQ(numstr(readnum(text)), text) << "double text differs for " << text;
        ASSERT_EQ(numstr(static_cast<float>(readnum(text))), text) << "single text unstable";
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

// A line is cut to a rectangle, or dropped when nothing of it is inside.
TEST(Footprint, LinesAreCutToTheRectangle) {
    using Line = std::array<double, 4>; // x1, y1, x2, y2; the cut line, or none when dropped
    const std::pair<Line, Line> cases[] = {
        {{-5, 5, 15, 5}, {0, 5, 10, 5}},    {{5, -10, 5, 30}, {5, 0, 5, 10}},
        {{2, 3, 4, 5}, {2, 3, 4, 5}},       {{-5, 20, 15, 20}, {}},
        {{-5, -5, 15, 15}, {0, 0, 10, 10}}, {{20, -5, 20, 15}, {}},
        {{-5, 0, 15, 0}, {0, 0, 10, 0}}}; // along an edge
    for (auto [line, cut] : cases) {
        const bool kept = cliptorect(line[0], line[1], line[2], line[3], 0, 10, 10);
        EXPECT_EQ(kept ? line : Line{}, cut);
    }
}

// Height before Bottom, the angle stored negated, the colour's bytes low
// first; an empty table is one record of zeros with a negative zero angle.
TEST(MapCodec, FieldByFieldEveryBitBackTheSavedRunAndTheSlotTests) {
    BlockTable t{};
    const std::string empty =
        "00000000 00000000 00000000 00000000 00000000 00000000 00000080 00000000";
    EXPECT_EQ(encodemap(t), hexbytes(empty));
    BlockTable back;
    back[5].sizex = 9; // replaced by the read
    decodemap(hexbytes(empty), back);
    EXPECT_EQ(std::pair(back, std::signbit(back[0].angle)), std::pair(BlockTable{}, false));
    t[0] = kRed;
    EXPECT_EQ(encodemap(t),
              hexbytes("0000c03f 000000c0 0000803f 0000803f 0000003f 00000000 0000f0c1 0000ff00"));
    // Every bit back, odd values included.
    const BlockTable odd{Block{-0.0f, 1e-45f, 1e30f, 2, -5, 7, kNaN, -1},
                         Block{kInf, -kInf, 1, 1, 3.4e38f, 3.4e38f, -0.0f, 2147483647},
                         Block{1, 2, 3, 4, 5, 6, 45.5f, 0x123456}};
    back.fill(kRed); // every slot is replaced
    decodemap(encodemap(odd), back);
    EXPECT_EQ(std::memcmp(&odd, &back, sizeof odd), 0);
    // The saved run stops at the first zero size; a read takes whole records
    // and at most a thousand.
    t.fill(kRed);
    auto file = encodemap(t);
    EXPECT_EQ(file.size(), 32000u);
    file.resize(32 * 1000 + 32 * 31 + 7, std::byte{0x41});
    decodemap(file, back);
    EXPECT_EQ(back, t);
    decodemap(std::span(file).first(40), back);
    EXPECT_EQ(std::pair(back[0], back[1]), std::pair(kRed, Block{}));
    decodemap(std::span(file).first(31), back);
    EXPECT_EQ(back, BlockTable{});
    t[3] = Block{0, 0, 0, 2};
    EXPECT_EQ(std::pair(savedruncount(t), encodemap(t).size()), std::pair(3, std::size_t{96}));
    t[3] = kRed;
    t[4].sizez = 0;
    EXPECT_EQ(savedruncount(t), 4);
    // Slot 0 is written whatever its sizes; negative sizes do not stop it.
    EXPECT_EQ(savedruncount(BlockTable{Block{}, Block{0, 0, -1, -1}}), 2);
    // The four slot tests differ, above all for NaN, negative and single zero
    // sizes: listed run, exactly empty, drawn, saved run.
    // Each block, then: ends the listed run, is empty, is drawn, goes on the saved run.
    const std::pair<Block, std::array<bool, 4>> cases[] = {
        {Block{0, 0, 0, 5}, {0, 0, 0, 0}},       {Block{0, 0, -1, -1}, {1, 0, 0, 1}},
        {Block{0, 0, kNaN, kNaN}, {1, 1, 0, 0}}, {Block{0, 0, kNaN, 3}, {0, 0, 0, 0}},
        {Block{5, 0, -0.0f, 0}, {1, 1, 0, 0}},   {Block{0, 0, 0.001f, 0.001f}, {0, 0, 1, 1}}};
    for (const auto& [b, tests] : cases)
        EXPECT_EQ((std::array{endslistedrun(b), isemptyslot(b), isdrawn(b), continuessavedrun(b)}),
                  tests)
            << b.sizex << " " << b.sizez;
    // What the window never asks of the table (the commands' own tests cover
    // the rest): a copy from no slot, emptying a slot beyond the table, and the
    // first empty slot of a full table, which is none.
    t = BlockTable{Block{1, 0, 1, 1}};
    EXPECT_EQ(copytofirstempty(t, -1), 1);
    emptyslot(t, 1000);
    EXPECT_EQ(std::pair(t[0], t[1]), std::pair(Block{1, 0, 1, 1}, Block{}));
    t.fill(Block{0, 0, 1, 1});
    EXPECT_EQ(firstemptyslot(t), kSlots);
}

// One change event per transaction, naming exactly the slots whose records
// changed; nested transactions fold into the outer one; one step each.
TEST(Document, TransactionsSelectionModifiedStateEditsAndSignals) {
    Document d;
    std::vector<std::vector<int>> events;
    const Connection listening =
        d.changed.connect([&](const Change& c) { events.push_back(c.changedslots); });
    d.begin("outer");
    d.set(3, kRed);
    d.begin("inner"); // folds into "outer"
    d.set(7, kRed);
    d.set(5, Block{}); // written, but unchanged: not announced
    d.commit();
    EXPECT_TRUE(events.empty());
    d.commit();
    EXPECT_EQ(std::pair(events, d.history.steps()),
              std::pair(std::vector<std::vector<int>>{{3, 7}}, std::size_t{1}));
    // A merge key joins steps; a transaction that changes nothing adds none.
    for (float x : {1.0f, 2.0f}) {
        Transaction t(d, "typing", "key");
        d.write(3).x = x;
    }
    { Transaction t(d, "nothing"); }
    EXPECT_EQ(d.history.steps(), 2u);
    // Undo inside a transaction of its own puts back the blocks of the step.
    d.begin({}, {}, false);
    EXPECT_EQ(d.undo()->what, "typing");
    d.commit();
    EXPECT_EQ(std::pair(d.blocks()[3], events.back()), std::pair(kRed, std::vector<int>{3}));
    // Writes outside a transaction are announced, without a step, as the next begins.
    d.set(9, kRed);
    { Transaction t(d, "none"); }
    EXPECT_EQ(std::pair(events.back(), d.history.steps()),
              std::pair(std::vector<int>{9}, std::size_t{2}));
    // The selection follows its blocks and the modified state its file.
    const BlockTable t{Block{0, 0, 1, 1}, Block{1, 0, 1, 1}, Block{2, 0, 1, 1},
                       Block{3, 0, 1, 1}, Block{4, 0, 1, 1}, Block{5, 0, 1, 1}};
    d.begin();
    d.replace(t);
    d.setselection(std::vector<int>{2, 4, 5});
    d.commit();
    EXPECT_TRUE(d.modified());
    d.markclean();
    EXPECT_FALSE(d.modified());
    d.begin();
    d.set(5, Block{}); // an emptied block leaves the selection
    d.carry(1);        // compaction: 2 and 4 move up one
    d.swap(0, 1);
    d.commit();
    EXPECT_EQ(std::tuple(d.selection(), d.blocks()[0].x, d.modified()),
              std::tuple(std::vector<int>{0, 3}, 2.0f, true));
    // Another file is compared with what it holds; back again, with this one's.
    d.setfile({"/a.QRD", "a.QRD"});
    d.markclean();
    d.setfile({});
    EXPECT_TRUE(d.modified());
    d.begin();
    d.replace(t);
    d.commit();
    EXPECT_TRUE(d.selection().empty());
    d.setfile({"/a.QRD", "a.QRD"});
    EXPECT_TRUE(d.modified());
    // Puts fill free slots or refuse, and gaps close in order.
    BlockTable full;
    full.fill(kRed);
    for (int i : {10, 500, 998})
        full[static_cast<std::size_t>(i)] = Block{};
    d.replace(full);
    const std::vector<Block> five(5, Block{1, 1, 1, 1});
    EXPECT_EQ(edits::put(d, five).refusal, "Not enough free slots: 5 needed, 3 free");
    EXPECT_EQ(d.blocks(), full);
    EXPECT_EQ(edits::put(d, std::span(five).first(2)).slots, (std::vector<int>{10, 500}));
    d.set(3, Block{});
    d.set(7, Block{});
    d.select(8);
    edits::closegaps(d);
    EXPECT_EQ(std::tuple(d.blocks()[3].x, d.blocks()[996].x, d.blocks()[997].x, d.selection()),
              std::tuple(1.5f, 1.5f, 0.0f, std::vector<int>{6}));
    // Moved and turned about a point: a quarter turn takes (z 1, x 1) to (-1, 1).
    d.set(0, Block{1, 1, 1, 1});
    edits::turn(d, std::vector<int>{0}, 0, 0, 90);
    edits::move(d, std::vector<int>{0}, 2, 3, 4);
    EXPECT_NEAR(d.blocks()[0].z, 1, 1e-6);
    EXPECT_NEAR(d.blocks()[0].x, 4, 1e-6);
    EXPECT_EQ(std::pair(d.blocks()[0].angle, d.blocks()[0].bottom), std::pair(90.0f, 4.0f));
    // Connections end with their owner, also during a notification.
    Signal<int> s;
    std::vector<int> heard;
    Connection b;
    Connection a = s.connect([&](int v) {
        heard.push_back(v);
        b.disconnect();
        if (v == 1) b = s.connect([&](int w) { heard.push_back(10 * w); });
    });
    b = s.connect([&](int v) { heard.push_back(-v); });
    s(1); // b ends before its turn; the new b waits for the next raise
    s(2);
    EXPECT_EQ(heard, (std::vector<int>{1, 2}));
    {
        Connection c = s.connect([&](int v) { heard.push_back(100 * v); });
        a.disconnect();
        s(3);
    }
    s(4);
    EXPECT_EQ(heard, (std::vector<int>{1, 2, 300}));
    auto gone = std::make_unique<Signal<>>();
    Connection outlives = gone->connect([] {});
    gone.reset();
    outlives.disconnect(); // the signal went first: nothing to end
}
