#include "document/rowtext.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "support/fixture.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qs;
using namespace qs::test;
namespace fs = std::filesystem;

namespace {

struct Files : Started {
    void open(const std::string& name) { run("open " + name); }
    static std::vector<std::byte> records(int n, const std::function<Block(int)>& make = numbered) {
        std::vector<Block> blocks;
        for (int i = 0; i < n; ++i) blocks.push_back(make(i));
        return filebytes(blocks);
    }
};

} // namespace

TEST_F(Files, TheEmptyMapIsThirtyTwoBytesAndBlocksReadBackOverTheSavedRun) {
    play({{"mark empty; press New; save empty.QRD", "status=Saved: empty.QRD"},
          {"load 3; open empty.QRD", "table=empty; status=Opened: empty.QRD"}});
    std::vector<std::byte> empty(32, std::byte{0});
    empty[27] = std::byte{0x80};
    EXPECT_EQ(readbytes(dir.file("empty.QRD")), empty);
    h.load(6, [](int i) {
        const auto v = static_cast<float>(i);
        return block(v * 1.5f, -2, 1 + v, 1, 0.25f, 0.5f, 30 * v, 0x10000 * i + 7);
    });
    f.blocks[4].sizex = 0; // 0 and 1: ends the saved run
    f.refreshlist();
    const auto before = f.blocks;
    play({{"save run.QRD; press New; open run.QRD", "b4=empty"}});
    EXPECT_EQ(readbytes(dir.file("run.QRD")).size(), 4u * 32u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(f.blocks[i], before[i]) << "slot " << i;
}

TEST_F(Files, CancelledDialogsChangeNothingButSaveStillCompacts) {
    // The scripted dialog answers "cancelled".
    play({{"load 3; put 1 empty; mark; press Open", "table=marked"}, {"press Save", "b1=n2; status=Status"}});
    EXPECT_TRUE(dir.names().empty());
}

TEST_F(Files, FileLengthsDecideHowManyBlocksOpen) {
    const std::pair<int, int> cases[] = {{0, 0}, {31, 0}, {40, 1}, {32000, 1000}, {33000, 1000}};
    for (auto [length, blocks] : cases) {
        auto bytes = records(length / 32 + 1);
        bytes.resize(static_cast<std::size_t>(length));
        writebytes(dir.file("len.QRD"), bytes);
        open("len.QRD");
        int listed = 0;
        while (listed < kSlots && !endslistedrun(f.blocks[static_cast<std::size_t>(listed)])) ++listed;
        EXPECT_EQ(listed, blocks) << length << " bytes";
    }
}

TEST_F(Files, AGapInAFileIsListedUpToItDrawnBeyondItAndClosedBySave) {
    auto bytes = records(5);
    std::fill(bytes.begin() + 2 * 32 + 8, bytes.begin() + 2 * 32 + 16, std::byte{0}); // record 2's sizes
    writebytes(dir.file("gap.QRD"), bytes);
    open("gap.QRD");
    EXPECT_EQ(f.List1.listcount(), 3); // records 0, 1 and the free slot 2
    // Record 4 (X 5, Size Z 1) is drawn although it is not listed.
    const auto& lines = f.Map.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const ui::Line& l) { return l.y1 == 6; }));
    run("save closed.QRD");
    auto expected = records(5);
    expected.erase(expected.begin() + 64, expected.begin() + 96);
    EXPECT_EQ(readbytes(dir.file("closed.QRD")), expected);
}

TEST_F(Files, OddValuesOpenListDrawEditAndSave) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    writebytes(dir.file("odd.QRD"), records(6, [&](int i) {
                   switch (i) {
                   case 0: return block(nan, inf, 1, 1, -inf, nan, nan, -1);
                   case 1: return block(1, 1, 1e30f, 1e30f, 3e38f, 3e38f, 1e30f, 2147483647);
                   case 2: return block(-1e-40f, 1, 150, 2, -5, 0, -0.0f, 0);
                   case 3: return block(1, 1, nan, 7, 0, 0, 0, 0);
                   default: return numbered(i);
                   }
               }));
    // The selected block shows defined texts and holds them after the rebuild.
    play({{"open odd.QRD", "status=Opened: odd.QRD; posxed=0; posyed=0; b0.x=0; row 1=     1     1 1E+30 1E+30 3E+38 3E+381E+30"}});
    EXPECT_EQ(f.List1.rows()[3].substr(12, 6), "   NaN");
    play({{"select 0; select 1; select 2; select 3; select 4; select 5; select 6; paste sizexed 3; save odd2.QRD",
           "status=Saved 3 of 7 blocks: odd2.QRD (block 4 has a zero size)"}});
    BlockTable back;
    decodemap(readbytes(dir.file("odd2.QRD")), back);
    // What was saved is what the list shows.
    ASSERT_EQ(savedruncount(back), 3); // the NaN size of record 3 ends the saved run
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rowtext(back[static_cast<std::size_t>(row)]), f.List1.rows()[static_cast<std::size_t>(row)]);
}

TEST_F(Files, NewFilesGetANewFilesModeAndOldOnesKeepTheirs) {
    const mode_t mask = ::umask(022);
    play({{"load 3; open new.QRD", "status=Opened: new.QRD"}}); // a new name opens as a new, empty file
    EXPECT_EQ(fs::file_size(dir.file("new.QRD")), 0u);
    run("load 2; save saved.QRD");
    ::chmod(dir.file("new.QRD").c_str(), 0640);
    run("save new.QRD");
    ::umask(mask);
    struct stat st {};
    ::stat(dir.file("new.QRD").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ::stat(dir.file("saved.QRD").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(readbytes(dir.file("new.QRD")).size(), 64u);

    fs::create_directory(dir.file("folder.QRD"));
    const std::pair<std::string, std::string> failing[] = {
        {"folder.QRD", "Could not save: folder.QRD (Not a regular file)"},
        {"missing/x.QRD", "Could not save: missing/x.QRD (No such file or directory)"}};
    for (const auto& [name, text] : failing) play({{"save " + name, "status=" + text}});
    EXPECT_EQ(dir.names().size(), 3u);
}

// The system's own errors come back from each step, and a file longer than
// the first read's buffer reads back whole.
TEST(SystemFiles, SayWhatFailedAndReadLongFilesWhole) {
    TempDir dir;
    FileSystem& files = systemfiles();
    std::vector<std::byte> long_(70000);
    for (std::size_t i = 0; i < long_.size(); ++i) long_[i] = static_cast<std::byte>(i * 7 % 251);
    writebytes(dir.file("long.QRD"), long_);
    std::vector<std::byte> back;
    ASSERT_TRUE(readmapfile(files, dir.file("long.QRD"), 1u << 20, back).ok);
    EXPECT_EQ(back, long_);
    FileKind kind = FileKind::Regular;
    unsigned mode = 0;
    EXPECT_EQ(files.kind(dir.file("long.QRD/x"), kind, mode), ENOTDIR);
    EXPECT_EQ(files.kind(dir.file("none"), kind, mode), 0);
    EXPECT_EQ(kind, FileKind::Missing);
    EXPECT_EQ(files.create(dir.file("missing/x.QRD")), ENOENT);
    const int folder = ::open(dir.file("").c_str(), O_RDONLY);
    std::size_t got = 0;
    EXPECT_EQ(files.read(folder, back.data(), 10, got), EISDIR);
    ::close(folder);
}
