// The real window's cost per event: the keystroke through a QLineEdit, the
// view's update and a completed repaint; and the start-up.
#include "fixture.h"
#include "ui/qt/mainwindow.h"
#include "ui/qt/qtplatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace qs;

namespace {

struct WindowBench {
    explicit WindowBench(int n) {
        form.start();
        for (int i = 0; i < n; ++i) form.blocks[static_cast<std::size_t>(i)] = bench::benchblock(i);
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
    MainForm form{Services{settings, files, box, random}};
    ui::MainWindow window{form};
};

void BM_WindowKeystroke(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    WindowBench w(n);
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
BENCHMARK(BM_WindowKeystroke)->Arg(1)->Arg(10)->Arg(100)->Arg(1000);

void BM_Startup(benchmark::State& state) {
    for (auto _ : state) {
        WindowBench w(0);
        benchmark::DoNotOptimize(w.window.isVisible());
    }
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

} // namespace
