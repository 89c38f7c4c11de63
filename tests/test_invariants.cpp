// A person's random actions on the window, with the window's invariants
// checked after every one. A failure prints the seed and the last actions,
// so the run can be replayed.
#include "blocklist/rowtext.h"
#include "support/harness.h"
#include "support/person.h"

#include <gtest/gtest.h>

#include <deque>
#include <limits>
#include <random>
#include <sstream>

using namespace qs;
using qs::test::Harness;
using qs::test::Person;

namespace {

constexpr int kNestingBound = 64;

class Monkey {
public:
    explicit Monkey(std::uint32_t seed) : seed_(seed), gen_(seed), p_(h_.form) { h_.form.start(); }

    // Plays n actions; returns an empty string or what went wrong.
    std::string play(int n) {
        for (int step = 0; step < n; ++step) {
            h_.form.dispatch.resetmaxdepth();
            act();
            deepest = std::max(deepest, h_.form.dispatch.maxdepth());
            if (std::string fault = check(); !fault.empty()) return report(step, fault);
        }
        return {};
    }

    int deepest = 0;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }
    float anyfloat() {
        switch (pick(6)) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return pick(2) ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
        case 2: return std::uniform_real_distribution<float>(-1e30f, 1e30f)(gen_);
        case 3: return static_cast<float>(pick(400) - 200) / static_cast<float>(1 + pick(8));
        default: return static_cast<float>(pick(120) - 20);
        }
    }

    std::string wildtext() {
        static const char* const texts[] = {"",      "-",     "+",      ".",        "e",       "1e",
                                            "1e+",   "--5",   "5-",     "1e99",     "-1e39",   "9e99",
                                            "1e-40", "0.0001", "123456789", "-12.345", "\xC3\xA9", "2.",
                                            "360",   "-30",   "45.5",   "1e308",    " 1 2 ",   "100.01"};
        if (pick(8) == 0) return std::string(static_cast<std::size_t>(1 + pick(3000)), "9.-e1"[pick(5)]);
        if (pick(3) == 0) {
            std::string s;
            const char alphabet[] = "0123456789.-+eE xZ\t";
            for (int i = pick(8); i >= 0; --i) s += alphabet[pick(static_cast<int>(sizeof alphabet) - 1)];
            return s;
        }
        return texts[pick(static_cast<int>(std::size(texts)))];
    }

    ui::TextField& anyfield() {
        ui::TextField* fields[] = {&h_.form.posxed,   &h_.form.posyed,   &h_.form.sizexed, &h_.form.sizeyed,
                                   &h_.form.bottomed, &h_.form.heighted, &h_.form.angleed};
        return *fields[pick(7)];
    }

    ui::ScrollBar& anybar() {
        auto& f = h_.form;
        ui::ScrollBar* bars[] = {&f.MinD,        &f.MaxD,        &f.VScroll1[0], &f.VScroll1[1],
                                 &f.AngleSB,     &f.HeightSB[0], &f.HeightSB[1], &f.HeightSB[2],
                                 &f.BottomSB[0], &f.BottomSB[1], &f.BottomSB[2], &f.VScroll2,
                                 &f.Color[0],    &f.Color[1],    &f.Color[2]};
        return *bars[pick(static_cast<int>(std::size(bars)))];
    }

    void note(std::string what) {
        recent_.push_back(std::move(what));
        if (recent_.size() > 40) recent_.pop_front();
    }

    void act() {
        auto& f = h_.form;
        switch (pick(16)) {
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
            const int row = pick(f.List1.listcount());
            note("select row " + std::to_string(row));
            p_.select(row);
            break;
        }
        case 10: {
            const int which = pick(8);
            note("click button " + std::to_string(which));
            if (which < 4) p_.click(f.Command1[static_cast<std::size_t>(which)]);
            else if (which == 4) p_.click(f.Command2);
            else if (which == 5) p_.click(f.RNDANG);
            else if (which == 6) p_.click(f.selpos);
            else p_.click(f.Label3[static_cast<std::size_t>(pick(3))]);
            break;
        }
        case 11: {
            note("check box / slider");
            pick(2) ? p_.click(f.Check1) : p_.slide(pick(300) - 20);
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
            f.blocks.fill(Block{});
            for (int i = 0; i < n; ++i) {
                Block b{anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(), anyfloat(),
                        static_cast<std::int32_t>(gen_())};
                if (pick(3)) b.sizex = b.sizez = static_cast<float>(1 + pick(5));
                f.blocks[static_cast<std::size_t>(i)] = b;
            }
            f.refreshmap();
            f.refreshlist();
            break;
        }
        default: {
            note("empty the table");
            f.blocks.fill(Block{});
            f.refreshlist();
            break;
        }
        }
    }

    std::string check() const {
        const auto& f = h_.form;
        if (!f.fieldsready) return "fieldsready is false";
        if (f.dispatch.depth() != 0) return "a notification is still running";
        if (f.dispatch.maxdepth() >= kNestingBound)
            return "nesting reached " + std::to_string(f.dispatch.maxdepth());
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
        for (const auto& bar : f.BottomSB)
            if (bar.value() != 0) return "a spinner did not come back to rest";
        if (f.VScroll2.value() != 0) return "the move bar did not come back to rest";
        return {};
    }

    std::string report(int step, const std::string& fault) const {
        std::ostringstream out;
        out << "seed " << seed_ << ", action " << step << ": " << fault << "\nlast actions:\n";
        for (const auto& a : recent_) out << "  " << a << "\n";
        return out.str();
    }

    std::uint32_t seed_;
    std::mt19937 gen_;
    Harness h_;
    Person p_;
    std::deque<std::string> recent_;
};

} // namespace

TEST(Invariants, HoldAfterEveryRandomAction) {
    int deepest = 0;
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        Monkey m(seed);
        const std::string fault = m.play(4000);
        ASSERT_TRUE(fault.empty()) << fault;
        deepest = std::max(deepest, m.deepest);
    }
    std::cout << "deepest notification nesting: " << deepest << "\n";
    EXPECT_LT(deepest, kNestingBound);
}
