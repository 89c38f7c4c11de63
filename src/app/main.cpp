// Quarrystead's start routine: create the main window, load it, show it.
#include "app/mainform.h"
#include "ui/qt/application.h"
#include "ui/qt/mainwindow.h"
#include "ui/qt/qtplatform.h"

#include <QApplication>

int main(int argc, char** argv) {
    qs::ignorefilesizesignal();
    QApplication app(argc, argv);
    qs::ui::setupapplication(app);
    qs::ui::closeonterminate(app);

    qs::ui::QtSettings settings;
    qs::ui::DefaultRandom random;
    qs::ui::QtFileDialog filedialog;
    qs::ui::QtMessageBox messagebox;
    qs::ui::QtTimer recoverytimer;
    qs::MainForm form({settings, filedialog, messagebox, random, qs::systemfiles(), recoverytimer,
                       qs::ui::recoverypath()});
    qs::ui::MainWindow window(form);
    filedialog.setparent(&window);
    messagebox.setparent(&window);

    form.start();
    window.placefromform();
    window.sync();
    window.show();
    return QApplication::exec();
}
