// qrd's commands on small maps made here, with their whole outputs.
#include "document/footprint.h"
#include "document/mapcodec.h"
#include "qrd/exchange.h"
#include "qrd/qrd.h"
#include "support/qrdmaps.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <bit>
#include <filesystem>
#include <limits>

#include <fstream>
#include <sstream>

using namespace qs;
using namespace qs::test;


TEST_F(Qrd, InfoSaysWhatTheEditorWouldSee) {
    const std::string path = odd();
    EXPECT_EQ(qrd::info({path}, false, out, err), qrd::kOk);
    EXPECT_EQ(out.str(), path + "\n  records      4 (130 bytes)\n  listed run   4\n  saved run    1\n  drawn        3\n"
                                "  gaps         0\n  beyond 1000  0 ignored\n  partial      2 bytes ignored\n"
                                "  non-finite   0\n  bounding box Z -124.4038 to 136.4038, X -70.86603 to 80.86603\n");
    out.str("");
    std::vector<Block> many(1003, block(1, 1, 1, 1));
    many[1] = Block{};
    many[2].x = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(qrd::info({file("many.QRD", many)}, true, out, err), qrd::kOk);
    const auto j = nlohmann::json::parse(out.str())[0];
    EXPECT_EQ(j["records"], 1003);
    EXPECT_EQ(j["beyond1000"], 3);
    EXPECT_EQ(j["listed"], 1);
    EXPECT_EQ(j["gaps"], 1);
    EXPECT_EQ(j["nonfinite"], 1);
    EXPECT_EQ(j["drawn"], 999); // a NaN position is still drawn
}

// Angles 8 and 39 share a place in the report's cache of sines.
TEST(MapReport, TheBoxIsTheDrawnCornersWhateverTheAngles) {
    for (float first : {8.0f, 39.0f}) {
        const std::vector<Block> blocks{block(10, 10, 5, 1, 0, 1, first), block(30, -5, 6, 2, 0, 1, 47 - first)};
        const MapReport r = reportmap(writerecords(blocks));
        float zmin = 1e9f, zmax = -1e9f, xmin = 1e9f, xmax = -1e9f;
        for (const Block& b : blocks)
            for (const Corner& c : blockcorners(b)) {
                zmin = std::min(zmin, c.h), zmax = std::max(zmax, c.h);
                xmin = std::min(xmin, c.v), xmax = std::max(xmax, c.v);
            }
        EXPECT_EQ(r.zmin, zmin);
        EXPECT_EQ(r.zmax, zmax);
        EXPECT_EQ(r.xmin, xmin);
        EXPECT_EQ(r.xmax, xmax);
    }
}

TEST_F(Qrd, CheckNamesEachSurpriseByRecord) {
    const std::string path = odd();
    EXPECT_EQ(qrd::check({path}, out, err), qrd::kProblems);
    EXPECT_EQ(out.str(), path + ":record 2: a zero size ends what a save writes: the 3 listed blocks after it are "
                                "dropped by the next save\n" +
                             path + ":record 4: Size X 150 is above 100 (capped when the block is selected)\n" + path +
                             ":record 4: Bottom 2000 is above 1000 (capped when the block is selected)\n" + path +
                             ":record 5: partial record of 2 bytes is ignored\n");
    out.str("");
    const std::string gap = file("gap.QRD", {block(1, 1, 150, 1), Block{}, block(1, 1, -1, 1, 0, -2, 0, 0)});
    EXPECT_EQ(qrd::check({gap}, out, err), qrd::kProblems);
    EXPECT_EQ(out.str(), gap + ":record 1: Size X 150 is above 100 (capped when the block is selected)\n" + gap +
                             ":record 2: empty slot before later blocks: they are not listed until the map is "
                               "compacted\n" +
                             gap + ":record 3: Size X is negative (-1)\n" + gap + ":record 3: Height is negative (-2)\n");
    out.str("");
    const std::string many = file("many.QRD", std::vector<Block>(1002, block(1, 1, 1, 1)));
    EXPECT_EQ(qrd::check({many}, out, err), qrd::kProblems);
    EXPECT_EQ(out.str(), many + ":record 1001: 2 records beyond 1000 are ignored\n");
    out.str("");
    EXPECT_EQ(qrd::check({file("fine.QRD", {block(1, 1, 100, 1, 1000, 1000)})}, out, err), qrd::kOk); // at the caps
    EXPECT_EQ(out.str(), "");
}

