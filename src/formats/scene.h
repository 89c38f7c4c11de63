#pragma once
// The drawn blocks as boxes for game engines and modellers: glTF (JSON with
// its buffer inside, or binary), and OBJ with its MTL.
//
// One map unit is one metre. A map point (Z across, X up) and a height are
// (Z, height, -X) in the scene: Y is up, and a top view looking down -Y with
// +X to the right shows the map as the map window does. A box stands from
// its Bottom to Bottom + Height, Size X and Size Z are its half-extents, and
// its angle turns it counter-clockwise seen from above, as on the map.
#include "document/block.h"
#include "document/filesystem.h"
#include "document/mapfile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs::formats {

// One block's box: its slot (named "block N" after its row, N = slot + 1),
// where it stands, how it is turned and its extents.
struct SceneBox {
    int slot = 0;
    double z = 0, x = 0;      // its centre on the map
    double low = 0, high = 0; // its lowest and highest height
    double halfx = 0, halfz = 0;
    double cosine = 1, sine = 0; // of its angle, as the 3D view turns it
    std::int32_t colour = 0;     // red * 65536 + green * 256 + blue
};

// Corners farther than this from the origin, in metres, are beyond what an
// engine can place: such blocks are left out.
inline constexpr double kSceneReach = 1e6;

struct Scene {
    std::vector<SceneBox> boxes;
    int leftout = 0; // drawn blocks with a value that is not a number, infinite, or beyond reach
};

// The blocks the 3D view draws with the depth window from `mind` to `maxd`,
// in slot order.
Scene scenefrom(const BlockTable& table, float mind, float maxd);

// The bytes of a glTF file: JSON with its buffer inside as a data URI, or
// binary (GLB). Each box is a node named after its row under one node
// "map", with a mesh of its own (normals and corner order shared), and
// one material per colour.
std::string togltf(const Scene& scene, bool binary);

// An OBJ file and its MTL, which the OBJ names as `mtlname` (a file beside
// it): one object per box, "block_N", with its faces' normals, and one
// material per colour, its Kd the colour as shown (channel / 255).
struct ObjFiles {
    std::string obj, mtl;
};
ObjFiles toobj(const Scene& scene, const std::string& mtlname);

enum class SceneKind { Gltf, Glb, Obj };
// "gltf", "glb" or "obj", in any case; nothing for anything else.
std::optional<SceneKind> scenekind(std::string_view name);

// Where an OBJ's MTL goes: beside it, its name ending in ".mtl".
std::string mtlpath(const std::string& objpath);

// Writes the scene's file (and an OBJ's MTL), each put in place only when
// complete.
FileResult writescene(FileSystem& files, const std::string& path, SceneKind kind,
                      const Scene& scene);

// A colour's channel from 0 to 255 as glTF's linear factor.
double linearchannel(int value);

} // namespace qs::formats
