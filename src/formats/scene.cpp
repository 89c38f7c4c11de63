#include "formats/scene.h"

#include "document/footprint.h"
#include "document/mapfile.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <sstream>

namespace qs::formats {

namespace {

using Vec = std::array<float, 3>;

// The six faces of a box, each as its outward normal and two directions
// across it whose cross product is the normal, so that the corners
// (-u-v, +u-v, +u+v, -u+v) go counter-clockwise seen from outside.
struct FaceAxes {
    int normal, sign, u, v;
};
constexpr std::array<FaceAxes, 6> kFaces{{
    {0, +1, 1, 2}, // +X
    {0, -1, 2, 1}, // -X
    {1, +1, 2, 0}, // +Y, the top
    {1, -1, 0, 2}, // -Y
    {2, +1, 0, 1}, // +Z
    {2, -1, 1, 0}, // -Z
}};
constexpr int kTop = 2;

// Which side of the box's middle each axis of a face's corner `k` lies on
// (-1 or 1), corners going (-u-v, +u-v, +u+v, -u+v).
std::array<int, 3> facecorner(const FaceAxes& a, std::size_t k) {
    constexpr int du[4] = {-1, 1, 1, -1}, dv[4] = {-1, -1, 1, 1};
    std::array<int, 3> s{};
    s[static_cast<std::size_t>(a.normal)] = a.sign;
    s[static_cast<std::size_t>(a.u)] = du[k];
    s[static_cast<std::size_t>(a.v)] = dv[k];
    return s;
}

// An OBJ box's corners are numbered 1 to 4 below and 5 to 8 above, each
// going (-X -Z), (+X -Z), (+X +Z), (-X +Z) of the box's frame.
std::size_t cornernumber(int x, int y, int z) {
    const std::size_t around = z < 0 ? (x < 0 ? 1 : 2) : (x > 0 ? 3 : 4);
    return around + (y > 0 ? 4 : 0);
}

// A box's 24 corners (four for each face, so each face has its own
// normal) in its own frame: X from -halfx to halfx along Size X, Y from 0
// to the height, Z from -halfz to halfz along Size Z.
std::array<Vec, 24> localcorners(const SceneBox& b) {
    const double half[3] = {b.halfx, (b.high - b.low) / 2, b.halfz};
    std::array<Vec, 24> out{};
    for (std::size_t f = 0; f < kFaces.size(); ++f)
        for (std::size_t k = 0; k < 4; ++k) {
            const auto s = facecorner(kFaces[f], k);
            out[f * 4 + k] = {static_cast<float>(s[0] * half[0]), static_cast<float>(half[1] + s[1] * half[1]),
                              static_cast<float>(s[2] * half[2])};
        }
    return out;
}

Vec facenormal(const FaceAxes& a) {
    Vec n{0, 0, 0};
    n[static_cast<std::size_t>(a.normal)] = static_cast<float>(a.sign);
    return n;
}

// A point of the box's frame in the scene: turned about Y, then moved to
// where the box stands.
std::array<double, 3> toscene(const SceneBox& b, const std::array<double, 3>& p) {
    return {b.z + p[0] * b.cosine + p[2] * b.sine, b.low + p[1], -b.x - p[0] * b.sine + p[2] * b.cosine};
}

bool within(double v) { return std::isfinite(v) && std::fabs(v) <= kSceneReach; }

std::string colourname(std::int32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "colour_%06x", static_cast<unsigned>(colour) & 0xFFFFFFu);
    return text;
}

std::array<int, 3> channels(std::int32_t colour) {
    return {(colour >> 16) & 255, (colour >> 8) & 255, colour & 255};
}

std::string blockname(const SceneBox& b) { return "block " + std::to_string(b.slot + 1); }


// Each colour's material, in the order the boxes first use them.
std::map<std::int32_t, int> materials(const Scene& scene, std::vector<std::int32_t>& order) {
    std::map<std::int32_t, int> index;
    for (const SceneBox& b : scene.boxes)
        if (index.emplace(b.colour & 0xFFFFFF, static_cast<int>(order.size())).second) order.push_back(b.colour & 0xFFFFFF);
    return index;
}

template <class T> void append(std::vector<unsigned char>& data, const T* values, std::size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    data.insert(data.end(), bytes, bytes + count * sizeof(T));
}

void number(std::string& out, double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<float>(v)).ptr;
    out.append(text, end);
}

} // namespace

