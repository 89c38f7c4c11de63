#pragma once
// A person's actions on the headless window, chosen by a stream of numbers:
// a seeded generator in the tests, the fuzzer's bytes in the fuzz target.
// After each action, step() says what, if anything, went wrong.
#include "support/harness.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <limits>
#include <string>

namespace qs::test {

// Undo gives back the table and the selected row from before the action that
// led from `before` to the form's table, bit for bit; redo gives back the
// table and row after it. An empty text when both hold.
inline std::string checkundo(MainForm& f, const BlockTable& before, int rowbefore) {
    auto same = [](const BlockTable& a, const BlockTable& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    };
    if (same(before, f.blocks)) return {};
    const BlockTable after = f.blocks;
    const int rowafter = f.List1.listindex();
    for (const bool back : {true, false}) {
        back ? f.undo() : f.redo();
        const char* what = back ? "undo" : "redo";
        if (!same(f.blocks, back ? before : after))
            return std::string(what) + " did not give back the table";
        if (f.List1.listindex() != (back ? rowbefore : rowafter))
            return std::string(what) + " did not give back the selected row";
        if (std::string fault = checkinvariants(f); !fault.empty())
            return "after " + std::string(what) + ": " + fault;
    }
    return {};
}

class Actor {
  public:
    // `next` gives the numbers that choose each action; `folder` is where
    // the actions open and save map files.
    Actor(Harness& h, std::function<std::uint32_t()> next, std::string folder)
        : h_(h), f_(h.form), next_(std::move(next)) {
        h_.folder = folder + "/";
    }

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
    void act() {
        const int what = pick(20);
        const auto number = [](int n) { return std::to_string(n); };
        if (what < 2)
            run("type " + any<ui::TextField>() + " " + wildtext().substr(0, 12));
        else if (what < 4)
            run("paste " + any<ui::TextField>() + " " + wildtext());
        else if (what == 4)
            run("back " + any<ui::TextField>());
        else if (what < 7) {
            const std::string bar = any<ui::ScrollBar>(), dir = pick(2) ? " 1" : " -1";
            run((pick(2) ? "track " : "arrow ") + bar + dir);
        } else if (what == 7) {
            const std::string bar = any<ui::ScrollBar>(), a = number(pick(1200) - 100),
                              b = number(pick(1200) - 100);
            run("drag " + bar + " " + a + " " + b);
        } else if (what < 10) {
            run("select " + number(pick(f_.List1.listcount())));
        } else if (what == 10) {
            const int which = pick(8);
            const std::string buttons[] = {"Command1(0)", "Command1(1)", "Command1(2)",
                                           "Command1(3)", "Command2",    "RNDANG",
                                           "selpos"};
            run("click " + (which < 7 ? buttons[which] : "Label3(" + number(pick(3)) + ")"));
        } else if (what == 11) {
            run(pick(2) ? "click Check1" : "slide " + number(pick(300) - 20));
        } else if (what < 14) {
            const float x = anyfloat(), y = anyfloat();
            run("point " + numtext(x) + " " + numtext(y) + " " + number(pick(2)));
            if (pick(6) == 0) run("clickmap");
        } else if (what >= 18) {
            maptool();
        } else if (what == 14) {
            // A file of blocks with odd values, small or full, opened.
            std::vector<Block> blocks(static_cast<std::size_t>(pick(10) == 0 ? 1000 : pick(12)));
            for (auto& b : blocks) {
                b = Block{anyfloat(), anyfloat(), anyfloat(), anyfloat(),
                          anyfloat(), anyfloat(), anyfloat(), static_cast<std::int32_t>(word())};
                if (pick(3)) b.sizex = b.sizez = static_cast<float>(1 + pick(5));
            }
            writebytes(h_.folder + "odd.QRD", filebytes(blocks));
            run("open odd.QRD");
        } else
            command();
    }
    // A person's action on the map window's tools, at points near the blocks.
    void maptool() {
        const auto point = [&] {
            return std::to_string(pick(80) - 20) + "." + std::to_string(pick(10)) + " " +
                   std::to_string(pick(80)) + "." + std::to_string(pick(10));
        };
        static const char* const mods[] = {"", " shift", " ctrl", " alt", " shift ctrl"};
        static const char* const keys[] = {"left",     "right shift", "up",     "down",    "pageup",
                                           "pagedown", "esc",         "delete", "smaller", "larger",
                                           "all",      "duplicate",   "stack"};
        const std::string mod = mods[pick(5)];
        const int kind = pick(4);
        if (kind == 0) return run("mclick " + point() + mod);
        if (kind == 1) return run("mdrag " + point() + " " + point() + mod);
        if (kind == 2) {
            // From one of the current block's handles.
            const auto handles = h_.tool.handles(Harness::kPixel);
            if (handles.empty()) return run("mclick " + point());
            const MapPoint at =
                handles[static_cast<std::size_t>(pick(static_cast<int>(handles.size())))].second;
            return run("mdrag " + numtext(static_cast<float>(at.z)) + " " +
                       numtext(static_cast<float>(at.x)) + " " + point() + mod);
        }
        h_.messagebox.answers.push_back(pick(2) ? ui::Answer::Yes : ui::Answer::No);
        run(std::string("mkey ") + keys[pick(static_cast<int>(std::size(keys)))]);
        h_.messagebox.answers.clear();
    }

