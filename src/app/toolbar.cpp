// The toolbar's commands. Each works on the table directly and then brings
// the map and the list up to date.
#include "app/mainform.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "document/table.h"

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
    const int t = copytofirstempty(blocks, List1.listindex());
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
    emptyslot(blocks, List1.listindex());
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
    readmap(choice);
}

void MainForm::openfile(const std::string& path) {
    // No person chose to create this name, so a missing file is not made.
    dispatch.act("Open", [&] { readmap({path, filetitle(path)}); });
}

void MainForm::openfiles(const std::vector<std::string>& paths) {
    if (paths.size() == 1) openfile(paths.front());
    else if (paths.size() > 1) status("Could not open " + std::to_string(paths.size()) + " files: one map at a time");
}

void MainForm::readmap(const ui::FileChoice& choice) {
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
    remember(choice);
}

void MainForm::savemap() {
    sort(); // even when the dialog is then cancelled
    const ui::FileChoice choice = services.filedialog.showsave();
    if (choice.filename.empty()) return;
    writemap(choice);
}

void MainForm::saveagain() {
    if (lastfile_.filename.empty()) {
        tbToolBar.click("Save");
        return;
    }
    dispatch.act("Save", [&] {
        sort();
        writemap(ui::FileChoice(lastfile_));
    });
}

void MainForm::writemap(const ui::FileChoice& choice) {
    const FileResult written = writemapfile(services.files, choice.filename, encodemap(blocks));
    if (!written.ok) {
        status("Could not save: " + choice.filetitle + " (" + written.reason + ")");
        return;
    }
    remember(choice);
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

void MainForm::remember(const ui::FileChoice& choice) {
    lastfile_ = choice;
    services.filedialog.setlastfile(choice.filename);
}

} // namespace qs
