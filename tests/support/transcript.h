#pragma once
// A person's steps on the headless window and what it shows afterwards, each
// written as one line of text, so that a table of them reads as a transcript:
//   play({{"select 1; paste posxed 12.5; undo", "posxed=2; b1=n1; status=Undone: typing in X"}});
#include "document/rowtext.h"
#include "support/harness.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <sstream>

namespace qs::test {

// Checks and transcripts for any window with run(steps) and value(what).
template <typename Self> struct Plays {
    // Checks "what=value" pairs separated by ';'.
    void expect(const std::string& checks, const std::string& context = {}) {
        std::istringstream all(checks);
        for (std::string check; std::getline(all, check, ';');) {
            check.erase(0, check.find_first_not_of(' '));
            const auto eq = check.find('=');
            if (eq == std::string::npos)
                ADD_FAILURE() << "no '=' in " << check;
            else
                EXPECT_EQ(static_cast<Self*>(this)->value(check.substr(0, eq)),
                          check.substr(eq + 1))
                    << check << " after " << context.substr(0, 200);
        }
    }
    // Runs each {steps, checks} pair in turn on this window.
    void play(std::initializer_list<std::pair<std::string, std::string>> lines) {
        for (const auto& [steps, checks] : lines)
            static_cast<Self*>(this)->run(steps), expect(checks, steps);
    }
};

// The first n items, comma-separated.
template <typename T> std::string joined(const std::vector<T>& items, std::size_t n) {
    std::ostringstream out;
    for (std::size_t i = 0; i < std::min(n, items.size()); ++i)
        out << (i ? "," : "") << items[i];
    return out.str();
}
// Slots as ranges: "3,7,10-40".
inline std::string ranges(const std::vector<int>& numbers) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        out += (out.empty() ? "" : ",") + std::to_string(numbers[i]) +
               (j > i ? "-" + std::to_string(numbers[j]) : "");
        i = j;
    }
    return out;
}

// Numbers as their shortest exact texts, spaced, then a colour in hex when
// one is given.
inline std::string texts(std::initializer_list<float> numbers, std::optional<int> colour = {}) {
    std::string out;
    for (float v : numbers)
        out += (out.empty() ? "" : " ") + numtext(v);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%06x", static_cast<unsigned>(colour.value_or(0)));
    return colour ? out + (out.empty() ? "" : " ") + hex : out;
}

// A block as text: "empty" when all its bits are zero, "nK" for
// numbered(K), else its seven values (shortest exact texts) and its colour
// in hex: "-5 3 2.57 1 -5 7 45.5 804020".
inline std::string blocktext(const Block& b) {
    auto same = [&b](const Block& o) { return std::memcmp(&b, &o, sizeof b) == 0; };
    if (same(Block{})) return "empty";
    for (int k = 0; k < kSlots; ++k)
        if (same(numbered(k))) return "n" + std::to_string(k);
    return texts({b.x, b.z, b.sizex, b.sizez, b.bottom, b.height, b.angle}, b.colour);
}

