#pragma once
// A main form on in-memory services, and a person's steps on it written as
// text, as the tests, the benchmarks and the fuzzer use them.
#include "app/mainform.h"
#include "document/mapcodec.h"
#include "document/rowtext.h"
#include "support/faultyfiles.h"
#include "support/tempdir.h"
#include "tools/maptool.h"
#include "ui/platform.h"

#include <charconv>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qs::test {

// A distinct block for slot i: X is i + 1, so rows tell blocks apart.
inline Block numbered(int i) {
    return Block{static_cast<float>(i + 1), 2, 1, 1, 0, 1, 0, 0x102030};
}

// The bytes of a map file holding these records, each one written whatever
// its sizes (a save would stop at a zero size).
inline std::vector<std::byte> filebytes(const std::vector<Block>& records) {
    return writerecords(records);
}

// A number as its shortest exact text, "nan" and "inf" included, and back.
inline std::string numtext(float v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}
inline float textnum(const std::string& text) {
    float v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// The text with each `from` in it replaced by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != text.npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A block as text: "empty", "nK" for numbered(K), or its values "x z sizex
// sizez bottom height angle colour", the colour in hex, missing ones 0.
inline Block blockof(const std::string& text) {
    if (text == "empty") return Block{};
    if (text[0] == 'n' && std::isdigit(static_cast<unsigned char>(text[1])))
        return numbered(std::stoi(text.substr(1)));
    std::istringstream in(text);
    std::string v[8];
    for (auto& each : v)
        in >> each;
    const auto at = [&](int i) { return textnum(v[i]); };
    const auto colour = v[7].empty() ? 0 : static_cast<std::int32_t>(std::stoul(v[7], nullptr, 16));
    return Block{at(0), at(1), at(2), at(3), at(4), at(5), at(6), colour};
}

// Floor, a block on its far half, two blocks through each other, a stack,
// a plate of no height above it and a block that hangs down from its
// Bottom.
inline std::vector<Block> interlocking() {
    return {Block{40, 10, 50, 50, 0, 1, 0, 0x808080}, Block{70, 10, 4, 4, 1, 6, 0, 0xFF0000},
            Block{30, 0, 10, 2, 1, 5, 30, 0x00FF00},  Block{30, 0, 10, 2, 1, 5, -40, 0x0000FF},
            Block{20, 30, 5, 5, 1, 3, 0, 0xFFFF00},   Block{20, 30, 3, 3, 4, 6, 20, 0xFF00FF},
            Block{55, -20, 6, 6, 2, 0, 0, 0x00FFFF},  Block{20, -20, 3, 3, 12, -8, 10, 0xFFFFFF}};
}

inline constexpr int kNestingBound = 64;

// The window's invariants after any action; an empty text when they hold.
inline std::string checkinvariants(const MainForm& f) {
    if (!f.fieldsready) return "fieldsready is false";
    if (f.dispatch.depth() != 0) return "a notification is still running";
    if (f.dispatch.maxdepth() >= kNestingBound)
        return "nesting reached " + std::to_string(f.dispatch.maxdepth());
    const int n = f.List1.listcount();
    if (n < 1) return "the list is empty";
    if (f.List1.listindex() < 0 || f.List1.listindex() >= n) return "no row is selected";
    if (f.curblock != f.List1.listindex()) return "curblock is not the selected row";
    int k = 0;
    while (k < kSlots && !endslistedrun(f.blocks[static_cast<std::size_t>(k)]))
        ++k;
    const int expected = k < 999 ? k + 1 : k;
    if (n != expected)
        return "the list has " + std::to_string(n) + " rows, not " + std::to_string(expected);
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::min(k, n)); ++i)
        if (f.List1.rows()[i] != rowtext(f.blocks[i]))
            return "row " + std::to_string(i) + " is not its slot's text";
    if (k < 999 && f.List1.rows()[static_cast<std::size_t>(k)] != kFreeSlotRow)
        return "no free-slot row";
    for (const auto* bars : {&f.BottomSB, &f.HeightSB})
        for (const auto& bar : *bars)
            if (bar.value() != 0) return "a spinner did not come back to rest";
    if (f.VScroll2.value() != 0) return "the move bar did not come back to rest";
    return {};
}

// A step written as text: its verb, the word after it, and the rest after
// that word.
struct Step {
    std::string verb, name, rest;
    explicit Step(const std::string& text) {
        std::istringstream in(text);
        in >> verb >> name;
        std::getline(in, rest);
        if (!rest.empty()) rest.erase(0, 1);
    }
    // All after the verb.
    std::string arg() const { return name + (rest.empty() ? "" : " " + rest); }
};