double linearchannel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Scene scenefrom(const BlockTable& table, float mind, float maxd) {
    Scene scene;
    for (int slot = 0; slot < kSlots; ++slot) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        if (!drawnwithin(b, mind, maxd)) continue;
        // Heights and the turn as the 3D view works them out.
        const double bottom = b.bottom, top = static_cast<float>(b.bottom + b.height);
        const double angle = b.angle * kDegToRad;
        SceneBox box{slot,
                     b.z,
                     b.x,
                     std::min(bottom, top),
                     std::max(bottom, top),
                     b.sizex,
                     b.sizez,
                     std::cos(angle),
                     std::sin(angle),
                     b.colour & 0xFFFFFF};
        bool fits = std::isfinite(box.cosine) && std::isfinite(box.sine);
        for (int cx : {-1, 1})
            for (int cz : {-1, 1})
                for (double h : {0.0, box.high - box.low})
                    for (double v : toscene(box, {cx * box.halfx, h, cz * box.halfz})) fits = fits && within(v);
        if (fits) scene.boxes.push_back(box);
        else ++scene.leftout;
    }
    return scene;
}

std::string togltf(const Scene& scene, bool binary) {
    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = "Quarrystead";
    tinygltf::Scene root;
    root.name = "map";
    tinygltf::Node map;
    map.name = "map";
    model.nodes.push_back(map);
    root.nodes.push_back(0);
    model.scenes.push_back(root);
    model.defaultScene = 0;
    if (scene.boxes.empty()) {
        std::ostringstream out;
        tinygltf::TinyGLTF().WriteGltfSceneToStream(&model, out, !binary, binary);
        return out.str();
    }

    std::vector<std::int32_t> colours;
    const auto material = materials(scene, colours);
    for (std::int32_t c : colours) {
        tinygltf::Material m;
        m.name = colourname(c);
        const auto rgb = channels(c);
        m.pbrMetallicRoughness.baseColorFactor = {linearchannel(rgb[0]), linearchannel(rgb[1]),
                                                  linearchannel(rgb[2]), 1.0};
        m.pbrMetallicRoughness.metallicFactor = 0;
        m.pbrMetallicRoughness.roughnessFactor = 1;
        model.materials.push_back(m);
    }

    // The buffer: the normals and the corner orders every box shares, then
    // each box's corners.
    std::vector<unsigned char> data;
    std::array<Vec, 24> normals{};
    for (std::size_t f = 0; f < kFaces.size(); ++f)
        for (std::size_t k = 0; k < 4; ++k) normals[f * 4 + k] = facenormal(kFaces[f]);
    append(data, normals.data(), normals.size());
    std::array<std::uint16_t, 36> order{};
    for (std::uint16_t f = 0; f < 6; ++f) {
        const std::uint16_t o = static_cast<std::uint16_t>(f * 4);
        const std::uint16_t face[6] = {o, static_cast<std::uint16_t>(o + 1), static_cast<std::uint16_t>(o + 2),
                                       o, static_cast<std::uint16_t>(o + 2), static_cast<std::uint16_t>(o + 3)};
        std::copy(std::begin(face), std::end(face), order.begin() + f * 6);
    }
    // A box of no height is its top alone: two faces in one place would fight.
    std::vector<std::uint16_t> indices(order.begin(), order.end());
    indices.insert(indices.end(), order.begin() + kTop * 6, order.begin() + kTop * 6 + 6);
    std::vector<unsigned char> indexdata;
    append(indexdata, indices.data(), indices.size());
    const std::size_t cornerstart = data.size();
    data.reserve(data.size() + scene.boxes.size() * 24 * sizeof(Vec) + indexdata.size());
    for (const SceneBox& b : scene.boxes) {
        const auto corners = localcorners(b);
        append(data, corners.data(), corners.size());
    }
    const std::size_t indexoffset = data.size();
    data.insert(data.end(), indexdata.begin(), indexdata.end());
    while (data.size() % 4) data.push_back(0);

    tinygltf::Buffer buffer;
    buffer.data = std::move(data);
    model.buffers.push_back(std::move(buffer));
    tinygltf::BufferView vertices;
    vertices.buffer = 0;
    vertices.byteOffset = 0;
    vertices.byteLength = indexoffset;
    vertices.byteStride = sizeof(Vec);
    vertices.target = TINYGLTF_TARGET_ARRAY_BUFFER;
    tinygltf::BufferView faces;
    faces.buffer = 0;
    faces.byteOffset = indexoffset;
    faces.byteLength = indices.size() * sizeof(std::uint16_t);
    faces.target = TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER;
    model.bufferViews = {vertices, faces};

    auto accessor = [&](int view, std::size_t offset, int component, std::size_t count, int type) {
        tinygltf::Accessor a;
        a.bufferView = view;
        a.byteOffset = offset;
        a.componentType = component;
        a.count = count;
        a.type = type;
        model.accessors.push_back(a);
        return static_cast<int>(model.accessors.size() - 1);
    };
    const int normal = accessor(0, 0, TINYGLTF_COMPONENT_TYPE_FLOAT, 24, TINYGLTF_TYPE_VEC3);
    const int whole = accessor(1, 0, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, 36, TINYGLTF_TYPE_SCALAR);
    int toponly = -1; // made for the first box of no height


    model.meshes.reserve(scene.boxes.size());
    model.nodes.reserve(scene.boxes.size() + 1);
    std::size_t offset = cornerstart;
    for (const SceneBox& b : scene.boxes) {
        const auto corners = localcorners(b);
        const int position = accessor(0, offset, TINYGLTF_COMPONENT_TYPE_FLOAT, 24, TINYGLTF_TYPE_VEC3);
        offset += corners.size() * sizeof(Vec);
        std::vector<double> lo(3, 0), hi(3, 0);
        for (std::size_t i = 0; i < 3; ++i) {
            lo[i] = hi[i] = corners[0][i];
            for (const Vec& c : corners) lo[i] = std::min<double>(lo[i], c[i]), hi[i] = std::max<double>(hi[i], c[i]);
        }
        model.accessors.back().minValues = lo;
        model.accessors.back().maxValues = hi;

        tinygltf::Primitive p;
        p.attributes["POSITION"] = position;
        p.attributes["NORMAL"] = normal;
        if (!(b.high > b.low) && toponly < 0)
            toponly = accessor(1, 36 * sizeof(std::uint16_t), TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, 6,
                               TINYGLTF_TYPE_SCALAR);
        p.indices = b.high > b.low ? whole : toponly;
        p.material = material.at(b.colour & 0xFFFFFF);
        p.mode = TINYGLTF_MODE_TRIANGLES;
        tinygltf::Mesh mesh;
        mesh.name = blockname(b);
        mesh.primitives.push_back(std::move(p));
        model.meshes.push_back(std::move(mesh));

        tinygltf::Node node;
        node.name = blockname(b);
        node.mesh = static_cast<int>(model.meshes.size() - 1);
        node.translation = {b.z, b.low, -b.x};
        // Turned about Y by the block's angle: half of it in the quaternion.
        if (b.sine != 0 || b.cosine != 1) {
            const double half = std::atan2(b.sine, b.cosine) / 2;
            node.rotation = {0, std::sin(half), 0, std::cos(half)};
        }
        model.nodes[0].children.push_back(static_cast<int>(model.nodes.size()));
        model.nodes.push_back(std::move(node));
    }
    std::ostringstream out;
    tinygltf::TinyGLTF().WriteGltfSceneToStream(&model, out, !binary, binary);
    return out.str();
}

