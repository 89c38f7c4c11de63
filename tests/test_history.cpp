// Never losing work: undo and redo, the recovery copy, and saves and opens
// that fail at any step without harm and say why. A person's random actions
// on the window keep its invariants, and undo and redo of each one is exact;
// a failure prints the seed and the last actions, so the run can be replayed.
#include "document/mapfile.h"
#include "support/actor.h"
#include "support/transcript.h"

using namespace qs;
using namespace qs::test;
using Failing = FaultyFiles::Step;
namespace fs = std::filesystem;

using Keeping = Started;

TEST_F(Keeping, KeystrokesAreOneStepCommandsUndoToMapAndRowAndRestoringIsBitForBit) {
    play({{"load 3; select 1; mark; type posxed 12.5; type posyed 7", "steps=2"},
          {"undo", "status=Undone: typing in Z"},
          {"undo", "table=marked; List1=1; posxed=2"},
          {"undo", "status=Nothing to undo"},
          // Another action between (even one that changes nothing), another
          // block, or an undo between, starts a new step; typing back to
          // where it began leaves none.
          {"type posxed 5; click selpos; type posxed 6", "steps=2"},
          {"back posxed", "steps=1"}, // the second step goes, and ends
          {"type posxed 7", "steps=2"},
          {"undo; undo; type posxed 4; select 2; type posxed 4; back posxed", "steps=1"},
          {"type posxed 3; type posyed 1; undo; type posxed 2", "steps=3"}});
    // A block read from a file with values its fields would change: restoring
    // it must not commit what the fields show.
    const Block odd{std::bit_cast<float>(0x7FC01234u), 2, 150, 1, -5, 1}; // X a NaN with a payload
    writebytes(dir.file("odd.QRD"), filebytes({numbered(0), odd}));
    // Commands undo to the map and the row before them.
    play({{"write other.QRD n7; load 4; select 1; mark four; yes; press Delete", ""},
          {"paste sizexed 3; mark edited; open other.QRD", "modified=0"},
          {"press New; undo; undo", "table=edited; modified=1"},
          {"undo; undo", "status=Undone: Delete; table=four; cur=1"},
          {"redo", "status=Redone: Delete; b1=n2"},
          // The odd block: a click fills the fields without committing.
          {"open odd.QRD; select 1; mark; paste posyed 9", "b1.sizex=100"},
          {"undo", "table=marked; sizexed=100"},
          // No free-slot row, as a rebuild shows it.
          {"load 999; select 3; paste posxed 1; undo", "rows=999; b3=n3"}});
}

// Undo and redo bring back the file a map belongs to with its blocks, so a
// quick save goes where the blocks came from.
TEST_F(Keeping, UndoAndRedoBringBackTheFileWithTheBlocksAndFilesNamedFromOutside) {
    play({{"write a.QRD n1; write b.QRD n2; open a.QRD; paste posxed 9; open b.QRD; undo",
           "status=Undone: Open; file=a.QRD; b0.x=9; modified=1"},
          {"saveagain", "status=Saved: a.QRD; modified=0"},
          {"redo", "file=b.QRD; b0=n2; modified=0"},
          {"press New; paste sizexed 2", "file=; modified=1"},
          {"undo; undo", "file=b.QRD; modified=0"},
          {"paste posxed 7; save c.QRD", "file=c.QRD; modified=0"},
          {"undo", "status=Undone: Save; file=b.QRD; b0.x=7; modified=1"}});
    EXPECT_EQ(readbytes(dir.file("b.QRD")), filebytes({numbered(2)}));
    EXPECT_EQ(readbytes(dir.file("a.QRD")), filebytes({Block{9, 2, 1, 1, 0, 1, 0, 0x102030}}));
    // Files named from outside; a quick save goes to the file last opened.
    play({{"mark none; write given.QRD n3; files given.QRD", "status=Opened: given.QRD; b0=n3"},
          {"files a.QRD b.QRD", "status=Could not open 2 files: one map at a time"},
          {"files missing.QRD", "status=Could not open: missing.QRD (No such file or directory)"},
          {"paste posyed 8; saveagain", "dialogs=3; status=Saved: given.QRD"}});
    EXPECT_EQ(std::pair(fs::exists(dir.file("missing.QRD")), readbytes(dir.file("given.QRD"))),
              std::pair(false, encodemap(f.blocks)));
    // Saving changed nothing to take back.
    play({{"undo", "status=Undone: typing in Z"}, {"undo", "status=Undone: Open; table=none"}});
}

