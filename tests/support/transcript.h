#pragma once
// A person's steps on the headless window and what it shows afterwards, each
// written as one line of text, so that a table of them reads as a transcript:
//   s.run("select 1; paste posxed 12.5; undo");
//   s.expect("posxed=2; b1=n1; status=Undone: typing in X");
#include "document/rowtext.h"
#include "support/harness.h"
#include "support/person.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <map>
#include <sstream>

namespace qs::test {

struct Transcript {
    explicit Transcript(std::string recovery = {}) : h(true, std::move(recovery)) {}
    Harness h;
    MainForm& f = h.form;
    Person p{h.form};
    TempDir dir; // where "open" and "save" find their files
    std::map<std::string, BlockTable> marks;
    bool clicking = false;

    // Steps are separated by ';'. Each is a verb, then mostly a control's
    // label, then the rest of the step:
    //   load N, select ROW, type FIELD TEXT, paste FIELD TEXT, back FIELD,
    //   arrow BAR ±1, track BAR ±1, drag BAR V..., click CONTROL, slide V,
    //   press KEY, point H V [BUTTON], clickmap, undo, redo, recover, yes, no (the
    //   next question's answer), log (records notifications from here),
    //   clicks (records the rows the list's clicks run for, from here),
    //   mark [NAME] (keeps the table for "table=NAME", NAME "marked" when
    //   not given), open NAME and save NAME (a file in dir, through the
    //   dialog), put SLOT BLOCK (a block
    //   text, see blocktext), refreshlist, refreshmap, sort.
    void run(const std::string& steps) {
        std::istringstream all(steps);
        for (std::string step; std::getline(all, step, ';');) {
            step.erase(0, step.find_first_not_of(' '));
            std::istringstream in(step);
            std::string verb, name, rest;
            in >> verb >> name;
            std::getline(in, rest);
            if (!rest.empty()) rest.erase(0, 1);
            const std::string arg = name.empty() ? rest : name + (rest.empty() ? "" : " " + rest);
            auto number = [&](const std::string& t) { return std::stoi(t); };
            if (verb == "load") h.load(number(name));
            else if (verb == "select") p.select(number(name));
            else if (verb == "type") p.type(control<ui::TextField>(name), rest);
            else if (verb == "paste") p.paste(control<ui::TextField>(name), rest);
            else if (verb == "back") p.backspace(control<ui::TextField>(name));
            else if (verb == "set") control<ui::ScrollBar>(name).setvalue(number(rest));
            else if (verb == "arrow") p.arrow(control<ui::ScrollBar>(name), number(rest));
            else if (verb == "track") p.track(control<ui::ScrollBar>(name), number(rest));
            else if (verb == "drag") {
                auto& bar = control<ui::ScrollBar>(name);
                std::istringstream values(rest);
                for (int v; values >> v;) bar.dragto(v);
                bar.release();
            } else if (verb == "click") click(name);
            else if (verb == "slide") p.slide(number(name));
            else if (verb == "press") p.press(arg);
            else if (verb == "point") {
                float hz = 0, vt = 0;
                int button = 0;
                std::istringstream(arg) >> hz >> vt >> button;
                p.point(hz, vt, button);
            } else if (verb == "clickmap") p.clickmap();
            else if (verb == "undo") f.undo();
            else if (verb == "redo") f.redo();
            else if (verb == "recover") f.recover();
            else if (verb == "yes" || verb == "no") h.messagebox.answers.push_back(verb == "yes" ? ui::Answer::Yes : ui::Answer::No);
            else if (verb == "log") h.log.clear(), h.recordnotifications();
            else if (verb == "mark") marks[arg.empty() ? "marked" : arg] = f.blocks;
            else if (verb == "open" || verb == "save") {
                (verb == "open" ? h.filedialog.opens : h.filedialog.saves).push_back({dir.file(arg), arg});
                p.press(verb == "open" ? "Open" : "Save");
            }
            else if (verb == "clicks") {
                if (!std::exchange(clicking, true)) h.recordclicks();
                h.clicks.clear();
            }
            else if (verb == "put") f.blocks[static_cast<std::size_t>(number(name))] = blockof(rest);
            else if (verb == "refreshlist") f.refreshlist();
            else if (verb == "refreshmap") f.refreshmap();
            else if (verb == "sort") f.sort();
            else if (!verb.empty()) ADD_FAILURE() << "no step " << verb;
        }
    }

    // Checks "what=value" pairs separated by ';': what is a control's label
    // (a field's text, a bar's, slider's or check box's value, the list's
    // selected row), rows (the list's count), row N (its text), cur, lines
    // (on the map), colourN (line N's), status, depth, steps (in the
    // history), clicks (see the step), asked (questions), dialogs (file dialogs shown), log (the
    // notifications, comma-separated; logN the first N), #NAME (how many
    // times the log holds NAME), bN (slot N's block text), bN.x and
    // the other fields, table (the name of the mark it equals, bit for bit),
    // modified.
    void expect(const std::string& checks, const std::string& context = {}) {
        std::istringstream all(checks);
        for (std::string check; std::getline(all, check, ';');) {
            check.erase(0, check.find_first_not_of(' '));
            const auto eq = check.find('=');
            if (eq == std::string::npos) {
                ADD_FAILURE() << "no '=' in " << check;
                continue;
            }
            const std::string what = check.substr(0, eq);
            EXPECT_EQ(value(what), check.substr(eq + 1)) << what << (context.empty() ? "" : " after " + context);
        }
    }

    // Runs each {steps, checks} pair on a window of its own.
    static void each(std::initializer_list<std::pair<std::string, std::string>> lines) {
        for (const auto& line : lines) Transcript().play({line});
    }

