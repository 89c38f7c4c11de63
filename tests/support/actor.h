#pragma once
// A person's actions on the headless window, chosen by a stream of numbers:
// a seeded generator in the tests, the fuzzer's bytes in the fuzz target.
// After each action, step() says what, if anything, went wrong.
#include "document/mapcodec.h"
#include "document/rowtext.h"
#include "support/harness.h"
#include "support/person.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <limits>
#include <span>
#include <string>

namespace qs::test {

inline constexpr int kNestingBound = 64;

// The window's invariants after any action; an empty text when they hold.
inline std::string checkinvariants(const MainForm& f) {
    if (!f.fieldsready) return "fieldsready is false";
    if (f.dispatch.depth() != 0) return "a notification is still running";
    if (f.dispatch.maxdepth() >= kNestingBound) return "nesting reached " + std::to_string(f.dispatch.maxdepth());
    const int n = f.List1.listcount();
    if (n < 1) return "the list is empty";
    if (f.List1.listindex() < 0 || f.List1.listindex() >= n) return "no row is selected";
    if (f.curblock != f.List1.listindex()) return "curblock is not the selected row";
    int k = 0;
    while (k < kSlots && !endslistedrun(f.blocks[static_cast<std::size_t>(k)])) ++k;
    const int expected = k < 999 ? k + 1 : k;
    if (n != expected) return "the list has " + std::to_string(n) + " rows, not " + std::to_string(expected);
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::min(k, n)); ++i)
        if (f.List1.rows()[i] != rowtext(f.blocks[i])) return "row " + std::to_string(i) + " is not its slot's text";
    if (k < 999 && f.List1.rows()[static_cast<std::size_t>(k)] != kFreeSlotRow) return "no free-slot row";
    for (const auto* bars : {&f.BottomSB, &f.HeightSB})
        for (const auto& bar : *bars)
            if (bar.value() != 0) return "a spinner did not come back to rest";
    if (f.VScroll2.value() != 0) return "the move bar did not come back to rest";
    return {};
}

// Undo gives back the table and the selected row from before the action that
// led from `before` to the form's table, bit for bit; redo gives back the
// table and row after it. An empty text when both hold.
inline std::string checkundo(MainForm& f, const BlockTable& before, int rowbefore) {
    auto same = [](const BlockTable& a, const BlockTable& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    if (same(before, f.blocks)) return {};
    const BlockTable after = f.blocks;
    const int rowafter = f.List1.listindex();
    for (const bool back : {true, false}) {
        back ? f.undo() : f.redo();
        const char* what = back ? "undo" : "redo";
        if (!same(f.blocks, back ? before : after)) return std::string(what) + " did not give back the table";
        if (f.List1.listindex() != (back ? rowbefore : rowafter)) return std::string(what) + " did not give back the selected row";
        if (std::string fault = checkinvariants(f); !fault.empty()) return "after " + std::string(what) + ": " + fault;
    }
    return {};
}

class Actor {
public:
    // `next` gives the numbers that choose each action; `folder` is where
    // the actions open and save map files.
    Actor(Harness& h, std::function<std::uint32_t()> next, std::string folder)
        : h_(h), f_(h.form), p_(h.form), next_(std::move(next)), folder_(std::move(folder)) {}

    // Performs one action, then checks the invariants, and undo and redo of
    // the action: the fault, or an empty text.
    std::string step() {
        f_.dispatch.resetmaxdepth();
        const BlockTable before = f_.blocks;
        const int row = f_.List1.listindex();
        act();
        std::string fault = checkinvariants(f_);
        return fault.empty() ? checkundo(f_, before, row) : fault;
    }
    void act();

    // The last actions, oldest first.
    std::string recent() const {
        std::string out;
        for (const auto& a : recent_) out += "  " + a + "\n";
        return out;
    }

private:
    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(next_() % static_cast<std::uint32_t>(n)); }
    // 32 bits from four numbers, so a stream of bytes gives any bit pattern.
    std::uint32_t word() {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i) w = (w << 8) ^ next_();
        return w;
    }
    float anyfloat();
    std::string wildtext();
    // Any control of the kind C.
    template <typename C> C& any() {
        std::vector<C*> all;
        for (ui::Control* c : f_.controls())
            if (auto* k = dynamic_cast<C*>(c)) all.push_back(k);
        return *all[static_cast<std::size_t>(pick(static_cast<int>(all.size())))];
    }
    void note(std::string what) {
        recent_.push_back(std::move(what));
        if (recent_.size() > 40) recent_.pop_front();
    }
    void command();

    Harness& h_;
    MainForm& f_;
    Person p_;
    std::function<std::uint32_t()> next_;
    std::string folder_;
    std::deque<std::string> recent_;
};

inline float Actor::anyfloat() {
    switch (pick(7)) {
    case 0: return std::numeric_limits<float>::quiet_NaN();
    case 1: return (pick(2) ? 1 : -1) * std::numeric_limits<float>::infinity();
    case 2: return std::bit_cast<float>(word());
    case 3: return static_cast<float>(pick(400) - 200) / static_cast<float>(1 + pick(8));
    default: return static_cast<float>(pick(120) - 20);
    }
}

