// The real widgets, worked as a person works them, on the offscreen
// platform; and the window as a desktop program: numbers typed key by key,
// the keys, the list's selection, files dropped, no display.
#include "gui/window.h"
#include "ui/qt/mapwidget.h"

#include <QMimeData>
#include <QProcess>
#include <QShortcut>

using namespace qs;
using namespace qs::test;

TEST_F(Window, EveryControlIsAWidgetNamedAfterItWithItsTextsAndTheStartWindowAsDrawn) {
    // The date and time change; they are left out of the comparison.
    expectgolden(window.grab().toImage(), "start.png",
                 (find("sbStatusBar_panel3")->geometry() | find("sbStatusBar_panel4")->geometry())
                     .translated(find("sbStatusBar")->pos()));
    QStringList names;
    for (ui::Control* c : form.controls()) {
        QWidget* w = find(ui::objectname(*c));
        const ui::Geometry& g = c->geometry;
        EXPECT_EQ(w->geometry(), QRect(g.left / 15, g.top / 15, g.width / 15, g.height / 15))
            << c->label();
        EXPECT_FALSE(w->accessibleDescription().isEmpty()) << c->label();
        names << w->accessibleName();
    }
    EXPECT_EQ(names.removeDuplicates() + names.count(""), 0); // each named, and apart
    expect("Label8=" + form.Label8.caption +
           "; Command2=Size: 1x1x0.5; sbStatusBar_panel2=Depth: 0-1000");
    expect("sizeyed.accessibleName=Size Z; AngleSB.maximum=360; VScroll2.minimum=-1");
    const QFont font = find("List1")->font();
    EXPECT_TRUE(QStringList({"Courier New", "Liberation Mono"}).contains(font.family()) &&
                QFontInfo(font).fixedPitch());
    expect("tbNew.toolTip=New map (Ctrl+N); tbRefresh.toolTip=Refresh map and list (F5)");
}

// Each kind of widget forwards what a person does to its control, and shows
// what the cascade left in every control. The list keeps its selected row
// through a click below the last row and a Ctrl+click. Numbers are typed
// key by key.
TEST_F(Window, WidgetsForwardAPersonsActionsAndMirrorTheResult) {
    play({{"typeover sizexed 2",
           "rows=2; row 0=     0     0     2     0     0     0    0; VScroll1_0=20"},
          {"row 0; row 9", "selected=1"},
          {"row 0 Ctrl", "selected=1; List1=0"},
          {"put 1 -12.5 3.75 2.5 1 -5 9 45 102030; refreshlist; row 1",
           "posxed=-12.5; bottomed=5; angleed=45; AngleSB=45; VScroll1_0=25; Color_2=48"},
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
    // Keys typed over a field holding "0": the field, its block's value, the
    // keys, then after each key the text shown and the value committed. A
    // text held back shows as typed and commits nothing until the next key,
    // or until the field is left (Tab, Return, a click on the list). The
    // caret stays where the person left it.
    const std::array<const char*, 5> cases[] = {
        {"posyed", "z", "-10", "- -1 -10", "0 -1 -10"},
        {"posyed", "z", "2.50<Return>", "2 2. 2.5 2.50 2.5", "2 2 2.5 2.5 2.5"},
        {"posxed", "x", "-<Tab>", "- 0", "0 0"}};
    for (const auto& [field, part, keys, texts, values] : cases) {
        run(std::string("typeover ") + field + " 0; keys <Ctrl+A>"); // the first key replaces "0"
        std::string seen, committed;
        for (const QString& key : keytokens(keys)) {
            press(key);
            seen += (seen.empty() ? "" : " ") + value(field);
            committed += (committed.empty() ? "" : " ") + value(std::string("b0.") + part);
        }
        EXPECT_EQ(seen + " / " + committed, texts + std::string(" / ") + values) << field << keys;
    }
    play({{"typeover posxed 3.; put 1 n0; refreshlist; row 1", "b0.x=3; cur=1"},
          {"typeover posxed 0; keys <End>125", "posxed=125"}, // "01" is rewritten to "1" at once
          {"keys <Left>.", "posxed=12.5; posxed.cursorPosition=3"},
          {"keys <Home><Right>x", "posxed=1; posxed.cursorPosition=1"}}); // "1x2.5" reads as 1
}

// The map keeps its drawing, and repaints only what changed into the
// picture that drawing everything gives.
TEST_F(Window, TheMapKeepsItsDrawingAndRepaintsOnlyWhatChanged) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> where(-25, 80), size(0.2f, 6), angle(0, 360);
    h.load(400, [&](int) {
        const auto colour = static_cast<std::int32_t>(gen() & 0xFFFFFF);
        return Block{where(gen), where(gen), size(gen), size(gen), 0, 1, angle(gen), colour};
    });
    run("refreshmap");
    auto* map = find<ui::SurfaceWidget>("Map");
    for (int step = 0; step < 30; ++step) {
        run("row " + std::to_string(step * 13 % 14) + "; focus posxed; keys <End>" +
            (step % 2 ? "7" : "<Backspace>") + (step % 5 ? "" : "; tap Command1_1"));
        ui::SurfaceWidget fresh(form.Map, nullptr);
        fresh.resize(map->size());
        fresh.sync();
        ASSERT_EQ(map->grab().toImage(), fresh.grab().toImage()) << "after step " << step;
    }
    const QImage before = map->grab().toImage();
    const auto* pixels = reinterpret_cast<const QRgb*>(before.constBits());
    EXPECT_GT(std::count_if(pixels, pixels + before.width() * before.height(),
                            [&](QRgb p) { return p != pixels[0]; }),
              1000);
    // A highlight adds four lines; the kept drawing takes just those.
    const std::size_t drawn = map->linesdrawn();
    run("markblock 0");
    EXPECT_EQ(map->linesdrawn(), drawn + 4);
}

// The window as a desktop program: the keys run the commands even from a
// field; dropped files open; the title names the map's
// file and marks unsaved changes; the window's place is kept.
TEST_F(Window, TheWindowAsADesktopProgram) {
    play({{"typeover sizexed 2; typeover posxed 35; keys <Ctrl+Z>",
           "posxed=0; status=Undone: typing in X"},
          {"keys <Ctrl+Shift+Z>", "posxed=35"},
          {"keys <Ctrl+Z><Ctrl+Y>", "posxed=35; status=Redone: typing in X"},
          {"load 3; row 1; keys <Ctrl+D>", "b3=n1"},
          {"keys <F5>", "status=Refreshed Map and List"},
          {"focus List1; yes; keys <Delete>", "status=Block Deleted"},
          // Ctrl+S with no file yet is the Save button; then it saves there.
          {"saves keys.QRD; keys <Ctrl+S><Ctrl+S>", "dialogs=1; status=Saved: keys.QRD"},
          {"keys <Ctrl+Shift+S><Ctrl+O>", "dialogs=3; modified=0"}});
    // A dropped file opens.
    run("write dropped.QRD n4");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(q(dir.file("dropped.QRD")))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    expect("status=Opened: dropped.QRD; b0=n4");
    // Map files match whatever the case of their extension.
    EXPECT_EQ(ui::qtnamefilter("Cairnwork(*.QRD)|*.QRD"), "Cairnwork(*.QRD) (*.[Qq][Rr][Dd])");
    play({{"write castle.QRD n1; open castle.QRD", "title=castle.QRD - Quarrystead"},
          {"typeover posxed 5", "title=castle.QRD* - Quarrystead"},
          {"keys <Ctrl+Z>", "title=castle.QRD - Quarrystead"},
          {"keys <Ctrl+N>; typeover sizexed 3", "title=Quarrystead"}});
    // A window off every screen comes back, and keeps its twips when it was
    // not moved.
    form.left = 40000;
    window.placefromform();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(window.pos()));
    form.left = 1000;
    form.top = 1000;
    window.placefromform();
    run("keys <Ctrl+Q>");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ((h.settings.values[{"Quarrystead", "Settings", "MainLeft"}]), "1000");
}

