#include "blocklist/rowtext.h"
#include "document/mapcodec.h"
#include "support/fixture.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <limits>

using namespace qs;
using qs::test::block;
using qs::test::Harness;
using qs::test::numbered;
using qs::test::Person;
using qs::test::kFree;
using qs::test::Started;
using qs::test::readbytes;
using qs::test::TempDir;
using qs::test::writebytes;

namespace {


struct Files : Started {
    TempDir dir;

    void chooseopen(const std::string& path) { h.filedialog.opens.push_back({path, filetitle(path)}); }
    void choosesave(const std::string& path) { h.filedialog.saves.push_back({path, filetitle(path)}); }
    static std::string filetitle(const std::string& path) { return std::filesystem::path(path).filename().string(); }

    static std::vector<std::byte> records(int n, const std::function<Block(int)>& make = numbered) {
        std::vector<Block> blocks;
        for (int i = 0; i < n; ++i) blocks.push_back(make(i));
        return test::filebytes(blocks);
    }
};

} // namespace

TEST_F(Files, SavingAfterNewWritesTheThirtyTwoByteFile) {
    p.press("New");
    const std::string path = dir.file("empty.QRD");
    choosesave(path);
    p.press("Save");
    std::vector<std::byte> expected(32, std::byte{0});
    expected[27] = std::byte{0x80};
    EXPECT_EQ(readbytes(path), expected);
    EXPECT_EQ(f.sbStatusBar.text(1), "Saved: empty.QRD");

    h.load(3);
    chooseopen(path);
    p.press("Open");
    EXPECT_EQ(f.blocks, BlockTable{});
    EXPECT_EQ(f.List1.rows(), std::vector<std::string>{kFree});
    EXPECT_EQ(f.sbStatusBar.text(1), "Opened: empty.QRD");
}

TEST_F(Files, SavedBlocksReadBackOverTheSavedRun) {
    h.load(6, [](int i) {
        const auto v = static_cast<float>(i);
        return block(v * 1.5f, -2, 1 + v, 1, 0.25f, 0.5f, 30 * v, 0x10000 * i + 7);
    });
    f.blocks[4].sizex = 0; // 0 and 1: ends the saved run
    f.refreshlist();
    const auto before = f.blocks;
    const std::string path = dir.file("run.QRD");
    choosesave(path);
    p.press("Save");
    EXPECT_EQ(readbytes(path).size(), 4u * 32u);

    p.press("New");
    chooseopen(path);
    p.press("Open");
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(f.blocks[i], before[i]) << "slot " << i;
    EXPECT_EQ(f.blocks[4], Block{});
    EXPECT_EQ(f.blocks[2].angle, 60); // negated twice
}

TEST_F(Files, CancelledDialogsChangeNothingButSaveStillCompacts) {
    h.load(3);
    f.blocks[1] = Block{};
    const auto gapped = f.blocks;
    p.press("Open"); // the scripted dialog answers "cancelled"
    EXPECT_EQ(f.blocks, gapped);
    p.press("Save");
    EXPECT_EQ(f.blocks[1], numbered(2));
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");
    EXPECT_TRUE(dir.names().empty());
}

TEST_F(Files, FileLengthsDecideHowManyBlocksOpen) {
    const std::pair<int, int> cases[] = {{0, 0}, {31, 0}, {40, 1}, {32000, 1000}, {33000, 1000}};
    for (auto [length, blocks] : cases) {
        const std::string path = dir.file("len" + std::to_string(length) + ".QRD");
        auto bytes = records(length / 32 + 1);
        bytes.resize(static_cast<std::size_t>(length));
        writebytes(path, bytes);
        chooseopen(path);
        p.press("Open");
        int listed = 0;
        while (listed < kSlots && !endslistedrun(f.blocks[static_cast<std::size_t>(listed)])) ++listed;
        EXPECT_EQ(listed, blocks) << length << " bytes";
        EXPECT_EQ(f.sbStatusBar.text(1), "Opened: " + filetitle(path));
    }
}