inline std::string Actor::wildtext() {
    static const char* const texts[] = {
        "", "-", "+", ".", "e", "1e", "1e+", "--5", "5-", "1e99", "-1e39", "9e99", "1e-40", "0.0001", "123456789",
        "-12.345", "\xC3\xA9", "2.", "360", "-30", "45.5", "1e308", " 1 2 ", "100.01", "\xFF\xFE", "12345678",
        "3.402823E+38", "NaN", "-Inf", "0x1p3"};
    if (pick(8) == 0) return std::string(static_cast<std::size_t>(1 + pick(3000)), "9.-e1"[pick(5)]);
    if (pick(3) == 0) {
        std::string s;
        const char alphabet[] = "0123456789.-+eE xZ\t\x01\x80";
        for (int i = pick(8); i >= 0; --i) s += alphabet[pick(static_cast<int>(sizeof alphabet) - 1)];
        return s;
    }
    return texts[pick(static_cast<int>(std::size(texts)))];
}

inline void Actor::command() {
    static const char* const keys[] = {"New", "Open", "Save", "Copy", "Refresh", "Delete", "open", "Help"};
    const std::string key = keys[pick(8)];
    const std::string path = folder_ + "/map.QRD";
    if (key == "Open" && pick(4) != 0) {
        // A file of the stream's bytes: up to a little over 1000 records.
        std::string bytes;
        const int n = pick(3) == 0 ? 32000 + pick(100) : pick(400);
        for (int i = 0; i < n; ++i) bytes += static_cast<char>(next_() & 0xFF);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        h_.filedialog.opens.push_back({path, "map.QRD"});
    } else if (key == "Open") {
        h_.filedialog.opens.push_back({pick(2) ? folder_ : std::string(), "x"});
    }
    if (key == "Save" && pick(4) != 0) h_.filedialog.saves.push_back({pick(5) ? path : folder_, "map.QRD"});
    if (key == "Delete") h_.messagebox.answers.push_back(pick(2) ? ui::Answer::Yes : ui::Answer::No);
    note("press " + key);
    p_.press(key);
    h_.filedialog.opens.clear();
    h_.filedialog.saves.clear();
    h_.messagebox.answers.clear();
}

inline void Actor::act() {
    const int what = pick(18);
    if (what < 4) { // type or paste a text
        auto& field = any<ui::TextField>();
        const std::string t = wildtext();
        note((what < 2 ? "type \"" : "paste \"") + t.substr(0, 40) + "\" (" + std::to_string(t.size()) + ") into " + field.name());
        what < 2 ? p_.type(field, t.substr(0, 12)) : p_.paste(field, t);
    } else if (what == 4) {
        auto& field = any<ui::TextField>();
        note("backspace in " + field.name());
        p_.backspace(field);
    } else if (what < 7) {
        auto& bar = any<ui::ScrollBar>();
        const int dir = pick(2) ? 1 : -1;
        const bool page = pick(2);
        note(std::string(page ? "track " : "arrow ") + std::to_string(dir) + " on " + bar.label());
        page ? p_.track(bar, dir) : p_.arrow(bar, dir);
    } else if (what == 7) {
        auto& bar = any<ui::ScrollBar>();
        const int a = pick(1200) - 100, b = pick(1200) - 100;
        note("drag " + bar.label() + " to " + std::to_string(a) + ", " + std::to_string(b));
        p_.drag(bar, {a, b});
    } else if (what < 10) {
        const int row = pick(f_.List1.listcount());
        note("select row " + std::to_string(row));
        p_.select(row);
    } else if (what == 10) {
        const int which = pick(8);
        note("click button " + std::to_string(which));
        if (which < 4) p_.click(f_.Command1[static_cast<std::size_t>(which)]);
        else if (which == 4) p_.click(f_.Command2);
        else if (which == 5) p_.click(f_.RNDANG);
        else if (which == 6) p_.click(f_.selpos);
        else p_.click(f_.Label3[static_cast<std::size_t>(pick(3))]);
    } else if (what == 11) {
        note("check box / slider");
        pick(2) ? p_.click(f_.Check1) : p_.slide(pick(300) - 20);
    } else if (what < 14) {
        const float x = anyfloat(), y = anyfloat();
        note("point " + std::to_string(x) + ", " + std::to_string(y));
        p_.point(x, y, pick(2));
        if (pick(6) == 0) p_.clickmap();
    } else if (what == 14) {
        // A table as a file could bring it, small, full, or with odd
        // values, put in as an Open would: one action.
        const int n = pick(10) == 0 ? 1000 : pick(12);
        note("load " + std::to_string(n) + " blocks");
        BlockTable table{};
        for (auto& b : std::span(table).first(static_cast<std::size_t>(n))) {
            b = Block{anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(),
                      static_cast<std::int32_t>(word())};
            if (pick(3)) b.sizex = b.sizez = static_cast<float>(1 + pick(5));
        }
        f_.dispatch.act("load", [&] {
            f_.blocks = table;
            f_.refreshmap();
            f_.refreshlist();
        });
    } else if (what < 17) {
        command();
    } else {
        note("empty the table");
        f_.dispatch.act("empty", [&] {
            f_.blocks.fill(Block{});
            f_.refreshlist();
        });
    }
}

} // namespace qs::test
