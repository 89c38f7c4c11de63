// The qrd program itself: its exit statuses, and its pictures.
#include "qrd/qrd.h"
#include "qrd/render.h"
#include "support/golden.h"
#include "support/qrdmaps.h"

using namespace qs;
using namespace qs::test;

static int exitstatus(const std::string& args) {
    const int status = std::system((std::string(QS_QRD) + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program's exit statuses; render draws the map's lines as the window
// does, and paints the map window and the 3D view as they first show.
TEST_F(Qrd, ExitStatusesAndRender) {
    const std::string map =
        file("r.QRD", {Block{37.5f, 17.5f, 10, 5, 0, 10, 0, 0xFF0000},
                       Block{10, 0, 2, 2, 500, 10, 0, 0x00FF00}, Block{60, 40, 0, 3}});
    qrd::RenderOptions o{.width = 150, .height = 150};
    EXPECT_EQ(qrd::render(map, "r.svg", o, err), qrd::kOk);
    const auto svg = readbytes("r.svg");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(svg.data()), svg.size()),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"150\" height=\"150\" viewBox=\"0 "
              "0 150 150\">\n"
              // Size X across (Z), Size Z up (X): corners A, B, C, D.
              "<line x1=\"95.00\" y1=\"65.00\" x2=\"95.00\" y2=\"85.00\" stroke=\"#ff0000\"/>\n"
              "<line x1=\"95.00\" y1=\"85.00\" x2=\"55.00\" y2=\"85.00\" stroke=\"#ff0000\"/>\n"
              "<line x1=\"55.00\" y1=\"85.00\" x2=\"55.00\" y2=\"65.00\" stroke=\"#ff0000\"/>\n"
              "<line x1=\"55.00\" y1=\"65.00\" x2=\"95.00\" y2=\"65.00\" stroke=\"#ff0000\"/>\n"
              "<line x1=\"44.00\" y1=\"126.00\" x2=\"44.00\" y2=\"134.00\" stroke=\"#00ff00\"/>\n"
              "<line x1=\"44.00\" y1=\"134.00\" x2=\"36.00\" y2=\"134.00\" stroke=\"#00ff00\"/>\n"
              "<line x1=\"36.00\" y1=\"134.00\" x2=\"36.00\" y2=\"126.00\" stroke=\"#00ff00\"/>\n"
              "<line x1=\"36.00\" y1=\"126.00\" x2=\"44.00\" y2=\"126.00\" "
              "stroke=\"#00ff00\"/>\n</svg>\n");
    // A depth window that leaves the second block out, white outlines on grey.
    o = {.maxd = 400, .colours = false, .width = 150, .height = 150, .background = 128};
    EXPECT_EQ(qrd::render(map, "r.png", o, err), qrd::kOk);
    EXPECT_EQ(QImage("r.png").size(), QSize(150, 150));
    for (const auto& [x, y, grey] : {std::tuple{95, 75, 255}, {40, 130, 128}, {44, 130, 128}})
        EXPECT_EQ(QImage("r.png").pixelColor(x, y), QColor(grey, grey, grey)) << x;
    EXPECT_EQ(qrd::render(map, "r.gif", o, err), qrd::kFailure);
    EXPECT_EQ(exitstatus("render " + map + " -o s.png --depth 0-100 --size 60x40"), 0);
    EXPECT_EQ(QImage("s.png").size(), QSize(60, 40));
    for (const char* bad : {"--size big", "--size 0x40", "--size 60x40x", "--depth 5-1",
                            "--depth 1-5m", "--depth nan-5", "--view side"})
        EXPECT_EQ(exitstatus("render " + map + " -o s.png " + bad), 2) << bad;
    // Exit statuses.
    const std::pair<std::string, int> runs[] = {
        {"--help", 0},       {"check --help", 0}, {"--version", 0},      {"", 2},
        {"frobnicate", 2},   {"info", 2},         {"info --bogus x", 2}, {"diff a", 2},
        {"dump " + odd(), 0}};
    for (const auto& [args, status] : runs)
        EXPECT_EQ(exitstatus(args), status) << args;
    // The map window and the 3D view as they first show; the last, boxes
    // through each other, on each other, on a floor: each pixel the nearest face.
    const std::string view = file("v.QRD", viewmap());
    for (const auto& [args, golden] :
         {std::pair{view + " --view map --size 400x400", "mapwindow"},
          {view + " --view 3d --size 400x300", "boxview"},
          {file("i.QRD", interlocking()) + " --view 3d --size 320x240", "interlocking"}}) {
        EXPECT_EQ(exitstatus("render " + args + " --background 0 -o g.png"), 0) << args;
        expectgolden(QImage("g.png"), golden + QString(".png"));
    }
    EXPECT_EQ(exitstatus("render " + view + " --view map -o m.svg"), 2); // PNG only
}
