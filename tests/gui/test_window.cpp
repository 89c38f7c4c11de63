// The real widgets, worked as a person works them, on the offscreen
// platform; and the window as a desktop program: numbers typed key by key,
// the keys, the list's selection, files dropped or named on the command line.
#include "document/numtext.h"
#include "gui/window.h"
#include "support/tempdir.h"
#include "ui/qt/mapwidget.h"
#include "ui/qt/viewwindows.h"

#include <QFileDialog>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QWindow>

#include <random>

using namespace qs;
using namespace qs::test;

TEST_F(Window, EveryControlIsAWidgetNamedAfterItWithItsTexts) {
    EXPECT_EQ(window.windowTitle(), "Quarrystead");
    EXPECT_EQ(window.size(), QSize(572, 479));
    QStringList names;
    for (ui::Control* c : form.controls()) {
        QWidget* w = find(ui::objectname(*c));
        const ui::Geometry& g = c->geometry;
        EXPECT_EQ(w->geometry(), QRect(g.left / 15, g.top / 15, g.width / 15, g.height / 15))
            << c->label();
        EXPECT_FALSE(w->accessibleDescription().isEmpty()) << c->label();
        names << w->accessibleName();
    }
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_FALSE(names.contains(""));
    EXPECT_EQ(find("sizeyed")->accessibleName(), "Size Z");
    expect("Label8=" + form.Label8.caption +
           "; Command2=Size: 1x1x0.5; sbStatusBar_panel2=Depth: 0-1000");
    EXPECT_EQ(find<QScrollBar>("AngleSB")->maximum(), 360);
    EXPECT_EQ(find<QScrollBar>("VScroll2")->minimum(), -1);
    const QFont font = find("List1")->font();
    EXPECT_TRUE(font.family() == "Courier New" || font.family() == "Liberation Mono");
    EXPECT_TRUE(QFontInfo(font).fixedPitch());
    for (const char* key : {"New", "Open", "Save", "Copy", "Refresh", "Delete"})
        EXPECT_FALSE(find<QAction>(QString("tb") + key)->icon().isNull()) << key;
    EXPECT_EQ(find<QAction>("tbNew")->toolTip(), "New map (Ctrl+N)");
    EXPECT_EQ(find<QAction>("tbRefresh")->toolTip(), "Refresh map and list (F5)");
}

TEST_F(Window, TheCaretStaysWhereThePersonLeftIt) {
    play({{"typeover sizexed 2; focus posxed; keys <End>125",
           "posxed=125"}, // "01" is rewritten to "1" at once
          {"keys <Left>.", "posxed=12.5; posxed.caret=3"},
          {"keys <Home><Right>x", "posxed=1; posxed.caret=1"}}); // "1x2.5" reads as 1
}

// Each kind of widget forwards what a person does to its control, and shows
// what the cascade left in every control.
TEST_F(Window, WidgetsForwardAPersonsActionsAndMirrorTheResult) {
    play({{"typeover sizexed 2",
           "rows=2; row 0=     0     0     2     0     0     0    0; VScroll1_0=20"},
          {"put 1 -12.5 3.75 2.5 1 -5 9 45 102030; refreshlist; row 1",
           "posxed=-12.5; posyed=3.75; sizexed=2.5; sizeyed=1; bottomed=5; heighted=9; angleed=45; "
           "AngleSB=45; "
           "VScroll1_0=25; Color_0=16; Color_1=32; Color_2=48"},
          {"focus List1; keys <Up>", "cur=0"}});
    // A spinner's right arrow adds, its left arrow takes away.
    play({{"typeover bottomed 2; spin BottomSB_1 1", "bottomed=3; BottomSB_1=0"},
          {"spin BottomSB_1 -1", "b0.bottom=2"}});
    // A dragged thumb changes the block when it is let go.
    auto* bar = find<QScrollBar>("VScroll1_1");
    bar->setSliderDown(true);
    bar->setSliderPosition(35);
    expect("sizeyed=0");
    bar->setSliderDown(false);
    expect("b0.sizez=3.5");
}

