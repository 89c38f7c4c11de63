#pragma once
// A started main form holding n blocks in a compact table.
#include "benchmap.h"
#include "support/harness.h"
#include "support/tempdir.h"

#include <benchmark/benchmark.h>

namespace qs::bench {

// What a person does to the window, as the notifications the real window
// raises for it.
class Person {
  public:
    explicit Person(MainForm& form) : f(form) {}

    // Each keystroke appends one character and is one text change.
    void type(ui::TextField& field, const std::string& text) {
        for (char c : text)
            field.settext(field.text() + c);
    }
    // Replaces the whole text in one change, as pasting over a selection does.
    void paste(ui::TextField& field, const std::string& text) { field.settext(text); }
    // Deletes the last character.
    void backspace(ui::TextField& field) {
        std::string t = field.text();
        if (!t.empty()) t.pop_back();
        field.settext(t);
    }

    // Direction -1 is the arrow toward Min: the left arrow of a horizontal
    // bar, the upper arrow of a vertical one.
    void arrow(ui::ScrollBar& bar, int direction) { bar.arrow(direction); }
    void select(int row) { f.List1.setlistindex(row); }
    void press(const std::string& key) { f.tbToolBar.click(key); }

  private:
    MainForm& f;
};

// With the history and a recovery copy in place, as the program has them;
// `bare` takes away what hangs off the end of a person's action, to measure
// what it costs.
struct Bench {
    explicit Bench(int n, bool bare = false) : h(true, dir.path.string()), f(h.form), p(h.form) {
        h.load(n, benchblock);
        f.refreshmap();
        if (bare) {
            f.dispatch.onactionbegin = nullptr;
            f.dispatch.onactionend = nullptr;
        }
    }
    test::TempDir dir;
    test::Harness h;
    MainForm& f;
    Person p;
};

} // namespace qs::bench
