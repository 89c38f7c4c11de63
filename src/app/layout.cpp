// The window's controls at design time: places, sizes, texts, ranges, steps
// and initial values.
#include "app/mainform.h"
#include "editor/editvalues.h"

namespace qs {

namespace {
void place(ui::Control& c, int left, int top, int width, int height, std::string caption = {}) {
    c.geometry = {left, top, width, height};
    c.caption = std::move(caption);
}

void describe(ui::Control& c, std::string name, std::string description, std::string action = {}) {
    c.accessiblename = std::move(name);
    c.description = std::move(description);
    c.actiontitle = std::move(action);
}
} // namespace

void MainForm::layout() {
    place(tbToolBar, 0, 0, 8580, 420);
    tbToolBar.keys = {"New", "Open", "Save", "Copy", "Refresh", "Delete"};

    place(Map, 0, 480, 3060, 6435);
    // Horizontal -20 to 55, vertical 75 at the top down to 0.
    Map.scaleleft = kMapLeft;
    Map.scaletop = kMapTop;
    Map.scalewidth = kMapWidth;
    Map.scaleheight = kMapHeight;

    place(Label1, 3120, 600, 1455, 255, "Background:");
    place(Slider1, 4680, 480, 3855, 495);
    Slider1.setrange(0, 255);
    place(Label2, 3120, 1080, 615, 255, "Depth:");
    place(MinD, 3120, 1320, 255, 5535);
    MinD.design(0, 1000, 0, 1, 50);
    place(MaxD, 3480, 1320, 255, 5535);
    MaxD.design(0, 1000, 1000, 1, 50);
    place(Label8, 3960, 1080, 4335, 255,
          "--------X-----------Z------Size X----Size Z----Bottom---Height--Angle---");
    place(List1, 3840, 1320, 4695, 2580);

    int x = 4080;
    for (ui::TextField* f :
         {&posxed, &posyed, &sizexed, &sizeyed, &bottomed, &heighted, &angleed}) {
        place(*f, x, 3960, 525, 285);
        f->settext("0"); // nothing is wired yet, so nothing is raised
        x += 600;
    }

    place(selpos, 4080, 4320, 1095, 255, "Select Pos.");
    place(VScroll1[0], 5520, 4320, 255, 1695);
    place(VScroll1[1], 5880, 4320, 255, 1695);
    for (auto& bar : VScroll1)
        bar.design(0, 1000, 0, 1, 10);
    place(Label4, 6360, 4320, 1215, 255, "Angle: (deg)");
    place(RNDANG, 7440, 4320, 735, 255, "Random");
    place(AngleSB, 6240, 4560, 1935, 255);
    AngleSB.design(0, 360, 0, 5, 45);
    place(Command2, 3960, 4680, 1455, 255, "Size: 1x1x0.5");
    place(Label9, 6840, 4920, 1695, 255, "---0.1--------1.0-------10.0--");
    place(Label6, 6240, 5160, 615, 255, "Height:");
    const int spinnerleft[3] = {6840, 7440, 8040};
    for (int i = 0; i < 3; ++i) {
        place(HeightSB[static_cast<std::size_t>(i)], spinnerleft[i], 5160, 495, 255);
        place(BottomSB[static_cast<std::size_t>(i)], spinnerleft[i], 5520, 495, 255);
    }
    for (auto* bars : {&HeightSB, &BottomSB})
        for (auto& bar : *bars)
            bar.design(-1, 1, 0, 1, 1);
    place(VScroll2, 4920, 5160, 495, 495);
    VScroll2.design(-1, 1, 0, 1, 1);
    place(Label5, 4080, 5280, 735, 255, "Sort List:");
    place(Label7, 6240, 5520, 615, 255, "Bottom:");
    place(Check1, 3840, 5760, 1575, 255, "Use Block Colors.");
    Check1.setvalue(1);

    place(Command1[3], 6120, 5880, 735, 255, "Random");
    place(Command1[2], 6840, 5880, 495, 255, "Grey");
    Command1[2].setbackcolor(displaycolour(128, 128, 128));
    place(Command1[1], 7320, 5880, 615, 255, "Brown");
    Command1[1].setbackcolor(displaycolour(128, 64, 64));
    place(Command1[0], 7920, 5880, 615, 255, "White");
    Command1[0].setbackcolor(0xFFFFFF);
    for (auto& b : Command1)
        b.showscolour = true;

    place(Picture1, 3840, 6120, 495, 735);
    const char* colourlabels[3] = {"&Red:", "&Green:", "&Blue:"};
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        place(Label3[k], 4320, 6120 + 240 * i, 615, 255, colourlabels[i]);
        place(Color[k], 5040, 6120 + 240 * i, 3495, 255);
        Color[k].design(0, 255, 0, 1, 16);
    }