struct Harness {
    // `asker`, when given, asks the form's questions instead of `messagebox`.
    explicit Harness(bool start = false, std::string recovery = {}, ui::MessageBox* asker = nullptr)
        : recoveryfolder(std::move(recovery)), box(asker) {
        if (start) form.start();
    }
    ui::MemorySettings settings;
    ui::ScriptedFileDialog filedialog;
    ui::ScriptedMessageBox messagebox;
    ui::DefaultRandom random;
    FaultyFiles files;
    ui::ManualTimer timer;
    // Where the recovery copies go; empty keeps none.
    std::string recoveryfolder;
    ui::MessageBox* box;
    ui::MemoryClipboard clipboard;
    MainForm form{Services{settings, filedialog, box ? *box : messagebox, random, files, timer,
                           recoveryfolder, &clipboard}};
    std::string folder; // where the steps "open" and "save" find their files
    std::map<std::string, BlockTable> marks;

    // Puts blocks into slots 0 to n-1 and rebuilds the list, as opening a
    // file does.
    void load(int n, const std::function<Block(int)>& make = numbered) {
        for (int i = 0; i < n; ++i)
            form.document.set(i, make(i));
        form.refreshlist();
    }

    std::vector<int> clicks;      // the rows the list's clicks ran for
    std::vector<std::string> log; // the notifications
    Change lastchange;            // what the last transaction changed
    Connection watching =
        form.document.changed.connect([this](const Change& c) { lastchange = c; });

    // The map window's tools on this window, as the real one wires them.
    tools::MapTool tool{
        form.document,
        tools::Host{[this](const std::string& what, const std::string& key,
                           const std::function<int()>& change) { form.apply(what, key, change); },
                    [this](const std::function<void()>& change) { form.select(change); },
                    [this](int slot) { form.makecurrent(slot); },
                    [this](const std::string& q) {
                        return form.services.messagebox.askyesno(q, kAppTitle) == ui::Answer::Yes;
                    },
                    [this](const std::string& text) { form.status(text); },
                    [this] {
                        return Look{static_cast<float>(form.MinD.value()),
                                    static_cast<float>(form.MaxD.value()), form.Check1.value() == 1,
                                    form.curblock};
                    }}};
    static constexpr double kPixel = 0.1; // map units a pixel spans on the tools' map

    template <typename C> C& control(const std::string& label) {
        for (ui::Control* c : form.controls())
            if (auto* k = dynamic_cast<C*>(c); k && c->label() == label) return *k;
        throw std::invalid_argument("no control " + label);
    }

    // Runs steps separated by ';'. Each is a verb, mostly a control's label,
    // and the rest of the step:
    //   load N, select ROW, type FIELD TEXT, paste FIELD TEXT, back FIELD,
    //   arrow BAR ±1, track BAR ±1, drag BAR V..., set BAR V (a write by
    //   the program), click CONTROL, slide V, press KEY, point H V [BUTTON],
    //   clickmap, undo, redo, recover, offer (the recovery copies left),
    //   yes and no (the next question's answer), choose N (the next
    //   question's button), open NAME and save NAME (a file in `folder`, through the
    //   dialog; saves NAME only gives the dialog's answer),
    //   log (records notifications from here), clicks (records the rows the
    //   list's clicks run for, from here), mark [NAME] (keeps the
    //   table as NAME, "marked" when not given), put SLOT BLOCK (see
    //   blockof), refreshlist, refreshmap, sort; write NAME BLOCK, ... (a map
    //   file in `folder` of those blocks), files NAME... (named from outside),
    //   mpress, mmove, mrelease, mclick, mdrag, mkey (the map's tools: see
    //   maptool), saveagain, activate (the window made active again), status TEXT
    //   (written by the program), cls (clears the map), relist (the current row clicked
    //   again), unselect (the list's selection cleared), markblock SLOT,
    //   notready (fields), fire (the recovery timer), unload (closes),
    //   copy, cut, pastehere, pasteat Z X STEP (the clipboard's commands),
    //   cliptext TEXT (text another program put there; \t and \n for tabs
    //   and new lines), export NAME (through its dialog).
    void run(const std::string& steps) {
        std::istringstream all(steps);
        for (std::string step; std::getline(all, step, ';');) {
            const Step s(step);
            if (s.verb.empty() || (s.verb.size() > 1 && s.verb[0] == 'm' && maptool(s))) continue;
            const auto found = verbs().find(s.verb);
            if (found == verbs().end()) throw std::invalid_argument("no step " + s.verb);
            found->second(*this, s);
        }
    }