// The main map shows after undo what it showed before the step: here the
// block plain, not highlighted; and after a list click, highlighted.
TEST_F(Keeping, UndoBringsBackWhatTheMainMapShowedAndChangesNameTheSlotsTheyChanged) {
    play({{"paste sizexed 2; paste sizeyed 2; click Command1(1)", ""},
          {"click selpos; point 10 20; clickmap; undo", "lines=4; colour3=404080"},
          {"redo", "lines=4; colour3=404080; b0.z=10"},
          // Copy leaves the copy highlighted over the drawing (now of both
          // blocks): list clicks and marks, 36 lines.
          {"press Copy; paste posxed 5; undo", "lines=44; colour43=bfbf7f"}});
    // Each transaction names the slots whose records it changed, and only
    // those: a refresh moves 40 blocks up and empties the last one's slot.
    play({{"load 41; select 5; paste posyed 4", "changed=5"},
          {"put 0 empty; press Refresh", "changed=0-40"},
          {"yes; press Delete", "changed=5-39"}});
}

// Another program's change to the map's file (its size, time or bytes) is
// said once when the window is active again, and a quick save asks first.
TEST_F(Keeping, AFileChangedOnDiskIsNotReplacedUnasked) {
    const std::string changed = "a.QRD changed on disk since it was opened or saved here";
    play({{"write a.QRD n1; open a.QRD; paste posxed 4; activate", "status=Opened: a.QRD"},
          {"write a.QRD n2, n3; activate", "status=" + changed},
          {"status x; activate", "status=x"}, // said once
          {"no; saveagain", "status=Not saved: a.QRD changed on disk; asked=1"}});
    EXPECT_EQ(readbytes(dir.file("a.QRD")), filebytes({numbered(2), numbered(3)}));
    play({{"yes; saveagain", "status=Saved: a.QRD; asked=2"}, {"saveagain", "asked=2"}});
    // Other bytes of the same size at the same time.
    const auto time = fs::last_write_time(dir.file("a.QRD"));
    run("write a.QRD n5");
    fs::last_write_time(dir.file("a.QRD"), time);
    play({{"no; saveagain", "status=Not saved: a.QRD changed on disk; asked=3"}});
}

TEST(HistoryBounds, TheOldestStepsGoBeyondEitherBound) {
    qs::History history;
    auto change = [](int slot, float x) { return SlotChange{std::int16_t(slot), {}, Block{x}}; };
    for (int i = 0; i < 10050; ++i)
        history.record({{change(i % kSlots, static_cast<float>(i + 1))}, {}, {}, {}, "step", {}});
    const qs::Step* oldest = nullptr;
    int undone = 0;
    for (const qs::Step* s; (s = history.undo()) != nullptr; ++undone)
        oldest = s;
    EXPECT_EQ(std::pair(undone, oldest->changes[0].after.x), std::pair(10000, 51.0f)); // 50 went
    history.clear();
    for (int i = 0; i < 400; ++i) { // whole-table steps
        qs::Step whole{{}, {}, {}, {}, "Open", {}};
        for (int slot = 0; slot < kSlots; ++slot)
            whole.changes.push_back(change(slot, static_cast<float>(i)));
        history.record(std::move(whole));
    }
    EXPECT_LE(history.bytes(), qs::History::kMaxBytes);
    EXPECT_LT(history.steps(), 400u);
}

