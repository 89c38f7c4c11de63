// Opens a map of 1000 blocks in the editor's window, shows and paints it,
// and prints the peak resident memory of the process (VmHWM).
#include "benchmap.h"
#include "document/mapcodec.h"
#include "support/tempdir.h"
#include "ui/qt/application.h"
#include "ui/qt/mainwindow.h"

#include <QApplication>
#include <QTest>

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qs::ui::setupapplication(app);
    qs::test::Harness h;
    qs::ui::MainWindow window(h.form);
    h.form.start();
    qs::BlockTable full;
    for (int i = 0; i < qs::kSlots; ++i)
        full[static_cast<std::size_t>(i)] = qs::bench::benchblock(i);
    qs::test::TempDir dir;
    qs::test::writebytes(dir.file("full.QRD"), qs::encodemap(full));
    h.filedialog.opens.push_back({dir.file("full.QRD"), "full.QRD"});
    h.form.tbToolBar.click("Open");
    window.sync();
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();

    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM", 0) == 0 || line.rfind("VmRSS", 0) == 0) std::cout << line << "\n";
    return 0;
}