TEST_F(Files, AGapInAFileIsListedUpToItDrawnBeyondItAndClosedBySave) {
    const std::string path = dir.file("gap.QRD");
    auto bytes = records(5);
    std::fill(bytes.begin() + 2 * 32 + 8, bytes.begin() + 2 * 32 + 16, std::byte{0}); // record 2's sizes
    writebytes(path, bytes);
    chooseopen(path);
    p.press("Open");
    EXPECT_EQ(f.List1.listcount(), 3); // records 0, 1 and the free slot 2
    // Record 4 (X 5, Size Z 1) is drawn although it is not listed.
    const auto& lines = f.Map.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const ui::Line& l) { return l.y1 == 6; }));
    const std::string out = dir.file("closed.QRD");
    choosesave(out);
    p.press("Save");
    auto expected = records(5);
    expected.erase(expected.begin() + 64, expected.begin() + 96);
    EXPECT_EQ(readbytes(out), expected);
}

TEST_F(Files, OddValuesOpenListDrawEditAndSave) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::string path = dir.file("odd.QRD");
    writebytes(path, records(6, [&](int i) {
                   switch (i) {
                   case 0: return block(nan, inf, 1, 1, -inf, nan, nan, -1);
                   case 1: return block(1, 1, 1e30f, 1e30f, 3e38f, 3e38f, 1e30f, 2147483647);
                   case 2: return block(-1e-40f, 1, 150, 2, -5, 0, -0.0f, 0);
                   case 3: return block(1, 1, nan, 7, 0, 0, 0, 0);
                   default: return numbered(i);
                   }
               }));
    chooseopen(path);
    p.press("Open");
    EXPECT_EQ(f.sbStatusBar.text(1), "Opened: odd.QRD");
    // The selected block shows defined texts and holds them after the rebuild.
    EXPECT_EQ(f.posxed.text(), "0");
    EXPECT_EQ(f.posyed.text(), "0");
    EXPECT_EQ(f.blocks[0].x, 0);
    EXPECT_EQ(f.List1.rows()[1], "     1     1 1E+30 1E+30 3E+38 3E+381E+30");
    EXPECT_EQ(f.List1.rows()[3].substr(12, 6), "   NaN");
    for (int row = 0; row < f.List1.listcount(); ++row) p.select(row);
    p.paste(f.sizexed, "3");
    choosesave(dir.file("odd2.QRD"));
    p.press("Save");
    EXPECT_EQ(f.sbStatusBar.text(1), "Saved 3 of 7 blocks: odd2.QRD (block 4 has a zero size)");
    BlockTable back;
    decodemap(readbytes(dir.file("odd2.QRD")), back);
    // What was saved is what the list shows.
    ASSERT_EQ(savedruncount(back), 3); // the NaN size of record 3 ends the saved run
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rowtext(back[static_cast<std::size_t>(row)]), f.List1.rows()[static_cast<std::size_t>(row)]);
}

TEST_F(Files, OpeningANewNameCreatesAnEmptyFile) {
    h.load(3);
    const std::string path = dir.file("new.QRD");
    chooseopen(path);
    p.press("Open");
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_EQ(f.blocks, BlockTable{});
    EXPECT_EQ(f.sbStatusBar.text(1), "Opened: new.QRD");
}

TEST_F(Files, SaveFailuresLeaveTheOldFileAndNoTemporaryFile) {
    h.load(3);
    std::filesystem::create_directory(dir.file("folder.QRD"));
    const std::pair<std::string, std::string> cases[] = {
        {dir.file("folder.QRD"), "Could not save: folder.QRD (Not a regular file)"},
        {dir.file("missing/x.QRD"), "Could not save: x.QRD (No such file or directory)"},
    };
    for (const auto& [path, text] : cases) {
        const auto table = f.blocks;
        choosesave(path);
        p.press("Save");
        EXPECT_EQ(f.sbStatusBar.text(1), text);
        EXPECT_EQ(f.blocks, table);
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"folder.QRD"});
}

TEST_F(Files, SavingOverAFileKeepsItsPermissions) {
    const std::string path = dir.file("mode.QRD");
    writebytes(path, records(1));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    h.load(2);
    choosesave(path);
    p.press("Save");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(readbytes(path).size(), 64u);
}
