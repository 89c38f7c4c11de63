// The real widgets, worked as a person works them, on the offscreen
// platform; and the window as a desktop program: numbers typed key by key,
// the keys, the list's selection, files dropped or named on the command line.
#include "document/numtext.h"
#include "gui/window.h"
#include "support/tempdir.h"
#include "ui/qt/mapwidget.h"

#include <QFileDialog>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>

#include <random>

using namespace qs;
using namespace qs::test;

TEST_F(Window, EveryControlIsAWidgetNamedAfterItWithItsTexts) {
    EXPECT_EQ(window.windowTitle(), "Quarrystead");
    EXPECT_EQ(window.size(), QSize(572, 479));
    QStringList names;
    for (ui::Control* c : form.controls()) {
        QWidget* w = window.findChild<QWidget*>(ui::objectname(*c));
        ASSERT_NE(w, nullptr) << c->label();
        const ui::Geometry& g = c->geometry;
        EXPECT_EQ(w->geometry(), QRect(g.left / 15, g.top / 15, g.width / 15, g.height / 15)) << c->label();
        EXPECT_FALSE(w->accessibleDescription().isEmpty()) << c->label();
        names << w->accessibleName();
    }
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_FALSE(names.contains(""));
    EXPECT_EQ(find<QLineEdit>("sizeyed")->accessibleName(), "Size Z");
    EXPECT_EQ(shown("Label8 Command2 sbStatusBar_panel2"), q(form.Label8.caption) + "|Size: 1x1x0.5|Depth: 0-1000");
    EXPECT_EQ(find<QScrollBar>("AngleSB")->maximum(), 360);
    EXPECT_EQ(find<QScrollBar>("VScroll2")->minimum(), -1);
    auto* list = find<QListWidget>("List1");
    EXPECT_TRUE(list->font().family() == "Courier New" || list->font().family() == "Liberation Mono");
    EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
    auto* toolbar = find<QToolBar>("tbToolBar");
    for (const char* key : {"New", "Open", "Save", "Copy", "Refresh", "Delete"}) {
        auto* action = toolbar->findChild<QAction*>(QString("tb") + key);
        ASSERT_NE(action, nullptr);
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(toolbar->findChild<QAction*>("tbNew")->toolTip(), "New map (Ctrl+N)");
    EXPECT_EQ(toolbar->findChild<QAction*>("tbRefresh")->toolTip(), "Refresh map and list (F5)");
}

TEST_F(Window, TheCaretStaysWhereThePersonLeftIt) {
    typeover("sizexed", "2");
    auto* edit = find<QLineEdit>("posxed");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, "125"); // "01" is rewritten to "1" at once
    EXPECT_EQ(edit->text(), "125");
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClicks(edit, ".");
    EXPECT_EQ(edit->text(), "12.5");
    EXPECT_EQ(edit->cursorPosition(), 3);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClicks(edit, "x"); // "1x2.5" reads as 1
    EXPECT_EQ(edit->text(), "1");
    EXPECT_EQ(edit->cursorPosition(), 1);
}

// Each kind of widget forwards what a person does to its control, and shows
// what the cascade left in every control.
TEST_F(Window, WidgetsForwardAPersonsActionsAndMirrorTheResult) {
    typeover("sizexed", "2");
    EXPECT_EQ(rows(), (QStringList{"     0     0     2     0     0     0    0", kFreeRow}));
    EXPECT_EQ(shown("VScroll1_0"), "20");
    form.blocks[1] = test::block(-12.5f, 3.75f, 2.5f, 1, -5, 9, 45, 0x102030);
    form.refreshlist();
    window.sync();
    clickrow(1);
    EXPECT_EQ(shown("posxed posyed sizexed sizeyed bottomed heighted angleed"), "-12.5|3.75|2.5|1|5|9|45");
    EXPECT_EQ(shown("AngleSB VScroll1_0 Color_0 Color_1 Color_2"), "45|25|16|32|48");
    QTest::keyClick(find<QListWidget>("List1"), Qt::Key_Up);
    EXPECT_EQ(form.curblock, 0);

    // A spinner's right arrow adds, its left arrow takes away.
    typeover("bottomed", "2");
    auto* spinner = find<QScrollBar>("BottomSB_1");
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() - 4, spinner->height() / 2));
    EXPECT_EQ(shown("bottomed BottomSB_1"), "3|0");
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(3, spinner->height() / 2));
    EXPECT_EQ(form.blocks[0].bottom, 2);

    // A dragged thumb changes the block when it is let go.
    auto* bar = find<QScrollBar>("VScroll1_1");
    bar->setSliderDown(true);
    bar->setSliderPosition(35);
    EXPECT_EQ(shown("sizeyed"), "0");
    bar->setSliderDown(false);
    EXPECT_EQ(form.blocks[0].sizez, 3.5f);
}

