// Quarrystead's start routine: read the command line, create the main
// window, load it, show it, open a map named on the command line.
#include "app/mainform.h"
#include "ui/qt/application.h"
#include "ui/qt/mainwindow.h"
#include "ui/qt/qtplatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

// Qt's own options, which the window takes for itself ("-platform
// offscreen"); the program's parser leaves them alone.
QStringList withoutqtoptions(int argc, char** argv) {
    static const std::set<QString> withvalue = {"platform",
                                                "platformpluginpath",
                                                "platformtheme",
                                                "plugin",
                                                "display",
                                                "geometry",
                                                "qwindowgeometry",
                                                "qwindowicon",
                                                "qwindowtitle",
                                                "style",
                                                "stylesheet",
                                                "session",
                                                "name",
                                                "title",
                                                "visual"};
    static const std::set<QString> plain = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    QStringList out;
    for (int i = 0; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QString name = arg;
        while (name.startsWith('-'))
            name.remove(0, 1);
        if (i > 0 && arg.startsWith('-') && withvalue.count(name) && i + 1 < argc)
            ++i;
        else if (!(i > 0 && arg.startsWith('-') && plain.count(name)))
            out << arg;
    }
    return out;
}

QString usage(const QCommandLineParser& parser) {
    return parser.helpText().replace("<executable_name>", "quarrystead");
}

// While the application connects to the display, Qt's words are held back:
// when it cannot connect, Qt would end the program with an abort (and a core
// dump) after several lines of its own; the program says so in one line and
// ends with status 1 instead.
std::vector<std::string> heldmessages;
void whilestarting(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        heldmessages.push_back(text.toStdString());
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "quarrystead: cannot open a display%s\n",
                 display.isEmpty() ? " (DISPLAY is not set)" : qPrintable(" (" + display + ")"));
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    qs::ignorefilesizesignal();

    // The command line is read before any window exists, so --help and
    // --version work without a display.
    QCoreApplication::setApplicationName("Quarrystead");
    QCoreApplication::setApplicationVersion(QS_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription("An editor for maps made of blocks.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("FILE", "A map file to open (.QRD).", "[FILE]");
    // For the start-up benchmark: quit as soon as the window is painted.
    QCommandLineOption painted("exit-when-painted");
    painted.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(painted);
    if (!parser.parse(withoutqtoptions(argc, argv))) {
        std::fprintf(stderr, "quarrystead: %s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(usage(parser)));
        return 2;
    }
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(usage(parser)));
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("quarrystead %s\n", QS_VERSION);
        return 0;
    }

    qInstallMessageHandler(whilestarting);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    for (const std::string& held : heldmessages)
        std::fprintf(stderr, "%s\n", held.c_str());
    qs::ui::setupapplication(app);
    qs::ui::closeonterminate(app);

    qs::ui::QtSettings settings;
    qs::ui::DefaultRandom random;
    qs::ui::QtFileDialog filedialog;
    qs::ui::QtMessageBox messagebox;
    qs::ui::QtTimer recoverytimer;
    qs::ui::QtClipboard clipboard;
    qs::MainForm form({settings, filedialog, messagebox, random, qs::systemfiles(), recoverytimer,
                       qs::ui::recoveryfolder(), &clipboard});
    qs::ui::MainWindow window(form);
    filedialog.setparent(&window);
    messagebox.setparent(&window);

    form.start();
    std::vector<std::string> files;
    for (const QString& file : parser.positionalArguments())
        files.push_back(file.toLocal8Bit().toStdString());
    form.openfiles(files);
    window.placefromform();
    window.sync();
    if (parser.isSet(painted)) qs::ui::quitwhenpainted(window);
    window.show();
    window.restoreviews();
    // Once the window is up, the unsaved work of editors that ended.
    QTimer::singleShot(0, &window, [&] {
        form.offerrecovery();
        window.sync();
    });
    return QApplication::exec();
}
