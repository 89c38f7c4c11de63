// The map window and the 3D view beside the main window.
#include "document/numtext.h"
#include "ui/qt/viewwindows.h"
#include "window.h"

#include <QWheelEvent>

using namespace qs;

namespace {

struct Views : test::Window {
    Views() {
        const auto blocks = test::viewmap();
        std::copy(blocks.begin(), blocks.end(), form.blocks.begin());
        form.refreshmap();
        form.refreshlist();
        // The free slot's row: no block is marked.
        form.List1.setlistindex(3);
        window.sync();
    }
    ui::MapWindow& map() { return window.mapwindow(); }
    ui::BoxWindow& boxes() { return window.boxwindow(); }
    // Beside the main window, so the pointer over it is over nothing else.
    void open(QWidget& w, QSize size) {
        w.setGeometry(QRect(QPoint(700, &w == &map() ? 0 : 450), size));
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
    // The pixel of the map window over a map point.
    QPoint over(double z, double x) {
        const Pixel p = map().view().topixel({z, x});
        return QPointF(p.h, p.v).toPoint();
    }
    void wheel(QWidget& w, QPoint at, int notches) {
        QWheelEvent e(at, w.mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w, &e);
    }
};

} // namespace

TEST_F(Views, BothWindowsMatchTheirGoldenImages) {
    open(map(), {400, 400});
    open(boxes(), {400, 300});
    test::expectgolden(map().grab().toImage(), "mapwindow.png");
    test::expectgolden(boxes().grab().toImage(), "boxview.png");
}

TEST_F(Views, KeysButtonsAndTheirSettings) {
    auto* toolbar = find<QToolBar>("tbToolBar");
    EXPECT_EQ(toolbar->findChild<QAction*>("tbMap")->toolTip(), "Map window (F2)");
    EXPECT_EQ(toolbar->findChild<QAction*>("tb3D")->toolTip(), "3D view (F3)");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_TRUE(map().isVisible());
    clicktool("3D");
    EXPECT_TRUE(boxes().isVisible());
    clicktool("3D");
    EXPECT_FALSE(boxes().isVisible());
    map().resize(500, 350);
    map().remember();
    boxes().remember();
    EXPECT_EQ(settings.get(kAppTitle, "MapWindow", "Open", ""), "1");
    EXPECT_EQ(settings.get(kAppTitle, "BoxView", "Open", ""), "0");
    // The next start opens what was open, at its size.
    ui::MainWindow again(form);
    again.restoreviews();
    EXPECT_TRUE(again.mapwindow().isVisible());
    EXPECT_FALSE(again.boxwindow().isVisible());
    EXPECT_EQ(again.mapwindow().size(), QSize(500, 350));
}

TEST_F(Views, WheelZoomsAboutThePointerDragPansAndHomeFits) {
    open(map(), {400, 400});
    const double fitted = map().view().scale;
    const QPoint at(100, 250);
    const MapPoint under = map().view().tomap({100, 250});
    wheel(map(), at, 2);
    EXPECT_NEAR(map().view().scale, fitted * 1.25 * 1.25, 1e-9);
    EXPECT_NEAR(map().view().tomap({100, 250}).z, under.z, 1e-9);
    EXPECT_NEAR(map().view().tomap({100, 250}).x, under.x, 1e-9);
    // Dragging the empty map takes the point under the pointer along.
    QTest::mousePress(&map(), Qt::LeftButton, {}, at);
    QTest::mouseMove(&map(), at + QPoint(40, -30));
    QTest::mouseRelease(&map(), Qt::LeftButton, {}, at + QPoint(40, -30));
    EXPECT_NEAR(map().view().tomap({140, 220}).z, under.z, 1e-9);
    EXPECT_EQ(form.List1.listindex(), 3); // a drag selects nothing
    QTest::keyClick(&map(), Qt::Key_Home);
    EXPECT_EQ(map().view().scale, fitted);
    // The 3D view zooms and turns, and goes back with Home.
    open(boxes(), {400, 300});
    const BoxCamera first = boxes().camera();
    wheel(boxes(), {200, 150}, -1);
    QTest::mousePress(&boxes(), Qt::LeftButton, {}, {200, 150});
    QTest::mouseMove(&boxes(), {260, 120});
    EXPECT_LT(boxes().camera().scale, first.scale);
    EXPECT_NE(boxes().camera().yaw, first.yaw);
    EXPECT_NE(boxes().camera().pitch, first.pitch);
    QTest::keyClick(&boxes(), Qt::Key_Home);
    EXPECT_EQ(boxes().camera().scale, first.scale);
    EXPECT_EQ(boxes().camera().yaw, first.yaw);
}

TEST_F(Views, ClickingABlockSelectsItsRowAsAPersonsListSelectionDoes) {
    open(map(), {400, 400});
    const QPoint onblock = over(30, 45);
    EXPECT_EQ(map().rowat(onblock), rows()[1]);
    EXPECT_EQ(map().rowat(over(0, 0)), "");
    QTest::mouseClick(&map(), Qt::LeftButton, {}, onblock);
    // The list's click ran: the row is selected, the editor shows the block.
    EXPECT_EQ(form.List1.listindex(), 1);
    EXPECT_EQ(find<QListWidget>("List1")->currentRow(), 1);
    EXPECT_EQ(find<QLineEdit>("posxed")->text(), "45");
    EXPECT_EQ(find<QLineEdit>("heighted")->text(), "8");
    // The current block is marked in black and white, whatever its colour.
    QCoreApplication::processEvents();
    const QImage shot = map().grab().toImage();
    const Pixel corner = map().view().topixel({33, 48});
    bool white = false, black = false;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            const QColor c = shot.pixelColor(static_cast<int>(corner.h) + dx, static_cast<int>(corner.v) + dy);
            white |= c == Qt::white;
            black |= c == Qt::black;
        }
    EXPECT_TRUE(white && black);
}

