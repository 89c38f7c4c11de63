// The core's cost per event, with the whole cascade, on maps of 1 to 1000
// blocks.
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "fixture.h"
#include "formats/scene.h"

#include "support/tempdir.h"
#include "tools/snap.h"
#include <filesystem>

#include <cmath>
#include <fcntl.h>
#include <unistd.h>

using namespace qs;
using qs::bench::Bench;

namespace {

void sizes(::benchmark::internal::Benchmark* b) {
    b->Arg(1)->Arg(10)->Arg(100)->Arg(1000);
}

// One keystroke at the end of X of a block in the middle of the listed run:
// a digit typed, then taken away again, alternately.
void keystrokes(benchmark::State& state, bool bare) {
    const int n = static_cast<int>(state.range(0));
    Bench b(n, bare);
    b.p.select(n / 2);
    b.p.paste(b.f.posxed, "5");
    bool typed = false;
    for (auto _ : state) {
        typed ? b.p.backspace(b.f.posxed) : b.p.type(b.f.posxed, "1");
        typed = !typed;
    }
}
void BM_Keystroke(benchmark::State& state) {
    keystrokes(state, false);
}
BENCHMARK(BM_Keystroke)->Apply(sizes);

// The same without the history and the recovery copy.
void BM_KeystrokeBare(benchmark::State& state) {
    keystrokes(state, true);
}
BENCHMARK(BM_KeystrokeBare)->Arg(1000);

// What the history holds after 10,000 keystrokes on a full map, none of
// which merge: each goes to another field or block than the one before.
void BM_HistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Bench b(1000);
        ui::TextField* fields[] = {&b.f.posxed, &b.f.posyed, &b.f.bottomed, &b.f.heighted};
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            if (i % 4 == 0) b.p.select((i / 4) % 998);
            ui::TextField& field = *fields[i % 4];
            field.text().size() > 3 ? b.p.backspace(field) : b.p.type(field, "1");
        }
        state.counters["steps"] = static_cast<double>(b.f.history.steps());
        state.counters["bytes"] = static_cast<double>(b.f.history.bytes());
    }
}
BENCHMARK(BM_HistoryMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// "2" typed over Size X on the free-slot row after n blocks.
void BM_TypicalEvent(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bench b(n);
    const BlockTable table = b.f.blocks;
    for (auto _ : state) {
        state.PauseTiming();
        b.f.document.replace(table);
        b.f.refreshlist();
        b.p.select(n);
        state.ResumeTiming();
        b.p.paste(b.f.sizexed, "2");
    }
}
BENCHMARK(BM_TypicalEvent)->Apply(sizes);

void BM_ListClick(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bench b(n);
    // Between the first row and the middle one (the free slot's row for a
    // single block).
    const int middle = std::max(n / 2, 1);
    int row = 0;
    for (auto _ : state) {
        row = row == middle ? 0 : middle;
        b.p.select(row);
    }
}
BENCHMARK(BM_ListClick)->Apply(sizes);

// The Bottom spinner's 1.0 column, up and down alternately.
void BM_SpinnerClick(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bench b(n);
    b.p.select(n / 2);
    int direction = 1;
    for (auto _ : state) {
        b.p.arrow(b.f.BottomSB[1], direction);
        direction = -direction;
    }
}
BENCHMARK(BM_SpinnerClick)->Apply(sizes);

void BM_Delete(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Bench b(n);
    const BlockTable table = b.f.blocks;
    for (auto _ : state) {
        state.PauseTiming();
        b.f.document.replace(table);
        b.f.refreshlist();
        b.p.select(0);
        b.h.messagebox.answers = {ui::Answer::Yes};
        state.ResumeTiming();
        b.p.press("Delete");
    }
}
BENCHMARK(BM_Delete)->Apply(sizes);

void BM_Refresh(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    for (auto _ : state)
        b.p.press("Refresh");
}
BENCHMARK(BM_Refresh)->Apply(sizes);

void BM_Open(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    test::TempDir dir;
    const std::string path = dir.file("full.QRD");
    test::writebytes(path, encodemap(b.f.blocks));
    for (auto _ : state) {
        b.h.filedialog.opens.push_back({path, "full.QRD"});
        b.p.press("Open");
    }
}
BENCHMARK(BM_Open)->Arg(1000);

void BM_Save(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    test::TempDir dir;
    const std::string path = dir.file("full.QRD");
    for (auto _ : state) {
        b.h.filedialog.saves.push_back({path, "full.QRD"});
        b.p.press("Save");
    }
}
BENCHMARK(BM_Save)->Arg(1000);

// The floor under a safe save: 32,000 bytes written to a new file beside
// the target, flushed, renamed over it and the folder synced, and nothing
// else.
void BM_SaveFloor(benchmark::State& state) {
    test::TempDir dir;
    const std::string path = dir.file("full.QRD");
    const std::string temp = dir.file(".full.QRD.new");
    const std::vector<char> bytes(32000, 'x');
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0)
            state.SkipWithError("the floor's own write failed");
        const int folder = ::open(dir.file("").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0 || ::fsync(folder) != 0 || ::close(folder) != 0)
            state.SkipWithError("the floor's folder sync failed");
    }
}
BENCHMARK(BM_SaveFloor);

