// Map files through the window: what opens, lists, draws and saves,
// hostile files and texts among them, and the files' modes.
#include "document/mapfile.h"
#include "support/transcript.h"

using namespace qs;
using namespace qs::test;
namespace fs = std::filesystem;

// The empty map is thirty-two bytes; blocks read back over the saved run, and
// a gap in a file is listed up to it, drawn beyond it and closed by Save; odd
// values; new files' modes; cancelled dialogs.
TEST_F(Started, MapFilesOpenListDrawEditAndSave) {
    // One zero size ends the saved run.
    play({{"mark empty; press New; save empty.QRD", "status=Saved: empty.QRD"},
          {"load 3; open empty.QRD", "table=empty; status=Opened: empty.QRD"},
          {"load 6; put 4 5 2 0 1; refreshlist; save run.QRD; press New; open run.QRD",
           "b0=n0; b3=n3; b4=empty"}});
    EXPECT_EQ(std::tuple(readbytes(dir.file("empty.QRD")), readbytes(dir.file("run.QRD")).size()),
              std::tuple(encodemap(BlockTable{}), 4u * 32u));
    // Record 2's sizes are zero: listed are records 0, 1 and the free slot 2;
    // record 4 (X 5, Size Z 1) is drawn although it is not listed.
    play({{"write gap.QRD n0, n1, 3 2 0 0 0 1 0 102030, n3, n4; open gap.QRD",
           "rows=3; line12=3 6 3 4 302010"},
          {"save closed.QRD; press New; open closed.QRD", "b0=n0; b1=n1; b2=n3; b3=n4; b4=empty"}});
    // Odd values open, list, draw, edit and save.
    writebytes(dir.file("odd.QRD"),
               filebytes({Block{NAN, INFINITY, 1, 1, -INFINITY, NAN, NAN, -1},
                          Block{1, 1, 1e30f, 1e30f, 3e38f, 3e38f, 1e30f, 2147483647},
                          Block{-1e-40f, 1, 150, 2, -5, 0, -0.0f}, Block{1, 1, NAN, 7}, numbered(4),
                          numbered(5)}));
    // The selected block shows defined texts and holds them after the rebuild.
    play({{"open odd.QRD",
           "status=Opened: odd.QRD; posxed=0; posyed=0; b0.x=0; row 1=     1     1 "
           "1E+30 1E+30 3E+38 3E+381E+30; row 3=     1     1   NaN     7     0     0    0"}});
    // The NaN size of record 3 ends the saved run.
    play({{"select 0; select 1; select 2; select 3; select 4; select 5; select 6; paste sizexed 3; "
           "save odd2.QRD",
           "status=Saved 3 of 7 blocks: odd2.QRD (block 4 has a zero size)"}});
    // New files get a new file's mode and old ones keep theirs.
    const mode_t mask = ::umask(022);
    // A new name opens as a new, empty file.
    play({{"load 3; open new.QRD", "status=Opened: new.QRD"}});
    EXPECT_EQ(fs::file_size(dir.file("new.QRD")), 0u);
    run("load 2; save saved.QRD");
    ::chmod(dir.file("new.QRD").c_str(), 0640);
    run("save new.QRD");
    ::umask(mask);
    EXPECT_EQ(std::tuple(fs::status(dir.file("new.QRD")).permissions(),
                         fs::status(dir.file("saved.QRD")).permissions(),
                         readbytes(dir.file("new.QRD")).size()),
              std::tuple(fs::perms(0640), fs::perms(0644), 64u));

    fs::create_directory(dir.file("folder.QRD"));
    play({{"save folder.QRD", "status=Could not save: folder.QRD (Not a regular file)"},
          {"save missing/x.QRD",
           "status=Could not save: missing/x.QRD (No such file or directory)"}});
    // Cancelled dialogs change nothing, the status New left among it, but Save
    // still compacts: the scripted dialog answers "cancelled".
    play({{"press New; load 3; put 1 empty; mark; press Open", "table=marked"},
          {"press Save", "b1=n2; status=New Map"}});
}

// Hostile files: each opens, lists, draws, edits and saves without ending
// the program, and what is saved reads back to what the list shows; a long
// file reads back whole.
TEST(Hostile, FilesOpenEditAndSaveAndALongFileReadsWhole) {
    const auto same = [](std::size_t n, Block b) { return filebytes(std::vector(n, b)); };
    // Odd values in the records come from the random actions' files; these
    // are the counts and lengths they do not make.
    const std::pair<const char*, std::vector<std::byte>> hostile[] = {
        {"999 records", same(999, Block{1, 1, 1, 1})},
        {"1001 records", same(1001, Block{1, 1, 1, 1})},
        {"31 bytes", std::vector<std::byte>(31, std::byte{0x41})},
        {"33 bytes", std::vector<std::byte>(33, std::byte{0x41})},
        {"no bytes", {}}};
    for (const auto& [name, bytes] : hostile) {
        SCOPED_TRACE(name);
        Transcript t;
        writebytes(t.dir.file("in.QRD"), bytes);
        t.play({{"open in.QRD", "status=Opened: in.QRD; invariants="}});
        // Every row selected once, the first one edited.
        const int rows = t.f.List1.listcount();
        for (int row = 0; row < rows; row += std::max(1, rows / 50))
            t.run("select " + std::to_string(row));
        t.play({{"select 0; paste heighted 2; arrow BottomSB(2) 1; click Check1", "invariants="},
                {"save out.QRD", "status=Saved: out.QRD; invariants="}});
        // The file holds the table, whose rows the invariants compare with the list.
        EXPECT_EQ(readbytes(t.dir.file("out.QRD")), encodemap(t.f.blocks));
    }
    // A file longer than the first read's buffer reads back whole.
    TempDir dir;
    std::vector<std::byte> long_(70000);
    for (std::size_t i = 0; i < long_.size(); ++i)
        long_[i] = static_cast<std::byte>(i * 7 % 251);
    writebytes(dir.file("long.QRD"), long_);
    std::vector<std::byte> back;
    ASSERT_TRUE(readmapfile(systemfiles(), dir.file("long.QRD"), 1u << 20, back).ok);
    EXPECT_EQ(back, long_);
}