    // The last actions, oldest first, as steps (texts cut at 60 characters).
    std::string recent() const {
        std::string out;
        for (const auto& a : recent_)
            out += "  " + a + "\n";
        return out;
    }

  private:
    int pick(int n) {
        return n <= 1 ? 0 : static_cast<int>(next_() % static_cast<std::uint32_t>(n));
    }
    // 32 bits from four numbers, so a stream of bytes gives any bit pattern.
    std::uint32_t word() {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = (w << 8) ^ next_();
        return w;
    }
    float anyfloat() {
        const int kind = pick(7);
        if (kind == 0) return std::numeric_limits<float>::quiet_NaN();
        if (kind == 1)
            return static_cast<float>(pick(2) ? 1 : -1) * std::numeric_limits<float>::infinity();
        if (kind == 2) return std::bit_cast<float>(word());
        if (kind == 3) return static_cast<float>(pick(400) - 200) / static_cast<float>(1 + pick(8));
        return static_cast<float>(pick(120) - 20);
    }
    // Texts as a person might type or paste them, never holding the ';' that
    // ends a step.
    std::string wildtext() {
        static const char* const texts[] = {
            "",          "-",       "+",        ".",        "e",        "1e",           "1e+",
            "--5",       "5-",      "1e99",     "-1e39",    "9e99",     "1e-40",        "0.0001",
            "123456789", "-12.345", "\xC3\xA9", "2.",       "360",      "-30",          "45.5",
            "1e308",     " 1 2 ",   "100.01",   "\xFF\xFE", "12345678", "3.402823E+38", "NaN",
            "-Inf",      "0x1p3"};
        if (pick(8) == 0)
            return std::string(static_cast<std::size_t>(1 + pick(3000)), "9.-e1"[pick(5)]);
        if (pick(3) == 0) {
            std::string s;
            const char alphabet[] = "0123456789.-+eE xZ\t\x01\x80";
            for (int i = pick(8); i >= 0; --i)
                s += alphabet[pick(static_cast<int>(sizeof alphabet) - 1)];
            return s;
        }
        return texts[pick(static_cast<int>(std::size(texts)))];
    }
    // The label of any control of the kind C.
    template <typename C> std::string any() {
        std::vector<C*> all;
        for (ui::Control* c : f_.controls())
            if (auto* k = dynamic_cast<C*>(c)) all.push_back(k);
        return all[static_cast<std::size_t>(pick(static_cast<int>(all.size())))]->label();
    }
    void run(const std::string& step) {
        recent_.push_back(step.size() > 60
                              ? step.substr(0, 60) + "... (" + std::to_string(step.size()) + ")"
                              : step);
        if (recent_.size() > 40) recent_.pop_front();
        h_.run(step);
    }
    void command() {
        static const char* const keys[] = {"New",     "Open",   "Save", "Copy",
                                           "Refresh", "Delete", "open", "Help"};
        const std::string key = keys[pick(8)];
        const std::string path = h_.folder + "map.QRD";
        if (key == "Open" && pick(4) != 0) {
            // A file of the stream's bytes: up to a little over 1000 records.
            std::string bytes;
            const int n = pick(3) == 0 ? 32000 + pick(100) : pick(400);
            for (int i = 0; i < n; ++i)
                bytes += static_cast<char>(next_() & 0xFF);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
            h_.filedialog.opens.push_back({path, "map.QRD"});
        } else if (key == "Open")
            h_.filedialog.opens.push_back({pick(2) ? h_.folder : std::string(), "x"});
        if (key == "Save" && pick(4) != 0)
            h_.filedialog.saves.push_back({pick(5) ? path : h_.folder, "map.QRD"});
        if (key == "Delete")
            h_.messagebox.answers.push_back(pick(2) ? ui::Answer::Yes : ui::Answer::No);
        run("press " + key);
        h_.filedialog.opens.clear();
        h_.filedialog.saves.clear();
        h_.messagebox.answers.clear();
    }

    Harness& h_;
    MainForm& f_;
    std::function<std::uint32_t()> next_;
    std::deque<std::string> recent_;
};

} // namespace qs::test
