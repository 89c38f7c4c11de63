#pragma once
// A started main window on in-memory settings and scripted file dialogs, and
// a person's steps on its real widgets, written as text as the core tests
// write theirs.
#include "app/mainform.h"
#include "support/golden.h"
#include "support/transcript.h"
#include "ui/qt/mainwindow.h"
#include "ui/qt/qstring.h"
#include "ui/qt/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <gtest/gtest.h>

namespace qs::test {

using ui::q;

struct Window : ::testing::Test, Plays<Window> {
    ui::QtMessageBox box;
    Harness h{false, {}, &box};
    MainForm& form = h.form;
    ui::MainWindow window{form};
    TempDir dir; // where "open" and "save" find their files

    Window() {
        h.folder = dir.file("");
        box.setparent(&window);
        form.start();
        window.placefromform();
        window.sync();
        window.show();
        activate();
    }
    void activate() {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename W = QWidget> W* find(const QString& name) {
        if (auto* w = window.findChild<W*>(name)) return w;
        throw std::invalid_argument("no widget " + name.toStdString());
    }

    // Runs steps separated by ';'. A person's steps on the widgets:
    //   focus WIDGET, keys KEYS (where the keyboard is: each character a
    //   key, <NAME> a key by its name: <End>, <Ctrl+Z>), typeover FIELD TEXT
    //   (selects the field's text and types over it), row N [Ctrl] (a click
    //   on the list's row N, or below the last row when it has none), spin
    //   BAR ±1 (a click on its right or left arrow), tool KEY (a click on the
    //   toolbar's button), yes and no (answer the next question from inside
    //   its box); the mouse on a widget at pixel X Y: tap WIDGET [X Y] (a
    //   left click, in its middle without X Y); any other step is the
    //   headless window's (see Harness::run), which the widgets then show.
    void run(const std::string& steps) {
        std::istringstream all(steps);
        for (std::string step; std::getline(all, step, ';');) {
            const auto& [verb, word, rest] = Step(step);
            int x = 0, y = 0;
            std::istringstream(rest) >> x >> y;
            const auto held = rest.ends_with("Ctrl")    ? Qt::ControlModifier
                              : rest.ends_with("Shift") ? Qt::ShiftModifier
                                                        : Qt::NoModifier;
            if (verb == "focus")
                find(q(word))->setFocus();
            else if (verb == "keys")
                for (const QString& key : keytokens(q(word + (rest.empty() ? "" : " " + rest))))
                    press(key);
            else if (verb == "typeover")
                run("focus " + word + "; keys <Ctrl+A>" + rest);
            else if (verb == "row") {
                auto* list = find<QListWidget>("List1");
                QRect place = list->visualItemRect(list->item(std::stoi(word))); // empty for none
                if (place.isEmpty()) place = QRect(0, list->viewport()->height() - 9, 40, 9);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, held, place.center());
            } else if (verb == "spin") {
                auto* bar = find<QScrollBar>(q(word));
                const QPoint at(rest == "1" ? bar->width() - 4 : 3, bar->height() / 2);
                QTest::mouseClick(bar, Qt::LeftButton, {}, at);
            } else if (verb == "tool")
                QTest::mouseClick(
                    find<QToolBar>("tbToolBar")->widgetForAction(find<QAction>("tb" + q(word))),
                    Qt::LeftButton);
            else if (verb == "yes" || verb == "no") // from inside the question's own event loop
                QTimer::singleShot(0, [yes = verb == "yes"] {
                    auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    ASSERT_NE(question, nullptr);
                    EXPECT_EQ((question->windowTitle() + ": " + question->text()).toStdString(),
                              "Quarrystead: Delete?");
                    EXPECT_EQ(question->icon(), QMessageBox::NoIcon);
                    question->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
                });
            else if (verb == "tap") // at 0 0, or with no place, the middle
                QTest::mouseClick(find(q(word)), Qt::LeftButton, held, {x, y});
            else {
                h.run(step);
                window.sync();
            }
        }
    }
    // Each key of a text: a character, or <NAME>.
    static QStringList keytokens(const QString& keys) {
        QStringList out;
        for (const QRegularExpressionMatch& m : QRegularExpression("<[^>]+>|.").globalMatch(keys))
            out << m.captured();
        return out;
    }
    // One key where the keyboard is, the window made active again first
    // (after a message box).
    void press(const QString& key) {
        if (!window.isActiveWindow()) activate();
        QWidget* to = window.focusWidget() ? window.focusWidget() : &window;
        if (key.size() == 1) return QTest::keyClick(to, key[0].toLatin1());
        const QKeyCombination k = QKeySequence(key.mid(1, key.size() - 2))[0];
        QTest::keyClick(to, k.key(), k.keyboardModifiers());
    }

    // What a widget named `what` shows: a field's, label's or button's text,
    // a bar's value, the list's current row; NAME.PROPERTY, a property of the
    // widget or action NAME (posxed.cursorPosition, tbNew.toolTip); rows, row
    // N and selected, the list's; status, the first panel's text; title, the
    // window's title as shown. Anything else is the headless window's (see
    // valueof).
    std::string value(const std::string& what) {
        auto* list = find<QListWidget>("List1");
        if (what == "rows") return std::to_string(list->count());
        if (what.starts_with("row "))
            return list->item(std::stoi(what.substr(4)))->text().toStdString();
        if (what == "selected") return std::to_string(list->selectedItems().size());
        if (what == "title") return window.windowHandle()->title().toStdString();
        const auto dot = what.find('.');
        const std::string name = what == "status" ? "sbStatusBar_panel1" : what.substr(0, dot);
        if (const QObject* o = window.findChild<QObject*>(q(name)))
            for (const char* property : {"text", "value", "currentRow"}) {
                const QVariant v = o->property(dot == what.npos ? property : &what[dot + 1]);
                if (v.isValid()) return v.toString().toStdString();
            }
        return valueof(h, what);
    }
};

} // namespace qs::test