  private:
    using Verb = void (*)(Harness&, const Step&);
    static const std::map<std::string, Verb>& verbs() {
        using H = Harness;
        using S = Step;
        static const std::map<std::string, Verb> all = {
            {"load", [](H& h, const S& s) { h.load(std::stoi(s.name)); }},
            {"select", [](H& h, const S& s) { h.form.List1.setlistindex(std::stoi(s.name)); }},
            {"type", // a change for each key
             [](H& h, const S& s) {
                 for (char c : s.rest)
                     h.field(s).settext(h.field(s).text() + c);
             }},
            {"paste", [](H& h, const S& s) { h.field(s).settext(s.rest); }}, // one change
            {"back",
             [](H& h, const S& s) {
                 std::string t = h.field(s).text();
                 if (!t.empty()) t.pop_back();
                 h.field(s).settext(t);
             }},
            {"set", [](H& h, const S& s) { h.bar(s).setvalue(std::stoi(s.rest)); }},
            {"arrow", [](H& h, const S& s) { h.bar(s).arrow(std::stoi(s.rest)); }}, // -1 to Min
            {"track", [](H& h, const S& s) { h.bar(s).page(std::stoi(s.rest)); }},
            {"drag",
             [](H& h, const S& s) {
                 std::istringstream values(s.rest);
                 for (int v; values >> v;)
                     h.bar(s).dragto(v);
                 h.bar(s).release();
             }},
            {"click", [](H& h, const S& s) { h.click(s.name); }},
            {"slide", [](H& h, const S& s) { h.form.Slider1.setvalue(std::stoi(s.name)); }},
            {"press", [](H& h, const S& s) { h.form.tbToolBar.click(s.arg()); }},
            {"point",
             [](H& h, const S& s) {
                 std::istringstream values(s.arg());
                 std::string across, up;
                 int button = 0;
                 values >> across >> up >> button;
                 h.form.Map.mousemove(button, 0, textnum(across), textnum(up));
             }},
            {"clickmap", [](H& h, const S&) { h.form.Map.click(); }},
            {"undo", [](H& h, const S&) { h.form.undo(); }},
            {"redo", [](H& h, const S&) { h.form.redo(); }},
            {"recover", [](H& h, const S&) { h.form.recover(); }},
            {"choose", [](H& h, const S& s) { h.messagebox.choices.push_back(std::stoi(s.name)); }},
            {"offer", [](H& h, const S&) { h.form.offerrecovery(); }},
            {"yes", [](H& h, const S&) { h.messagebox.answers.push_back(ui::Answer::Yes); }},
            {"no", [](H& h, const S&) { h.messagebox.answers.push_back(ui::Answer::No); }},
            {"open", [](H& h, const S& s) { h.dialog(h.filedialog.opens, s, "Open"); }},
            {"save", [](H& h, const S& s) { h.dialog(h.filedialog.saves, s, "Save"); }},
            {"saves", [](H& h, const S& s) { h.dialog(h.filedialog.saves, s, nullptr); }},
            {"log",
             [](H& h, const S&) {
                 h.log.clear();
                 h.form.dispatch.record(&h.log);
             }},
            {"clicks",
             [](H& h, const S&) {
                 h.clicks.clear();
                 if (!std::exchange(h.clicking_, true))
                     h.form.List1.onclick = [&h, handler = h.form.List1.onclick] {
                         h.clicks.push_back(h.form.List1.listindex());
                         handler();
                     };
             }},
            {"write",
             [](H& h, const S& s) {
                 std::vector<Block> blocks;
                 std::istringstream texts(s.rest);
                 for (std::string text; std::getline(texts >> std::ws, text, ',');)
                     blocks.push_back(blockof(text));
                 writebytes(h.folder + s.name, filebytes(blocks));
             }},
            {"files",
             [](H& h, const S& s) {
                 std::vector<std::string> paths;
                 std::istringstream names(s.arg());
                 for (std::string each; names >> each;)
                     paths.push_back(h.folder + each);
                 h.form.openfiles(paths);
             }},
            {"copy", [](H& h, const S&) { h.form.copyblocks(false); }},
            {"cut", [](H& h, const S&) { h.form.copyblocks(true); }},
            {"pastehere", [](H& h, const S&) { h.form.pasteblocks(nullptr); }},
            {"pasteat",
             [](H& h, const S& s) {
                 std::istringstream values(s.arg());
                 PastePlace place;
                 values >> place.z >> place.x >> place.step;
                 h.form.pasteblocks(&place);
             }},
            {"cliptext", [](H& h, const S& s) { h.clipboard.held = {{}, replaced(replaced(s.arg(), "\\t", "\t"), "\\n", "\n")}; }},
            {"export",
             [](H& h, const S& s) {
                 h.filedialog.exports.push_back({h.folder + s.arg(), s.arg()});
                 h.form.exportscene();
             }},
            {"saveagain", [](H& h, const S&) { h.form.saveagain(); }},
            {"activate", [](H& h, const S&) { h.form.checkdisk(); }},
            {"status", [](H& h, const S& s) { h.form.status(s.arg()); }},
            {"cls", [](H& h, const S&) { h.form.Map.cls(); }},
            {"relist", [](H& h, const S&) { h.form.List1.onclick(); }},
            {"unselect", [](H& h, const S&) { h.form.List1.clear(); }},
            {"markblock", [](H& h, const S& s) { h.form.markblock(std::stoi(s.name)); }},
            {"notready", [](H& h, const S&) { h.form.fieldsready = false; }},
            {"fire", [](H& h, const S&) { h.timer.fire(); }},
            {"unload", [](H& h, const S&) { h.form.unload(); }},
            {"mark", [](H& h, const S& s) { h.marks[s.arg().empty() ? "marked" : s.arg()] = h.form.blocks; }},
            {"put", [](H& h, const S& s) { h.form.document.set(std::stoi(s.name), blockof(s.rest)); }},
            {"refreshlist", [](H& h, const S&) { h.form.refreshlist(); }},
            {"refreshmap", [](H& h, const S&) { h.form.refreshmap(); }},
            {"sort", [](H& h, const S&) { h.form.sort(); }}};
        return all;
    }
    ui::ScrollBar& bar(const Step& s) { return control<ui::ScrollBar>(s.name); }
    ui::TextField& field(const Step& s) { return control<ui::TextField>(s.name); }
    // A file for the next open or save dialog; `button`, when given, is pressed.
    void dialog(std::deque<ui::FileChoice>& answers, const Step& s, const char* button) {
        answers.push_back({folder + s.arg(), s.arg()});
        if (button) form.tbToolBar.click(button);
    }

