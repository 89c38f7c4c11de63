// The window as a desktop program: numbers typed key by key, the keys, the
// list's selection, files dropped or named on the command line.
#include "gui/window.h"
#include "support/tempdir.h"

#include <QAccessible>
#include <QFileDialog>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>

using namespace qs;
using namespace qs::test;

namespace {

struct Desktop : Window {
    Desktop() {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    TempDir dir;
    QLabel* panel() { return find<QLabel>("sbStatusBar_panel1"); }
    // A key pressed wherever the keyboard is.
    void press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        if (!window.isActiveWindow()) {
            window.activateWindow(); // back from a message box
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        }
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &window, key, mods);
    }
};

} // namespace

// Each key typed over a field holding "0", with the field's text and the
// block's value after it. A text held back shows as typed and commits
// nothing until the next key, or until the field is left (Tab, Return).
TEST_F(Desktop, NumbersTypedKeyByKey) {
    // The field, its keys ('>' is Tab, '/' Return), then after each key the
    // text shown and the value committed.
    const std::tuple<const char*, float Block::*, const char*, const char*, const char*> cases[] = {
        {"posxed", &Block::x, "1.5", "1 1. 1.5", "1 1 1.5"},
        {"posyed", &Block::z, "-10", "- -1 -10", "0 -1 -10"},
        {"posxed", &Block::x, "-0.5", "- -0 -0. -.5", "0 0 0 -0.5"},
        {"heighted", &Block::height, "0.05", "0 0. 0.0 .05", "0 0 0 0.05"},
        {"bottomed", &Block::bottom, ".25", ". .2 .25", "0 0.2 0.25"},
        {"posyed", &Block::z, "2.50/", "2 2. 2.5 2.50 2.5", "2 2 2.5 2.5 2.5"},
        {"angleed", &Block::angle, "45.5", "4 45 45. 46", "4 45 45 46"},
        {"posxed", &Block::x, "->", "- 0", "0 0"},
        {"sizeyed", &Block::sizez, "1e2", "1 1e 100", "1 1 100"}};
    typeover("sizexed", "2");
    for (const auto& [field, value, keys, texts, values] : cases) {
        auto* edit = find<QLineEdit>(field);
        typeover(field, "0");
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier); // the first key replaces the "0"
        QStringList seen, committed;
        for (const char key : std::string(keys)) {
            if (key == '>' || key == '/') QTest::keyClick(edit, key == '>' ? Qt::Key_Tab : Qt::Key_Return);
            else QTest::keyClick(edit, key);
            seen << edit->text();
            committed << QString::number(form.blocks[0].*value);
        }
        EXPECT_EQ(seen.join(' '), texts) << field << " " << keys;
        EXPECT_EQ(committed.join(' '), values) << field << " " << keys;
    }
    // A held text passes on before a list click.
    typeover("posxed", "3.");
    form.blocks[1] = form.blocks[0];
    form.refreshlist();
    window.sync();
    clickrow(1);
    EXPECT_EQ(form.blocks[0].x, 3);
    EXPECT_EQ(form.curblock, 1);
}

TEST_F(Desktop, KeysRunTheCommands) {
    for (int i = 0; i < 3; ++i) form.blocks[static_cast<std::size_t>(i)] = numbered(i);
    form.refreshlist();
    window.sync();
    clickrow(1);
    auto* list = find<QListWidget>("List1");
    press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(form.blocks[3], numbered(1));
    press(Qt::Key_F5);
    EXPECT_EQ(shown("sbStatusBar_panel1"), "Refreshed Map and List");
    list->setFocus();
    answernext(QMessageBox::Yes);
    press(Qt::Key_Delete);
    EXPECT_EQ(panel()->text(), "Block Deleted");
    EXPECT_EQ(form.blocks[3], Block{});

    // Ctrl+S with no file yet is the Save button; then it saves there.
    files.saves.push_back({dir.file("keys.QRD"), "keys.QRD"});
    press(Qt::Key_S, Qt::ControlModifier);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(files.shown, 1);
    EXPECT_EQ(panel()->text(), "Saved: keys.QRD");
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(files.shown, 3);
    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(panel()->text(), "New Map");
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(settings.values.count({"Quarrystead", "Settings", "Background"}), 1u);
}

TEST_F(Desktop, TheListKeepsItsSelectedRow) {
    typeover("sizexed", "2");
    auto* list = find<QListWidget>("List1");
    clickrow(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
    EXPECT_EQ(list->selectedItems().size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->currentRow(), 0);
}

TEST_F(Desktop, ADroppedFileOpens) {
    writebytes(dir.file("dropped.QRD"), filebytes({numbered(4)}));
    auto drop = [&](QList<QUrl> urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        QDropEvent e(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &e);
    };
    drop({QUrl::fromLocalFile(q(dir.file("dropped.QRD")))});
    EXPECT_EQ(panel()->text(), "Opened: dropped.QRD");
    EXPECT_EQ(form.blocks[0], numbered(4));
    drop({QUrl::fromLocalFile(q(dir.file("a.QRD"))), QUrl::fromLocalFile(q(dir.file("b.QRD")))});
    EXPECT_EQ(panel()->text(), "Could not open 2 files: one map at a time");
}

TEST_F(Desktop, DialogsStartAtTheLastFile) {
    ui::QtFileDialog dialog(&window);
    dialog.setlastfile(dir.file("last.QRD"));
    QString folder, name;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        folder = shown->directory().absolutePath();
        name = shown->selectedFiles().value(0);
        shown->reject();
    });
    dialog.showsave();
    EXPECT_EQ(folder, q(dir.file("")).chopped(1));
    EXPECT_EQ(name, q(dir.file("last.QRD")));
}

TEST_F(Desktop, AWindowOffEveryScreenComesBackAndKeepsItsTwips) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    form.left = 40000;
    window.placefromform();
    EXPECT_TRUE(screen.contains(window.pos())) << window.pos().x();
    form.left = 1000;
    form.top = 1000;
    window.placefromform();
    window.close();
    EXPECT_EQ((settings.values[{"Quarrystead", "Settings", "MainLeft"}]), "1000");
}

// The program itself, as a process: the command line.
TEST(CommandLine, HelpVersionUnknownOptionsAndMissingFiles) {
    const QString program = QS_PROGRAM;
    const std::tuple<const char*, int, const char*> runs[] = {{"--help", 0, "Usage: quarrystead [options] [FILE]"},
                                                              {"--version", 0, "quarrystead "},
                                                              {"--frobnicate", 2, "Unknown option 'frobnicate'"}};
    for (const auto& [option, code, says] : runs) {
        QProcess p; // killed when it goes, should it hang
        p.start(program, {option});
        EXPECT_TRUE(p.waitForFinished(10000)) << option;
        EXPECT_EQ(p.exitCode(), code) << option;
        EXPECT_TRUE(QString(p.readAllStandardOutput() + p.readAllStandardError()).contains(says)) << option;
    }
    // A missing name opens a window that reports it, and is not created.
    TempDir dir;
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", q(dir.file("config")));
    env.insert("XDG_DATA_HOME", q(dir.file("data")));
    editor.setProcessEnvironment(env);
    editor.start(program, {"-platform", "offscreen", q(dir.file("missing.QRD"))});
    ASSERT_TRUE(editor.waitForStarted());
    EXPECT_FALSE(editor.waitForFinished(1500)); // still running: no crash
    editor.terminate();
    EXPECT_TRUE(editor.waitForFinished());
    EXPECT_EQ(editor.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(q(dir.file("missing.QRD"))));
}