TEST_F(Window, SelectPositionAndAPointerMove) {
    run("typeover sizexed 2; push selpos");
    auto* map = find<ui::SurfaceWidget>("Map");
    const QPoint target = map->towidget(10, 37.5f).toPoint(); // Z 10, X 37.5
    QTest::mouseMove(map, target);
    const float z = form.blocks[0].z, x = form.blocks[0].x;
    EXPECT_TRUE(std::abs(z - 10) < 0.5 && std::abs(x - 37.5) < 0.5) << z << ", " << x;
    expect("posyed=" + signednum(z));
    QTest::mouseClick(map, Qt::LeftButton, {}, target);
    expect("status=Select Position SELECTED");
}

TEST_F(Window, StartWindowMatchesTheGoldenImage) {
    // The date and time change; they are left out of the comparison.
    const QRect clock =
        find("sbStatusBar_panel3")->geometry().united(find("sbStatusBar_panel4")->geometry());
    expectgolden(window.grab().toImage(), "start.png",
                 clock.translated(find("sbStatusBar")->pos()));
}

TEST(FileDialogFilter, MatchesMapFilesWhateverTheCaseOfTheirExtension) {
    const std::string filter = ui::qtnamefilter("Cairnwork(*.QRD)|*.QRD");
    EXPECT_EQ(filter, "Cairnwork(*.QRD) (*.[Qq][Rr][Dd])");
    const QString pattern = q(filter.substr(filter.rfind('(') + 1)).chopped(1);
    QStringList matched;
    for (const char* n : {"a.QRD", "b.qrd", "c.Qrd", "d.QRX", "e.QRD.bak"})
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                .match(n)
                .hasMatch())
            matched << n;
    EXPECT_EQ(matched, (QStringList{"a.QRD", "b.qrd", "c.Qrd"}));
}

// The map keeps its drawing, and repaints only what changed into the
// picture that drawing everything gives.
TEST_F(Window, TheMapKeepsItsDrawingAndRepaintsOnlyWhatChanged) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> where(-25, 80), size(0.2f, 6), angle(0, 360);
    for (int i = 0; i < 400; ++i)
        form.document.set(i, Block{where(gen), where(gen), size(gen), size(gen), 0, 1, angle(gen),
                                   static_cast<std::int32_t>(gen() & 0xFFFFFF)});
    run("refreshmap; refreshlist");
    auto* map = find<ui::SurfaceWidget>("Map");
    for (int step = 0; step < 30; ++step) {
        run("row " + std::to_string(step * 13 % 14) + "; focus posxed; keys <End>" +
            (step % 2 ? "7" : "<Backspace>") + (step % 5 ? "" : "; push Command1_1"));
        ui::SurfaceWidget fresh(form.Map, nullptr);
        fresh.resize(map->size());
        fresh.sync();
        ASSERT_EQ(map->grab().toImage(), fresh.grab().toImage()) << "after step " << step;
    }
    const QImage before = map->grab().toImage();
    int lit = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            lit += before.pixel(x, y) != before.pixel(0, 0);
    EXPECT_GT(lit, 1000);
    map->hide();
    map->show();
    EXPECT_EQ(map->grab().toImage(), before);
    // A highlight adds four lines; the kept drawing takes just those.
    const std::size_t drawn = map->linesdrawn();
    form.markblock(0);
    window.sync();
    EXPECT_EQ(map->linesdrawn(), drawn + 4);
}