TEST_F(Views, FollowEachActionOnceAndCostNothingClosed) {
    open(map(), {400, 400});
    open(boxes(), {400, 300});
    clickrow(0);
    QCoreApplication::processEvents();
    const int mappaints = map().paints(), boxpaints = boxes().paints();
    // One keystroke: many notifications, one repaint of each window.
    auto* x = find<QLineEdit>("posxed");
    x->setFocus();
    x->setCursorPosition(static_cast<int>(x->text().size()));
    QTest::keyClick(x, Qt::Key_5);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.blocks[0].x, 205);
    EXPECT_EQ(map().paints(), mappaints + 1);
    EXPECT_EQ(boxes().paints(), boxpaints + 1);
    // The block moved in both windows; what each painted again where it
    // was and where it is gives the picture of painting everything.
    EXPECT_EQ(map().rowat(over(10, 205)), rows()[0]);
    EXPECT_EQ(blockat(form.blocks, map().look(), {10, 20}), -1);
    for (ui::ViewWindow* view : std::initializer_list<ui::ViewWindow*>{&map(), &boxes()}) {
        const QImage kept = view->grab().toImage();
        view->invalidate();
        EXPECT_EQ(kept, view->grab().toImage()) << view->objectName().toStdString();
    }
    // Closed, they paint nothing.
    map().close();
    boxes().close();
    const int closedmap = map().paints(), closedboxes = boxes().paints();
    QTest::keyClick(x, Qt::Key_Backspace);
    QCoreApplication::processEvents();
    EXPECT_EQ(map().paints(), closedmap);
    EXPECT_EQ(boxes().paints(), closedboxes);
}

TEST_F(Views, SelectPosPlacesTheCurrentBlockFromTheMapWindow) {
    open(map(), {400, 400});
    clickrow(2);
    QTest::mouseClick(find<QPushButton>("selpos"), Qt::LeftButton);
    const QPoint target = over(5, 25);
    QTest::mouseMove(&map(), target);
    const MapPoint p = map().view().tomap({static_cast<double>(target.x()), static_cast<double>(target.y())});
    EXPECT_EQ(find<QLineEdit>("posyed")->text().toStdString(), signednum(static_cast<float>(p.z)));
    EXPECT_EQ(find<QLineEdit>("posxed")->text().toStdString(), signednum(static_cast<float>(p.x)));
    EXPECT_NEAR(form.blocks[2].z, p.z, 1e-4);
    QTest::mouseClick(&map(), Qt::LeftButton, {}, target);
    EXPECT_EQ(find<QLabel>("sbStatusBar_panel1")->text(), "Select Position SELECTED");
    EXPECT_FALSE(form.selmode);
    EXPECT_EQ(form.List1.listindex(), 2);
}
