// The toolbar's commands. Each works on the table directly and then brings
// the map and the list up to date.
#include "app/mainform.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"

namespace qs {

void MainForm::tbToolBar_ButtonClick(const std::string& key) {
    if (key == "New") newmap();
    else if (key == "Open") openmap();
    else if (key == "Save") savemap();
    else if (key == "Copy") copyblock();
    else if (key == "Refresh") refresh();
    else if (key == "Delete") deleteblock();
}

void MainForm::newmap() {
    // Nothing is asked: blocks not yet saved are discarded.
    blocks.fill(Block{});
    Map.cls();
    sort();
    refreshmap();
    refreshlist();
    status("New Map");
    markclean();
}

void MainForm::copyblock() {
    int t = 0;
    while (t < kSlots && !isemptyslot(blocks[static_cast<std::size_t>(t)])) ++t;
    const int r = List1.listindex();
    if (validslot(t) && validslot(r)) blocks[static_cast<std::size_t>(t)] = blocks[static_cast<std::size_t>(r)];
    refreshlist();
    if (t >= 0 && t < List1.listcount()) reselect(t);
}

void MainForm::refresh() {
    Map.cls();
    sort();
    refreshmap();
    refreshlist();
    status("Refreshed Map and List");
}

void MainForm::deleteblock() {
    if (services.messagebox.askyesno("Delete?", kAppTitle) != ui::Answer::Yes) return;
    const int r = List1.listindex();
    if (validslot(r)) blocks[static_cast<std::size_t>(r)] = Block{};
    sort();
    refreshmap();
    status("Block Deleted");
}

void MainForm::openmap() {
    const ui::FileChoice choice = services.filedialog.showopen();
    if (choice.filename.empty()) return;
    // A name that names nothing opens as a new, empty map file.
    if (!fileexists(services.files, choice.filename)) {
        const FileResult created = createmapfile(services.files, choice.filename);
        if (!created.ok) {
            status("Could not open: " + choice.filetitle + " (" + created.reason + ")");
            return;
        }
    }
    // The whole file is read before the map in memory is touched, so a file
    // that cannot be read loses nothing.
    std::vector<std::byte> bytes;
    const FileResult read = readmapfile(services.files, choice.filename, kSlots * kRecordBytes, bytes);
    if (!read.ok) {
        status("Could not open: " + choice.filetitle + " (" + read.reason + ")");
        return;
    }
    decodemap(bytes, blocks);
    refreshmap();
    refreshlist();
    status("Opened: " + choice.filetitle);
    markclean();
}

namespace {

// The listed run: the blocks the list shows above its free slot.
int listedcount(const BlockTable& table) {
    int k = 0;
    while (k < kSlots && !endslistedrun(table[static_cast<std::size_t>(k)])) ++k;
    return k;
}

} // namespace

void MainForm::savemap() {
    sort(); // even when the dialog is then cancelled
    const ui::FileChoice choice = services.filedialog.showsave();
    if (choice.filename.empty()) return;
    const FileResult written = writemapfile(services.files, choice.filename, encodemap(blocks));
    if (!written.ok) {
        status("Could not save: " + choice.filetitle + " (" + written.reason + ")");
        return;
    }
    // A block with one zero size ends what a map file can hold; the blocks
    // listed after it stay in memory, and the map stays modified.
    const int saved = savedruncount(blocks);
    const int listed = listedcount(blocks);
    refreshmap();
    refreshlist();
    if (saved < listed) {
        status("Saved " + std::to_string(saved) + " of " + std::to_string(listed) + " blocks: " +
               choice.filetitle + " (block " + std::to_string(saved + 1) + " has a zero size)");
        return;
    }
    status("Saved: " + choice.filetitle);
    markclean();
}

} // namespace qs
