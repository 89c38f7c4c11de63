#pragma once
// What a person does to the window, as the notifications the real window
// raises for it.
#include "app/mainform.h"

#include <initializer_list>
#include <string>

namespace qs::test {

class Person {
public:
    explicit Person(MainForm& form) : f(form) {}

    // Each keystroke appends one character and is one text change.
    void type(ui::TextField& field, const std::string& text) {
        for (char c : text) field.settext(field.text() + c);
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
    void track(ui::ScrollBar& bar, int direction) { bar.page(direction); }
    void drag(ui::ScrollBar& bar, std::initializer_list<int> positions) {
        for (int p : positions) bar.dragto(p);
        bar.release();
    }

    void select(int row) { f.List1.setlistindex(row); }
    void click(ui::Button& b) { b.click(); }
    void click(ui::Label& l) { l.click(); }
    void click(ui::CheckBox& c) { c.click(); }
    void slide(int value) { f.Slider1.setvalue(value); }
    void press(const std::string& key) { f.tbToolBar.click(key); }
    void point(float horizontal, float vertical, int button = 0) {
        f.Map.mousemove(button, 0, horizontal, vertical);
    }
    void clickmap() { f.Map.click(); }

private:
    MainForm& f;
};

} // namespace qs::test