TEST_F(Qrd, DumpAndDiffShowRowsAndExactValues) {
    Block nan = block(1, 2, 3, 4);
    nan.x = std::bit_cast<float>(0x7fc01234u);
    nan.angle = -0.0f;
    const std::string a = file("a.QRD", {block(12.5f, -3, 2, 0.5f, 0, 1.5f, 45, 0xFF0000), nan, block(1e-45f, 0, 1, 1)});
    EXPECT_EQ(qrd::dump(a, out, err), qrd::kOk);
    EXPECT_EQ(out.str(),
              "1 |  12.5    -3     2   0.5     0   1.5   45| x=12.5 z=-3 sizex=2 sizez=0.5 bottom=0 height=1.5 "
              "angle=45 colour=0xff0000\n"
              "2 |   NaN     2     3     4     0     0    0| x=nan(0x7fc01234) z=2 sizex=3 sizez=4 bottom=0 height=0 "
              "angle=-0 colour=0x000000\n"
              "3 | 1E-45     0     1     1     0     0    0| x=1e-45 z=0 sizex=1 sizez=1 bottom=0 height=0 angle=0 "
              "colour=0x000000\n");
    out.str("");
    const std::string b = file("b.QRD", {block(12.5f, -3, 2, 0.5f, 0, 1.5f, 45, 0xFF0000), block(1, 2, 3, 5)});
    EXPECT_EQ(qrd::diff(a, b, out, err), qrd::kProblems);
    EXPECT_EQ(out.str(), "~ record 2: x nan(0x7fc01234) -> 1 sizez 4 -> 5 angle -0 -> 0\n"
                         "- record 3 | 1E-45     0     1     1     0     0    0|\n");
    out.str("");
    EXPECT_EQ(qrd::diff(a, a, out, err), qrd::kOk);
    EXPECT_EQ(out.str(), "");
}

TEST_F(Qrd, FilesThatCannotBeReadAndBadUsage) {
    std::filesystem::create_directory(dir.file("folder.QRD"));
    EXPECT_EQ(qrd::info({dir.file("missing.QRD"), dir.file("folder.QRD")}, false, out, err), qrd::kFailure);
    EXPECT_EQ(err.str(), "qrd: " + dir.file("missing.QRD") + ": No such file or directory\nqrd: " +
                             dir.file("folder.QRD") + ": Not a regular file\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.QRD")));
    // Many files, read ahead on other threads: the output keeps their order,
    // and a file that cannot be read among them is named and fails the run.
    std::vector<std::string> files;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        if (i == 23) {
            files.push_back(dir.file("gone.QRD"));
            continue;
        }
        files.push_back(file("m" + std::to_string(i) + ".QRD", {block(1, 1, static_cast<float>(101 + i), 1)}));
        expected += files.back() + ":record 1: Size X " + std::to_string(101 + i) +
                    " is above 100 (capped when the block is selected)\n";
    }
    out.str("");
    err.str("");
    EXPECT_EQ(qrd::check(files, out, err), qrd::kFailure);
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(err.str(), "qrd: " + dir.file("gone.QRD") + ": No such file or directory\n");
}

TEST_F(Qrd, ImportRefusesMalformedTextWithItsPlaceAndWritesNothing) {
    const std::pair<std::string, std::string> bad[] = {
        {"a.csv", "x,z,sizex,sizez,bottom,height,angle,colour\n1,2,3,4,5,6,7,8\n1,2,abc,4,5,6,7,8\n"},
        {"b.csv", "x,z\n"},
        {"c.csv", "x,z,sizex,sizez,bottom,height,angle,colour\n1,2,3,4,5,6,7\n"},
        {"d.csv", "x,z,sizex,sizez,bottom,height,angle,colour\n1,2,3,4,5,6,7,99999999999\n"},
        {"e.json", "{\"format\": \"quarrystead map\", \"version\": 1, \"records\": [\n {\"x\": true}]}"},
        {"f.json", "{\"format\": \"quarrystead map\", \"version\": 1, \"records\": [\n {\"x\": 1,, }]}"},
        {"g.json", "{\"format\": \"quarrystead map\", \"version\": 2, \"records\": []}"},
        {"h.json", "{\"format\": \"quarrystead map\", \"version\": 1, \"records\": [{\"x\": 1}]}"}};
    const char* said[] = {":3:5: sizex is not an exact single",
                          ":1:1: the first line names the columns: x,z,sizex,sizez,bottom,height,angle,colour",
                          ":2:14: a record has 8 values",
                          ":2:15: colour is a whole number of 32 bits",
                          ":2:11: unexpected true or false",
                          ":2:10: syntax error while parsing object key - unexpected ','; expected string literal",
                          ":1:42: version 2 is not known",
                          ":1:64: record lacks \"z\""};
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        std::ofstream(dir.file(bad[i].first)) << bad[i].second;
        err.str("");
        EXPECT_EQ(qrd::importmap(dir.file(bad[i].first), "", dir.file("out.QRD"), err), qrd::kFailure);
        EXPECT_EQ(err.str(), "qrd: " + dir.file(bad[i].first) + said[i] + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.QRD")));
    // Export to a file and import it: the map file again, without its partial record.
    const std::string map = odd();
    EXPECT_EQ(qrd::exportmap(map, "", dir.file("odd.json"), out, err), qrd::kOk);
    EXPECT_EQ(qrd::importmap(dir.file("odd.json"), "", dir.file("back.QRD"), err), qrd::kOk);
    const auto bytes = readbytes(map);
    EXPECT_EQ(readbytes(dir.file("back.QRD")), std::vector<std::byte>(bytes.begin(), bytes.end() - 2));
}