// What the headless window shows and holds, `what` being one of:
//   a control's label: a field's text, a bar's, slider's or check box's
//   value, the list's selected row, a surface's or button's colour;
//   rows (the list's count), row N (its text), cur, lines (on the map),
//   lineN ("x1 y1 x2 y2 colour"), colourN (line N's), status, depth,
//   steps (in the history), asked (questions), dialogs (file dialogs
//   shown), modified, file (the map's file title), changed (the slots the
//   last transaction changed, as ranges "0-40"), selection (the selected
//   blocks, as ranges), figure, guide and mapstatus (the map's tools'),
//   cliptext and clipblocks (the clipboard's text, and how many records it
//   holds), clicks, settings (what the store holds), invariants
//   (what of them fails, see checkinvariants), log (the notifications,
//   comma-separated; logN the first N), #NAME (how often the log holds
//   NAME), bN (slot N's block text), bN.x and the other fields, table (the
//   name of the mark it equals bit for bit).
inline std::string valueof(Harness& h, const std::string& what) {
    const MainForm& f = h.form;
    const std::pair<const char*, std::function<std::string()>> named[] = {
        {"rows", [&] { return std::to_string(f.List1.listcount()); }},
        {"cur", [&] { return std::to_string(f.curblock); }},
        {"lines", [&] { return std::to_string(f.Map.lines().size()); }},
        {"status", [&] { return f.sbStatusBar.text(1); }},
        {"depth", [&] { return f.sbStatusBar.text(2); }},
        {"steps", [&] { return std::to_string(f.history.steps()); }},
        {"asked", [&] { return std::to_string(h.messagebox.asked.size()); }},
        {"dialogs", [&] { return std::to_string(h.filedialog.shown); }},
        {"modified", [&] { return std::to_string(f.modified()); }},
        {"clicks", [&] { return joined(h.clicks, h.clicks.size()); }},
        {"invariants", [&] { return checkinvariants(f); }},
        {"file", [&] { return f.document.file().title; }},
        {"selection", [&] { return ranges(f.document.selection()); }},
        {"figure", [&] { return h.tool.figure(); }},
        {"handleangle", [&] { return numtext(static_cast<float>(h.tool.handleangle())); }},
        {"mapstatus", [&] { return h.tool.status(); }},
        {"guide",
         [&] {
             const auto g = h.tool.guide();
             return g ? texts({float(g->a.z), float(g->a.x), float(g->b.z), float(g->b.x)}) : "";
         }},
        {"changed", [&] { return ranges(h.lastchange.changedslots); }},
        {"cliptext", // tabs and new lines as \t and \n
         [&] { return replaced(replaced(h.clipboard.held.text, "\t", "\\t"), "\n", "\\n"); }},
        {"clipblocks",
         [&] { return std::to_string(h.clipboard.held.blocks.size() / kRecordBytes); }},
        {"settings", [&] { // "Key=value ..." in the keys' order
             std::string out;
             for (const auto& [key, value] : h.settings.values)
                 out += " " + std::get<2>(key) + "=" + value;
             return out.empty() ? out : out.substr(1);
         }}};
    for (const auto& [name, get] : named)
        if (what == name) return get();
    if (what.starts_with("row ")) return f.List1.rows().at(std::stoul(what.substr(4)));
    if (what.starts_with("colour"))
        return texts({}, f.Map.lines().at(std::stoul(what.substr(6))).colour);
    if (what.starts_with("line")) {
        const ui::Line& l = f.Map.lines().at(std::stoul(what.substr(4)));
        return texts({l.x1, l.y1, l.x2, l.y2}, l.colour);
    }
    if (what.starts_with("log"))
        return joined(h.log, what.size() > 3 ? std::stoul(what.substr(3)) : h.log.size());
    if (what.starts_with("#"))
        return std::to_string(std::count(h.log.begin(), h.log.end(), what.substr(1)));
    if (what == "table") {
        for (const auto& [name, table] : h.marks)
            if (std::memcmp(&f.blocks, &table, sizeof table) == 0) return name;
        return "changed";
    }
    if (what.size() > 1 && what[0] == 'b' && std::isdigit(static_cast<unsigned char>(what[1]))) {
        const auto dot = what.find('.');
        const Block& b = f.blocks.at(std::stoul(what.substr(1, dot - 1)));
        const std::string part = dot == std::string::npos ? "" : what.substr(dot + 1);
        if (part.empty()) return blocktext(b);
        if (part == "colour") return std::to_string(b.colour);
        const std::string names[] = {"x", "z", "sizex", "sizez", "bottom", "height", "angle"};
        const float values[] = {b.x, b.z, b.sizex, b.sizez, b.bottom, b.height, b.angle};
        for (std::size_t i = 0; i < 7; ++i)
            if (part == names[i]) return numtext(values[i]);
    }
    for (ui::Control* c : h.form.controls()) {
        if (c->label() != what) continue;
        if (auto* t = dynamic_cast<ui::TextField*>(c)) return t->text();
        if (auto* s = dynamic_cast<ui::ScrollBar*>(c)) return std::to_string(s->value());
        if (auto* k = dynamic_cast<ui::CheckBox*>(c)) return std::to_string(k->value());
        if (auto* s = dynamic_cast<ui::Slider*>(c)) return std::to_string(s->value());
        if (auto* l = dynamic_cast<ui::ListBox*>(c)) return std::to_string(l->listindex());
        if (auto* s = dynamic_cast<ui::Surface*>(c)) return texts({}, s->backcolor());
        if (auto* b = dynamic_cast<ui::Button*>(c)) return texts({}, b->backcolor());
    }
    ADD_FAILURE() << "nothing is called " << what;
    return {};
}

struct Transcript : Plays<Transcript> {
    explicit Transcript(const std::filesystem::path& recovery = {}) : h(true, recovery.string()) {
        h.folder = dir.file("");
    }
    Harness h;
    MainForm& f = h.form;
    TempDir dir; // where "open" and "save" find their files

    // Runs steps: see Harness::run.
    void run(const std::string& steps) { h.run(steps); }
    // See valueof.
    std::string value(const std::string& what) { return valueof(h, what); }
    // Runs each {steps, checks} pair on a window of its own.
    static void each(std::initializer_list<std::pair<std::string, std::string>> lines) {
        for (const auto& line : lines)
            Transcript().play({line});
    }
};

// The free slot's row, as a string the checks can compare.
inline const std::string kFree = kFreeSlotRow;

// A started window as a test fixture.
struct Started : ::testing::Test, Transcript {};

} // namespace qs::test
