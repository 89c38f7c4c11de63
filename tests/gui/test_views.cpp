// The map window and the 3D view, docked in the main window or floating:
// what only the widgets show (the layout, the pointer's shapes, the keys);
// the tools' and the views' own tests cover the rest.
#include "document/numtext.h"
#include "ui/qt/pictures.h"
#include "ui/qt/viewwindows.h"
#include "window.h"

#include <QDockWidget>
#include <QWheelEvent>

using namespace qs;

struct Views : test::Window {
    Views() {
        const auto blocks = test::viewmap();
        for (std::size_t i = 0; i < blocks.size(); ++i)
            form.document.set(static_cast<int>(i), blocks[i]);
        run("refreshmap; refreshlist; select 3"); // the free slot's row: no block is marked
        for (QDockWidget* dock : {&window.mapdock(), &window.boxdock()})
            window.toggleview(dock);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }
    ui::MapWindow& map() { return window.mapwindow(); }
    ui::BoxWindow& boxes() { return window.boxwindow(); }
    QPoint over(double z, double x) {
        const Pixel p = map().view().topixel({z, x});
        return QPointF(p.h, p.v).toPoint();
    }
    // A key where the widget has the keyboard, its window active.
    void key(QWidget& w, Qt::Key k, Qt::KeyboardModifiers m = {}) {
        w.window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.window()));
        w.setFocus();
        QTest::keyClick(&w, k, m);
    }
    void wheel(QWidget& w, QPoint at, int notches) {
        QWheelEvent e(at, w.mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &e);
    }
};

// Docked, the views take what the controls leave; hidden, the window is its
// controls again; where they were comes back at the next start.
TEST_F(Views, DockedTheViewsTakeTheRestOfTheWindowAndComeBackWhereTheyWere) {
    EXPECT_EQ(find<QAction>("tbMap")->toolTip(), "Map window (F2)");
    EXPECT_EQ(find<QAction>("tb3D")->toolTip(), "3D view (F3)");
    EXPECT_GT(window.width(), ui::kBare.width() + 100);
    EXPECT_GT(window.height(), ui::kBare.height() + 100);
    EXPECT_EQ(find("frmMainPanel")->geometry(), QRect(QPoint(0, 0), ui::kBare));
    EXPECT_GE(map().mapTo(&window, QPoint(0, 0)).x(), ui::kBare.width());
    EXPECT_GE(boxes().mapTo(&window, QPoint(0, 0)).y(), ui::kBare.height());
    run("keys <F2>; tool 3D");
    EXPECT_FALSE(map().isVisible() || boxes().isVisible());
    EXPECT_EQ(window.size(), ui::kBare);
    EXPECT_EQ(window.maximumSize(), ui::kBare);
    run("keys <F2>");
    window.boxdock().setFloating(true);
    window.rememberviews();
    // The next start opens what was open, docked or floating.
    ui::MainWindow again(form);
    again.restoreviews();
    again.show();
    EXPECT_TRUE(again.mapdock().isVisible() && !again.mapdock().isFloating());
    EXPECT_FALSE(again.boxdock().isVisible());
}

