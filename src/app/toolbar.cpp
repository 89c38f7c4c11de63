// The toolbar's commands. Each works on the table directly and then brings
// the map and the list up to date.
#include "app/mainform.h"
#include "document/edits.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"
#include "document/table.h"

namespace qs {

void MainForm::tbToolBar_ButtonClick(const std::string& key) {
    if (key == "New")
        newmap();
    else if (key == "Open")
        openmap();
    else if (key == "Save")
        savemap();
    else if (key == "Copy")
        copyblock();
    else if (key == "Refresh")
        refresh();
    else if (key == "Delete")
        deleteblock();
}

void MainForm::newmap() {
    // Nothing is asked: blocks not yet saved are discarded.
    document.replace(BlockTable{});
    Map.cls();
    sort();
    refreshmap();
    refreshlist();
    status("New Map");
    // The new map belongs to no file.
    remember({});
    document.markclean();
}

void MainForm::copyblock() {
    const int t = edits::copytofirstempty(document, List1.listindex());
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
    edits::empty(document, std::vector<int>{List1.listindex()});
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
    if (paths.size() == 1)
        openfile(paths.front());
    else if (!paths.empty())
        status("Could not open " + std::to_string(paths.size()) + " files: one map at a time");
}

void MainForm::readmap(const ui::FileChoice& choice) {
    // The whole file is read before the map in memory is touched, so a file
    // that cannot be read loses nothing.
    std::vector<std::byte> bytes;
    const FileResult read =
        readmapfile(services.files, choice.filename, kSlots * kRecordBytes, bytes);
    if (!read.ok) {
        status("Could not open: " + choice.filetitle + " (" + read.reason + ")");
        return;
    }
    BlockTable table;
    decodemap(bytes, table);
    document.replace(table);
    refreshmap();
    refreshlist();
    status("Opened: " + choice.filetitle);
    remember({choice.filename, choice.filetitle});
    document.markclean(stampof(choice.filename, bytes));
}

void MainForm::savemap() {
    sort(); // even when the dialog is then cancelled
    const ui::FileChoice choice = services.filedialog.showsave();
    if (choice.filename.empty()) return;
    writemap(choice);
}

void MainForm::saveagain() {
    const FileRef file = document.file();
    if (file.path.empty()) {
        tbToolBar.click("Save");
        return;
    }
    dispatch.act("Save", [&] {
        // Another program's changes to the file are not replaced unasked.
        if (diskchanged() && services.messagebox.askyesno(file.title + " " + kChangedOnDisk +
                                                              ".\nReplace it with this map?",
                                                          kAppTitle) != ui::Answer::Yes) {
            status("Not saved: " + file.title + " changed on disk");
            return;
        }
        sort();
        writemap({file.path, file.title});
    });
}

DiskStamp MainForm::stampof(const std::string& path, std::span<const std::byte> bytes) {
    FileInfo info;
    if (services.files.stat(path, info) != 0 || info.kind != FileKind::Regular) return {};
    return {true, info.size, info.mtime, contenthash(bytes)};
}

bool MainForm::diskchanged() {
    const DiskStamp& known = document.stamp();
    const std::string& path = document.file().path;
    FileInfo info;
    // A file that is gone has nothing to lose.
    if (!known.known || services.files.stat(path, info) != 0 || info.kind == FileKind::Missing)
        return false;
    if (info.kind != FileKind::Regular || info.size != known.size || info.mtime != known.mtime)
        return true;
    // The same size and time may still hide other bytes.
    std::vector<std::byte> bytes;
    return !readmapfile(services.files, path, known.size + 1, bytes).ok ||
           contenthash(bytes) != known.hash;
}

void MainForm::checkdisk() {
    if (!diskchanged()) return;
    FileInfo info;
    services.files.stat(document.file().path, info);
    const std::pair<std::uint64_t, std::int64_t> seen{info.size, info.mtime};
    if (seen == diskreported_) return; // said once for this change
    diskreported_ = seen;
    status(document.file().title + " " + kChangedOnDisk);
    actionover();
}

void MainForm::writemap(const ui::FileChoice& choice) {
    const std::vector<std::byte> bytes = encodemap(blocks);
    const FileResult written = writemapfile(services.files, choice.filename, bytes);
    if (!written.ok) {
        status("Could not save: " + choice.filetitle + " (" + written.reason + ")");
        return;
    }
    remember({choice.filename, choice.filetitle});
    // A block with one zero size ends what a map file can hold; the blocks
    // listed after it stay in memory, and the map stays modified.
    const int saved = savedruncount(blocks);
    const int listed = listedcount(blocks);
    refreshmap();
    refreshlist();
    if (saved < listed) {
        status("Saved " + std::to_string(saved) + " of " + std::to_string(listed) + " blocks: " +
               choice.filetitle + " (block " + std::to_string(saved + 1) + " has a zero size)");
        BlockTable onfile;
        decodemap(bytes, onfile);
        document.markclean(stampof(choice.filename, bytes), &onfile);
        return;
    }
    status("Saved: " + choice.filetitle);
    document.markclean(stampof(choice.filename, bytes));
}

void MainForm::remember(const FileRef& file) {
    document.setfile(file);
    if (!file.path.empty()) services.filedialog.setlastfile(file.path);
}

} // namespace qs