// Two shortcuts that answer the same key where the keyboard is are both
// refused. The desktop's standard keys differ between platforms, so this
// runs on X11 too (see tests/CMakeLists.txt).
TEST_F(Window, NoKeyIsClaimedTwiceInAnyWindow) {
    std::vector<std::tuple<QKeyCombination, Qt::ShortcutContext, const QWidget*>> claims;
    for (const QShortcut* s : window.findChildren<QShortcut*>())
        for (const QKeySequence& k : s->keys())
            claims.push_back({k[0], s->context(), qobject_cast<const QWidget*>(s->parent())});
    for (const QAction* a : window.findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts())
            claims.push_back(
                {k[0], a->shortcutContext(), qobject_cast<const QWidget*>(a->parent())});
    // Every place the keyboard can be, in the window and in the views it holds.
    QList<QWidget*> places = window.findChildren<QWidget*>();
    places << &window;
    QStringList twice;
    for (const QWidget* focus : places) {
        if (focus != focus->window() && focus->focusPolicy() == Qt::NoFocus) continue;
        std::map<int, int> answering;
        for (const auto& [key, context, owner] : claims) {
            const bool active =
                context == Qt::ApplicationShortcut ||
                (context == Qt::WindowShortcut && owner->window() == focus->window()) ||
                (context == Qt::WidgetShortcut && owner == focus) ||
                (context == Qt::WidgetWithChildrenShortcut &&
                 (owner == focus || owner->isAncestorOf(focus)));
            if (active && ++answering[key.toCombined()] == 2)
                twice << focus->objectName() + ": " + QKeySequence(key).toString();
        }
    }
    EXPECT_EQ(twice.join("; ").toStdString(), "");
    EXPECT_GT(claims.size(), 10u);
}

// The program itself, as a process: without a display it says so in one
// line and ends with status 1, instead of Qt's abort.
TEST(CommandLine, WithoutADisplayItSaysSoInOneLine) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    QProcess p; // killed when it goes, should it hang
    p.setProcessEnvironment(env);
    p.start(QS_PROGRAM, {});
    EXPECT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 1));
    EXPECT_EQ(p.readAll().toStdString() + p.readAllStandardError().toStdString(),
              "quarrystead: cannot open a display (DISPLAY is not set)\n");
}