// Each key typed over a field holding "0", with the field's text and the
// block's value after it. A text held back shows as typed and commits
// nothing until the next key, or until the field is left (Tab, Return).
TEST_F(Window, NumbersTypedKeyByKey) {
    // The field, its block's value, its keys, then after each key the text
    // shown and the value committed.
    const std::array<const char*, 5> cases[] = {
        {"posxed", "x", "1.5", "1 1. 1.5", "1 1 1.5"},
        {"posyed", "z", "-10", "- -1 -10", "0 -1 -10"},
        {"posxed", "x", "-0.5", "- -0 -0. -.5", "0 0 0 -0.5"},
        {"heighted", "height", "0.05", "0 0. 0.0 .05", "0 0 0 0.05"},
        {"bottomed", "bottom", ".25", ". .2 .25", "0 0.2 0.25"},
        {"posyed", "z", "2.50<Return>", "2 2. 2.5 2.50 2.5", "2 2 2.5 2.5 2.5"},
        {"angleed", "angle", "45.5", "4 45 45. 46", "4 45 45 46"},
        {"posxed", "x", "-<Tab>", "- 0", "0 0"},
        {"sizeyed", "sizez", "1e2", "1 1e 100", "1 1 100"}};
    run("typeover sizexed 2");
    for (const auto& [field, part, keys, texts, values] : cases) {
        run(std::string("typeover ") + field +
            " 0; keys <Ctrl+A>"); // the first key replaces the "0"
        std::string seen, committed;
        for (const QString& key : keytokens(keys)) {
            press(key);
            seen += (seen.empty() ? "" : " ") + value(field);
            committed += (committed.empty() ? "" : " ") + value(std::string("b0.") + part);
        }
        EXPECT_EQ(seen, texts) << field << " " << keys;
        EXPECT_EQ(committed, values) << field << " " << keys;
    }
    // A held text passes on before a list click.
    play({{"typeover posxed 3.; put 1 n0; refreshlist; row 1", "b0.x=3; cur=1"}});
}

TEST_F(Window, KeysRunTheCommandsEvenFromAField) {
    play({{"typeover sizexed 2; typeover posxed 35; keys <Ctrl+Z>",
           "posxed=0; status=Undone: typing in X"},
          {"keys <Ctrl+Shift+Z>", "posxed=35"},
          {"keys <Ctrl+Z><Ctrl+Y>", "posxed=35; status=Redone: typing in X"},
          {"load 3; row 1; keys <Ctrl+D>", "b3=n1"},
          {"keys <F5>", "status=Refreshed Map and List"},
          {"focus List1; yes; keys <Delete>", "status=Block Deleted"},
          // Ctrl+S with no file yet is the Save button; then it saves there.
          {"saves keys.QRD; keys <Ctrl+S><Ctrl+S>", "dialogs=1; status=Saved: keys.QRD"},
          {"keys <Ctrl+Shift+S><Ctrl+O>", "dialogs=3"},
          {"keys <Ctrl+N>", "status=New Map"}});
    run("keys <Ctrl+Q>");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(h.settings.values.count({"Quarrystead", "Settings", "Background"}), 1u);
}

// Two shortcuts that answer the same key where the keyboard is are both
// refused. The desktop's standard keys differ between platforms, so this
// runs on X11 too (see tests/CMakeLists.txt).
TEST_F(Window, NoKeyIsClaimedTwiceInAnyWindow) {
    struct Claim {
        QKeyCombination key;
        Qt::ShortcutContext context;
        const QWidget* owner;
    };
    std::vector<Claim> claims;
    for (const QShortcut* s : window.findChildren<QShortcut*>())
        for (const QKeySequence& k : s->keys())
            claims.push_back({k[0], s->context(), qobject_cast<const QWidget*>(s->parent())});
    for (const QAction* a : window.findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts())
            claims.push_back(
                {k[0], a->shortcutContext(), qobject_cast<const QWidget*>(a->parent())});
    QStringList twice;
    for (QWidget* top : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&window.mapwindow()),
                         static_cast<QWidget*>(&window.boxwindow())}) {
        QList<QWidget*> places = top->findChildren<QWidget*>();
        places << top;
        for (const QWidget* focus : places) {
            if (focus->window() != top || (focus != top && focus->focusPolicy() == Qt::NoFocus))
                continue;
            std::map<int, int> answering;
            for (const Claim& c : claims) {
                const bool active = c.context == Qt::ApplicationShortcut ||
                                    (c.context == Qt::WindowShortcut && c.owner->window() == top) ||
                                    (c.context == Qt::WidgetShortcut && c.owner == focus) ||
                                    (c.context == Qt::WidgetWithChildrenShortcut &&
                                     (c.owner == focus || c.owner->isAncestorOf(focus)));
                if (active && ++answering[c.key.toCombined()] == 2)
                    twice << focus->objectName() + ": " + QKeySequence(c.key).toString();
            }
        }
    }
    EXPECT_EQ(twice, QStringList());
    EXPECT_GT(claims.size(), 10u);
}

