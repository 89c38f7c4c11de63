#include "ui/qt/application.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QSocketNotifier>
#include <QStyleFactory>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace qs::ui {

void setupapplication(QApplication& app) {
    QApplication::setApplicationName("Quarrystead");
    QApplication::setOrganizationName("Quarrystead");
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    QApplication::setFont(font);
    (void)app;
}

namespace {
int terminatepipe[2] = {-1, -1};
void onterminate(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(terminatepipe[1], &c, 1);
}
} // namespace

void quitwhenpainted(QWidget& window) {
    struct Watch : QObject {
        using QObject::QObject;
        bool eventFilter(QObject* o, QEvent* e) override {
            // The whole window is painted in the same pass as its first
            // paint event; quitting is queued behind it.
            if (e->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            return QObject::eventFilter(o, e);
        }
    };
    window.installEventFilter(new Watch(&window));
}

void closeonterminate(QApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminatepipe) != 0) return;
    auto* notifier = new QSocketNotifier(terminatepipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char c;
        [[maybe_unused]] const auto n = ::read(terminatepipe[0], &c, 1);
        QApplication::closeAllWindows();
    });
    struct sigaction action {};
    action.sa_handler = onterminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace qs::ui