TEST_F(Window, SelectPositionAndAPointerMove) {
    typeover("sizexed", "2");
    QTest::mouseClick(find<QPushButton>("selpos"), Qt::LeftButton);
    auto* map = find<ui::SurfaceWidget>("Map");
    const QPointF target = map->towidget(10, 37.5f); // Z 10, X 37.5
    QTest::mouseMove(map, target.toPoint());
    const float z = form.blocks[0].z, x = form.blocks[0].x;
    EXPECT_TRUE(std::abs(z - 10) < 0.5 && std::abs(x - 37.5) < 0.5) << z << ", " << x;
    EXPECT_EQ(find<QLineEdit>("posyed")->text().toStdString(), signednum(z));
    QTest::mouseClick(map, Qt::LeftButton, {}, target.toPoint());
    EXPECT_EQ(find<QLabel>("sbStatusBar_panel1")->text(), "Select Position SELECTED");
}

TEST_F(Window, TheMapKeepsItsDrawingAndDrawsOnlyWhatIsNew) {
    typeover("sizexed", "2");
    typeover("sizeyed", "2");
    typeover("posxed", "40");
    QTest::mouseClick(find<QPushButton>("Command1_0"), Qt::LeftButton); // white on black
    auto* map = find<ui::SurfaceWidget>("Map");
    QImage before = map->grab().toImage();
    int lit = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) lit += before.pixelColor(x, y) != QColor(Qt::black);
    EXPECT_GT(lit, 20);
    map->hide();
    map->show();
    EXPECT_EQ(map->grab().toImage(), before);
    // A highlight adds four lines; the kept drawing takes just those.
    const std::size_t drawn = map->linesdrawn();
    form.markblock(0);
    window.sync();
    EXPECT_EQ(map->linesdrawn(), drawn + 4);
}

TEST_F(Window, StartWindowMatchesTheGoldenImage) {
    const QImage shot = window.grab().toImage();
    // The date and time change; they are left out of the comparison.
    const QRect clock = find<QLabel>("sbStatusBar_panel3")->geometry().united(
        find<QLabel>("sbStatusBar_panel4")->geometry()).translated(find<QWidget>("sbStatusBar")->pos());
    expectgolden(shot, "start.png", clock);
}

TEST(FileDialogFilter, MatchesMapFilesWhateverTheCaseOfTheirExtension) {
    const std::string filter = ui::qtnamefilter("Cairnwork(*.QRD)|*.QRD");
    EXPECT_EQ(filter, "Cairnwork(*.QRD) (*.[Qq][Rr][Dd])");
    const QStringList names{"a.QRD", "b.qrd", "c.Qrd", "d.QRX", "e.QRD.bak"};
    const auto open = filter.rfind('(');
    const QString pattern = QString::fromStdString(filter.substr(open + 1, filter.size() - open - 2));
    QStringList matched;
    for (const QString& n : names)
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(n).hasMatch())
            matched << n;
    EXPECT_EQ(matched, (QStringList{"a.QRD", "b.qrd", "c.Qrd"}));
}

TEST_F(Window, RepaintingOnlyWhatChangedGivesTheSamePictureAsDrawingItAll) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> where(-25, 80), size(0.2f, 6), angle(0, 360);
    for (int i = 0; i < 400; ++i)
        form.blocks[static_cast<std::size_t>(i)] =
            test::block(where(gen), where(gen), size(gen), size(gen), 0, 1, angle(gen),
                        static_cast<std::int32_t>(gen() & 0xFFFFFF));
    form.refreshmap();
    form.refreshlist();
    window.sync();
    auto* map = find<ui::SurfaceWidget>("Map");
    auto* x = find<QLineEdit>("posxed");
    for (int step = 0; step < 30; ++step) {
        clickrow(step * 13 % 14);
        x->setFocus();
        QTest::keyClick(x, Qt::Key_End);
        QTest::keyClicks(x, step % 2 ? "7" : "");
        if (step % 2 == 0) QTest::keyClick(x, Qt::Key_Backspace);
        if (step % 5 == 0) QTest::mouseClick(find<QPushButton>("Command1_1"), Qt::LeftButton);
        ui::SurfaceWidget fresh(form.Map, nullptr);
        fresh.resize(map->size());
        fresh.sync();
        ASSERT_EQ(map->grab().toImage(), fresh.grab().toImage()) << "after step " << step;
    }
}

TEST_F(Window, UndoAndRedoKeysAreTheWindowsEvenInAField) {
    typeover("sizexed", "2");
    typeover("posxed", "35");
    auto* x = find<QLineEdit>("posxed");
    ASSERT_TRUE(x->hasFocus());
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown("posxed sbStatusBar_panel1"), "0|Undone: typing in X");
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(x->text(), "35");
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(x, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(shown("posxed sbStatusBar_panel1"), "35|Redone: typing in X");
}

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