TEST_F(Window, TheListKeepsItsSelectedRow) {
    play({{"typeover sizexed 2; row 0; row 9", "selected=1"},
          {"row 0 Ctrl", "selected=1; List1=0"}});
}

TEST_F(Window, ADroppedFileOpens) {
    run("write dropped.QRD n4");
    auto drop = [&](QList<QUrl> urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        QDropEvent e(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &e);
    };
    drop({QUrl::fromLocalFile(q(dir.file("dropped.QRD")))});
    expect("status=Opened: dropped.QRD; b0=n4");
    drop({QUrl::fromLocalFile(q(dir.file("a.QRD"))), QUrl::fromLocalFile(q(dir.file("b.QRD")))});
    expect("status=Could not open 2 files: one map at a time");
}

// The title names the map's file and marks unsaved changes.
TEST_F(Window, TheTitleNamesTheFileAndMarksUnsavedChanges) {
    const auto title = [&] { return window.windowHandle()->title().toStdString(); };
    run("write castle.QRD n1; open castle.QRD");
    EXPECT_EQ(title(), "castle.QRD - Quarrystead");
    run("typeover posxed 5");
    EXPECT_EQ(title(), "castle.QRD* - Quarrystead");
    run("keys <Ctrl+Z>");
    EXPECT_EQ(title(), "castle.QRD - Quarrystead");
    run("keys <Ctrl+N>; typeover sizexed 3");
    EXPECT_EQ(title(), "Quarrystead");
}

TEST_F(Window, DialogsStartAtTheLastFile) {
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

TEST_F(Window, AWindowOffEveryScreenComesBackAndKeepsItsTwips) {
    form.left = 40000;
    window.placefromform();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(window.pos()))
        << window.pos().x();
    form.left = 1000;
    form.top = 1000;
    window.placefromform();
    window.close();
    EXPECT_EQ((h.settings.values[{"Quarrystead", "Settings", "MainLeft"}]), "1000");
}

// The program itself, as a process: the command line.
TEST(CommandLine, HelpVersionUnknownOptionsAndMissingFiles) {
    const QString program = QS_PROGRAM;
    const std::tuple<const char*, int, const char*> runs[] = {
        {"--help", 0, "Usage: quarrystead [options] [FILE]"},
        {"--version", 0, "quarrystead "},
        {"--frobnicate", 2, "Unknown option 'frobnicate'"}};
    for (const auto& [option, code, says] : runs) {
        QProcess p; // killed when it goes, should it hang
        p.start(program, {option});
        EXPECT_TRUE(p.waitForFinished(10000)) << option;
        EXPECT_EQ(p.exitCode(), code) << option;
        EXPECT_TRUE(QString(p.readAllStandardOutput() + p.readAllStandardError()).contains(says))
            << option;
    }
    // Without a display: one line and status 1, not Qt's abort.
    QProcess nodisplay;
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        bare.remove(name);
    nodisplay.setProcessEnvironment(bare);
    nodisplay.start(program, {});
    EXPECT_TRUE(nodisplay.waitForFinished(10000));
    EXPECT_EQ(std::pair(nodisplay.exitStatus(), nodisplay.exitCode()),
              std::pair(QProcess::NormalExit, 1));
    EXPECT_EQ(QString(nodisplay.readAllStandardError()),
              "quarrystead: cannot open a display (DISPLAY is not set)\n");
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
