// The window at start and at close: what it reads from the settings and
// what it writes back.
#include "document/numtext.h"
#include "support/transcript.h"

using namespace qs;
using namespace qs::test;

TEST(Startup, FirstRunClosingWhileMinimisedAndStoredSettingsRestored) {
    Transcript t;
    EXPECT_EQ(t.h.filedialog.filter, "Cairnwork(*.QRD)|*.QRD");
    // Loading writes nothing.
    t.play({{"", "settings=; Slider1=0; Map=000000; rows=1; row 0=" + kFree +
                     "; List1=0; cur=0; status=Status; depth=Depth: 0-1000; Check1=1; MaxD=1000"},
            {"unload", "settings=Background=0 MainLeft=1000 MainTop=1000"}});
    // Minimised, the position is not written.
    Transcript m;
    m.h.settings.set("Quarrystead", "Settings", "MainLeft", "5");
    m.f.left = 99;
    m.f.minimised = true;
    m.play({{"slide 77; unload", "settings=Background=77 MainLeft=5"}});
    // Stored settings are restored, and texts that are not valid give defined
    // values. A point before any digit is a number too. The slider's start value
    // raises no background change. MainLeft, MainTop and Background as
    // stored, then the window's Left and Top and the grey.
    const float most = std::numeric_limits<float>::max();
    const std::tuple<const char*, const char*, const char*, float, float, int> cases[] = {
        {"abc", "", "-1", 1000, 1000, 0},  {"2400.5", "-.3e3", "128", 2400.5f, -300, 128},
        {"", "x", "256", 1000, 1000, 255}, {"1e99", "1", "12.7", most, 1, 13},
        {"  42xyz", "0", "x", 42, 0, 0},   {"-", "1e-99", "1e99", 1000, 0, 255}};
    for (const auto& [left, top, background, expectedleft, expectedtop, grey] : cases) {
        Harness h;
        h.settings.set("Quarrystead", "Settings", "MainLeft", left);
        h.settings.set("Quarrystead", "Settings", "MainTop", top);
        h.settings.set("Quarrystead", "Settings", "Background", background);
        h.form.start();
        const MainForm& f = h.form;
        EXPECT_EQ(
            std::tuple(f.left, f.top, f.Slider1.value(), f.Map.backcolor(), f.sbStatusBar.text(1)),
            std::tuple(expectedleft, expectedtop, grey, grey * 0x010101, "Status"))
            << left << " " << top << " " << background;
        h.form.unload();
        // What close writes is a number that the next run reads back to the
        // same text.
        const std::string written = h.settings.get("Quarrystead", "Settings", "MainLeft", "");
        EXPECT_EQ(std::pair(hasnumber(written), plainnum(static_cast<float>(readnum(written)))),
                  std::pair(true, written));
        EXPECT_EQ(readnum(h.settings.get("Quarrystead", "Settings", "Background", "")), grey);
    }
}

// Every control's place, caption, names (read out, and undone), design-time
// values, against the
// window's layout kept in tests/golden/layout.txt (QS_UPDATE_GOLDEN=1
// rewrites it).
TEST(Startup, TheWindowIsLaidOutAsDesigned) {
    Harness h(true);
    std::ostringstream out;
    for (const ui::Control* c : h.form.controls()) {
        const ui::Geometry& g = c->geometry;
        out << c->label() << " " << g.left << " " << g.top << " " << g.width << " " << g.height
            << " \"" << c->caption << "\" (" << c->accessiblename << ": " << c->description << ") ["
            << c->actiontitle << "]";
        if (const auto* bar = dynamic_cast<const ui::ScrollBar*>(c))
            out << " range " << bar->min() << ".." << bar->max() << " value " << bar->value()
                << " steps " << bar->smallchange << "/" << bar->largechange;
        if (const auto* button = dynamic_cast<const ui::Button*>(c); button && button->showscolour)
            out << " colour " << button->backcolor();
        if (const auto* slider = dynamic_cast<const ui::Slider*>(c))
            out << " range " << slider->min() << ".." << slider->max();
        out << "\n";
    }
    const auto& m = h.form.Map;
    out << "Map scale " << m.scaleleft << " " << m.scaletop << " " << m.scalewidth << " "
        << m.scaleheight << "\n";
    for (const auto& key : h.form.tbToolBar.keys)
        out << "tbToolBar key " << key << "\n";
    const std::string golden = QS_GOLDEN_DIR "/layout.txt";
    if (std::getenv("QS_UPDATE_GOLDEN")) std::ofstream(golden) << out.str();
    std::ifstream in(golden);
    EXPECT_EQ(out.str(), std::string(std::istreambuf_iterator<char>(in), {}));
}
