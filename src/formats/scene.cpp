#include "formats/scene.h"

#include "document/footprint.h"
#include "document/mapfile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

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

Vec facenormal(const FaceAxes& a) {
    Vec n{0, 0, 0};
    n[static_cast<std::size_t>(a.normal)] = static_cast<float>(a.sign);
    return n;
}

// A point of the box's frame in the scene: turned about Y, then moved to
// where the box stands.
std::array<double, 3> toscene(const SceneBox& b, const std::array<double, 3>& p) {
    return {b.z + p[0] * b.cosine + p[2] * b.sine, b.low + p[1],
            -b.x - p[0] * b.sine + p[2] * b.cosine};
}

bool within(double v) {
    return std::isfinite(v) && std::fabs(v) <= kSceneReach;
}

std::string colourname(std::int32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "colour_%06x", static_cast<unsigned>(colour) & 0xFFFFFFu);
    return text;
}

std::array<int, 3> channels(std::int32_t colour) {
    return {(colour >> 16) & 255, (colour >> 8) & 255, colour & 255};
}

std::string blockname(const SceneBox& b) {
    return "block " + std::to_string(b.slot + 1);
}

// Each colour's material, in the order the boxes first use them.
std::map<std::int32_t, int> materials(const Scene& scene, std::vector<std::int32_t>& order) {
    std::map<std::int32_t, int> index;
    for (const SceneBox& b : scene.boxes)
        if (index.emplace(b.colour & 0xFFFFFF, static_cast<int>(order.size())).second)
            order.push_back(b.colour & 0xFFFFFF);
    return index;
}

template <class T>
void append(std::vector<unsigned char>& data, const T* values, std::size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    data.insert(data.end(), bytes, bytes + count * sizeof(T));
}

// A value as engines read it, a single, in its shortest text: 0.1 rather
// than 0.10000000149011612.
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
        bool fits = std::isfinite(angle);
        for (int cx : {-1, 1})
            for (int cz : {-1, 1})
                for (double h : {0.0, box.high - box.low})
                    for (double v : toscene(box, {cx * box.halfx, h, cz * box.halfz}))
                        fits = fits && within(v);
        if (fits)
            scene.boxes.push_back(box);
        else
            ++scene.leftout;
    }
    return scene;
}

namespace {

std::string base64(const std::vector<unsigned char>& data) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        const auto byte = [&](std::size_t k) { return k < data.size() ? unsigned{data[k]} : 0u; };
        const unsigned n = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        out += kDigits[n >> 18 & 63];
        out += kDigits[n >> 12 & 63];
        out += i + 1 < data.size() ? kDigits[n >> 6 & 63] : '=';
        out += i + 2 < data.size() ? kDigits[n & 63] : '=';
    }
    return out;
}

void numbers(std::string& out, std::initializer_list<double> values) {
    out += '[';
    for (double v : values) {
        if (out.back() != '[') out += ',';
        number(out, v);
    }
    out += ']';
}

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(v >> (8 * i) & 255);
}

} // namespace

