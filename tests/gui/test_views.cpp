// The map window and the 3D view, docked in the main window or floating:
// what only the widgets show (the layout, the pointer's shapes, the keys);
// the tools' and the views' own tests cover the rest.
#include "document/numtext.h"
#include "ui/qt/pictures.h"
#include "ui/qt/viewwindows.h"
#include "window.h"

#include <QDockWidget>

using namespace qs;

struct Views : test::Window {
    Views() {
        h.load(3, [](int i) { return test::viewmap().at(std::size_t(i)); }); // its three blocks
        run("refreshmap; select 3; keys <F2><F3>"); // the free slot's row: no block is marked
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }
    ui::MapWindow& map() { return window.mapwindow(); }
    ui::BoxWindow& boxes() { return window.boxwindow(); }
    // Where a map point is in the map window, and the middle of a block's
    // top in the 3D view.
    static QPoint point(Pixel p) { return QPointF(p.h, p.v).toPoint(); }
    QPoint over(double z, double x) { return point(map().view().topixel({z, x})); }
    QPoint top(int slot) {
        const Block& b = form.blocks[static_cast<std::size_t>(slot)];
        return point(boxes().camera().project(b.z, b.x, b.bottom + b.height));
    }
};

// Docked, the views take what the controls leave; hidden, the window is its
// controls again; where they were comes back at the next start.
TEST_F(Views, DockedTheViewsTakeTheRestOfTheWindowAndComeBackWhereTheyWere) {
    expect("tbMap.toolTip=Map window (F2); tb3D.toolTip=3D view (F3)");
    EXPECT_GT(window.width(), ui::kBare.width() + 100);
    EXPECT_GT(window.height(), ui::kBare.height() + 100);
    EXPECT_EQ(find("frmMainPanel")->geometry(), QRect(QPoint(0, 0), ui::kBare));
    EXPECT_GE(map().mapTo(&window, QPoint(0, 0)).x(), ui::kBare.width());
    EXPECT_GE(boxes().mapTo(&window, QPoint(0, 0)).y(), ui::kBare.height());
    play({{"keys <F2>; tool 3D", "MapWindow.visible=false; BoxView.visible=false"}});
    EXPECT_EQ(std::pair(window.size(), window.maximumSize()), std::pair(ui::kBare, ui::kBare));
    // The main window's keys work while a floating view has the keyboard.
    run("keys <F2>; tool 3D");
    window.boxdock().setFloating(true);
    boxes().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window.boxdock()));
    QTest::keyClick(&boxes(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&boxes(), Qt::Key_F2);
    expect("status=New Map; rows=1; MapWindow.visible=false");
    window.rememberviews();
    // The next start opens what was open, docked or floating.
    ui::MainWindow again(form);
    again.restoreviews();
    again.show();
    EXPECT_TRUE(again.boxdock().isVisible() && again.boxdock().isFloating());
    EXPECT_FALSE(again.mapdock().isVisible());
}

// Parts of the map's picture are painted as the whole is; the wheel zooms
// about the pointer, the middle button pans, Home fits; a left drag on the
// empty map takes a box. The views follow each action once, and cost
// nothing closed.
TEST_F(Views, WheelZoomsMiddleButtonPansHomeFitsAndTheViewsFollowEachActionOnce) {
    // Painting parts of the map window's picture (two corners) gives their
    // pixels as painting all of it does, the marks included, and leaves the
    // rest.
    BlockTable table = form.blocks;
    table[3] = Block{40, 10, 2, 2, 0, 1};
    const Look look{.current = 1, .selected = std::bitset<kSlots>().set(3)};
    PlanView plan{200, 200};
    plan.fit(*drawnbox(table, look));
    QImage whole(200, 200, QImage::Format_RGB32), part(200, 200, QImage::Format_RGB32);
    ui::paintplan(whole, table, look, plan, Qt::black);
    part.fill(Qt::magenta);
    const QRegion corners = QRegion(0, 0, 30, 30) | QRegion(170, 170, 30, 30);
    ui::paintplan(part, table, look, plan, Qt::black, corners);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(part.pixel(x, y),
                      corners.contains({x, y}) ? whole.pixel(x, y) : qRgb(255, 0, 255))
                << x << "," << y;
    run("focus MapWindow; keys <Home>");
    const double fitted = map().view().scale;
    const MapPoint under = map().view().tomap({100, 250});
    run("wheel MapWindow 100 250 2");
    EXPECT_NEAR(map().view().scale, fitted * 1.25 * 1.25, 1e-9);
    run("pull MapWindow 100 250 140 220 middle");
    EXPECT_NEAR(map().view().tomap({140, 220}).x, under.x, 1e-9); // the point went along
    run("keys <Home>");
    EXPECT_EQ(map().view().scale, fitted);
    play({{"pull MapWindow " + at(over(-5, 70)) + " " + at(over(50, 0)),
           "selection=0-1; MapStatus=2 selected, gap 23.35 | grid 1"}});
    const BoxCamera first = boxes().camera();
    run("wheel BoxView 200 150 -1; pull BoxView 200 150 260 120");
    EXPECT_LT(boxes().camera().scale, first.scale);
    EXPECT_TRUE(boxes().camera().yaw != first.yaw && boxes().camera().pitch != first.pitch);
    run("focus BoxView; keys <Home>");
    EXPECT_EQ(boxes().camera().yaw, first.yaw);
    // The views follow each action once, and cost nothing closed.
    run("row 0");
    QCoreApplication::processEvents();
    const int mappaints = map().paints(), boxpaints = boxes().paints();
    run("focus posxed; keys <End>5"); // many notifications, one repaint of each
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(map().paints(), boxes().paints()), std::pair(mappaints + 1, boxpaints + 1));
    // Painted again only where the block was and is, each is the picture of
    // painting everything.
    for (ui::ViewWindow* view : std::initializer_list<ui::ViewWindow*>{&map(), &boxes()}) {
        const QImage kept = view->grab().toImage();
        view->invalidate();
        EXPECT_EQ(kept, view->grab().toImage()) << view->objectName().toStdString();
    }
    run("keys <F2><F3>");
    const int closed = map().paints() + boxes().paints();
    run("keys <Backspace>");
    QCoreApplication::processEvents();
    EXPECT_EQ(map().paints() + boxes().paints(), closed);
}

