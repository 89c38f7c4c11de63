// Hostile files and texts: each opens, lists, draws, edits and saves without
// ending the program, and what is saved reads back to what the list shows.
#include "document/numtext.h"
#include "support/actor.h"
#include "support/transcript.h"

#include <limits>

using namespace qs;
using namespace qs::test;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<Block> repeat(const Block& b, int n) { return std::vector<Block>(static_cast<std::size_t>(n), b); }

struct Hostile : ::testing::TestWithParam<std::pair<const char*, std::vector<std::byte>>> {};

} // namespace

TEST_P(Hostile, FileOpensListsDrawsEditsAndSaves) {
    Transcript t;
    writebytes(t.dir.file("in.QRD"), GetParam().second);
    t.play({{"open in.QRD", "status=Opened: in.QRD"}});
    ASSERT_EQ(checkinvariants(t.f), "");
    // Every row selected once, the last one edited.
    const int rows = t.f.List1.listcount();
    for (int row = 0; row < rows; row += std::max(1, rows / 50)) t.p.select(row);
    t.run("select 0; paste heighted 2; arrow BottomSB(2) 1; click Check1");
    ASSERT_EQ(checkinvariants(t.f), "");
    t.play({{"save out.QRD", "status=Saved: out.QRD"}});
    ASSERT_EQ(checkinvariants(t.f), "");
    BlockTable back;
    decodemap(readbytes(t.dir.file("out.QRD")), back);
    const int saved = savedruncount(back);
    EXPECT_EQ(readbytes(t.dir.file("out.QRD")).size(), static_cast<std::size_t>(saved) * 32u);
    for (int i = 0; i < std::min(saved, t.f.List1.listcount()); ++i)
        EXPECT_EQ(rowtext(back[static_cast<std::size_t>(i)]), t.f.List1.rows()[static_cast<std::size_t>(i)]) << "slot " << i;
}

INSTANTIATE_TEST_SUITE_P(
    MapFiles, Hostile,
    ::testing::Values(
        std::make_pair("every record NaN", std::vector<std::byte>(320, std::byte{0xFF})),
        std::make_pair("infinities and negative zero",
                       filebytes({Block{kInf, kInf, kInf, kInf, kInf, kInf, kInf, 1},
                                  Block{-kInf, -kInf, -kInf, -kInf, -kInf, -kInf, -kInf, 2},
                                  Block{-0.0f, -0.0f, -0.0f, -0.0f, -0.0f, -0.0f, -0.0f, 0},
                                  Block{-0.0f, 1, 1, 1, -0.0f, -0.0f, -0.0f, 0}})),
        std::make_pair("denormals", filebytes(repeat(Block{1e-45f, -1e-40f, 1e-44f, 1e-38f, 1e-39f, 1e-45f,
                                                           -1e-45f, 3}, 5))),
        std::make_pair("huge sizes", filebytes({block(1, 1, 1e30f, 1e30f), block(2, 2, -1e30f, -1e30f),
                                                block(3, 3, 1e30f, -1e30f), block(4, 4, 2, 2)})),
        std::make_pair("bottom and height beyond the single range",
                       filebytes(repeat(block(1, 1, 1, 1, 3e38f, 3e38f), 3))),
        std::make_pair("colours -1 and 2^31-1",
                       filebytes({block(1, 1, 1, 1, 0, 0, 0, -1), block(2, 2, 1, 1, 0, 0, 0, 2147483647)})),
        std::make_pair("1000 records", filebytes(repeat(block(1, 1, 1, 1), 1000))),
        std::make_pair("1001 records", filebytes(repeat(block(1, 1, 1, 1), 1001))),
        std::make_pair("999 records", filebytes(repeat(block(1, 1, 1, 1), 999))),
        std::make_pair("31 bytes", std::vector<std::byte>(31, std::byte{0x41})),
        std::make_pair("33 bytes", std::vector<std::byte>(33, std::byte{0x41})),
        std::make_pair("no bytes", std::vector<std::byte>{}),
        std::make_pair("1000 blocks wider than their columns",
                       filebytes(repeat(block(-12.3456f, 1234567, 99.125f, 0.0123456f, -999.999f, 123456.7f,
                                              -359.75f, 0xABCDEF), 1000)))),
    [](const auto& param) {
        std::string name = param.param.first;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(HostileTexts, AHundredThousandCharactersInEachField) {
    Harness h(true);
    h.load(3);
    h.form.List1.setlistindex(1);
    for (char c : {'9', '-', '.', 'e', 'x'}) {
        for (ui::TextField* field : {&h.form.posxed, &h.form.posyed, &h.form.sizexed, &h.form.sizeyed,
                                     &h.form.bottomed, &h.form.heighted, &h.form.angleed}) {
            h.form.dispatch.resetmaxdepth();
            field->settext(std::string(100000, c));
            ASSERT_EQ(checkinvariants(h.form), "") << field->name() << " " << c;
            EXPECT_LE(field->text().size(), 21u) << field->name();
            EXPECT_TRUE(hasnumber(field->text())) << field->name();
        }
    }
    // A hundred thousand nines: X reads as the largest double and is kept as
    // the largest single; the sizes read five characters and are capped.
    h.load(3);
    h.form.List1.setlistindex(1);
    h.form.posxed.settext(std::string(100000, '9'));
    EXPECT_EQ(h.form.posxed.text(), "3.402823E+38");
    h.form.sizexed.settext(std::string(100000, '9'));
    EXPECT_EQ(h.form.sizexed.text(), "100");
}
