// The real window's cost per event: the keystroke through a QLineEdit, the
// view's update and a completed repaint; and the start-up.
#include "fixture.h"
#include "formats/text.h"
#include "support/tempdir.h"
#include "ui/qt/mainwindow.h"
#include "ui/qt/qtplatform.h"
#include "ui/qt/viewwindows.h"

#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QTest>

using namespace qs;

namespace {

struct WindowBench {
    explicit WindowBench(int n, bool bare = false) {
        if (bare) {
            form.dispatch.onactionbegin = nullptr;
            form.dispatch.onactionend = nullptr;
        }
        form.start();
        for (int i = 0; i < n; ++i)
            form.document.set(i, bench::benchblock(i));
        form.refreshmap();
        form.refreshlist();
        window.placefromform();
        window.sync();
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        QCoreApplication::processEvents();
    }
    ui::MemorySettings settings;
    ui::ScriptedFileDialog files;
    ui::ScriptedMessageBox box;
    ui::DefaultRandom random;
    test::TempDir dir;
    ui::QtTimer timer;
    ui::QtClipboard clipboard;
    MainForm form{Services{settings, files, box, random, systemfiles(), timer, dir.path.string(),
                           &clipboard}};
    ui::MainWindow window{form};
};

// A view on its own, floating, at the size given.
void showview(QDockWidget& dock, QWidget& view, QSize size) {
    dock.setFloating(true);
    dock.show();
    (void)QTest::qWaitForWindowExposed(&dock);
    QCoreApplication::processEvents();
    dock.resize(size + dock.size() - view.size());
    QCoreApplication::processEvents();
}

void windowkeystrokes(benchmark::State& state, bool bare, bool views = false) {
    const int n = static_cast<int>(state.range(0));
    WindowBench w(n, bare);
    if (views) {
        showview(w.window.mapdock(), w.window.mapwindow(), {640, 640});
        showview(w.window.boxdock(), w.window.boxwindow(), {800, 600});
    }
    w.form.List1.setlistindex(n / 2);
    w.form.posxed.settext("5");
    w.window.sync();
    auto* edit = w.window.findChild<QLineEdit*>("posxed");
    edit->setFocus();
    edit->setCursorPosition(1);
    QCoreApplication::processEvents();
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(edit, typed ? Qt::Key_Backspace : Qt::Key_1);
        typed = !typed;
        QCoreApplication::processEvents(); // the repaint of what changed
    }
}
void BM_WindowKeystroke(benchmark::State& state) {
    windowkeystrokes(state, false);
}
BENCHMARK(BM_WindowKeystroke)->Arg(1)->Arg(10)->Arg(100)->Arg(1000);

// The same with the map window and the 3D view open: both repaint too.
void BM_WindowKeystrokeViews(benchmark::State& state) {
    windowkeystrokes(state, false, true);
}
BENCHMARK(BM_WindowKeystrokeViews)->Arg(1000);

// A whole repaint of the map window at 1280 x 1024, and a frame of the 3D
// view at the same size, on a full map.
void viewrepaint(benchmark::State& state, bool boxes) {
    WindowBench w(static_cast<int>(state.range(0)));
    QWidget& view = boxes ? static_cast<QWidget&>(w.window.boxwindow()) : w.window.mapwindow();
    showview(boxes ? w.window.boxdock() : w.window.mapdock(), view, {1280, 1024});
    auto& kept = boxes ? static_cast<ui::ViewWindow&>(w.window.boxwindow()) : w.window.mapwindow();
    for (auto _ : state) {
        kept.invalidate(); // all of it, not only what changed
        view.repaint();
    }
}
void BM_MapWindowRepaint(benchmark::State& state) {
    viewrepaint(state, false);
}
void BM_BoxViewFrame(benchmark::State& state) {
    viewrepaint(state, true);
}
BENCHMARK(BM_MapWindowRepaint)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoxViewFrame)->Arg(1000)->Unit(benchmark::kMillisecond);

