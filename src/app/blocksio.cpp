// Blocks in and out of the window: the system clipboard, and scenes for
// game engines.
#include "app/mainform.h"
#include "document/edits.h"
#include "document/footprint.h"
#include "formats/clipboard.h"
#include "formats/scene.h"

#include <cmath>
#include <limits>

namespace qs {

namespace {

std::string blockcount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " block" : " blocks");
}

// The name a map's scene is first offered under: the map's own, with the
// ending of the scene last exported.
std::string suggestion(const std::string& mappath, const std::string& lastexport) {
    const std::string ending = [&] {
        const auto dot = lastexport.find_last_of('.');
        return dot == std::string::npos ? std::string(".glb") : lastexport.substr(dot);
    }();
    if (mappath.empty()) return lastexport.empty() ? "map.glb" : lastexport;
    const auto slash = mappath.find_last_of('/');
    const auto dot = mappath.find_last_of('.');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (extension ? mappath.substr(0, dot) : mappath) + ending;
}

} // namespace

void MainForm::copyblocks(bool cut) {
    std::vector<int> slots = document.selection();
    if (slots.empty() && validslot(curblock) &&
        !isemptyslot(blocks[static_cast<std::size_t>(curblock)]))
        slots.push_back(curblock);
    if (slots.empty()) {
        dispatch.act(cut ? "Cut" : "Copy to the clipboard",
                     [&] { status("Nothing selected to " + std::string(cut ? "cut" : "copy")); });
        return;
    }
    std::vector<Block> chosen;
    for (int slot : slots)
        chosen.push_back(blocks[static_cast<std::size_t>(slot)]);
    clipboard_.put({formats::torecords(chosen), formats::totable(chosen, '\t')});
    const std::string said =
        std::string(cut ? "Cut " : "Copied ") + blockcount(slots.size()) + " to the clipboard";
    if (!cut) {
        dispatch.act("Copy to the clipboard", [&] { status(said); });
        return;
    }
    apply("cutting " + blockcount(slots.size()), {}, [&] {
        edits::empty(document, slots);
        edits::closegaps(document);
        status(said);
        return -1;
    });
}

void MainForm::pasteblocks(const PastePlace* place) {
    const ui::ClipContent content = clipboard_.get();
    formats::TextFault fault;
    std::optional<std::vector<Block>> pasted;
    if (!content.blocks.empty() || !content.text.empty())
        pasted = formats::frompaste(content.blocks, content.text, fault);
    else
        fault.what = "the clipboard holds no blocks";
    const int free = edits::freeslots(blocks);
    if (!pasted || static_cast<int>(pasted->size()) > free) {
        dispatch.act("Paste", [&] {
            if (pasted)
                status("Not enough free slots: " + std::to_string(pasted->size()) + " needed, " +
                       std::to_string(free) + " free");
            else
                status("Could not paste: " +
                       (fault.line > 0 ? "line " + std::to_string(fault.line) + ", column " +
                                             std::to_string(fault.column) + ": "
                                       : std::string()) +
                       fault.what);
        });
        return;
    }
    if (place) {
        // The middle of the blocks' outlines under the pointer.
        double zmin = std::numeric_limits<double>::infinity(), zmax = -zmin, xmin = zmin,
               xmax = -zmin;
        for (const Block& b : *pasted)
            for (const Corner& c : blockcorners(b))
                if (std::isfinite(c.h) && std::isfinite(c.v)) {
                    zmin = std::min<double>(zmin, c.h), zmax = std::max<double>(zmax, c.h);
                    xmin = std::min<double>(xmin, c.v), xmax = std::max<double>(xmax, c.v);
                }
        double dz = place->z - (zmin + zmax) / 2, dx = place->x - (xmin + xmax) / 2;
        if (place->step > 0)
            dz = std::round(dz / place->step) * place->step,
            dx = std::round(dx / place->step) * place->step;
        if (std::isfinite(dz) && std::isfinite(dx))
            for (Block& b : *pasted) {
                b.z = static_cast<float>(b.z + dz);
                b.x = static_cast<float>(b.x + dx);
            }
    }
    apply("pasting " + blockcount(pasted->size()), {}, [&] {
        const edits::Placed placed = edits::put(document, *pasted);
        document.setselection(placed.slots);
        status("Pasted " + blockcount(pasted->size()));
        return placed.slots.empty() ? -1 : placed.slots.front();
    });
}

void MainForm::exportscene() {
    const ui::FileChoice choice =
        services.filedialog.showexport(suggestion(document.file().path, lastexport_));
    if (choice.filename.empty()) return;
    dispatch.act("Export", [&] {
        const auto dot = choice.filename.find_last_of('.');
        const auto kind =
            formats::scenekind(dot == std::string::npos ? "" : choice.filename.substr(dot + 1));
        if (!kind) {
            status("Not exported: " + choice.filetitle +
                   " (its name must end in .glb, .gltf or .obj)");
            return;
        }
        const formats::Scene scene = formats::scenefrom(blocks, static_cast<float>(MinD.value()),
                                                        static_cast<float>(MaxD.value()));
        const FileResult written =
            formats::writescene(services.files, choice.filename, *kind, scene);
        if (!written.ok) {
            status("Could not export: " + choice.filetitle + " (" + written.reason + ")");
            return;
        }
        lastexport_ = choice.filename;
        status("Exported " + blockcount(scene.boxes.size()) + ": " + choice.filetitle +
               (scene.leftout > 0
                    ? " (" + std::to_string(scene.leftout) +
                          " left out: a value not a number, infinite or beyond 1000 km)"
                    : ""));
    });
}

} // namespace qs
