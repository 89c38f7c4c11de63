// The real widgets, worked as a person works them, on the offscreen platform.
#include "document/numtext.h"
#include "gui/window.h"
#include "ui/qt/mapwidget.h"

#include <QCheckBox>
#include <QRegularExpression>
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
    EXPECT_EQ(find<QLabel>("sbStatusBar_panel1")->text(), "Select Position ON");
    auto* map = find<ui::SurfaceWidget>("Map");
    const QPointF target = map->towidget(10, 37.5f); // Z 10, X 37.5
    QTest::mouseMove(map, target.toPoint());
    const float z = form.blocks[0].z, x = form.blocks[0].x;
    EXPECT_TRUE(std::abs(z - 10) < 0.5 && std::abs(x - 37.5) < 0.5) << z << ", " << x;
    EXPECT_EQ(find<QLineEdit>("posyed")->text().toStdString(), signednum(z));
    QTest::mouseClick(map, Qt::LeftButton, {}, target.toPoint());
    EXPECT_EQ(find<QLabel>("sbStatusBar_panel1")->text(), "Select Position SELECTED");
    QTest::mouseMove(map, QPoint(5, 5));
    EXPECT_EQ(form.blocks[0].x, x);
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
