// The map window and the 3D view in the main window: what a person would not
// see at a glance (what is painted, and how often); the tools' and the views'
// own tests cover what they do.
#include "ui/qt/pictures.h"
#include "ui/qt/viewwindows.h"
#include "window.h"

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
};

// Parts of the map's picture are painted as the whole is; the views follow
// each action once, and keep what they painted.
TEST_F(Views, PartsArePaintedAsTheWholeAndTheViewsFollowEachActionOnce) {
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
    run("row 0");
    QCoreApplication::processEvents();
    const int mappaints = map().paints(), boxpaints = boxes().paints();
    run("focus posxed; keys <End>5"); // many notifications, one repaint of each
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(map().paints(), boxes().paints()), std::pair(mappaints + 1, boxpaints + 1));
    for (ui::ViewWindow* view : std::initializer_list<ui::ViewWindow*>{&map(), &boxes()}) {
        const QImage kept = view->grab().toImage();
        view->invalidate();
        EXPECT_EQ(kept, view->grab().toImage()) << view->objectName().toStdString();
    }
}