// The safe save alone, through the file-system service: what Save adds to
// the floor apart from the command's compaction, list rebuilds and redraw.
void BM_WriteMapFile(benchmark::State& state) {
    Bench b(1000);
    const std::string path = b.dir.file("full.QRD");
    const auto bytes = encodemap(b.f.blocks);
    for (auto _ : state)
        if (!writemapfile(systemfiles(), path, bytes).ok) state.SkipWithError("the save failed");
}
BENCHMARK(BM_WriteMapFile);

// What lies under the pointer on the map: the block, or a handle of the
// current one, at points all over the map.
void BM_HitTest(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        ++i;
        b.h.tool.hover({static_cast<double>(i % 75 - 20), static_cast<double>(i * 7 % 75)}, 0.05);
        benchmark::DoNotOptimize(b.h.tool.cursor());
    }
}
BENCHMARK(BM_HitTest)->Arg(1000);

// One pointer move of a drag of every block, in the core alone: the edit,
// its step, the list and the map's drawing.
void BM_DragCore(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    b.h.tool.key(tools::Key::SelectAll, {});
    const MapPoint at{b.f.blocks[500].z, b.f.blocks[500].x};
    b.h.tool.press(at, {}, 0.05);
    bool there = false;
    for (auto _ : state) {
        there = !there;
        b.h.tool.move({at.z + (there ? 3.3 : 0.2), at.x + (there ? 2.1 : 0.1)}, {}, 0.05);
    }
}
BENCHMARK(BM_DragCore)->Arg(1000)->Unit(benchmark::kMillisecond);

// Snapping's search on one pointer move: a block's corners against the
// corners and edges of every other block.
void BM_Snap(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    std::vector<int> others;
    for (int i = 1; i < b.f.List1.listcount() - 1; ++i)
        others.push_back(i);
    const auto corners = tools::cornerpoints(b.f.blocks[0]);
    CornerCache cache;
    double dz = 0;
    for (auto _ : state) {
        dz = dz > 30 ? 0 : dz + 0.37;
        benchmark::DoNotOptimize(
            tools::snaptoblocks(corners, {dz, 5}, b.f.blocks, others, 0.3, &cache));
    }
}
BENCHMARK(BM_Snap)->Arg(1000);

// Export of a full map as GLB: the scene made from the table, its file
// written and put in place (with the flush to disk a safe write makes).
void BM_ExportGlb(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    const std::string path = b.dir.file("map.glb");
    std::size_t bytes = 0;
    for (auto _ : state) {
        const formats::Scene scene = formats::scenefrom(b.f.blocks, 0, 1000);
        if (!formats::writescene(systemfiles(), path, formats::SceneKind::Glb, scene).ok)
            state.SkipWithError("the export failed");
        bytes = std::filesystem::file_size(path);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExportGlb)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
