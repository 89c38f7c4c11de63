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
using qs::test::FaultyFiles;
using qs::test::Harness;
using qs::test::numbered;
using qs::test::readbytes;
using qs::test::Started;
using qs::test::TempDir;
using qs::test::writebytes;
using Failing = FaultyFiles::Step;

namespace {

bool same(const BlockTable& a, const BlockTable& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Keeping : Started {
    TempDir dir;
    void choose(std::deque<ui::FileChoice>& q, const std::string& name) { q.push_back({dir.file(name), name}); }
};

} // namespace

TEST_F(Keeping, TypingInOneFieldOnOneBlockIsOneStep) {
    h.load(3);
    p.select(1);
    const BlockTable before = f.blocks;
    p.type(f.posxed, "12.5");
    p.type(f.posyed, "7");
    EXPECT_EQ(f.history.steps(), 2u);
    f.undo();
    EXPECT_EQ(f.sbStatusBar.text(1), "Undone: typing in Z");
    f.undo();
    EXPECT_TRUE(same(f.blocks, before));
    EXPECT_EQ(f.List1.listindex(), 1);
    EXPECT_EQ(f.posxed.text(), "2");
    f.undo();
    EXPECT_EQ(f.sbStatusBar.text(1), "Nothing to undo");
    // Typing on another block, or after an undo, starts a new step.
    p.type(f.posxed, "4");
    p.select(2);
    p.type(f.posxed, "4");
    EXPECT_EQ(f.history.steps(), 2u);
}

TEST_F(Keeping, AnEditTypedBackToWhereItBeganLeavesNoStep) {
    h.load(2);
    p.select(0);
    p.type(f.posxed, "5");
    p.backspace(f.posxed);
    EXPECT_EQ(f.posxed.text(), "1");
    EXPECT_EQ(f.history.steps(), 0u);
    p.select(1); // changes nothing, so records nothing
    EXPECT_EQ(f.history.steps(), 0u);
}

TEST_F(Keeping, CommandsUndoToTheMapAndRowBeforeThem) {
    h.load(4);
    p.select(1);
    const BlockTable four = f.blocks;
    h.messagebox.answers = {ui::Answer::Yes};
    p.press("Delete");
    p.press("New");
    choose(h.filedialog.opens, "new.QRD");
    p.press("Open");
    f.undo();
    EXPECT_EQ(f.sbStatusBar.text(1), "Undone: New"); // Open of a new file changed nothing
    f.undo();
    EXPECT_EQ(f.sbStatusBar.text(1), "Undone: Delete");
    EXPECT_TRUE(same(f.blocks, four));
    EXPECT_EQ(f.blocks[1], numbered(1));
    EXPECT_EQ(f.List1.listindex(), 1);
    EXPECT_EQ(f.curblock, 1);
    f.redo();
    EXPECT_EQ(f.sbStatusBar.text(1), "Redone: Delete");
    EXPECT_EQ(f.blocks[1], numbered(2));
}

TEST_F(Keeping, UndoAfterOpenBringsBackTheMapFromBefore) {
    h.load(2);
    p.select(1);
    p.paste(f.sizexed, "3");
    const BlockTable edited = f.blocks;
    writebytes(dir.file("other.QRD"), test::filebytes({numbered(7)}));
    choose(h.filedialog.opens, "other.QRD");
    p.press("Open");
    EXPECT_FALSE(f.modified());
    f.undo();
    EXPECT_TRUE(same(f.blocks, edited));
    EXPECT_EQ(f.List1.listindex(), 1);
    EXPECT_TRUE(f.modified());
}

// A block read from a file with values the editor would change: restoring
// it must not commit what its fields show.
TEST_F(Keeping, UndoRestoresValuesTheFieldsWouldChangeBitForBit) {
    Block odd = numbered(1);
    odd.x = std::bit_cast<float>(0x7FC01234u); // a NaN with a payload
    odd.sizex = 150;
    odd.bottom = -5;
    odd.angle = 45.5f;
    writebytes(dir.file("odd.QRD"), test::filebytes({numbered(0), odd}));
    choose(h.filedialog.opens, "odd.QRD");
    p.press("Open");
    p.select(1); // a click fills the fields without committing
    const BlockTable before = f.blocks;
    p.paste(f.posyed, "9");
    EXPECT_EQ(f.blocks[1].sizex, 100);
    f.undo();
    EXPECT_TRUE(same(f.blocks, before));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(f.blocks[1].x), 0x7FC01234u);
    EXPECT_EQ(f.sizexed.text(), "100"); // shown capped, as a click shows it
}