    // The map's tools: press, move, release, click, hover Z X [shift] [ctrl] [alt];
    // drag Z X Z X [...]; key NAME [...] (left, right, up, down, pageup,
    // pagedown, esc, delete, smaller, larger, all, duplicate, stack).
    bool maptool(const Step& s) {
        const std::string what = s.verb.substr(1);
        std::istringstream in(what == "key" ? s.rest : s.arg());
        std::vector<double> at;
        tools::Modifiers m;
        for (std::string word; in >> word;)
            if (word == "shift" || word == "ctrl" || word == "alt")
                (word == "shift" ? m.shift : word == "ctrl" ? m.ctrl : m.alt) = true;
            else
                at.push_back(textnum(word));
        auto point = [&](std::size_t i) { return MapPoint{at.at(i), at.at(i + 1)}; };
        if (what == "press" || what == "click" || what == "drag") tool.press(point(0), m, kPixel);
        if (what == "move" || what == "drag") tool.move(point(what == "drag" ? 2 : 0), m, kPixel);
        if (what == "release" || what == "click" || what == "drag")
            tool.release(point(what == "drag" ? 2 : 0), m, kPixel);
        if (what == "hover") tool.hover(point(0), kPixel);
        if (what == "key") {
            // In the order of tools::Key.
            static const std::vector<std::string> keys = {
                "left",   "right",   "up",     "down", "pageup",    "pagedown", "esc",
                "delete", "smaller", "larger", "all",  "duplicate", "stack"};
            const auto k = std::find(keys.begin(), keys.end(), s.name);
            if (k == keys.end()) throw std::invalid_argument("no map key " + s.name);
            tool.key(static_cast<tools::Key>(k - keys.begin()), m);
        }
        return what == "press" || what == "move" || what == "release" || what == "hover" ||
               what == "click" || what == "drag" || what == "key";
    }

    void click(const std::string& label) {
        for (ui::Control* c : form.controls()) {
            if (c->label() != label) continue;
            if (auto* b = dynamic_cast<ui::Button*>(c)) return b->click();
            if (auto* l = dynamic_cast<ui::Label*>(c)) return l->click();
            if (auto* k = dynamic_cast<ui::CheckBox*>(c)) return k->click();
        }
        throw std::invalid_argument("nothing to click called " + label);
    }
    bool clicking_ = false;
};

} // namespace qs::test