// What the 3D view shows under the pointer at 1280 x 1024, on a full map,
// read from the pass that drew it, at points all over the view.
void BM_Pick3D(benchmark::State& state) {
    WindowBench w(static_cast<int>(state.range(0)));
    auto& boxes = w.window.boxwindow();
    showview(w.window.boxdock(), boxes, {1280, 1024});
    boxes.repaint();
    int i = 0, hits = 0;
    for (auto _ : state) {
        ++i;
        hits += boxes.pick(QPointF(i * 37 % 1280, i * 53 % 1024)) >= 0;
    }
    state.counters["hit"] = benchmark::Counter(hits, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Pick3D)->Arg(1000);

// One pointer move of a drag on the map window at 1280 x 1024, with
// snapping, the window's update and the repaint: every block selected, or
// one among them.
void drag(benchmark::State& state, bool all) {
    WindowBench w(static_cast<int>(state.range(0)));
    auto& map = w.window.mapwindow();
    showview(w.window.mapdock(), map, {1280, 1024});
    tools::MapTool& tool = map.tool();
    const double pixel = 1 / map.view().scale;
    if (all) tool.key(tools::Key::SelectAll, {});
    const Block& b = w.form.blocks[500];
    const MapPoint at{b.z, b.x};
    tool.press(at, {}, pixel);
    bool there = false;
    for (auto _ : state) {
        there = !there;
        tool.move({at.z + (there ? 3.3 : 0.2), at.x + (there ? 2.1 : 0.1)}, {}, pixel);
        QCoreApplication::processEvents();
    }
    tool.release(at, {}, pixel);
}
void BM_DragSelection(benchmark::State& state) {
    drag(state, true);
}
void BM_DragOne(benchmark::State& state) {
    drag(state, false);
}
BENCHMARK(BM_DragSelection)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragOne)->Arg(1000)->Unit(benchmark::kMillisecond);

// A box dragged over half the map, taking the blocks inside it: press,
// move, release and the repaint.
void BM_BoxSelect(benchmark::State& state) {
    WindowBench w(static_cast<int>(state.range(0)));
    auto& map = w.window.mapwindow();
    showview(w.window.mapdock(), map, {1280, 1024});
    tools::MapTool& tool = map.tool();
    const double pixel = 1 / map.view().scale;
    bool left = false;
    for (auto _ : state) {
        left = !left;
        const double from = left ? -30 : 20, to = left ? 20 : 70;
        tool.press({from, -10}, {}, pixel);
        tool.move({to, 90}, {}, pixel);
        tool.release({to, 90}, {}, pixel);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_BoxSelect)->Arg(1000)->Unit(benchmark::kMillisecond);

// Every block of a full map selected and copied to the desktop's clipboard,
// as records and as rows of text.
void BM_Copy(benchmark::State& state) {
    WindowBench w(static_cast<int>(state.range(0)));
    w.window.mapwindow().tool().key(tools::Key::SelectAll, {});
    for (auto _ : state) {
        w.form.copyblocks(false);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Copy)->Arg(1000)->Unit(benchmark::kMillisecond);

// As many blocks, as JSON from the clipboard, pasted into an empty map:
// read, put into free slots, the list and the map rebuilt, the repaint.
void BM_Paste(benchmark::State& state) {
    WindowBench w(0);
    std::vector<Block> blocks;
    for (int i = 0; i < state.range(0); ++i)
        blocks.push_back(bench::benchblock(i));
    w.clipboard.put({{}, formats::tojson(blocks)});
    for (auto _ : state) {
        w.form.pasteblocks(nullptr);
        QCoreApplication::processEvents();
        if (w.form.sbStatusBar.text(1).rfind("Pasted", 0) != 0) {
            state.SkipWithError(w.form.sbStatusBar.text(1).c_str());
            break;
        }
        state.PauseTiming();
        w.form.undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same without the history and the recovery copy.
void BM_WindowKeystrokeBare(benchmark::State& state) {
    windowkeystrokes(state, true);
}
BENCHMARK(BM_WindowKeystrokeBare)->Arg(1000);

// Undo, then redo, of a keystroke on a full map, each with the window's
// update and repaint: the key's whole cost.
void undoredo(benchmark::State& state, bool undo) {
    WindowBench w(static_cast<int>(state.range(0)));
    w.form.List1.setlistindex(500);
    w.form.posxed.settext("5");
    w.window.sync();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        if (!undo) {
            state.PauseTiming();
            w.form.undo();
            w.window.sync();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        undo ? w.form.undo() : w.form.redo();
        w.window.sync();
        QCoreApplication::processEvents();
        if (undo) {
            state.PauseTiming();
            w.form.redo();
            w.window.sync();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
}
void BM_WindowUndo(benchmark::State& state) {
    undoredo(state, true);
}
void BM_WindowRedo(benchmark::State& state) {
    undoredo(state, false);
}
BENCHMARK(BM_WindowUndo)->Arg(1000);
BENCHMARK(BM_WindowRedo)->Arg(1000);

void BM_Startup(benchmark::State& state) {
    for (auto _ : state) {
        WindowBench w(0);
        benchmark::DoNotOptimize(w.window.isVisible());
    }
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

} // namespace
