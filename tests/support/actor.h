#pragma once
// A person's actions on the headless window, chosen by a stream of numbers:
// a seeded generator in the tests, the fuzzer's bytes in the fuzz target.
// After each action, checkinvariants() says what, if anything, went wrong.
#include "document/rowtext.h"
#include "document/mapcodec.h"
#include "support/harness.h"
#include "support/person.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <limits>
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
    int k = kSlots;
    for (int i = 0; i < kSlots; ++i)
        if (endslistedrun(f.blocks[static_cast<std::size_t>(i)])) {
            k = i;
            break;
        }
    const int expected = k < 999 ? k + 1 : k;
    if (n != expected) return "the list has " + std::to_string(n) + " rows, not " + std::to_string(expected);
    for (int i = 0; i < std::min(k, n); ++i)
        if (f.List1.rows()[static_cast<std::size_t>(i)] != rowtext(f.blocks[static_cast<std::size_t>(i)]))
            return "row " + std::to_string(i) + " is not its slot's text";
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
    f.undo();
    if (!same(f.blocks, before)) return "undo did not give back the table";
    if (f.List1.listindex() != rowbefore) return "undo did not give back the selected row";
    if (std::string fault = checkinvariants(f); !fault.empty()) return "after undo: " + fault;
    f.redo();
    if (!same(f.blocks, after)) return "redo did not give back the table";
    if (f.List1.listindex() != rowafter) return "redo did not give back the selected row";
    if (std::string fault = checkinvariants(f); !fault.empty()) return "after redo: " + fault;
    return {};
}

class Actor {
public:
    // `next` gives the numbers that choose each action; `folder` is where
    // the actions open and save map files.
    Actor(Harness& h, std::function<std::uint32_t()> next, std::string folder)
        : h_(h), f_(h.form), p_(h.form), next_(std::move(next)), folder_(std::move(folder)) {}

    // Performs one action and remembers what it was.
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
    ui::TextField& anyfield();
    ui::ScrollBar& anybar();
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
    case 1: return pick(2) ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    case 2: {
        const std::uint32_t bits = word();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    case 3: return static_cast<float>(pick(400) - 200) / static_cast<float>(1 + pick(8));
    default: return static_cast<float>(pick(120) - 20);
    }
}

inline std::string Actor::wildtext() {
    static const char* const texts[] = {"",      "-",      "+",         ".",       "e",        "1e",
                                        "1e+",   "--5",    "5-",        "1e99",    "-1e39",    "9e99",
                                        "1e-40", "0.0001", "123456789", "-12.345", "\xC3\xA9", "2.",
                                        "360",   "-30",    "45.5",      "1e308",   " 1 2 ",    "100.01",
                                        "\xFF\xFE", "12345678", "3.402823E+38", "NaN",  "-Inf",     "0x1p3"};
    if (pick(8) == 0) return std::string(static_cast<std::size_t>(1 + pick(3000)), "9.-e1"[pick(5)]);
    if (pick(3) == 0) {
        std::string s;
        const char alphabet[] = "0123456789.-+eE xZ\t\x01\x80";
        for (int i = pick(8); i >= 0; --i) s += alphabet[pick(static_cast<int>(sizeof alphabet) - 1)];
        return s;
    }
    return texts[pick(static_cast<int>(std::size(texts)))];
}

inline ui::TextField& Actor::anyfield() {
    ui::TextField* fields[] = {&f_.posxed,   &f_.posyed,   &f_.sizexed, &f_.sizeyed,
                               &f_.bottomed, &f_.heighted, &f_.angleed};
    return *fields[pick(7)];
}

inline ui::ScrollBar& Actor::anybar() {
    ui::ScrollBar* bars[] = {&f_.MinD,        &f_.MaxD,        &f_.VScroll1[0], &f_.VScroll1[1], &f_.AngleSB,
                             &f_.HeightSB[0], &f_.HeightSB[1], &f_.HeightSB[2], &f_.BottomSB[0], &f_.BottomSB[1],
                             &f_.BottomSB[2], &f_.VScroll2,    &f_.Color[0],    &f_.Color[1],    &f_.Color[2]};
    return *bars[pick(static_cast<int>(std::size(bars)))];
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
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
    switch (pick(18)) {
    case 0:
    case 1: {
        auto& field = anyfield();
        const std::string t = wildtext();
        note("type \"" + t.substr(0, 40) + "\" into " + field.name());
        p_.type(field, t.substr(0, 12));
        break;
    }
    case 2:
    case 3: {
        auto& field = anyfield();
        const std::string t = wildtext();
        note("paste \"" + t.substr(0, 40) + "\" (" + std::to_string(t.size()) + ") into " + field.name());
        p_.paste(field, t);
        break;
    }
    case 4: {
        auto& field = anyfield();
        note("backspace in " + field.name());
        p_.backspace(field);
        break;
    }
    case 5:
    case 6: {
        auto& bar = anybar();
        const int dir = pick(2) ? 1 : -1;
        const bool page = pick(2);
        note(std::string(page ? "track " : "arrow ") + std::to_string(dir) + " on " + bar.label());
        page ? p_.track(bar, dir) : p_.arrow(bar, dir);
        break;
    }
    case 7: {
        auto& bar = anybar();
        const int a = pick(1200) - 100, b = pick(1200) - 100;
        note("drag " + bar.label() + " to " + std::to_string(a) + ", " + std::to_string(b));
        p_.drag(bar, {a, b});
        break;
    }
    case 8:
    case 9: {
        const int row = pick(f_.List1.listcount());
        note("select row " + std::to_string(row));
        p_.select(row);
        break;
    }
    case 10: {
        const int which = pick(8);
        note("click button " + std::to_string(which));
        if (which < 4) p_.click(f_.Command1[static_cast<std::size_t>(which)]);
        else if (which == 4) p_.click(f_.Command2);
        else if (which == 5) p_.click(f_.RNDANG);
        else if (which == 6) p_.click(f_.selpos);
        else p_.click(f_.Label3[static_cast<std::size_t>(pick(3))]);
        break;
    }
    case 11: {
        note("check box / slider");
        pick(2) ? p_.click(f_.Check1) : p_.slide(pick(300) - 20);
        break;
    }
    case 12:
    case 13: {
        const float x = anyfloat(), y = anyfloat();
        note("point " + std::to_string(x) + ", " + std::to_string(y));
        p_.point(x, y, pick(2));
        if (pick(6) == 0) p_.clickmap();
        break;
    }
    case 14: {
        // A table as a file could bring it: small, full, or with odd values.
        const int n = pick(10) == 0 ? 1000 : pick(12);
        note("load " + std::to_string(n) + " blocks");
        BlockTable table{};
        for (int i = 0; i < n; ++i) {
            Block b{anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(),
                    static_cast<std::int32_t>(word())};
            if (pick(3)) b.sizex = b.sizez = static_cast<float>(1 + pick(5));
            table[static_cast<std::size_t>(i)] = b;
        }
        // As an Open would: one action.
        f_.dispatch.act("load", [&] {
            f_.blocks = table;
            f_.refreshmap();
            f_.refreshlist();
        });
        break;
    }
    case 15:
    case 16: command(); break;
    default: {
        note("empty the table");
        f_.dispatch.act("empty", [&] {
            f_.blocks.fill(Block{});
            f_.refreshlist();
        });
        break;
    }
    }
}

} // namespace qs::test