ObjFiles toobj(const Scene& scene, const std::string& mtlname) {
    ObjFiles files;
    std::vector<std::int32_t> colours;
    materials(scene, colours);
    for (std::int32_t c : colours) {
        const auto rgb = channels(c);
        files.mtl += "newmtl " + colourname(c) + "\nKd";
        for (int v : rgb) files.mtl += " ", number(files.mtl, v / 255.0);
        files.mtl += "\nKs 0 0 0\nillum 1\n\n";
    }
    std::string& o = files.obj;
    o = "# Quarrystead map: one metre a unit, Y up\nmtllib " + mtlname + "\n";
    o.reserve(o.size() + scene.boxes.size() * 700);
    std::size_t vertices = 0, normals = 0;
    for (const SceneBox& b : scene.boxes) {
        // OBJ readers end a name at a blank.
        o += "\no block_" + std::to_string(b.slot + 1) + "\nusemtl " + colourname(b.colour) + "\n";
        const bool flat = !(b.high > b.low);
        // The eight corners, bottom then top, then each face's normal.
        for (double h : {0.0, b.high - b.low})
            for (const auto& [cx, cz] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
                const auto p = toscene(b, {cx * b.halfx, h, cz * b.halfz});
                o += "v";
                for (double v : p) o += " ", number(o, v);
                o += "\n";
            }
        for (const FaceAxes& f : kFaces) {
            const Vec n = facenormal(f);
            std::array<double, 3> d{n[0] * b.cosine + n[2] * b.sine, n[1], -n[0] * b.sine + n[2] * b.cosine};
            o += "vn";
            for (double v : d) o += " ", number(o, v);
            o += "\n";
        }
        // Each face's corners by number, counter-clockwise seen from
        // outside as in the glTF box.
        for (std::size_t f = 0; f < kFaces.size(); ++f) {
            if (flat && static_cast<int>(f) != kTop) continue;
            std::array<std::string, 4> k;
            for (std::size_t i = 0; i < 4; ++i) {
                const auto signs = facecorner(kFaces[f], i);
                k[i] = std::to_string(vertices + cornernumber(signs[0], signs[1], signs[2])) + "//" +
                       std::to_string(normals + f + 1);
            }
            o += "f " + k[0] + " " + k[1] + " " + k[2] + "\n";
            o += "f " + k[0] + " " + k[2] + " " + k[3] + "\n";
        }
        vertices += 8;
        normals += 6;
    }
    return files;
}

std::optional<SceneKind> scenekind(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "gltf") return SceneKind::Gltf;
    if (lower == "glb") return SceneKind::Glb;
    if (lower == "obj") return SceneKind::Obj;
    return std::nullopt;
}

std::string mtlpath(const std::string& objpath) {
    const auto slash = objpath.find_last_of('/');
    const auto dot = objpath.find_last_of('.');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (extension ? objpath.substr(0, dot) : objpath) + ".mtl";
}

FileResult writescene(FileSystem& files, const std::string& path, SceneKind kind, const Scene& scene) {
    const auto bytes = [](const std::string& text) {
        return std::span<const std::byte>(reinterpret_cast<const std::byte*>(text.data()), text.size());
    };
    if (kind != SceneKind::Obj) return writemapfile(files, path, bytes(togltf(scene, kind == SceneKind::Glb)));
    const std::string mtl = mtlpath(path);
    const ObjFiles obj = toobj(scene, filetitle(mtl));
    const FileResult written = writemapfile(files, mtl, bytes(obj.mtl));
    if (!written.ok) return {false, filetitle(mtl) + ": " + written.reason};
    return writemapfile(files, path, bytes(obj.obj));
}

} // namespace qs::formats
