// qrd: map files from the command line. Each command's --help says more.
#include "qrd/qrd.h"
#include "qrd/render.h"

#include <CLI/CLI.hpp>
#include <dlfcn.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <linux/limits.h>

namespace {

using RenderEntry = int(const std::string*, const std::string*, const qs::qrd::RenderOptions*,
                        std::ostream*);

// Pictures come from a module beside the program (the build folder) or in
// the installed library folder, loaded only when asked for.
int renderwithmodule(const std::string& file, const std::string& to,
                     const qs::qrd::RenderOptions& look) {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    folder = folder.substr(0, folder.find_last_of('/') + 1);
    std::string tried;
    for (const std::string& path :
         {folder + "qrd-render.so", folder + QS_MODULE_FROM_BIN "/qrd-render.so"}) {
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            tried += std::string("\n  ") + dlerror();
            continue;
        }
        auto* entry = reinterpret_cast<RenderEntry*>(dlsym(module, "qrd_render_module"));
        if (entry) return entry(&file, &to, &look, &std::cerr);
        tried += "\n  " + path + ": not qrd's picture module";
    }
    std::cerr << "qrd: cannot draw pictures without its module:" << tried << "\n";
    return qs::qrd::kFailure;
}

// "MIN-MAX", both numbers, MIN at most MAX.
bool depthwindow(const std::string& text, float& mind, float& maxd, std::ostream& err) {
    float lo = 0, hi = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%f-%f%n", &lo, &hi, &used) != 2 ||
        used != static_cast<int>(text.size()) || !std::isfinite(lo) || !std::isfinite(hi)) {
        err << "qrd: --depth is MIN-MAX, as 100-600\n";
        return false;
    }
    if (lo > hi) {
        err << "qrd: --depth " << text << " shows nothing: MIN is above MAX\n";
        return false;
    }
    mind = lo, maxd = hi;
    return true;
}

// "WxH", both whole numbers from 1 to 16384.
bool picturesize(const std::string& text, int& width, int& height, std::ostream& err) {
    int w = 0, h = 0, used = 0;
    if (std::sscanf(text.c_str(), "%dx%d%n", &w, &h, &used) != 2 ||
        used != static_cast<int>(text.size()) || w < 1 || h < 1 || w > 16384 || h > 16384) {
        err << "qrd: --size is WxH, each 1 to 16384, as 800x600\n";
        return false;
    }
    width = w, height = h;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using namespace qs::qrd;
    CLI::App app{"Map files from the command line: look into them, check them, compare them."};
    app.name("qrd");
    app.set_version_flag("--version", std::string("qrd ") + QS_VERSION);
    app.require_subcommand(1);

    std::vector<std::string> files;
    bool json = false;
    auto* infocmd = app.add_subcommand("info", "What each map file holds, as the editor sees it");
    infocmd->add_option("FILE", files, "Map files")->required();
    infocmd->add_flag("--json", json, "The same as JSON");
    auto* checkcmd =
        app.add_subcommand("check", "What in each map file would surprise a person, one line each");
    checkcmd->add_option("FILE", files, "Map files")->required();
    std::string file, other;
    auto* dumpcmd =
        app.add_subcommand("dump", "One line per listed block: its row and its exact values");
    dumpcmd->add_option("FILE", file, "A map file")->required();
    auto* diffcmd = app.add_subcommand("diff", "The blocks added, removed and changed from A to B");
    diffcmd->add_option("A", file, "A map file")->required();
    diffcmd->add_option("B", other, "Another map file")->required();

    std::string format, to;
    std::string exportdepth;
    auto* exportcmd = app.add_subcommand(
        "export",
        "Every record of a map file as JSON or CSV, exactly; or the drawn blocks as boxes for game "
        "engines and modellers, as glTF (gltf, glb) or OBJ with its MTL beside it");
    exportcmd->add_option("FILE", file, "A map file")->required();
    exportcmd
        ->add_option("--format", format, "json, csv, gltf, glb or obj (else from OUT's extension)")
        ->check(CLI::IsMember({"json", "csv", "gltf", "glb", "obj"}));
    exportcmd->add_option("-o,--output", to,
                          "Where to write it (standard output without, or with -)");
    exportcmd->add_option("--depth", exportdepth,
                          "gltf, glb, obj: only blocks within the depth window MIN-MAX");
    auto* importcmd = app.add_subcommand("import", "A map file from JSON or CSV made by export");
    importcmd->add_option("IN", file, "A JSON or CSV file")->required();
    importcmd->add_option("--format", format, "json or csv (else from IN's extension)")
        ->check(CLI::IsMember({"json", "csv"}));
    importcmd->add_option("-o,--output", to, "The map file to write")->required();

    RenderOptions look;
    std::string depth, size;
    bool nocolours = false;
    auto* rendercmd = app.add_subcommand("render", "The map as the window draws it, to PNG or SVG");
    rendercmd->add_option("FILE", file, "A map file")->required();
    rendercmd->add_option("-o,--output", to, "OUT.png or OUT.svg")->required();
    rendercmd->add_option("--depth", depth, "The depth window, MIN-MAX (0-1000)");
    rendercmd->add_flag("--no-colours", nocolours,
                        "White outlines, as with \"Use Block Colors.\" off");
    rendercmd->add_option("--size", size, "WxH in pixels (204x429, the window's map)");
    rendercmd
        ->add_option(
            "--view", look.view,
            "main (the window's map area: blocks outside it are cut off; --view map shows every "
            "block), map (the map window) or 3d (the 3D view)")
        ->check(CLI::IsMember({"main", "map", "3d"}));
    rendercmd
        ->add_option("--background", look.background, "A grey level 0 to 255 (transparent without)")
        ->check(CLI::Range(0, 255));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version are not errors; anything else is bad usage.
        const int code = app.exit(e);
        return code == 0 ? kOk : kFailure;
    }
    if (*infocmd) return info(files, json, std::cout, std::cerr);
    if (*checkcmd) return check(files, std::cout, std::cerr);
    if (*dumpcmd) return dump(file, std::cout, std::cerr);
    if (*rendercmd) {
        look.colours = !nocolours;
        if (!depth.empty() && !depthwindow(depth, look.mind, look.maxd, std::cerr)) return kFailure;
        if (!size.empty() && !picturesize(size, look.width, look.height, std::cerr))
            return kFailure;
        return renderwithmodule(file, to, look);
    }
    if (*exportcmd) {
        std::optional<Depth> window;
        if (!exportdepth.empty() &&
            !depthwindow(exportdepth, window.emplace().mind, window->maxd, std::cerr))
            return kFailure;
        return exportmap(file, format, to, std::cout, std::cerr, window);
    }
    if (*importcmd) return importmap(file, format, to, std::cerr);
    return diff(file, other, std::cout, std::cerr);
}