std::string togltf(const Scene& scene, bool binary) {
    // Two shapes every block is made of, scaled: a box from -1 to 1 across
    // and from 0 to 1 up, each face with its own corners and normal; and,
    // for blocks of no height, its top alone at 0 (two faces in one place
    // would fight). Their corners, then normals, then corner orders make
    // the one buffer.
    std::vector<Vec> corners, normals;
    std::vector<std::uint16_t> indices;
    for (std::size_t f = 0; f < kFaces.size(); ++f) {
        const auto at = static_cast<std::uint16_t>(corners.size());
        for (std::size_t k = 0; k < 4; ++k) {
            const auto s = facecorner(kFaces[f], k);
            corners.push_back(
                {static_cast<float>(s[0]), s[1] > 0 ? 1.0f : 0.0f, static_cast<float>(s[2])});
            normals.push_back(facenormal(kFaces[f]));
        }
        for (int k : {0, 1, 2, 0, 2, 3})
            indices.push_back(static_cast<std::uint16_t>(at + k));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        Vec c = corners[kTop * 4 + k];
        c[1] = 0;
        corners.push_back(c);
        normals.push_back(normals[kTop * 4 + k]);
    }
    for (int k : {0, 1, 2, 0, 2, 3})
        indices.push_back(static_cast<std::uint16_t>(k)); // from its own first corner
    std::vector<unsigned char> data;
    append(data, corners.data(), corners.size());
    append(data, normals.data(), normals.size());
    const std::size_t vertexbytes = data.size();
    append(data, indices.data(), indices.size());
    while (data.size() % 4)
        data.push_back(0);

    std::vector<std::int32_t> colours;
    const auto material = materials(scene, colours);
    // Each mesh is a shape in a colour: the box's or the top's.
    std::map<std::pair<bool, std::int32_t>, int> meshes;
    std::vector<std::pair<bool, std::int32_t>> meshorder;
    bool flats = false;
    std::string nodes = "{\"name\":\"map\"";
    if (!scene.boxes.empty()) {
        nodes += ",\"children\":[";
        for (std::size_t i = 0; i < scene.boxes.size(); ++i) {
            if (i > 0) nodes += ',';
            nodes += std::to_string(i + 1);
        }
        nodes += ']';
    }
    nodes += '}';
    for (const SceneBox& b : scene.boxes) {
        const bool flat = !(b.high > b.low);
        flats = flats || flat;
        const auto [it, made] =
            meshes.emplace(std::pair{flat, b.colour}, static_cast<int>(meshorder.size()));
        if (made) meshorder.push_back({flat, b.colour});
        nodes += ",\n{\"name\":\"" + blockname(b) + "\",\"mesh\":" + std::to_string(it->second) +
                 ",\"translation\":";
        numbers(nodes, {b.z, b.low, -b.x});
        // Turned about Y by the block's angle: half of it in the quaternion.
        if (b.sine != 0 || b.cosine != 1) {
            const double half = std::atan2(b.sine, b.cosine) / 2;
            nodes += ",\"rotation\":";
            numbers(nodes, {0, std::sin(half), 0, std::cos(half)});
        }
        nodes += ",\"scale\":";
        numbers(nodes, {b.halfx, flat ? 1 : b.high - b.low, b.halfz});
        nodes += '}';
    }

    std::string j = "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Quarrystead\"},\"scene\":0,"
                    "\"scenes\":[{\"name\":\"map\",\"nodes\":[0]}],\n\"nodes\":[\n" +
                    nodes + "]";
    if (!scene.boxes.empty()) {
        j += ",\n\"materials\":[";
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const auto rgb = channels(colours[i]);
            j += std::string(i ? ",\n" : "\n") + "{\"name\":\"" + colourname(colours[i]) +
                 "\",\"pbrMetallicRoughness\":{\"baseColorFactor\":";
            numbers(j, {linearchannel(rgb[0]), linearchannel(rgb[1]), linearchannel(rgb[2]), 1});
            j += ",\"metallicFactor\":0,\"roughnessFactor\":1}}";
        }
        // Accessors: the box's corners, normals and corner order (0 to 2),
        // then the top's (3 to 5) when a block needs it.
        j += "],\n\"meshes\":[";
        for (std::size_t i = 0; i < meshorder.size(); ++i) {
            const auto [flat, colour] = meshorder[i];
            const int a = flat ? 3 : 0;
            j += std::string(i ? ",\n" : "\n") + "{\"name\":\"" + (flat ? "top " : "box ") +
                 colourname(colour) +
                 "\",\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(a) +
                 ",\"NORMAL\":" + std::to_string(a + 1) + "},\"indices\":" + std::to_string(a + 2) +
                 ",\"material\":" + std::to_string(material.at(colour)) + "}]}";
        }
        const auto accessor = [&](std::size_t view, std::size_t offset, std::size_t count, bool vec,
                                  const char* bounds) {
            j += std::string(j.back() == '[' ? "\n" : ",\n") +
                 "{\"bufferView\":" + std::to_string(view) +
                 ",\"byteOffset\":" + std::to_string(offset) +
                 ",\"componentType\":" + (vec ? "5126" : "5123") +
                 ",\"count\":" + std::to_string(count) +
                 ",\"type\":" + (vec ? "\"VEC3\"" : "\"SCALAR\"") + bounds + "}";
        };
        j += "],\n\"accessors\":[";
        const std::size_t normalsat = corners.size() * sizeof(Vec);
        accessor(0, 0, 24, true, ",\"min\":[-1,0,-1],\"max\":[1,1,1]");
        accessor(0, normalsat, 24, true, "");
        accessor(1, 0, 36, false, "");
        if (flats) {
            accessor(0, 24 * sizeof(Vec), 4, true, ",\"min\":[-1,0,-1],\"max\":[1,0,1]");
            accessor(0, normalsat + 24 * sizeof(Vec), 4, true, "");
            accessor(1, 36 * sizeof(std::uint16_t), 6, false, "");
        }
        j += "],\n\"bufferViews\":[\n{\"buffer\":0,\"byteLength\":" + std::to_string(vertexbytes) +
             ",\"byteStride\":12,\"target\":34962},\n{\"buffer\":0,\"byteOffset\":" +
             std::to_string(vertexbytes) +
             ",\"byteLength\":" + std::to_string(indices.size() * sizeof(std::uint16_t)) +
             ",\"target\":34963}],\n\"buffers\":[{\"byteLength\":" + std::to_string(data.size()) +
             (binary ? ""
                     : ",\"uri\":\"data:application/octet-stream;base64," + base64(data) + "\"") +
             "}]";
    }
    j += "}\n";
    if (!binary) return j;

    // GLB: a header, then the JSON and the buffer as chunks, each padded to
    // four bytes (the JSON with blanks).
    while (j.size() % 4)
        j += ' ';
    const bool withbuffer = !scene.boxes.empty();
    const std::size_t length = 12 + 8 + j.size() + (withbuffer ? 8 + data.size() : 0);
    std::string out;
    out.reserve(length);
    out += "glTF";
    put32(out, 2);
    put32(out, static_cast<std::uint32_t>(length));
    put32(out, static_cast<std::uint32_t>(j.size()));
    out += "JSON";
    out += j;
    if (withbuffer) {
        put32(out, static_cast<std::uint32_t>(data.size()));
        out += std::string("BIN\0", 4);
        out.append(reinterpret_cast<const char*>(data.data()), data.size());
    }
    return out;
}

