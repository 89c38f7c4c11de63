// Never losing work: undo and redo, the recovery copy, and saves and opens
// that fail at any step without harm and say why.
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "support/fixture.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qs;
using namespace qs::test;
using Failing = FaultyFiles::Step;
namespace fs = std::filesystem;

namespace {

bool same(const BlockTable& a, const BlockTable& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Keeping : Started {
    TempDir dir;
    void choose(std::deque<ui::FileChoice>& q, const std::string& name) { q.push_back({dir.file(name), name}); }
    const std::string& said() { return f.sbStatusBar.text(1); }
};

// Runs `body` in a child process and gives its exit status: 0 when it passed.
template <typename F> int inchild(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST_F(Keeping, KeystrokesInOneFieldOnOneBlockAreOneStep) {
    h.load(3);
    p.select(1);
    const BlockTable before = f.blocks;
    p.type(f.posxed, "12.5");
    p.type(f.posyed, "7");
    EXPECT_EQ(f.history.steps(), 2u);
    f.undo();
    EXPECT_EQ(said(), "Undone: typing in Z");
    f.undo();
    EXPECT_TRUE(same(f.blocks, before));
    EXPECT_EQ(f.List1.listindex(), 1);
    EXPECT_EQ(f.posxed.text(), "2");
    f.undo();
    EXPECT_EQ(said(), "Nothing to undo");
    // Another action between, another block, or an undo between, starts a
    // new step; typing back to where it began leaves none.
    p.type(f.posxed, "5");
    p.click(f.selpos); // changes nothing, but ends the typing
    p.type(f.posxed, "6");
    EXPECT_EQ(f.history.steps(), 2u);
    p.backspace(f.posxed); // typed back: the second step goes, and ends
    EXPECT_EQ(f.history.steps(), 1u);
    p.type(f.posxed, "7");
    EXPECT_EQ(f.history.steps(), 2u);
    f.undo();
    f.undo();
    p.type(f.posxed, "4");
    p.select(2);
    p.type(f.posxed, "4");
    p.backspace(f.posxed);
    EXPECT_EQ(f.history.steps(), 1u);
    // An undo ends the typing as well: typing on starts a step of its own.
    p.type(f.posxed, "3");
    p.type(f.posyed, "1");
    f.undo();
    p.type(f.posxed, "2");
    EXPECT_EQ(f.history.steps(), 3u);
}

TEST_F(Keeping, CommandsUndoToTheMapAndRowBeforeThem) {
    h.load(4);
    p.select(1);
    const BlockTable four = f.blocks;
    h.messagebox.answers = {ui::Answer::Yes};
    p.press("Delete");
    p.paste(f.sizexed, "3");
    const BlockTable edited = f.blocks;
    writebytes(dir.file("other.QRD"), filebytes({numbered(7)}));
    choose(h.filedialog.opens, "other.QRD");
    p.press("Open");
    EXPECT_FALSE(f.modified());
    p.press("New");
    f.undo();
    f.undo();
    EXPECT_TRUE(same(f.blocks, edited));
    EXPECT_TRUE(f.modified());
    f.undo();
    f.undo();
    EXPECT_EQ(said(), "Undone: Delete");
    EXPECT_TRUE(same(f.blocks, four));
    EXPECT_EQ(f.curblock, 1);
    f.redo();
    EXPECT_EQ(said(), "Redone: Delete");
    EXPECT_EQ(f.blocks[1], numbered(2));
}

// A block read from a file with values its fields would change: restoring
// it must not commit what the fields show.
TEST_F(Keeping, UndoRestoresValuesTheFieldsWouldChangeBitForBit) {
    Block odd = numbered(1);
    odd.x = std::bit_cast<float>(0x7FC01234u); // a NaN with a payload
    odd.sizex = 150;
    odd.bottom = -5;
    writebytes(dir.file("odd.QRD"), filebytes({numbered(0), odd}));
    choose(h.filedialog.opens, "odd.QRD");
    p.press("Open");
    p.select(1); // a click fills the fields without committing
    const BlockTable before = f.blocks;
    p.paste(f.posyed, "9");
    EXPECT_EQ(f.blocks[1].sizex, 100);
    f.undo();
    EXPECT_TRUE(same(f.blocks, before));
    EXPECT_EQ(f.sizexed.text(), "100");
}

TEST_F(Keeping, UndoOnAListWithNoFreeSlotRow) {
    h.load(999);
    p.select(3);
    p.paste(f.posxed, "1");
    f.undo();
    EXPECT_EQ(f.List1.listcount(), 999); // 999 rows: no free-slot row, as a rebuild shows it
    EXPECT_EQ(f.blocks[3], numbered(3));
}

TEST(HistoryBounds, TheOldestStepsGoBeyondEitherBound) {
    qs::History history;
    BlockTable a{}, b{};
    for (int i = 0; i < 10050; ++i) {
        b[static_cast<std::size_t>(i % kSlots)].x = static_cast<float>(i + 1);
        history.record(a, b, 0, 0, "step", {});
        a = b;
    }
    int undone = 0;
    while (history.undo(b) != nullptr) ++undone;
    EXPECT_EQ(undone, 10000);
    EXPECT_EQ(b[49].x, 50); // slot 49's first change (step 50) went
    history.clear();
    for (int i = 0; i < 400; ++i) { // whole-table steps
        for (auto& block : b) block.z = static_cast<float>(i);
        history.record(a, b, 0, 0, "Open", {});
        a = b;
    }
    EXPECT_LE(history.bytes(), qs::History::kMaxBytes);
    EXPECT_LT(history.steps(), 400u);
}

TEST(Recovery, ACopyOutlivesACrashAndIsTakenAsAnOpenThatCanBeUndone) {
    TempDir dir;
    const std::string path = dir.file("recovery.QRD");
    BlockTable edited;
    {
        Harness h(true, path);
        EXPECT_FALSE(h.form.recoveryoffered()); // no copy yet: nothing is offered
        EXPECT_EQ(h.form.sbStatusBar.text(1), "Status");
        h.load(3);
        Person(h.form).paste(h.form.posxed, "-7.5");
        EXPECT_EQ(h.timer.milliseconds, kRecoveryDelayMs);
        h.timer.fire();
        edited = h.form.blocks;
        EXPECT_EQ(readbytes(path), encodetable(edited));
        h.form.recover(); // this run's own copy is not on offer
        EXPECT_EQ(h.form.sbStatusBar.text(1), "Nothing to recover");
    } // the process ends without closing its window
    Harness next(true, path);
    EXPECT_EQ(next.form.sbStatusBar.text(1), "Unsaved work kept: press Ctrl+R to recover it");
    next.form.recover();
    EXPECT_EQ(next.form.sbStatusBar.text(1), "Recovered the unsaved map");
    EXPECT_FALSE(next.form.recoveryoffered());
    EXPECT_TRUE(same(next.form.blocks, edited));
    next.form.undo();
    EXPECT_TRUE(same(next.form.blocks, BlockTable{}));

    // A save removes the copy; a close with changes writes it at once.
    next.form.redo();
    next.filedialog.saves.push_back({dir.file("map.QRD"), "map.QRD"});
    Person(next.form).press("Save");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(next.timer.pending());
    Person(next.form).paste(next.form.posxed, "4");
    next.form.unload();
    EXPECT_EQ(readbytes(path), encodetable(next.form.blocks));
}

TEST(Recovery, AnOfferedCopyStaysUntilTakenAndOneThatCannotBeReadIsReported) {
    TempDir dir;
    const std::string path = dir.file("recovery.QRD");
    writebytes(path, encodetable(BlockTable{numbered(0)}));
    Harness(true, path).form.unload(); // nothing changed: the offer stays
    EXPECT_TRUE(fs::exists(path));
    fs::remove(path);
    fs::create_directory(path);
    Harness h(true, path);
    h.form.recover();
    EXPECT_EQ(h.form.sbStatusBar.text(1), "Could not recover: recovery.QRD (Not a regular file)");
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(h.form.history.steps(), 0u);
}

namespace {

struct Fault {
    const char* name;
    Failing step;
    int error;
    const char* says;
};

struct SaveFault : Keeping, ::testing::WithParamInterface<Fault> {};

} // namespace

TEST_P(SaveFault, LeavesTheOldFileAndTheMapAndNoTemporaryFileAndSaysWhy) {
    const auto old = filebytes({numbered(5), numbered(6)});
    writebytes(dir.file("keep.QRD"), old);
    h.load(1000);
    p.paste(f.posxed, "1");
    const BlockTable table = f.blocks;
    h.files.failat = GetParam().step;
    h.files.error = GetParam().error;
    choose(h.filedialog.saves, "keep.QRD");
    p.press("Save");
    EXPECT_EQ(said(), std::string("Could not save: keep.QRD (") + GetParam().says + ")");
    EXPECT_EQ(readbytes(dir.file("keep.QRD")), old);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"keep.QRD"});
    EXPECT_TRUE(same(f.blocks, table));
    EXPECT_TRUE(f.modified());
}

INSTANTIATE_TEST_SUITE_P(EachStep, SaveFault,
                         ::testing::Values(Fault{"create", Failing::CreateTemp, EACCES, "Permission denied"},
                                           Fault{"mode", Failing::SetMode, EPERM, "Operation not permitted"},
                                           Fault{"write", Failing::Write, EIO, "Input/output error"},
                                           Fault{"full_disk", Failing::Write, ENOSPC, "No space left on device"},
                                           Fault{"short_write", Failing::ShortWrite, ENOSPC, "No space left on device"},
                                           Fault{"flush", Failing::Flush, EIO, "Input/output error"},
                                           Fault{"close", Failing::Close, EIO, "Input/output error"},
                                           Fault{"rename", Failing::Rename, EXDEV, "Invalid cross-device link"}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(Keeping, OpenFailuresLeaveTheMapAndSayWhy) {
    writebytes(dir.file("map.QRD"), filebytes({numbered(5)}));
    ::mkfifo(dir.file("pipe.QRD").c_str(), 0600); // a plain open would wait for a writer
    fs::create_directory(dir.file("folder.QRD"));
    h.load(3);
    p.select(2);
    const BlockTable table = f.blocks;
    const Fault faults[] = {{"map.QRD", Failing::OpenRead, EACCES, "map.QRD (Permission denied)"},
                            {"map.QRD", Failing::Read, EIO, "map.QRD (Input/output error)"},
                            {"pipe.QRD", Failing::None, 0, "pipe.QRD (Not a regular file)"},
                            {"folder.QRD", Failing::None, 0, "folder.QRD (Not a regular file)"},
                            {"/dev/null", Failing::None, 0, "null (Not a regular file)"},
                            {"missing/x.QRD", Failing::None, 0, "x.QRD (No such file or directory)"},
                            {"map.QRD/x.QRD", Failing::None, 0, "x.QRD (Not a directory)"}};
    for (const Fault& fault : faults) {
        h.files.failat = fault.step;
        h.files.error = fault.error;
        const std::string path = fault.name[0] == '/' ? fault.name : dir.file(fault.name);
        h.filedialog.opens.push_back({path, filetitle(path)});
        p.press("Open");
        EXPECT_EQ(said(), std::string("Could not open: ") + fault.says);
        EXPECT_TRUE(same(f.blocks, table));
        EXPECT_EQ(f.List1.listindex(), 2);
    }
    EXPECT_FALSE(fs::exists(dir.file("missing")));
}

TEST_F(Keeping, WritesThatTakePartOfTheMapStillSaveAllOfIt) {
    h.load(1000);
    h.files.failat = Failing::PartWrites;
    choose(h.filedialog.saves, "parts.QRD");
    p.press("Save");
    EXPECT_EQ(said(), "Saved: parts.QRD");
    EXPECT_EQ(readbytes(dir.file("parts.QRD")), encodemap(f.blocks));
}

TEST_F(Keeping, ASaveThatEndsBeforeTheListSaysHowManyBlocksItHolds) {
    h.load(5);
    f.blocks[2].sizex = 0; // one zero size ends what a file holds
    f.refreshlist();
    choose(h.filedialog.saves, "part.QRD");
    p.press("Save");
    EXPECT_EQ(said(), "Saved 2 of 5 blocks: part.QRD (block 3 has a zero size)");
    EXPECT_EQ(readbytes(dir.file("part.QRD")).size(), 64u);
    EXPECT_EQ(f.blocks[4], numbered(4));
    EXPECT_TRUE(f.modified());
}

TEST_F(Keeping, AReadOnlyFileAndAFileSizeLimitLeaveTheOldFile) {
    const auto old = filebytes({numbered(5)});
    writebytes(dir.file("locked.QRD"), old);
    writebytes(dir.file("keep.QRD"), old);
    ::chmod(dir.file("locked.QRD").c_str(), 0444);
    ::chmod(dir.file("").c_str(), 0777); // the folder stays writable
    h.load(1000);
    // Root may write anything: the save runs as another user there.
    EXPECT_EQ(inchild([&] {
                  if (::geteuid() == 0 && ::setuid(65534) != 0) return 3;
                  choose(h.filedialog.saves, "locked.QRD");
                  p.press("Save");
                  return said() == "Could not save: locked.QRD (Permission denied)" ? 0 : 1;
              }),
              0);
    EXPECT_EQ(inchild([&] {
                  ignorefilesizesignal(); // as the program does at start
                  rlimit small{1000, 1000};
                  if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return 3;
                  choose(h.filedialog.saves, "keep.QRD");
                  p.press("Save");
                  return said() == "Could not save: keep.QRD (File too large)" ? 0 : 1;
              }),
              0);
    EXPECT_EQ(readbytes(dir.file("locked.QRD")), old);
    EXPECT_EQ(readbytes(dir.file("keep.QRD")), old);
    EXPECT_EQ(dir.names().size(), 2u);
}

TEST_F(Keeping, EachKindOfActionSaysWhatWasUndone) {
    using Act = std::function<void()>;
    const std::pair<Act, const char*> actions[] = {
        {[&] { p.paste(f.sizeyed, "4"); }, "typing in Size Z"},
        {[&] { p.arrow(f.VScroll1[0], +1); }, "Size X slider"},
        {[&] { p.arrow(f.VScroll1[1], +1); }, "Size Z slider"},
        {[&] { p.track(f.AngleSB, +1); }, "angle bar"},
        {[&] { p.arrow(f.BottomSB[1], +1); }, "Bottom spinner"},
        {[&] { p.arrow(f.HeightSB[1], +1); }, "Height spinner"},
        {[&] { p.arrow(f.VScroll2, -1); }, "moving a block"},
        {[&] { p.arrow(f.Color[1], +1); }, "green bar"},
        {[&] { p.click(f.Label3[2]); }, "inverting blue"},
        {[&] { p.click(f.Command1[1]); }, "Brown colour"},
        {[&] { p.click(f.Command2); }, "size preset"},
        {[&] { p.click(f.RNDANG); }, "random angle"},
        {[&] { p.click(f.selpos), p.point(3, 4), p.point(5, 6), p.clickmap(); }, "placing with the pointer"},
        {[&] { p.press("Copy"); }, "Copy"},
    };
    h.load(3);
    for (const auto& [act, title] : actions) {
        p.select(1);
        const BlockTable before = f.blocks;
        act();
        f.undo();
        EXPECT_EQ(said(), std::string("Undone: ") + title);
        EXPECT_TRUE(same(f.blocks, before)) << title;
    }
}

TEST_F(Keeping, FilesNamedFromOutsideAndSavingAgain) {
    writebytes(dir.file("given.QRD"), filebytes({numbered(3)}));
    f.openfiles({dir.file("given.QRD")});
    EXPECT_EQ(said(), "Opened: given.QRD");
    EXPECT_EQ(f.blocks[0], numbered(3));
    f.openfiles({dir.file("a.QRD"), dir.file("b.QRD")});
    EXPECT_EQ(said(), "Could not open 2 files: one map at a time");
    f.openfiles({dir.file("missing.QRD")});
    EXPECT_EQ(said(), "Could not open: missing.QRD (No such file or directory)");
    EXPECT_FALSE(fs::exists(dir.file("missing.QRD")));
    EXPECT_EQ(f.lastfile(), dir.file("given.QRD"));
    p.paste(f.posyed, "8");
    f.saveagain(); // no dialog: the file last opened
    EXPECT_EQ(h.filedialog.shown, 0);
    EXPECT_EQ(said(), "Saved: given.QRD");
    EXPECT_EQ(readbytes(dir.file("given.QRD")), encodemap(f.blocks));
    f.undo();
    EXPECT_EQ(said(), "Undone: typing in Z"); // saving changed nothing to take back
    f.undo();
    EXPECT_EQ(said(), "Undone: Open");
    EXPECT_TRUE(same(f.blocks, BlockTable{}));
}