// A window keeping its recovery copies in `folder`, whose checks also read
// copies (how many the folder holds), copied (whether the one copy holds
// the window's table), locks, offered, pending (the recovery timer) and
// question (the start of the first one asked).
struct Kept : Plays<Kept>, Transcript {
    using Plays<Kept>::play;
    explicit Kept(const TempDir& d) : Transcript(d.path), folder(d) {}
    const TempDir& folder;
    std::string value(const std::string& what) {
        const auto names = folder.names();
        std::vector<std::vector<std::byte>> copies;
        for (const std::string& name : names)
            if (name.starts_with("recovery") && name.ends_with(".QRD"))
                copies.push_back(readbytes(folder.file(name)));
        const auto table = encodetable(f.blocks); // a copy holds more past its 1000 slots
        if (what == "copies") return std::to_string(copies.size());
        if (what == "copied")
            return std::to_string(copies.size() == 1 && copies[0].size() >= table.size() &&
                                  std::equal(table.begin(), table.end(), copies[0].begin()));
        if (what == "locks")
            return std::to_string(
                std::ranges::count_if(names, [](const auto& n) { return n.ends_with(".lock"); }));
        if (what == "offered") return std::to_string(f.recoveryoffered());
        if (what == "pending") return std::to_string(h.timer.pending());
        if (what == "question" && !h.messagebox.asked.empty())
            return h.messagebox.asked.front().first.substr(0, 61);
        return Transcript::value(what);
    }
};

TEST(Recovery, ACopyOutlivesACrashAndIsTakenWithItsFileAsAnOpenThatCanBeUndone) {
    TempDir dir;
    BlockTable edited;
    {
        Kept t(dir);
        t.h.folder = dir.file(""); // the map's file outlives this editor
        // No copy yet: nothing is offered.
        t.play({{"", "offered=0"},
                {"write map.QRD n1; open map.QRD; paste posxed -7.5", "status=Opened: map.QRD"}});
        EXPECT_EQ(t.h.timer.milliseconds, kRecoveryDelayMs);
        // This editor's own copy is not on offer.
        t.play({{"fire; recover", "copies=1; copied=1; status=Nothing to recover"}});
        edited = t.f.blocks;
    } // the editor ends without closing its window
    Kept next(dir);
    next.h.marks["edited"] = edited;
    // The copy is this editor's now; a quick save goes to the map's file, and
    // a close with changes writes the copy at once.
    next.play({{"mark empty", "status=Unsaved work kept: press Ctrl+R to recover it"},
               {"recover", "status=Recovered the unsaved map of map.QRD; file=map.QRD; modified=1; "
                           "offered=0; table=edited; copies=1"},
               {"undo", "table=empty; file="},
               {"redo; saveagain", "status=Saved: map.QRD; asked=0; copies=0; pending=0"},
               {"paste posxed 4; unload", "copies=1"}});
}

TEST(Recovery, EachCopyLeftIsOfferedWithItsFileAndTimeToRecoverDiscardOrLeave) {
    TempDir dir;
    for (const char* map : {"a.QRD", "b.QRD"}) {
        Transcript t(dir.path);
        t.run(std::string("write ") + map + " n1; open " + map + "; paste posxed 3; fire");
        t.f.keepcopy();
    }
    Kept later(dir);
    // Later: both stay; a's, b's and later's own locks.
    later.play({{"offer", "asked=1; locks=3; question=An editor that did not close kept unsaved "
                          "work on b.QRD at 20"}});
    // The newest, then later; b's lock went with its copy.
    later.play({{"choose 1; offer", "status=Discarded the unsaved work; asked=3; locks=2"}});
    Kept taking(dir); // the one `later` holds is not offered here
    taking.play({{"", "offered=0"}});
    later.play({{"choose 0; offer", "file=a.QRD; b0.x=3; offered=0"}});
}

