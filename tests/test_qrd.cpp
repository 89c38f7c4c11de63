// qrd's commands on small maps made here, with their whole outputs.
#include "mapview/views.h"
#include "qrd/qrd.h"
#include "support/qrdmaps.h"

#include <nlohmann/json.hpp>

using namespace qs;
using namespace qs::test;

// Info says what the editor would see, check names each surprise by record,
// dump and diff show rows and exact values, the report's box is the drawn
// corners; import and export, and files that cannot be read.
TEST_F(Qrd, InfoCheckDumpDiffImportAndExport) {
    EXPECT_EQ(qrd::info({odd()}, false, out, err), qrd::kOk);
    EXPECT_EQ(said(), "odd.QRD\n  records      4 (130 bytes)\n  listed run   4\n  saved run    1\n "
                      " drawn        3\n"
                      "  gaps         0\n  beyond 1000  0 ignored\n  partial      2 bytes "
                      "ignored\n  non-finite   0\n"
                      "  bounding box Z -124.4038 to 136.4038, X -70.86603 to 80.86603\n");
    std::vector<Block> many(1003, Block{1, 1, 1, 1});
    many[1] = Block{};
    many[2].x = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(qrd::info({file("many.QRD", many)}, true, out, err), qrd::kOk);
    const std::string json = said();
    EXPECT_TRUE(json.starts_with("[\n  {\n    \"beyond1000\": 3")) << json; // two blanks a level
    const auto j = nlohmann::json::parse(json)[0];
    // A NaN position is still drawn.
    const nlohmann::json want{{"records", 1003}, {"beyond1000", 3}, {"listed", 1},
                              {"gaps", 1},       {"nonfinite", 1},  {"drawn", 999}};
    for (const auto& [key, value] : want.items())
        EXPECT_EQ(j[key], value) << key;
    const std::pair<std::string, std::string> maps[] = {
        {odd(), "odd.QRD:record 2: a zero size ends what a save writes: the 3 listed blocks after "
                "it are dropped by the next save\n"
                "odd.QRD:record 4: Size X 150 is above 100 (capped when the block is selected)\n"
                "odd.QRD:record 4: Bottom 2000 is above 1000 (capped when the block is selected)\n"
                "odd.QRD:record 5: partial record of 2 bytes is ignored\n"},
        {file("gap.QRD", {Block{1, 1, 150, 150}, Block{}, Block{1, 1, -1, 1, 1000.5f, -2}}),
         "gap.QRD:record 1: Size X 150 is above 100 (capped when the block is selected)\n"
         "gap.QRD:record 1: Size Z 150 is above 100 (capped when the block is selected)\n"
         "gap.QRD:record 2: empty slot before later blocks: they are not listed until the map is "
         "compacted\n"
         "gap.QRD:record 3: Size X is negative (-1)\n"
         "gap.QRD:record 3: Bottom 1000.5 is above 1000 (capped when the block is selected)\n"
         "gap.QRD:record 3: Height is negative (-2)\n"},
        {file("many.QRD", std::vector<Block>(1002, Block{1, 1, 1, 1})),
         "many.QRD:record 1001: 2 records beyond 1000 are ignored\n"},
        {file("fine.QRD", {Block{1, 1, 100, 1, 1000, 1000}}), ""}}; // at the caps
    for (const auto& [map, problems] : maps) {
        EXPECT_EQ(qrd::check({map}, out, err), problems.empty() ? qrd::kOk : qrd::kProblems) << map;
        EXPECT_EQ(said(), problems);
    }
    // Dump and diff show rows and exact values.
    const Block nan{std::bit_cast<float>(0x7fc01234u), 2, 3, 4, 0, 0, -0.0f};
    const Block first{12.5f, -3, 2, 0.5f, 0, 1.5f, 45, 0xFF0000};
    const std::string a = file("a.QRD", {first, nan, Block{1e-45f, 0, 1, 1}});
    EXPECT_EQ(qrd::dump(a, out, err), qrd::kOk);
    EXPECT_EQ(said(), "1 |  12.5    -3     2   0.5     0   1.5   45| x=12.5 z=-3 sizex=2 sizez=0.5 "
                      "bottom=0 height=1.5 angle=45 colour=0xff0000\n"
                      "2 |   NaN     2     3     4     0     0    0| x=nan(0x7fc01234) z=2 sizex=3 "
                      "sizez=4 bottom=0 height=0 angle=-0 colour=0x000000\n"
                      "3 | 1E-45     0     1     1     0     0    0| x=1e-45 z=0 sizex=1 sizez=1 "
                      "bottom=0 height=0 angle=0 colour=0x000000\n");
    EXPECT_EQ(qrd::dump(file("g.QRD", {first, Block{}, first}), out, err), qrd::kOk);
    EXPECT_TRUE(said().ends_with("0xff0000\n# 2 more records after the listed run\n"));
    const std::string b = file("b.QRD", {first, Block{1, 2, 3, 5}});
    EXPECT_EQ(qrd::diff(a, b, out, err), qrd::kProblems);
    EXPECT_EQ(said(), "~ record 2: x nan(0x7fc01234) -> 1 sizez 4 -> 5 angle -0 -> 0\n"
                      "- record 3 | 1E-45     0     1     1     0     0    0|\n");
    EXPECT_EQ(qrd::diff(b, a, out, err), qrd::kProblems);
    EXPECT_TRUE(said().ends_with("+ record 3 | 1E-45     0     1     1     0     0    0|\n"));
    EXPECT_EQ(qrd::diff(a, a, out, err), qrd::kOk);
    EXPECT_EQ(said(), "");
    EXPECT_EQ(qrd::diff(a, "none.QRD", out, err), qrd::kFailure);
    EXPECT_EQ(said(), "qrd: none.QRD: No such file or directory\n");
    // The report's box is the drawn corners whatever the angles; 8 and 39
    // share a place in the report's cache of sines.
    for (float angle : {8.0f, 39.0f}) {
        const BlockTable t{Block{10, 10, 5, 1, 0, 1, angle}, Block{30, -5, 6, 2, 0, 1, 47 - angle}};
        const MapReport r = reportmap(writerecords(std::span(t).first(2)));
        const MapBox box = drawnbox(t, {}).value();
        EXPECT_EQ((std::array<double, 4>{r.zmin, r.zmax, r.xmin, r.xmax}),
                  (std::array{box.zmin, box.zmax, box.xmin, box.xmax}))
            << angle;
    }
    EXPECT_TRUE(reportmap(writerecords(std::vector{Block{1e30f, 1e30f, 1, 1}})).hasbox); // a point
    // Import refuses malformed text with its place and writes nothing; files
    // that cannot be read and bad usage are named.
    const std::string header = "x,z,sizex,sizez,bottom,height,angle,colour\n",
                      columns = "x, z, sizex, sizez, bottom, height, angle, colour";
    const std::tuple<std::string, std::string, std::string> bad[] = {
        {"a.csv", "x,z,sizex\n1,2,3\n1,2,abc\n", ":3:5: sizex \"abc\" is not a number"},
        {"b.csv", "x,z,foo\n", ":1:5: unknown column \"foo\"; the columns are " + columns},
        {"c.csv", "x,z\n1,2,3\n", ":2:5: a row has 3 values; the header names 2 columns"},
        {"d.csv", "colour\n-2147483648\n2147483647\n0xFFFFFFFF\n0x100000000\n",
         ":5:1: colour \"0x100000000\" is beyond 32 bits"},
        {"e.csv", header + "1e39,2\n", ":2:1: x \"1e39\" is beyond the range of a single"},
        {"g.csv", "colour\n12x\n", ":2:1: colour \"12x\" is not a whole number"},
        {"f.csv", "1,2,3\n", ":1:1: the first line names the columns (" + columns + ")"},
        {"h.csv", "-1,2\n", ":1:1: the first line names the columns (" + columns + ")"},
        {"i.csv", "", ":1:1: the first line names the columns (" + columns + ")"},
        {"e.json", "{\"records\": [\n {\"x\": true}]}", ":2:11: unexpected true or false"}};
    for (const auto& [name, text, message] : bad) {
        std::ofstream(name) << text;
        EXPECT_EQ(qrd::importmap(name, "", "out.QRD", err), qrd::kFailure);
        EXPECT_EQ(said(), "qrd: " + name + message + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists("out.QRD"));
    EXPECT_EQ(qrd::importmap("none.csv", "", "out.QRD", err), qrd::kFailure);
    EXPECT_EQ(said(), "qrd: none.csv: No such file or directory\n");
    // Columns in any order and case, tabs, blanks around values, missing
    // columns and empty cells 0.
    std::ofstream("t.tsv")
        << "Size X\tX\tColour\tz\tANGLE\tsize_z\n 2\t-1.5 \t0x10\t-0\t-inf\t1\n\t3\t\n";
    EXPECT_EQ(qrd::importmap("t.tsv", "", "t.QRD", err), qrd::kOk);
    EXPECT_EQ(readbytes("t.QRD"),
              writerecords(std::vector{Block{-1.5f, -0.0f, 2, 1, 0, 0, -INFINITY, 16}, Block{3}}));
    // Export to a file and import it: the map file again, without a partial
    // record, of one block too; to standard output with "-o -"; as a scene, without a block
    // turned by an infinite angle.
    for (const std::string& map :
         {odd(), std::string("t.QRD"), file("one.QRD", {Block{1, 2, 3}})}) {
        EXPECT_EQ(qrd::exportmap(map, "", "back.json", out, err), qrd::kOk);
        EXPECT_EQ(qrd::importmap("back.json", "", "back.QRD", err), qrd::kOk);
        EXPECT_EQ(readbytes("back.QRD"), writerecords(readrecords(readbytes(map)))) << map;
    }
    EXPECT_EQ(qrd::exportmap("t.QRD", "obj", "-", out, err), qrd::kFailure);
    EXPECT_TRUE(said().ends_with(
        "qrd: an OBJ needs a file name (-o NAME.obj): its materials go beside it in NAME.mtl\n"));
    EXPECT_EQ(qrd::exportmap("one.QRD", "glb", "-", out, err), qrd::kOk);
    const std::string glb = said(); // its length in its header
    EXPECT_EQ(glb.substr(0, 4) + std::to_string(*reinterpret_cast<const std::uint32_t*>(&glb[8])),
              "glTF" + std::to_string(glb.size()));
    EXPECT_EQ(qrd::exportmap("t.QRD", "csv", "-", out, err), qrd::kOk);
    EXPECT_EQ(said(), header + "-1.5,-0,2,1,0,0,-inf,16\n3,0,0,0,0,0,0,0\n");
    EXPECT_EQ(qrd::exportmap("t.QRD", "", "t.glb", out, err), qrd::kOk);
    EXPECT_EQ(said(),
              "qrd: t.QRD: 1 block left out: a value not a number, infinite, or beyond 1e+06 m\n");
    std::filesystem::create_directory("folder.QRD");
    EXPECT_EQ(qrd::info({"missing.QRD", "folder.QRD"}, false, out, err), qrd::kFailure);
    EXPECT_EQ(said(),
              "qrd: missing.QRD: No such file or directory\nqrd: folder.QRD: Not a regular file\n");
    EXPECT_FALSE(std::filesystem::exists("missing.QRD"));
    for (const char* kind : {"glb", "json"}) {
        EXPECT_EQ(qrd::exportmap("missing.QRD", kind, "m", out, err), qrd::kFailure);
        EXPECT_EQ(said(), "qrd: missing.QRD: No such file or directory\n");
    }
    EXPECT_EQ(qrd::importmap("m.txt", "", "m.QRD", err), qrd::kFailure);
    EXPECT_EQ(said(), "qrd: give --format json, csv or tsv\n");
    // Many files, read ahead on other threads: the output keeps their order,
    // and a file that cannot be read among them is named and fails the run.
    std::vector<std::string> files;
    std::string expected;
    for (int size = 101; size < 141; ++size) {
        const std::string name = "m" + std::to_string(size) + ".QRD";
        files.push_back(size == 124 ? "gone.QRD" : file(name, {Block{1, 1, float(size), 1}}));
        expected += size == 124 ? ""
                                : name + ":record 1: Size X " + std::to_string(size) +
                                      " is above 100 (capped when the block is selected)\n";
    }
    EXPECT_EQ(qrd::check(files, out, err), qrd::kFailure);
    EXPECT_EQ(said(), expected + "qrd: gone.QRD: No such file or directory\n");
}
