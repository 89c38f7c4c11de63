// Prints the MIME type the desktop's database gives a file name by its
// extension:  mimetype NAME...
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    for (int i = 1; i < argc; ++i)
        out << QMimeDatabase()
                   .mimeTypeForFile(QString::fromLocal8Bit(argv[i]), QMimeDatabase::MatchExtension)
                   .name()
            << "\n";
    return 0;
}