TEST(HistoryBounds, TheOldestStepsGoBeyondEitherBound) {
    qs::History history;
    BlockTable a{}, b{};
    for (int i = 0; i < 10050; ++i) {
        b[static_cast<std::size_t>(i % kSlots)].x = static_cast<float>(i + 1);
        history.record(a, b, 0, 0, "step", {});
        a = b;
    }
    EXPECT_EQ(history.steps(), qs::History::kMaxSteps);
    int undone = 0;
    while (history.undo(b) != nullptr) ++undone;
    EXPECT_EQ(undone, 10000);
    EXPECT_EQ(b[49].x, 50); // slot 49's first change (step 50) was dropped

    // Whole-table steps: the byte bound holds.
    history.clear();
    for (int i = 0; i < 400; ++i) {
        for (auto& block : b) block.z = static_cast<float>(i);
        history.record(a, b, 0, 0, "Open", {});
        a = b;
    }
    EXPECT_LE(history.bytes(), qs::History::kMaxBytes);
    EXPECT_LT(history.steps(), 400u);
}

// --- the recovery copy ---

namespace {

struct Recovery : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("recovery.QRD");
};

} // namespace

TEST_F(Recovery, ACopyOutlivesACrashAndIsTakenByItsKeyAsAnOpenThatCanBeUndone) {
    BlockTable edited;
    {
        Harness h(true, path);
        h.load(3);
        test::Person(h.form).paste(h.form.posxed, "-7.5");
        EXPECT_EQ(h.timer.milliseconds, kRecoveryDelayMs);
        h.timer.fire();
        edited = h.form.blocks;
        EXPECT_EQ(readbytes(path), encodetable(edited));
        // The process ends here without closing its window.
    }
    Harness next(true, path);
    EXPECT_EQ(next.form.sbStatusBar.text(1), "Unsaved work kept: press Ctrl+R to recover it");
    EXPECT_TRUE(same(next.form.blocks, BlockTable{}));
    next.form.recover();
    EXPECT_EQ(next.form.sbStatusBar.text(1), "Recovered the unsaved map");
    EXPECT_TRUE(same(next.form.blocks, edited));
    EXPECT_TRUE(next.form.modified());
    next.form.undo();
    EXPECT_TRUE(same(next.form.blocks, BlockTable{}));
}

TEST_F(Recovery, ASaveOrACleanCloseLeavesNoCopy) {
    Harness h(true, path);
    h.load(2);
    test::Person p(h.form);
    p.paste(h.form.posxed, "3");
    h.timer.fire();
    ASSERT_TRUE(std::filesystem::exists(path));
    h.filedialog.saves.push_back({dir.file("map.QRD"), "map.QRD"});
    p.press("Save");
    EXPECT_FALSE(h.form.modified());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(h.timer.pending());
    h.form.unload();
    EXPECT_FALSE(std::filesystem::exists(path));

    // Unsaved at close: the copy is written then, without waiting.
    p.paste(h.form.posxed, "4");
    h.form.unload();
    EXPECT_EQ(readbytes(path), encodetable(h.form.blocks));
}

TEST_F(Recovery, AnOfferedCopyStaysUntilTakenAndOneThatCannotBeReadIsReported) {
    writebytes(path, encodetable(BlockTable{numbered(0)}));
    {
        Harness h(true, path);
        h.form.unload(); // nothing changed: the offer stays for the next run
    }
    EXPECT_TRUE(std::filesystem::exists(path));

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    Harness h(true, path);
    EXPECT_TRUE(h.form.recoveryoffered());
    h.form.recover();
    EXPECT_EQ(h.form.sbStatusBar.text(1), "Could not recover: recovery.QRD (Not a regular file)");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(h.form.history.steps(), 0u);
}

// --- saves and opens that fail ---

namespace {

struct Fault {
    const char* name;
    Failing step;
    int error;
    const char* says;
};

std::string faultname(const ::testing::TestParamInfo<Fault>& info) { return info.param.name; }

struct SaveFault : Keeping, ::testing::WithParamInterface<Fault> {};

} // namespace

