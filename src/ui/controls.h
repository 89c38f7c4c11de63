#pragma once
// The kinds of control the window is made of, as the program's logic uses
// them. Each write that changes a control's state raises its notification at
// once; a person's action on the real widget becomes the same write.
#include "document/footprint.h"
#include "ui/control.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qs::ui {

// Colours here are display colours: red + 256 × green + 65536 × blue.
using Colour = std::int32_t;

class TextField : public Control {
  public:
    using Control::Control;
    const std::string& text() const { return text_; }
    void settext(std::string text);
    std::function<void()> onchange;

  private:
    std::string text_;
};

// Values are 16-bit; a write outside Min..Max lands on the nearer end.
class ScrollBar : public Control {
  public:
    using Control::Control;
    std::int16_t value() const { return value_; }
    std::int16_t min() const { return min_; }
    std::int16_t max() const { return max_; }
    std::int16_t smallchange = 1;
    std::int16_t largechange = 1;

    void setvalue(int v);
    void setmin(int v);
    void setmax(int v);
    // Sets a range, step sizes and value at design time, raising nothing.
    void design(int min, int max, int value, int smallstep, int largestep);

    // What a person does: an arrow (-1 the arrow toward Min, +1 toward Max),
    // a click into the track on either side, and dragging the thumb, which
    // raises Scroll while it moves and one Change when it is let go.
    void arrow(int direction) { setvalue(value_ + direction * smallchange); }
    void page(int direction) { setvalue(value_ + direction * largechange); }
    void dragto(int v);
    void release();
    bool dragging() const { return dragging_; }

    std::function<void()> onchange;
    std::function<void()> onscroll;

  private:
    std::int16_t clamp(int v) const;
    std::int16_t value_ = 0;
    std::int16_t min_ = 0;
    std::int16_t max_ = 32767;
    bool dragging_ = false;
    std::int16_t dragstart_ = 0;
};

class ListBox : public Control {
  public:
    using Control::Control;
    // Empties the list and selects nothing; raises no Click.
    void clear();
    void additem(std::string_view row);
    int listcount() const { return static_cast<int>(rows_.size()); }
    const std::vector<std::string>& rows() const { return rows_; }
    int listindex() const { return listindex_; }
    // Selects row i (-1 for none) and raises Click when that changes the
    // selection. An index that names no row is ignored.
    void setlistindex(int i);
    std::function<void()> onclick;

    // Bumped for row i each time a rebuild puts another text there than the
    // row had before, so a view re-sends only rows that changed.
    std::uint64_t rowrevision(int i) const { return rowrevisions_[static_cast<std::size_t>(i)]; }

  private:
    std::vector<std::string> rows_;
    // The rows before the last clear, reused row by row as the list is
    // rebuilt: an unchanged row costs a comparison, not a new string.
    std::vector<std::string> previous_;
    std::vector<std::uint64_t> rowrevisions_;
    std::uint64_t rowcounter_ = 0;
    int listindex_ = -1;
};

class CheckBox : public Control {
  public:
    using Control::Control;
    int value() const { return value_; }
    void setvalue(int v); // 0 or 1
    void click() { setvalue(value_ == 0 ? 1 : 0); }
    std::function<void()> onclick;

  private:
    int value_ = 0;
};

class Button : public Control {
  public:
    using Control::Control;
    Colour backcolor() const { return backcolor_; }
    void setbackcolor(Colour c);
    Colour maskcolor() const { return maskcolor_; }
    void setmaskcolor(Colour c);
    // Whether the button shows its back colour (the colour presets do).
    bool showscolour = false;
    void click();
    std::function<void()> onclick;

  private:
    Colour backcolor_ = 0xF0F0F0;
    Colour maskcolor_ = 0xC0C0C0;
};

class Label : public Control {
  public:
    using Control::Control;
    void click();
    std::function<void()> onclick;
};

// A line in the surface's own coordinates, with its display colour.
using Line = qs::Line;

// A picture box: a back colour and the lines drawn on it since it was last
// cleared, in a fixed user scale.
class Surface : public Control {
  public:
    using Control::Control;

    // The user scale: left edge, top edge, width and height (a negative
    // height makes the vertical coordinate grow upwards).
    float scaleleft = 0, scaletop = 0, scalewidth = 1, scaleheight = 1;

    Colour backcolor() const { return backcolor_; }
    void setbackcolor(Colour c);
    void cls();
    // Adds a line; one whose ends are not both finite points draws nothing.
    void line(float x1, float y1, float x2, float y2, Colour c) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
            return;
        lines_.push_back({x1, y1, x2, y2, c});
        touch();
    }
    const std::vector<Line>& lines() const { return lines_; }
    // Counts the clears, so a view can tell a fresh drawing from added lines.
    std::uint64_t clears() const { return clears_; }

    void click();
    void mousemove(int button, int shift, float x, float y);
    std::function<void()> onclick;
    std::function<void(int button, int shift, float x, float y)> onmousemove;

  private:
    Colour backcolor_ = 0;
    std::vector<Line> lines_;
    std::uint64_t clears_ = 0;
};

class Slider : public Control {
  public:
    using Control::Control;
    int value() const { return value_; }
    int min() const { return min_; }
    int max() const { return max_; }
    void setrange(int min, int max);
    void setvalue(int v); // clamped to the range
    // Sets the value as the window is loaded, raising nothing.
    void preset(int v);
    std::function<void()> onchange;

  private:
    int value_ = 0;
    int min_ = 0;
    int max_ = 10;
};

class Toolbar : public Control {
  public:
    using Control::Control;
    std::vector<std::string> keys;
    void click(const std::string& key);
    // The key of the button clicked last.
    const std::string& pressed() const { return pressed_; }
    std::function<void(const std::string& key)> onclick;

  private:
    std::string pressed_;
};

class StatusBar : public Control {
  public:
    using Control::Control;
    // Panels are numbered from 1 to 4.
    const std::string& text(int panel) const {
        return panels_.at(static_cast<std::size_t>(panel - 1));
    }
    void settext(int panel, std::string text);

  private:
    std::array<std::string, 4> panels_;
};

} // namespace qs::ui
