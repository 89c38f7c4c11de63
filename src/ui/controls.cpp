#include "ui/controls.h"

#include <algorithm>
#include <cmath>

namespace qs::ui {

void TextField::settext(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    touch();
    raise("Change", onchange);
}

std::int16_t ScrollBar::clamp(int v) const {
    // Min may lie above Max; the range is whatever lies between them.
    const int lo = std::min(min_, max_);
    const int hi = std::max(min_, max_);
    return static_cast<std::int16_t>(std::clamp(v, lo, hi));
}

void ScrollBar::setvalue(int v) {
    const std::int16_t nv = clamp(v);
    if (nv == value_) return;
    value_ = nv;
    touch();
    raise("Change", onchange);
}

void ScrollBar::setmin(int v) {
    min_ = static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
    touch();
    setvalue(value_);
}

void ScrollBar::setmax(int v) {
    max_ = static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
    touch();
    setvalue(value_);
}

void ScrollBar::design(int min, int max, int value, int smallstep, int largestep) {
    min_ = static_cast<std::int16_t>(min);
    max_ = static_cast<std::int16_t>(max);
    value_ = clamp(value);
    smallchange = static_cast<std::int16_t>(smallstep);
    largechange = static_cast<std::int16_t>(largestep);
    touch();
}

void ScrollBar::dragto(int v) {
    if (!dragging_) {
        dragging_ = true;
        dragstart_ = value_;
    }
    const std::int16_t nv = clamp(v);
    if (nv == value_) return;
    value_ = nv;
    touch();
    raise("Scroll", onscroll);
}

void ScrollBar::release() {
    if (!dragging_) return;
    dragging_ = false;
    if (value_ != dragstart_) raise("Change", onchange);
}

void ListBox::clear() {
    std::swap(rows_, previous_);
    rows_.clear();
    listindex_ = -1;
    touch();
}

void ListBox::additem(std::string_view row) {
    const std::size_t i = rows_.size();
    if (i < previous_.size()) {
        rows_.push_back(std::move(previous_[i]));
        if (rows_[i] == row) return;
        rows_[i].assign(row);
    } else {
        rows_.emplace_back(row);
    }
    if (rowrevisions_.size() <= i) rowrevisions_.resize(i + 1);
    rowrevisions_[i] = ++rowcounter_;
    touch();
}

void ListBox::setlistindex(int i) {
    if (i < -1 || i >= listcount() || i == listindex_) return;
    listindex_ = i;
    touch();
    raise("Click", onclick);
}

void CheckBox::setvalue(int v) {
    v = v != 0 ? 1 : 0;
    if (v == value_) return;
    value_ = v;
    touch();
    raise("Click", onclick);
}

void Button::setbackcolor(Colour c) {
    if (c == backcolor_) return;
    backcolor_ = c;
    touch();
}

void Button::setmaskcolor(Colour c) {
    if (c == maskcolor_) return;
    maskcolor_ = c;
    touch();
}

void Button::click() {
    raise("Click", onclick);
}

void Label::click() {
    raise("Click", onclick);
}

void Surface::setbackcolor(Colour c) {
    if (c == backcolor_) return;
    backcolor_ = c;
    touch();
}

void Surface::cls() {
    lines_.clear();
    ++clears_;
    touch();
}

void Surface::click() {
    raise("Click", onclick);
}

void Surface::mousemove(int button, int shift, float x, float y) {
    raise("MouseMove", [&] {
        if (onmousemove) onmousemove(button, shift, x, y);
    });
}

void Slider::setrange(int min, int max) {
    min_ = min;
    max_ = max;
    touch();
}

void Slider::setvalue(int v) {
    v = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (v == value_) return;
    value_ = v;
    touch();
    raise("Change", onchange);
}

void Slider::preset(int v) {
    value_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    touch();
}

void Toolbar::click(const std::string& key) {
    pressed_ = key;
    raise("ButtonClick", [&] {
        if (onclick) onclick(key);
    });
}

void StatusBar::settext(int panel, std::string text) {
    if (panel < 1 || panel > 4) return;
    auto& slot = panels_[static_cast<std::size_t>(panel - 1)];
    if (slot == text) return;
    slot = std::move(text);
    touch();
}

} // namespace qs::ui