ObjFiles toobj(const Scene& scene, const std::string& mtlname) {
    ObjFiles files;
    std::vector<std::int32_t> colours;
    materials(scene, colours);
    for (std::int32_t c : colours) {
        const auto rgb = channels(c);
        files.mtl += "newmtl " + colourname(c) + "\nKd";
        for (int v : rgb)
            files.mtl += " ", number(files.mtl, v / 255.0);
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
                for (double v : p)
                    o += " ", number(o, v);
                o += "\n";
            }
        for (const FaceAxes& f : kFaces) {
            const Vec n = facenormal(f);
            std::array<double, 3> d{n[0] * b.cosine + n[2] * b.sine, n[1],
                                    -n[0] * b.sine + n[2] * b.cosine};
            o += "vn";
            for (double v : d)
                o += " ", number(o, v);
            o += "\n";
        }
        // Each face's corners by number, counter-clockwise seen from
        // outside as in the glTF box.
        for (std::size_t f = 0; f < kFaces.size(); ++f) {
            if (flat && static_cast<int>(f) != kTop) continue;
            std::array<std::string, 4> k;
            for (std::size_t i = 0; i < 4; ++i) {
                const auto signs = facecorner(kFaces[f], i);
                k[i] = std::to_string(vertices + cornernumber(signs[0], signs[1], signs[2])) +
                       "//" + std::to_string(normals + f + 1);
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
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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

FileResult writescene(FileSystem& files, const std::string& path, SceneKind kind,
                      const Scene& scene) {
    const auto bytes = [](const std::string& text) {
        return std::span<const std::byte>(reinterpret_cast<const std::byte*>(text.data()),
                                          text.size());
    };
    if (kind != SceneKind::Obj)
        return writemapfile(files, path, bytes(togltf(scene, kind == SceneKind::Glb)));
    const std::string mtl = mtlpath(path);
    const ObjFiles obj = toobj(scene, filetitle(mtl));
    const FileResult written = writemapfile(files, mtl, bytes(obj.mtl));
    if (!written.ok) return {false, filetitle(mtl) + ": " + written.reason};
    return writemapfile(files, path, bytes(obj.obj));
}

} // namespace qs::formats
