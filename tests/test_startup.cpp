#include "document/numtext.h"
#include "support/harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace qs;
using qs::test::Harness;

namespace {
std::string stored(Harness& h, const char* key) {
    return h.settings.get("Quarrystead", "Settings", key, "<absent>");
}
void store(Harness& h, const char* key, const char* value) {
    h.settings.set("Quarrystead", "Settings", key, value);
}
} // namespace

TEST(Startup, FirstRunWithAnEmptyStore) {
    Harness h(true);
    auto& f = h.form;
    EXPECT_EQ(f.left, 1000);
    EXPECT_EQ(f.top, 1000);
    EXPECT_EQ(f.Slider1.value(), 0);
    EXPECT_EQ(f.Map.backcolor(), 0);
    EXPECT_TRUE(h.settings.values.empty()); // load writes nothing
    EXPECT_EQ(f.List1.rows(), std::vector<std::string>{"     0     0     0     0     0     0    0"});
    EXPECT_EQ(f.List1.listindex(), 0);
    EXPECT_EQ(f.curblock, 0);
    EXPECT_TRUE(f.fieldsready);
    EXPECT_EQ(f.sbStatusBar.text(1), "Status");
    EXPECT_EQ(f.sbStatusBar.text(2), "Depth: 0-1000");
    EXPECT_EQ(h.filedialog.filter, "Cairnwork(*.QRD)|*.QRD");
    EXPECT_EQ(f.Check1.value(), 1);
    EXPECT_EQ(f.MaxD.value(), 1000);
    EXPECT_EQ(f.AngleSB.max(), 360);

    f.unload();
    EXPECT_EQ(stored(h, "MainLeft"), "1000");
    EXPECT_EQ(stored(h, "MainTop"), "1000");
    EXPECT_EQ(stored(h, "Background"), "0");
}

TEST(Startup, RandomPresetShowsTheFirstDrawAtEveryStart) {
    Harness a(true);
    Harness b(true);
    ui::DefaultRandom fresh;
    const auto expected = static_cast<std::int32_t>(fresh.next() * 16777216.0f);
    EXPECT_EQ(a.form.Command1[3].backcolor(), expected);
    EXPECT_EQ(a.form.Command1[3].maskcolor(), expected);
    EXPECT_EQ(b.form.Command1[3].backcolor(), expected);
    EXPECT_GE(expected, 0);
    EXPECT_LE(expected, 16777215);
}

TEST(Startup, StoredBackgroundAndPositionAreRestored) {
    Harness h;
    store(h, "Background", "128");
    store(h, "MainLeft", "2400.5");
    store(h, "MainTop", "-.3e3"); // a point before any digit is a number too
    h.form.start();
    EXPECT_EQ(h.form.Slider1.value(), 128);
    EXPECT_EQ(h.form.Map.backcolor(), 8421504);
    EXPECT_EQ(h.form.left, 2400.5f);
    EXPECT_EQ(h.form.top, -300);
    // The slider's start value raises no background change.
    EXPECT_EQ(h.form.sbStatusBar.text(1), "Status");
}

TEST(Startup, ClosingWhileMinimisedKeepsThePosition) {
    Harness h(true);
    store(h, "MainLeft", "5");
    h.form.left = 99;
    h.form.Slider1.setvalue(77);
    h.form.minimised = true;
    h.form.unload();
    EXPECT_EQ(stored(h, "MainLeft"), "5");
    EXPECT_EQ(stored(h, "MainTop"), "<absent>");
    EXPECT_EQ(stored(h, "Background"), "77");
}

TEST(Startup, StoredTextsThatAreNotValidGiveDefinedValues) {
    struct Case {
        const char* left;
        const char* background;
        float expectedleft;
        int expectedgrey;
    };
    const Case cases[] = {
        {"abc", "-1", 1000, 0},
        {"", "256", 1000, 255},
        {"1e99", "12.7", std::numeric_limits<float>::max(), 13},
        {"  42xyz", "x", 42, 0},
        {"-", "1e99", 1000, 255},
    };
    for (const Case& c : cases) {
        Harness h;
        store(h, "MainLeft", c.left);
        store(h, "Background", c.background);
        h.form.start();
        EXPECT_EQ(h.form.left, c.expectedleft) << c.left;
        EXPECT_EQ(h.form.Slider1.value(), c.expectedgrey) << c.background;
        h.form.unload();
        // What close writes is a number that the next run reads back to the
        // same text.
        const std::string left = stored(h, "MainLeft");
        EXPECT_TRUE(hasnumber(left)) << left;
        EXPECT_EQ(plainnum(static_cast<float>(readnum(left))), left);
        EXPECT_EQ(readnum(stored(h, "Background")), c.expectedgrey);
    }
}

// Every control's place, caption and design-time values, against the
// window's layout kept in tests/golden/layout.txt (QS_UPDATE_GOLDEN=1
// rewrites it).
TEST(Startup, TheWindowIsLaidOutAsDesigned) {
    Harness h(true);
    std::ostringstream out;
    for (const ui::Control* c : h.form.controls()) {
        const ui::Geometry& g = c->geometry;
        out << c->label() << " " << g.left << " " << g.top << " " << g.width << " " << g.height << " \""
            << c->caption << "\"";
        if (const auto* bar = dynamic_cast<const ui::ScrollBar*>(c))
            out << " range " << bar->min() << ".." << bar->max() << " value " << bar->value() << " steps "
                << bar->smallchange << "/" << bar->largechange;
        if (const auto* button = dynamic_cast<const ui::Button*>(c); button && button->showscolour)
            out << " colour " << button->backcolor();
        if (const auto* slider = dynamic_cast<const ui::Slider*>(c)) out << " range " << slider->min() << ".." << slider->max();
        out << "\n";
    }
    const auto& m = h.form.Map;
    out << "Map scale " << m.scaleleft << " " << m.scaletop << " " << m.scalewidth << " " << m.scaleheight << "\n";
    for (const auto& key : h.form.tbToolBar.keys) out << "tbToolBar key " << key << "\n";
    const std::string golden = QS_GOLDEN_DIR "/layout.txt";
    if (std::getenv("QS_UPDATE_GOLDEN")) std::ofstream(golden) << out.str();
    std::ifstream in(golden);
    EXPECT_EQ(out.str(), std::string(std::istreambuf_iterator<char>(in), {}));
}
