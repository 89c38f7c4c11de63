// Blocks in and out: the readers' faults, scenes for game engines read back
// by an independent reader (Assimp) and checked against their own bounds.
#include "formats/clipboard.h"
#include "formats/scene.h"
#include "support/tempdir.h"
#include "support/transcript.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

namespace qs::test {
namespace {

using Points = std::vector<aiVector3D>;

// Where a block's box should be: its rectangle turned counter-clockwise on
// the map (Z across, X up), seen as (Z, height, -X).
Points expected(const Block& b) {
    Points out;
    const double a = b.angle * M_PI / 180;
    for (int u : {-1, 1})
        for (int v : {-1, 1}) {
            const double du = u * double(b.sizex), dv = v * double(b.sizez);
            const double z = b.z + du * std::cos(a) - dv * std::sin(a),
                         x = b.x + du * std::sin(a) + dv * std::cos(a);
            for (double h : {double(b.bottom), double(float(b.bottom + b.height))})
                out.emplace_back(z, h, -x);
        }
    return out;
}

// Whether every point of `a` lies on a point of `b`.
bool within(const Points& a, const Points& b, float near = 1e-4f) {
    return std::ranges::all_of(a, [&](const aiVector3D& p) {
        return std::ranges::any_of(b, [&](const auto& q) { return (p - q).Length() < near; });
    });
}

// A block's triangles in the scene: three corners each, with their normals.
struct Found {
    Points corners, normals;
    aiColor4D colour;
    int meshes = 0;
};

// `p` places the node's parent in the scene.
void collect(const aiScene* s, const aiNode* n, aiMatrix4x4 p, std::map<std::string, Found>& out) {
    const aiMatrix4x4 whole = p * n->mTransformation;
    std::string name = n->mName.C_Str();
    std::replace(name.begin(), name.end(), '_', ' ');
    for (unsigned m = 0; name.rfind("block", 0) == 0 && m < n->mNumMeshes; ++m) {
        const aiMesh* mesh = s->mMeshes[n->mMeshes[m]];
        Found& f = out[name];
        ++f.meshes;
        ASSERT_TRUE(mesh->HasNormals()) << name;
        for (unsigned t = 0; t < mesh->mNumFaces; ++t)
            for (unsigned k = 0; k < 3 && mesh->mFaces[t].mNumIndices == 3; ++k) {
                const unsigned v = mesh->mFaces[t].mIndices[k];
                f.corners.push_back(whole * mesh->mVertices[v]);
                f.normals.push_back((aiMatrix3x3(whole) * mesh->mNormals[v]).Normalize());
            }
        s->mMaterials[mesh->mMaterialIndex]->Get(AI_MATKEY_COLOR_DIFFUSE, f.colour);
    }
    for (unsigned c = 0; c < n->mNumChildren; ++c)
        collect(s, n->mChildren[c], whole, out);
}

// What a JSON text may not be, with the column it is found at; the scene's
// reach, the clipboard's records, linear colours and the scene kinds by name.
// (The glTF validator checks the exported files' accessors and views: see
// tests/export.)
TEST(Formats, JsonFaultsReachClipboardRecordsAndSceneKinds) {
    // Each fault and what is taken: "" for taken.
    const std::string h = R"({"format": "quarrystead map", "version": 1, "records": [)";
    const std::string r = R"({"x": 1, "z": 2, "sizex": 3, "sizez": 4, "bottom": 5, )"
                          R"("height": 6, "angle": 7, "colour": )";
    const std::pair<std::string, std::string> cases[] = {
        {h + r + "-2147483648}]}", ""},
        {h + r + R"("red"}]})", R"(150: colour "red" is not a whole number)"},
        {h + r + "2147483648}]}", "155: colour 2147483648 is beyond 32 bits"},
        {h + r + "1.5}]}", "148: colour 1.5 is not a whole number"},
        {h + r + "1, \"x\": 2}]}", R"(151: "x" given twice)"},
        {h + R"({"z": 1}]})", R"(64: record lacks "x")"},
        {h + r.substr(0, 52) + "}]}", R"(109: record lacks "height")"},
        {R"({"version": 2})", "13: version 2 is not known"},
        {R"({"version": 1.5})", "15: the version is a whole number, not 1.5"},
        {R"({"version": [1]})", R"(13: unexpected an array for "version")"},
        {R"({"format": {"a": 1}})", R"(12: unexpected an object for "format")"},
        {R"({"version": 1, "records": []})",
         R"(29: a map's JSON has "format", "version" and "records")"},
        {h + "[1]]}", "57: unexpected an array"},
        {h + R"({"x": 1, "y": 2}]})", R"(68: unknown field "y")"},
        {h + R"({"x": 1e39}]})", R"(66: x "1e39" is beyond the range of a single)"},
        {R"({"version": 1,)",
         "15: found the end of the text where a name or text in quotes should be"},
        {R"({"version" true})", "15: found true where ':' should be"},
        {R"({"version": -})", "14: found a number that is not written as JSON writes numbers"},
        {"\xEF\xBB{}", "3: invalid BOM; must be 0xEF 0xBB 0xBF if given"},
        {R"({"version": "1"})", R"(15: unexpected a text for "version")"},
        {R"({"version": tru})",
         "16: found a word that is not JSON (only true, false and null are)"},
        {h + r + "2147483647}]}", ""}};
    formats::TextFault fault;
    for (const auto& [text, why] : cases) {
        const auto blocks = formats::fromjson(text, fault);
        EXPECT_EQ(blocks ? "" : std::to_string(fault.column) + ": " + fault.what, why) << text;
    }
    // The reader stops at the end of its text, whatever follows it: here the
    // first 14 characters of a whole map's text.
    EXPECT_FALSE(formats::fromjson(std::string_view(cases[11].first).substr(0, 14), fault));
    EXPECT_EQ(fault.what, "found the end of the text where a name or text in quotes should be");
    // What the program writes as JSON it reads back.
    const std::vector<Block> two{Block{1, 2, 3, 4}, Block{5, 6, 7, 8, 0, 0, -0.0f}};
    EXPECT_EQ(formats::fromjson(formats::tojson(two), fault), two);
    // Corners exactly at the reach on every side, and a top there, are kept;
    // a corner past it is not.
    const Block sides[] = {{999995, 0, 5, 5},       {-999995, 0, 5, 5}, {0, 999995, 5, 5},
                           {0, -999995, 5, 5},      {999996, 0, 5, 5},  {0, -999996, 5, 5},
                           {0, 0, 1, 1, 999990, 10}};
    BlockTable edges{};
    std::copy(std::begin(sides), std::end(sides), edges.begin());
    EXPECT_EQ(formats::scenefrom(edges, -INFINITY, INFINITY).leftout, 2);
    // The clipboard's own records are taken whole or not at all.
    const std::string records = formats::torecords(two);
    EXPECT_EQ(formats::frompaste(records, "ignored", fault)->size(), 2u);
    EXPECT_FALSE(formats::frompaste(records.substr(1), {}, fault));
    EXPECT_EQ(fault.what, "the blocks on the clipboard are cut short");
    // A colour's channels made linear: a straight line near black, a curve above.
    for (const auto& [value, linear] :
         {std::pair{0, 0.0}, {10, 10 / 255.0 / 12.92}, {128, 0.215861}, {255, 1.0}})
        EXPECT_NEAR(formats::linearchannel(value), linear, 1e-6) << value;
    using enum formats::SceneKind;
    for (const auto& [name, kind] : {std::pair{"GLB", Glb}, {"gltf", Gltf}, {"Obj", Obj}})
        EXPECT_EQ(formats::scenekind(name), kind);
    EXPECT_FALSE(formats::scenekind("json"));
    for (const auto& [obj, mtl] :
         {std::pair{"a/b.obj", "a/b.mtl"}, {"a.b/c", "a.b/c.mtl"}, {"c", "c.mtl"}})
        EXPECT_EQ(formats::mtlpath(obj), mtl);
}

TEST(Export, EnginesReadEveryDrawnBlockWhereTheViewsShowItInItsColour) {
    const BlockTable table{{
        {10, 5, 2, 3, 0, 4, 30, 0xff0000},       // block 1, turned
        {20, 5, 2, 3, 0, 0, 0, 0x00ff00},        // 2: no height, its top alone
        {30, 5, -2, 3, 0, 4, 0, 0x0000ff},       // 3: not drawn
        {40, 5, 2, 3, 5, -4, 45, 0xff0000},      // 4: downwards, shares red
        {1e30f, 5, 2, 3, 0, 4, 0, 0xffffff},     // left out
        {NAN, 5, 2, 3, 0, 4, 0, 0xffffff},       // left out
        {50, 5, 2, 3, 0, INFINITY, 0, 0xffffff}, // left out
        {60, -5, 0.5f, 7, 1, 2, -100, 0x2080c0}, // 8
        {0, -999998, 5, 5, 0, 1, 0, 0x2080c0},   // 9: a corner beyond reach
        {-999995, 0, 5, 5, 0, 1, 0, 0x2080c0},   // 10: a corner at the reach
    }};
    const formats::Scene scene = formats::scenefrom(table, -INFINITY, INFINITY);
    EXPECT_EQ(scene.leftout, 4);
    ASSERT_EQ(scene.boxes.size(), 5u);

    TempDir dir;
    for (const char* kind : {"glb", "gltf", "obj"}) {
        SCOPED_TRACE(kind);
        const std::string path = dir.file(std::string("map.") + kind);
        ASSERT_TRUE(formats::writescene(systemfiles(), path, *formats::scenekind(kind), scene).ok);
        Assimp::Importer importer;
        const aiScene* s = importer.ReadFile(path, 0);
        ASSERT_NE(s, nullptr) << importer.GetErrorString();
        std::map<std::string, Found> found;
        collect(s, s->mRootNode, aiMatrix4x4(), found);
        ASSERT_EQ(found.size(), 5u);
        // glTF's colours are linear, OBJ's as shown.
        const bool linear = std::string(kind) != "obj";
        for (int slot : {0, 1, 3, 7, 9}) {
            const Block& b = table[static_cast<std::size_t>(slot)];
            const Found& f = found["block " + std::to_string(slot + 1)];
            SCOPED_TRACE(slot);
            // A box's six faces, or a top alone, two triangles each: corners
            // the block's own, counter-clockwise seen from outside, where
            // each corner's normal points.
            EXPECT_EQ(f.meshes, 1);
            EXPECT_EQ(f.corners.size(), b.height == 0 ? 6u : 36u);
            EXPECT_TRUE(within(f.corners, expected(b)) && within(expected(b), f.corners));
            // The box's middle, or a point below a top alone.
            const aiVector3D middle(b.z, b.bottom + (b.height == 0 ? -1 : b.height / 2), -b.x);
            for (std::size_t t = 0; t < f.corners.size(); t += 3) {
                const aiVector3D* c = &f.corners[t];
                const aiVector3D face = ((c[1] - c[0]) ^ (c[2] - c[0])).Normalize();
                EXPECT_TRUE(within({&f.normals[t], &f.normals[t] + 3}, {face}, 1e-3f)) << t / 3;
                EXPECT_GT((c[0] - middle) * face, 0) << t / 3;
                if (t % 6) continue;
                // A face's two triangles share its diagonal, its longest line.
                Points both;
                float longest = 0;
                for (int i = 0; i < 6; ++i)
                    for (int j = 0; j < 6; ++j) {
                        longest = std::max(longest, (c[i] - c[j]).Length());
                        if (i < 3 && j >= 3 && (c[i] - c[j]).Length() < 1e-4f) both.push_back(c[i]);
                    }
                ASSERT_EQ(both.size(), 2u) << t / 3;
                EXPECT_NEAR((both[0] - both[1]).Length(), longest, 1e-4f) << t / 3;
            }
            for (unsigned i = 0; i < 3; ++i) {
                const double c = (b.colour >> (16 - 8 * i) & 255) / 255.0;
                EXPECT_NEAR(f.colour[i], linear ? std::pow(c, 2.2) : c, linear ? 0.01 : 1e-6) << i;
            }
        }
        // One material per colour, shared by the blocks that have it (the
        // reader adds a default one of its own).
        int colours = 0;
        for (unsigned m = 0; m < s->mNumMaterials; ++m)
            colours += std::string(s->mMaterials[m]->GetName().C_Str()).starts_with("colour_");
        EXPECT_EQ(colours, 3);
    }
}

// The window's Export: the blocks within its depth window, to the file its
// dialog names, whose ending chooses the kind.
TEST_F(Started, ExportWritesTheShownBlocksAndSaysWhatItLeftOut) {
    run("put 0 1 1 1 1 0 1; put 1 1e30 1 1 1 600 1; put 2 1 1 1 1 500 1; refreshlist");
    play({{"export a.glb", "status=Exported 2 blocks: a.glb (1 left out: a value not a number, "
                           "infinite or beyond 1000 km)"},
          {"set MaxD 100; export b.obj", "status=Exported 1 block: b.obj; steps=0"},
          {"export c.txt",
           "status=Not exported: c.txt (its name must end in .glb, .gltf or .obj)"}});
    EXPECT_EQ(h.filedialog.suggested, dir.file("b.obj")); // a map of no file: the last export
    EXPECT_EQ(dir.names().size(), 3u);                    // a.glb, b.obj, b.mtl
    h.files.failat = FaultyFiles::Step::CreateTemp;
    play({{"export d.gltf", "status=Could not export: d.gltf (Input/output error)"},
          {"export e.obj", "status=Could not export: e.obj (e.mtl: Input/output error)"}});
    h.files.failat = FaultyFiles::Step::None;
    run("save castle.QRD; export castle.glb");
    // The map's name, the last kind's ending.
    EXPECT_EQ(h.filedialog.suggested, dir.file("castle.obj"));
}

} // namespace
} // namespace qs::test