// Editors running at once keep a copy each and never offer a running
// one's; a start offers the copy of one that died.
TEST(Recovery, TwoEditorsAtOnceNeverTouchEachOthersCopies) {
    TempDir dir;
    const pid_t other = ::fork();
    if (other == 0) {
        Transcript t(dir.path);
        t.run("load 3; paste posxed 11; fire");
        ::raise(SIGSTOP); // it stays, running as far as the others can tell, until killed
        ::_exit(0);
    }
    ::waitpid(other, nullptr, WUNTRACED); // its copy is written
    Kept mine(dir);
    // Its own copy goes with a save; the other editor's stays.
    mine.play({{"", "offered=0"},
               {"load 2; paste posxed 22; fire", "copies=2"},
               {"save mine.QRD", "copies=1"}});
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    // The dead editor's copy went once the third had its own.
    Kept(dir).play({{"recover", "b0.x=11; copies=1; copied=1"}});
}

TEST(Recovery, ACopyThatCannotBeReadIsReportedAndLeftAndOneCutShortForgetsItsFile) {
    TempDir dir;
    fs::create_directory(dir.file("recovery.QRD")); // a copy of an earlier version's name
    Transcript(dir.path).play(
        {{"recover", "status=Could not recover: recovery.QRD (Not a regular file); steps=0"}});
    EXPECT_TRUE(fs::is_directory(dir.file("recovery.QRD")));
    // What a copy says of its file is taken whole or not at all.
    const FileRef file{"/maps/castle.QRD", "castle.QRD"};
    const DiskStamp stamp{true, 96, 5, 7};
    const auto bytes = RecoveryCopies::encode(BlockTable{}, file, stamp);
    for (const std::size_t cut : {bytes.size(), bytes.size() - 1, bytes.size() - 40}) {
        FileRef back;
        DiskStamp backstamp;
        BlockTable table;
        RecoveryCopies::decode(std::span(bytes).first(cut), table, back, backstamp);
        EXPECT_EQ(std::pair(back, backstamp == stamp),
                  cut == bytes.size() ? std::pair(file, true) : std::pair(FileRef{}, false))
            << cut;
    }
}