// The wheel zooms about the pointer, the middle button pans, Home fits;
// a left drag on the empty map takes a box.
TEST_F(Views, WheelZoomsMiddleButtonPansHomeFits) {
    key(map(), Qt::Key_Home);
    const double fitted = map().view().scale;
    const MapPoint under = map().view().tomap({100, 250});
    wheel(map(), {100, 250}, 2);
    EXPECT_NEAR(map().view().scale, fitted * 1.25 * 1.25, 1e-9);
    QTest::mousePress(&map(), Qt::MiddleButton, {}, {100, 250});
    QTest::mouseMove(&map(), {140, 220});
    QTest::mouseRelease(&map(), Qt::MiddleButton, {}, {140, 220});
    EXPECT_NEAR(map().view().tomap({140, 220}).x, under.x, 1e-9); // the point went along
    key(map(), Qt::Key_Home);
    EXPECT_EQ(map().view().scale, fitted);
    QTest::mousePress(&map(), Qt::LeftButton, {}, over(-5, 70));
    QTest::mouseMove(&map(), over(50, 0));
    QTest::mouseRelease(&map(), Qt::LeftButton, {}, over(50, 0));
    expect("selection=0-1; MapStatus=2 selected, gap 23.35 | grid 1");
    const BoxCamera first = boxes().camera();
    wheel(boxes(), {200, 150}, -1);
    QTest::mousePress(&boxes(), Qt::LeftButton, {}, {200, 150});
    QTest::mouseMove(&boxes(), {260, 120});
    EXPECT_LT(boxes().camera().scale, first.scale);
    EXPECT_TRUE(boxes().camera().yaw != first.yaw && boxes().camera().pitch != first.pitch);
    key(boxes(), Qt::Key_Home);
    EXPECT_EQ(boxes().camera().yaw, first.yaw);
}

TEST_F(Views, AClickedBlockIsSelectedAndItsRowCurrentAndHandlesShapeThePointer) {
    EXPECT_EQ(map().rowat(over(30, 45)), ui::q(value("row 1"))); // the tooltip
    EXPECT_EQ(map().rowat(over(0, 0)), "");
    QTest::mouseClick(&map(), Qt::LeftButton, {}, over(30, 45));
    expect("List1=1; heighted=8; selection=1");
    // The current block is marked in black and white, whatever its colour.
    QCoreApplication::processEvents();
    const QImage shot = map().grab().toImage();
    const QPoint corner = over(33, 48);
    bool white = false, black = false;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            white |= shot.pixelColor(corner + QPoint(dx, dy)) == Qt::white;
            black |= shot.pixelColor(corner + QPoint(dx, dy)) == Qt::black;
        }
    EXPECT_TRUE(white && black);
    // Over a block, its handles and the empty map, the pointer says what a
    // press would do.
    const std::pair<QPoint, Qt::CursorShape> places[] = {{over(30, 45), Qt::SizeAllCursor},
                                                         {over(33, 45), Qt::SizeHorCursor},
                                                         {over(30, 48), Qt::SizeVerCursor},
                                                         {over(33, 48), Qt::SizeBDiagCursor},
                                                         {over(0, 0), Qt::ArrowCursor}};
    for (const auto& [at, shape] : places) {
        QTest::mouseMove(&map(), at);
        EXPECT_EQ(map().cursor().shape(), shape) << at.x() << "," << at.y();
    }
}

// A click in the 3D view selects the block it shows as a click on the map
// does; F frames the selection, P switches to perspective.
TEST_F(Views, AClickInThe3DViewSelectsTheBlockItShows) {
    const auto top = [&](int slot) { // the middle of a block's top
        const Block& b = form.blocks[static_cast<std::size_t>(slot)];
        const Pixel p = boxes().camera().project(b.z, b.x, b.bottom + b.height);
        return QPointF(p.h, p.v).toPoint();
    };
    QTest::mouseClick(&boxes(), Qt::LeftButton, {}, top(1));
    expect("selection=1; List1=1");
    QTest::mouseClick(&boxes(), Qt::LeftButton, Qt::ShiftModifier, top(0));
    expect("selection=0-1; List1=0");
    QTest::mouseClick(&boxes(), Qt::LeftButton, Qt::ControlModifier, top(1));
    expect("selection=0");
    QTest::mouseClick(&boxes(), Qt::LeftButton, {}, {2, 2});
    expect("selection=; List1=0");
    QTest::mouseClick(&boxes(), Qt::LeftButton, {}, top(2));
    key(boxes(), Qt::Key_F);
    EXPECT_NEAR(boxes().camera().target[0], -10, 1e-4);
    EXPECT_NEAR(boxes().camera().target[1], 60, 1e-4);
    key(boxes(), Qt::Key_P);
    EXPECT_TRUE(boxes().camera().perspective);
    EXPECT_EQ(boxes().pick(top(2)), 2);
}

