// Writes the application icon as PNG files in the usual sizes, drawn by the
// same code as the window's own icon:  makeicons OUTDIR
#include "ui/qt/icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) return 2;
    const QIcon icon = qs::ui::appicon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QString("%1/%2x%2/apps").arg(argv[1]).arg(size);
        QDir().mkpath(folder);
        if (!icon.pixmap(size, size).save(folder + "/org.quarrystead.Quarrystead.png")) return 1;
    }
    return 0;
}