TEST_F(Keeping, FailedSavesAndOpensLeaveFileAndMapAndSayWhyAndPartSavesSayWhatTheySaved) {
    const auto old = filebytes({numbered(5), numbered(6)});
    run("write keep.QRD n5, n6; load 1000; paste posxed 1; mark");
    // Each step failing, said as the system names its error.
    const std::pair<Failing, int> faults[] = {
        {Failing::CreateTemp, EACCES}, {Failing::SetMode, EPERM},     {Failing::Write, EIO},
        {Failing::Write, ENOSPC},      {Failing::ShortWrite, ENOSPC}, {Failing::Flush, EIO},
        {Failing::Close, EIO},         {Failing::Rename, EXDEV},      {Failing::WriteNone, EIO}};
    for (const auto& [step, error] : faults) {
        std::tie(h.files.failat, h.files.error) = std::pair(step, error);
        const std::string says = std::strerror(error);
        play({{"save keep.QRD",
               "status=Could not save: keep.QRD (" + says + "); table=marked; modified=1"}});
        EXPECT_EQ(std::pair(readbytes(dir.file("keep.QRD")), dir.names()),
                  std::pair(old, std::vector<std::string>{"keep.QRD"}));
    }
    // Open failures leave the map and say why.
    ::mkfifo(dir.file("pipe.QRD").c_str(), 0600); // a plain open would wait for a writer
    fs::create_directory(dir.file("folder.QRD"));
    run("write map.QRD n5; load 3; select 2; mark");
    const std::tuple<std::string, Failing, int, std::string> opens[] = {
        {"map.QRD", Failing::OpenRead, EACCES, "map.QRD (Permission denied)"},
        {"pipe.QRD", Failing::None, 0, "pipe.QRD (Not a regular file)"},
        {"folder.QRD", Failing::None, 0, "folder.QRD (Not a regular file)"},
        {"/dev/null", Failing::None, 0, "null (Not a regular file)"},
        {"missing/x.QRD", Failing::None, 0, "x.QRD (No such file or directory)"},
        {"map.QRD/x.QRD", Failing::None, 0, "x.QRD (Not a directory)"},
        {"map.QRD", Failing::Read, EIO, "map.QRD (Input/output error)"}}; // EIO stays for below
    for (const auto& [name, step, error, says] : opens) {
        std::tie(h.files.failat, h.files.error) = std::pair(step, error);
        h.filedialog.opens.push_back({name[0] == '/' ? name : dir.file(name), filetitle(name)});
        play({{"press Open", "status=Could not open: " + says + "; table=marked; List1=2"}});
    }
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    // Saves that end early or take part of the map each time say what they
    // saved. One zero size ends what a file holds.
    play({{"press New; load 5; put 2 3 2 0 1 0 1 0 102030; refreshlist; save part.QRD",
           "status=Saved 2 of 5 blocks: part.QRD (block 3 has a zero size); b4=n4; modified=1"}});
    EXPECT_EQ(readbytes(dir.file("part.QRD")).size(), 64u);
    h.files.failat = Failing::PartWrites; // as a pipe or a network file system may
    play({{"load 1000; save parts.QRD", "status=Saved: parts.QRD"}});
    // The new name made durable.
    EXPECT_EQ(std::pair(readbytes(dir.file("parts.QRD")), h.files.synced + "/"),
              std::pair(encodemap(f.blocks), dir.file("")));
    // Until the folder is synced, a save is not known to last.
    h.files.failat = Failing::SyncFolder;
    play({{"paste posxed 3; save parts.QRD",
           "status=Could not save: parts.QRD (Input/output error); modified=1"}});
}

TEST_F(Keeping, AReadOnlyFileIsLeftAndASaveWritesOnlyInItsFolder) {
    const auto old = filebytes({numbered(5)});
    run("write locked.QRD n5; load 1000");
    ::chmod(dir.file("locked.QRD").c_str(), 0444);
    ::chmod(dir.file("").c_str(), 0777); // the folder stays writable
    // Root may write anything: the save runs as another user there.
    // The folder of the file is all a save may write to.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
            play({{"save locked.QRD", "status=Could not save: locked.QRD (Permission denied)"},
                  {"save mine.QRD", "status=Saved: mine.QRD"}});
            std::_Exit(HasFailure());
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(std::pair(readbytes(dir.file("locked.QRD")), dir.names().size()),
              std::pair(old, std::size_t{2}));
}

// Undo names the action by the control it began at (each control's name for
// it is in the window's layout record): a nested cascade's, the pointer's.
TEST_F(Keeping, UndoNamesTheControlAnActionBeganAt) {
    play(
        {{"load 3; mark; arrow BottomSB(1) 1; undo", "status=Undone: Bottom spinner; table=marked"},
         {"click Label3(2); undo", "status=Undone: inverting blue; table=marked"},
         {"click selpos; point 3 4; point 5 6; clickmap; undo",
          "status=Undone: placing with the pointer; table=marked"}});
}

TEST(Invariants, HoldAndUndoIsExactAfterEveryRandomAction) {
    int deepest = 0;
    TempDir dir;
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        Harness h(true);
        std::mt19937 gen(seed);
        Actor actor(h, std::ref(gen), dir.file(""));
        for (int step = 0; step < 4000; ++step) {
            const std::string fault = actor.step();
            deepest = std::max(deepest, h.form.dispatch.maxdepth());
            ASSERT_TRUE(fault.empty())
                << "seed " << seed << ", action " << step << ": " << fault << "\nlast actions:\n"
                << actor.recent();
        }
    }
    std::cout << "deepest notification nesting: " << deepest << "\n";
    EXPECT_LT(deepest, kNestingBound);
}