    place(sbStatusBar, 0, 6915, 8580, 270);
    sbStatusBar.settext(1, "Status");
    sbStatusBar.settext(2, "Depth: 0-1000");
    describeall();
}

void MainForm::describeall() {
    describe(tbToolBar, "Commands", "New, Open, Save, Copy, Refresh and Delete");
    describe(
        Map, "Map",
        "The blocks seen from above; with Select Pos. on, the current block follows the pointer",
        "placing with the pointer");
    describe(Label1, "Background:", "Background:");
    describe(Slider1, "Background", "Grey level of the map's background, 0 to 255");
    describe(Label2, "Depth:", "Depth:");
    describe(MinD, "Lowest depth", "Blocks reaching below this depth are not drawn");
    describe(MaxD, "Highest depth", "Blocks starting above this depth are not drawn");
    describe(Label8, Label8.caption, Label8.caption);
    describe(List1, "Blocks", "One row per block: X, Z, Size X, Size Z, Bottom, Height, Angle",
             "selecting a row");
    describe(posxed, "X", "X position of the current block", "typing in X");
    describe(posyed, "Z", "Z position of the current block", "typing in Z");
    describe(sizexed, "Size X", "Half the current block's extent along its first axis",
             "typing in Size X");
    describe(sizeyed, "Size Z", "Half the current block's extent along its second axis",
             "typing in Size Z");
    describe(bottomed, "Bottom", "Bottom of the current block", "typing in Bottom");
    describe(heighted, "Height", "Height of the current block", "typing in Height");
    describe(angleed, "Angle", "Angle of the current block in whole degrees", "typing in Angle");
    describe(selpos, "Select Pos.", "Place the current block by pointing at the map");
    describe(VScroll1[0], "Size X slider", "Size X in tenths", "Size X slider");
    describe(VScroll1[1], "Size Z slider", "Size Z in tenths", "Size Z slider");
    describe(Label4, "Angle: (deg)", "Angle: (deg)");
    describe(RNDANG, "Random angle", "A random whole angle for the current block", "random angle");
    describe(AngleSB, "Angle bar", "The current block's angle, 0 to 359 degrees", "angle bar");
    describe(Command2, "Size 1 by 1 by 0.5", "Sets Size X and Size Z to 1 and Height to 0.5",
             "size preset");
    describe(Label9, Label9.caption, Label9.caption);
    describe(Label6, "Height:", "Height:");
    describe(VScroll2, "Move block", "Moves the selected block one row up or down",
             "moving a block");
    describe(Label5, "Sort List:", "Sort List:");
    describe(Label7, "Bottom:", "Bottom:");
    describe(Check1, "Use Block Colors", "Draws blocks in their own colours, or in white");
    describe(Picture1, "Colour", "The current block's colour");
    describe(sbStatusBar, "Status", "What the program did last, and the depth window");
    const char* const steps[] = {"0.1", "1", "10"};
    const char* const colours[][2] = {{"Red", "red"}, {"Green", "green"}, {"Blue", "blue"}};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string step = steps[i];
        describe(BottomSB[i], "Bottom step " + step, "Adds or takes " + step + " from Bottom",
                 "Bottom spinner");
        describe(HeightSB[i], "Height step " + step, "Adds or takes " + step + " from Height",
                 "Height spinner");
        const std::string name = colours[i][0], lower = colours[i][1];
        describe(Color[i], name, lower + " of the current block, 0 to 255", lower + " bar");
        describe(Label3[i], name + " label", "Inverts the " + lower + " of the current block",
                 "inverting " + lower);
    }
    for (auto& preset : Command1)
        describe(preset, preset.caption + " colour", "Gives the current block this colour",
                 preset.caption + " colour");
}

std::vector<ui::Control*> MainForm::controls() {
    std::vector<ui::Control*> all{&tbToolBar, &Map,     &Label1,      &Slider1,     &Label2,
                                  &MinD,      &MaxD,    &Label8,      &List1,       &posxed,
                                  &posyed,    &sizexed, &sizeyed,     &bottomed,    &heighted,
                                  &angleed,   &selpos,  &VScroll1[0], &VScroll1[1], &Label4,
                                  &RNDANG,    &AngleSB, &Command2,    &Label9,      &Label6};
    for (auto& c : HeightSB)
        all.push_back(&c);
    all.push_back(&VScroll2);
    all.push_back(&Label5);
    all.push_back(&Label7);
    for (auto& c : BottomSB)
        all.push_back(&c);
    all.push_back(&Check1);
    for (auto& c : Command1)
        all.push_back(&c);
    all.push_back(&Picture1);
    for (auto& c : Label3)
        all.push_back(&c);
    for (auto& c : Color)
        all.push_back(&c);
    all.push_back(&sbStatusBar);
    return all;
}

} // namespace qs