    // Runs each {steps, checks} pair in turn on this window.
    void play(std::initializer_list<std::pair<std::string, std::string>> lines) {
        for (const auto& [steps, checks] : lines) run(steps), expect(checks, steps);
    }

    std::string value(const std::string& what) {
        if (what == "rows") return std::to_string(f.List1.listcount());
        if (what.starts_with("row ")) return f.List1.rows().at(std::stoul(what.substr(4)));
        if (what == "cur") return std::to_string(f.curblock);
        if (what == "lines") return std::to_string(f.Map.lines().size());
        if (what.starts_with("colour")) return hex(f.Map.lines().at(std::stoul(what.substr(6))).colour);
        if (what == "status") return f.sbStatusBar.text(1);
        if (what == "depth") return f.sbStatusBar.text(2);
        if (what == "steps") return std::to_string(f.history.steps());
        if (what == "clicks") {
            std::string out;
            for (int row : h.clicks) out += (out.empty() ? "" : ",") + std::to_string(row);
            return out;
        }
        if (what == "asked") return std::to_string(h.messagebox.asked.size());
        if (what == "dialogs") return std::to_string(h.filedialog.shown);
        if (what == "modified") return std::to_string(f.modified());
        if (what == "table") {
            for (const auto& [name, table] : marks)
                if (std::memcmp(&f.blocks, &table, sizeof table) == 0) return name;
            return "changed";
        }
        if (what.starts_with("log")) { // the whole log, or its first N
            const std::size_t n = what.size() > 3 ? std::stoul(what.substr(3)) : h.log.size();
            std::string out;
            for (std::size_t i = 0; i < std::min(n, h.log.size()); ++i) out += (i ? "," : "") + h.log[i];
            return out;
        }
        if (what.starts_with("#")) return std::to_string(std::count(h.log.begin(), h.log.end(), what.substr(1)));
        if (what.size() > 1 && what[0] == 'b' && std::isdigit(static_cast<unsigned char>(what[1]))) {
            const auto dot = what.find('.');
            const Block& b = f.blocks.at(std::stoul(what.substr(1, dot - 1)));
            if (dot == std::string::npos) return blocktext(b);
            static const std::pair<const char*, float Block::*> fields[] = {
                {"x", &Block::x},          {"z", &Block::z},           {"sizex", &Block::sizex},
                {"sizez", &Block::sizez},  {"bottom", &Block::bottom}, {"height", &Block::height},
                {"angle", &Block::angle}};
            if (what.substr(dot + 1) == "colour") return std::to_string(b.colour);
            for (const auto& [name, field] : fields)
                if (what.substr(dot + 1) == name) return num(b.*field);
        }
        for (ui::Control* c : f.controls()) {
            if (c->label() != what) continue;
            if (auto* t = dynamic_cast<ui::TextField*>(c)) return t->text();
            if (auto* s = dynamic_cast<ui::ScrollBar*>(c)) return std::to_string(s->value());
            if (auto* k = dynamic_cast<ui::CheckBox*>(c)) return std::to_string(k->value());
            if (auto* s = dynamic_cast<ui::Slider*>(c)) return std::to_string(s->value());
            if (auto* l = dynamic_cast<ui::ListBox*>(c)) return std::to_string(l->listindex());
            if (auto* s = dynamic_cast<ui::Surface*>(c)) return hex(s->backcolor());
            if (auto* b = dynamic_cast<ui::Button*>(c)) return hex(b->backcolor());
        }
        ADD_FAILURE() << "nothing is called " << what;
        return {};
    }

    // A block as text: "empty" for all zero bits, "nK" for numbered(K),
    // else its eight values, shortest exact texts, colour in hex.
    static std::string blocktext(const Block& b) {
        if (std::memcmp(&b, &kEmpty, sizeof b) == 0) return "empty";
        for (int k = 0; k < kSlots; ++k)
            if (std::memcmp(&b, &numberedblock(k), sizeof b) == 0) return "n" + std::to_string(k);
        std::string out;
        for (float v : {b.x, b.z, b.sizex, b.sizez, b.bottom, b.height, b.angle}) out += num(v) + " ";
        return out + hex(b.colour);
    }
    static Block blockof(const std::string& text) {
        if (text == "empty") return Block{};
        if (text[0] == 'n') return numbered(std::stoi(text.substr(1)));
        Block b{};
        std::istringstream in(text);
        std::string colour;
        in >> b.x >> b.z >> b.sizex >> b.sizez >> b.bottom >> b.height >> b.angle >> colour;
        b.colour = colour.empty() ? 0 : static_cast<std::int32_t>(std::stoul(colour, nullptr, 16));
        return b;
    }

    template <typename C> C& control(const std::string& label) {
        for (ui::Control* c : f.controls())
            if (c->label() == label)
                if (auto* k = dynamic_cast<C*>(c)) return *k;
        throw std::invalid_argument("no control " + label);
    }

private:
    static inline const Block kEmpty{};
    static const Block& numberedblock(int k) {
        static const auto all = [] {
            std::vector<Block> v;
            for (int i = 0; i < kSlots; ++i) v.push_back(numbered(i));
            return v;
        }();
        return all[static_cast<std::size_t>(k)];
    }
    static std::string hex(std::int32_t c) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%06x", static_cast<unsigned>(c));
        return buf;
    }
    static std::string num(float v) {
        char buf[32];
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
    }
    void click(const std::string& label) {
        for (ui::Control* c : f.controls()) {
            if (c->label() != label) continue;
            if (auto* b = dynamic_cast<ui::Button*>(c)) return b->click();
            if (auto* l = dynamic_cast<ui::Label*>(c)) return l->click();
            if (auto* k = dynamic_cast<ui::CheckBox*>(c)) return k->click();
        }
        ADD_FAILURE() << "nothing to click called " << label;
    }
};

} // namespace qs::test