// The map's keys: arrows nudge, Delete asks and deletes, Ctrl+A and Esc.
TEST_F(Views, TheMapsKeysWorkTheSelection) {
    key(map(), Qt::Key_A, Qt::ControlModifier);
    expect("selection=0-2; MapStatus=3 selected | grid 1");
    key(map(), Qt::Key_Right);
    key(map(), Qt::Key_Up, Qt::ShiftModifier);
    expect("b0.z=11; b0.x=30; b2.z=-9");
    key(map(), Qt::Key_Escape);
    run("mclick 31 55; yes");
    key(map(), Qt::Key_Delete);
    expect("rows=3; b1=70 -9 6 1.5 0 1 75 e0a000");
    key(map(), Qt::Key_Z, Qt::ControlModifier);
    expect("status=Undone: deleting 1 block; rows=4");
}

TEST_F(Views, FollowEachActionOnceAndCostNothingClosed) {
    run("row 0");
    QCoreApplication::processEvents();
    const int mappaints = map().paints(), boxpaints = boxes().paints();
    run("focus posxed; keys <End>5"); // many notifications, one repaint of each
    QCoreApplication::processEvents();
    expect("b0.x=205");
    EXPECT_EQ(std::pair(map().paints(), boxes().paints()), std::pair(mappaints + 1, boxpaints + 1));
    EXPECT_EQ(map().rowat(over(10, 205)), ui::q(value("row 0")));
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

TEST_F(Views, SelectPosPlacesTheCurrentBlockFromTheMapWindow) {
    run("row 2; push selpos");
    const QPoint target = over(5, 25);
    QTest::mouseMove(&map(), target);
    const MapPoint p = map().view().tomap({double(target.x()), double(target.y())});
    expect("posyed=" + signednum(static_cast<float>(p.z)) +
           "; posxed=" + signednum(static_cast<float>(p.x)));
    QTest::mouseClick(&map(), Qt::LeftButton, {}, target);
    expect("status=Select Position SELECTED; List1=2; selection=");
}

// Painting parts of the map window's picture (two corners) gives their
// pixels as painting all of it does, the marks included, and leaves the
// rest.
TEST(Pictures, PaintingPartOfTheMapGivesThePixelsOfPaintingAll) {
    BlockTable table{};
    const auto blocks = test::viewmap();
    std::copy(blocks.begin(), blocks.end(), table.begin());
    table[3] = Block{40, 10, 2, 2, 0, 1};
    Look look;
    look.current = 1;
    look.selected.set(3);
    PlanView view{200, 200};
    view.fit(*drawnbox(table, look));
    QImage whole(200, 200, QImage::Format_RGB32), part(200, 200, QImage::Format_RGB32);
    ui::paintplan(whole, table, look, view, Qt::black);
    part.fill(Qt::magenta);
    const QRegion corners = QRegion(0, 0, 30, 30) | QRegion(170, 170, 30, 30);
    ui::paintplan(part, table, look, view, Qt::black, corners);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(part.pixel(x, y), corners.contains(QPoint(x, y)) ? whole.pixel(x, y)
                                                                       : QColor(Qt::magenta).rgb())
                << x << "," << y;
}

// The main window's keys work while a view has the keyboard.
TEST_F(Views, TheMainWindowsKeysWorkInEveryWindow) {
    window.boxdock().setFloating(true);
    boxes().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window.boxdock()));
    QTest::keyClick(&boxes(), Qt::Key_N, Qt::ControlModifier);
    expect("status=New Map; rows=1");
    QTest::keyClick(&boxes(), Qt::Key_Z, Qt::ControlModifier);
    expect("status=Undone: New; rows=4");
    QTest::keyClick(&boxes(), Qt::Key_F2);
    EXPECT_FALSE(map().isVisible());
}
