#pragma once
// A started main window on in-memory settings and scripted file dialogs,
// and what a person does to it, for the widget tests.
#include "app/mainform.h"
#include "ui/qt/mainwindow.h"
#include "support/golden.h"
#include "support/harness.h"
#include "support/tempdir.h"
#include "ui/qt/qstring.h"
#include "ui/qt/qtplatform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QAbstractSlider>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

// Failures print texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace qs::test {

using ui::q;

struct Window : ::testing::Test {
    ui::MemorySettings settings;
    ui::ScriptedFileDialog files;
    ui::QtMessageBox box;
    ui::DefaultRandom random;
    MainForm form{Services{settings, files, box, random}};
    ui::MainWindow window{form};

    Window() {
        box.setparent(&window);
        form.start();
        window.placefromform();
        window.sync();
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename W> W* find(const QString& name) {
        W* w = window.findChild<W*>(name);
        if (!w) ADD_FAILURE() << "no widget " << name.toStdString();
        return w;
    }

    // Selects the field's whole text and types over it, key by key.
    void typeover(const QString& field, const QString& text) {
        auto* edit = find<QLineEdit>(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    void clickrow(int row) {
        auto* list = find<QListWidget>("List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    void clicktool(const QString& key) {
        auto* toolbar = find<QToolBar>("tbToolBar");
        auto* action = toolbar->findChild<QAction*>("tb" + key);
        QTest::mouseClick(toolbar->widgetForAction(action), Qt::LeftButton);
    }

    // Answers the next message box from inside its own event loop.
    void answernext(QMessageBox::StandardButton answer) {
        QTimer::singleShot(0, [answer] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(question->text(), "Delete?");
            EXPECT_EQ(question->windowTitle(), "Quarrystead");
            EXPECT_EQ(question->icon(), QMessageBox::NoIcon);
            question->button(answer)->click();
        });
    }

    // What the named widgets show, joined by '|': a field's, label's or button's text,
    // a bar's value, the list's current row.
    QString shown(const QString& names) {
        QStringList out;
        for (const QString& name : names.split(' ')) {
            QWidget* w = find<QWidget>(name);
            if (auto* e = qobject_cast<QLineEdit*>(w)) out << e->text();
            else if (auto* l = qobject_cast<QLabel*>(w)) out << l->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w)) out << button->text();
            else if (auto* b = qobject_cast<QAbstractSlider*>(w)) out << QString::number(b->value());
            else if (auto* list = qobject_cast<QListWidget*>(w)) out << QString::number(list->currentRow());
        }
        return out.join('|');
    }

    QStringList rows() {
        QStringList out;
        auto* list = find<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
};

inline const QString kFreeRow = "     0     0     0     0     0     0    0";


} // namespace qs::test