// A click on the map or in the 3D view selects a block and makes its row
// current, handles shape the pointer, the map's keys work the selection, and
// Select Position places the current block from the map window.
TEST_F(Views, ClicksAndKeysInTheViewsWorkTheSelection) {
    EXPECT_EQ(map().rowat(over(30, 45)).toStdString(), value("row 1")); // the tooltip
    EXPECT_EQ(map().rowat(over(0, 0)).toStdString(), "");
    play({{"tap MapWindow " + at(over(30, 45)), "List1=1; heighted=8; selection=1"}});
    // The current block is marked in black and white, whatever its colour.
    QCoreApplication::processEvents();
    const QImage near =
        map().grab().toImage().copy(QRect(over(33, 48) - QPoint(3, 3), QSize(7, 7)));
    const auto* pixels = reinterpret_cast<const QRgb*>(near.constBits());
    EXPECT_TRUE(std::count(pixels, pixels + 49, qRgb(255, 255, 255)) &&
                std::count(pixels, pixels + 49, qRgb(0, 0, 0)));
    // Over a block, its handles and the empty map, the pointer says what a
    // press would do.
    for (const auto& [z, x, shape] :
         {std::tuple(30, 45, Qt::SizeAllCursor), std::tuple(33, 45, Qt::SizeHorCursor),
          std::tuple(30, 48, Qt::SizeVerCursor), std::tuple(33, 48, Qt::SizeBDiagCursor),
          std::tuple(0, 0, Qt::ArrowCursor)}) {
        run("hover MapWindow " + at(over(z, x)));
        EXPECT_EQ(map().cursor().shape(), shape) << z << "," << x;
    }
    // A click in the 3D view selects the block it shows as a click on the map
    // does; F frames the selection, P switches to perspective.
    play({{"tap BoxView " + at(top(1)), "selection=1; List1=1"},
          {"tap BoxView " + at(top(0)) + " Shift", "selection=0-1; List1=0"},
          {"tap BoxView " + at(top(1)) + " Ctrl", "selection=0"},
          {"tap BoxView 2 2", "selection=; List1=0"}});
    run("tap BoxView " + at(top(2)) + "; focus BoxView; keys F");
    EXPECT_LT(std::hypot(boxes().camera().target[0] + 10, boxes().camera().target[1] - 60), 1e-4);
    run("keys P");
    EXPECT_TRUE(boxes().camera().perspective);
    EXPECT_EQ(boxes().pick(top(2)), 2);
    // The map's keys: arrows nudge, Delete asks and deletes, Ctrl+A and Esc.
    play({{"focus MapWindow; keys <Ctrl+A>", "selection=0-2; MapStatus=3 selected | grid 1"},
          {"keys <Right><Shift+Up>", "b0.z=11; b0.x=30; b2.z=-9"},
          {"keys <Esc>; mclick 31 55; yes; keys <Del>", "rows=3; b1=70 -9 6 1.5 0 1 75 e0a000"},
          {"keys <Ctrl+Z>", "status=Undone: deleting 1 block; rows=4"}});
    // Select Position places the current block from the map window.
    const QPoint target = over(5, 25);
    const MapPoint p = map().view().tomap({double(target.x()), double(target.y())});
    play(
        {{"row 2; tap selpos; hover MapWindow " + at(target),
          "posyed=" + signednum(float(p.z)) + "; posxed=" + signednum(float(p.x))},
         {"tap MapWindow " + at(target), "status=Select Position SELECTED; List1=2; selection=1"}});
}