TEST_P(SaveFault, LeavesTheOldFileAndTheMapAndNoTemporaryFileAndSaysWhy) {
    const Fault fault = GetParam();
    const auto old = test::filebytes({numbered(5), numbered(6)});
    writebytes(dir.file("keep.QRD"), old);
    h.load(1000);
    p.select(500);
    p.paste(f.posxed, "1");
    const BlockTable table = f.blocks;
    h.files.failat = fault.step;
    h.files.error = fault.error;
    choose(h.filedialog.saves, "keep.QRD");
    p.press("Save");
    EXPECT_EQ(f.sbStatusBar.text(1), std::string("Could not save: keep.QRD (") + fault.says + ")");
    EXPECT_EQ(readbytes(dir.file("keep.QRD")), old);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"keep.QRD"});
    EXPECT_TRUE(same(f.blocks, table));
    EXPECT_TRUE(f.modified());
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, SaveFault,
    ::testing::Values(Fault{"create", Failing::CreateTemp, EACCES, "Permission denied"},
                      Fault{"mode", Failing::SetMode, EPERM, "Operation not permitted"},
                      Fault{"write", Failing::Write, EIO, "Input/output error"},
                      Fault{"full_disk", Failing::Write, ENOSPC, "No space left on device"},
                      Fault{"short_write", Failing::ShortWrite, ENOSPC, "No space left on device"},
                      Fault{"flush", Failing::Flush, EIO, "Input/output error"},
                      Fault{"close", Failing::Close, EIO, "Input/output error"},
                      Fault{"rename", Failing::Rename, EXDEV, "Invalid cross-device link"}),
    faultname);

TEST_F(Keeping, OpenFailuresLeaveTheMapAndSayWhy) {
    writebytes(dir.file("map.QRD"), test::filebytes({numbered(5)}));
    ::mkfifo(dir.file("pipe.QRD").c_str(), 0600); // would block a plain open
    h.load(3);
    p.select(2);
    const BlockTable table = f.blocks;
    const Fault faults[] = {{"open", Failing::OpenRead, EACCES, "Could not open: map.QRD (Permission denied)"},
                            {"read", Failing::Read, EIO, "Could not open: map.QRD (Input/output error)"},
                            {"pipe", Failing::None, 0, "Could not open: pipe.QRD (Not a regular file)"},
                            {"device", Failing::None, 0, "Could not open: null (Not a regular file)"}};
    for (const Fault& fault : faults) {
        h.files.failat = fault.step;
        h.files.error = fault.error;
        const std::string name = fault.name == std::string("pipe") ? "pipe.QRD" : "map.QRD";
        if (fault.name == std::string("device")) h.filedialog.opens.push_back({"/dev/null", "null"});
        else choose(h.filedialog.opens, name);
        p.press("Open");
        EXPECT_EQ(f.sbStatusBar.text(1), fault.says);
        EXPECT_TRUE(same(f.blocks, table));
        EXPECT_EQ(f.List1.listindex(), 2);
    }
}

TEST_F(Keeping, ASaveThatEndsBeforeTheListSaysHowManyBlocksItHolds) {
    h.load(5);
    f.blocks[2].sizex = 0; // one zero size ends what a file holds
    f.refreshlist();
    choose(h.filedialog.saves, "part.QRD");
    p.press("Save");
    EXPECT_EQ(f.sbStatusBar.text(1), "Saved 2 of 5 blocks: part.QRD (block 3 has a zero size)");
    EXPECT_EQ(readbytes(dir.file("part.QRD")).size(), 64u);
    EXPECT_EQ(f.blocks[4], numbered(4));
    EXPECT_TRUE(f.modified());
}

// Runs `body` in a child process; its exit status 0 means it passed.
template <typename F> int inchild(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(Keeping, AFileTheUserMayNotWriteIsNotReplaced) {
    const auto old = test::filebytes({numbered(5)});
    writebytes(dir.file("locked.QRD"), old);
    ::chmod(dir.file("locked.QRD").c_str(), 0444);
    ::chmod(dir.file("").c_str(), 0777); // the folder stays writable
    h.load(2);
    // Root may write anything: the save runs as another user there.
    const int result = inchild([&] {
        if (::geteuid() == 0 && ::setuid(65534) != 0) return 3;
        choose(h.filedialog.saves, "locked.QRD");
        p.press("Save");
        return f.sbStatusBar.text(1) == "Could not save: locked.QRD (Permission denied)" ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readbytes(dir.file("locked.QRD")), old);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"locked.QRD"});
}

TEST_F(Keeping, AFileSizeLimitIsAWriteErrorNotTheEnd) {
    const auto old = test::filebytes({numbered(5)});
    writebytes(dir.file("keep.QRD"), old);
    h.load(1000);
    const int result = inchild([&] {
        ignorefilesizesignal(); // as the program does at start
        rlimit small{1000, 1000};
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return 3;
        choose(h.filedialog.saves, "keep.QRD");
        p.press("Save");
        return f.sbStatusBar.text(1) == "Could not save: keep.QRD (File too large)" ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readbytes(dir.file("keep.QRD")), old);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"keep.QRD"});
}
