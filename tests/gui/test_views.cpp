// The map window and the 3D view beside the main window.
#include "document/numtext.h"
#include "ui/qt/viewwindows.h"
#include "window.h"

#include <QWheelEvent>

using namespace qs;

struct Views : test::Window {
    Views() {
        const auto blocks = test::viewmap();
        for (std::size_t i = 0; i < blocks.size(); ++i) form.document.set(static_cast<int>(i), blocks[i]);
        run("refreshmap; refreshlist; select 3"); // the free slot's row: no block is marked
        // Beside the main window, so the pointer over them is over nothing else.
        for (auto [view, place] :
             {std::pair<QWidget*, QRect>{&map(), {700, 0, 400, 400}}, {&boxes(), {700, 450, 400, 300}}}) {
            view->setGeometry(place);
            view->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
        }
    }
    ui::MapWindow& map() { return window.mapwindow(); }
    ui::BoxWindow& boxes() { return window.boxwindow(); }
    QPoint over(double z, double x) {
        const Pixel p = map().view().topixel({z, x});
        return QPointF(p.h, p.v).toPoint();
    }
    // Home works in the window that has the keyboard.
    void home(QWidget& w) {
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_Home);
    }
    void wheel(QWidget& w, QPoint at, int notches) {
        QWheelEvent e(at, w.mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &e);
    }
};

TEST_F(Views, BothWindowsMatchTheirGoldenImages) {
    test::expectgolden(map().grab().toImage(), "mapwindow.png");
    test::expectgolden(boxes().grab().toImage(), "boxview.png");
}

TEST_F(Views, KeysButtonsAndTheirSettings) {
    map().close();
    boxes().close();
    EXPECT_EQ(find<QAction>("tbMap")->toolTip(), "Map window (F2)");
    EXPECT_EQ(find<QAction>("tb3D")->toolTip(), "3D view (F3)");
    run("keys <F2>; tool 3D");
    EXPECT_TRUE(map().isVisible() && boxes().isVisible());
    run("tool 3D");
    EXPECT_FALSE(boxes().isVisible());
    map().resize(500, 350);
    map().remember();
    boxes().remember();
    // The next start opens what was open, at its size.
    ui::MainWindow again(form);
    again.restoreviews();
    EXPECT_TRUE(again.mapwindow().isVisible() && !again.boxwindow().isVisible());
    EXPECT_EQ(again.mapwindow().size(), QSize(500, 350));
}

// The main window's keys work while a view has the keyboard.
TEST_F(Views, TheMainWindowsKeysWorkInEveryWindow) {
    home(map());
    QTest::keyClick(&map(), Qt::Key_N, Qt::ControlModifier);
    expect("status=New Map; rows=1");
    home(boxes());
    QTest::keyClick(&boxes(), Qt::Key_Z, Qt::ControlModifier);
    expect("status=Undone: New; rows=4");
    QTest::keyClick(&boxes(), Qt::Key_F2);
    EXPECT_FALSE(map().isVisible());
}

// The views' own tests cover the zoom's and the orbit's arithmetic; here the
// wheel, a drag and Home reach them.
TEST_F(Views, WheelZoomsAboutThePointerDragPansAndHomeFits) {
    const double fitted = map().view().scale;
    const MapPoint under = map().view().tomap({100, 250});
    wheel(map(), {100, 250}, 2);
    EXPECT_NEAR(map().view().scale, fitted * 1.25 * 1.25, 1e-9);
    QTest::mousePress(&map(), Qt::LeftButton, {}, {100, 250});
    QTest::mouseMove(&map(), {140, 220});
    QTest::mouseRelease(&map(), Qt::LeftButton, {}, {140, 220});
    EXPECT_NEAR(map().view().tomap({140, 220}).x, under.x, 1e-9); // the point went along
    EXPECT_EQ(form.List1.listindex(), 3);                          // and a drag selects nothing
    home(map());
    EXPECT_EQ(map().view().scale, fitted);
    const BoxCamera first = boxes().camera();
    wheel(boxes(), {200, 150}, -1);
    QTest::mousePress(&boxes(), Qt::LeftButton, {}, {200, 150});
    QTest::mouseMove(&boxes(), {260, 120});
    EXPECT_LT(boxes().camera().scale, first.scale);
    EXPECT_TRUE(boxes().camera().yaw != first.yaw && boxes().camera().pitch != first.pitch);
    home(boxes());
    EXPECT_EQ(boxes().camera().yaw, first.yaw);
}

TEST_F(Views, ClickingABlockSelectsItsRowAsAPersonsListSelectionDoes) {
    EXPECT_EQ(map().rowat(over(30, 45)), ui::q(value("row 1"))); // the tooltip
    EXPECT_EQ(map().rowat(over(0, 0)), "");
    QTest::mouseClick(&map(), Qt::LeftButton, {}, over(30, 45));
    expect("List1=1; heighted=8");
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
        view->close();
    }
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
    expect("posyed=" + signednum(static_cast<float>(p.z)) + "; posxed=" + signednum(static_cast<float>(p.x)));
    QTest::mouseClick(&map(), Qt::LeftButton, {}, target);
    expect("status=Select Position SELECTED; List1=2");
}
