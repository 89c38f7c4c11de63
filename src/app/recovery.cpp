// The recovery copy: the whole table, kept in a map file of its own while it
// holds changes that no map file holds, so that a crash loses nothing.
#include "app/mainform.h"
#include "document/mapcodec.h"
#include "document/mapfile.h"

namespace qs {

ui::Timer& notimer() {
    struct Never : ui::Timer {
        void start(int, std::function<void()>) override {}
        void stop() override {}
    };
    static Never never;
    return never;
}

void MainForm::changed() {
    if (services.recoverypath.empty()) return;
    if (modified()) {
        services.recoverytimer.start(kRecoveryDelayMs, [this] { keepcopy(); });
        return;
    }
    services.recoverytimer.stop();
    // Only a copy this run wrote is removed: one left by an earlier run
    // stays on offer.
    if (copykept_ && services.files.remove(services.recoverypath) == 0) copykept_ = false;
}

void MainForm::keepcopy() {
    services.recoverytimer.stop();
    if (services.recoverypath.empty()) return;
    const FileResult written = writemapfile(services.files, services.recoverypath, encodetable(blocks));
    if (!written.ok) {
        // Said at once, though no person's action is under way.
        status("Could not keep a recovery copy (" + written.reason + ")");
        actionover();
        return;
    }
    copykept_ = true;
    offered_ = false; // the file now holds this run's map
}

void MainForm::recover() {
    if (!offered_) {
        status("Nothing to recover");
        return;
    }
    const std::string& path = services.recoverypath;
    std::vector<std::byte> bytes;
    const FileResult read = readmapfile(services.files, path, kSlots * kRecordBytes, bytes);
    if (!read.ok) {
        // Left where it is, for another try or for a person to rescue.
        status("Could not recover: " + filetitle(path) + " (" + read.reason + ")");
        return;
    }
    offered_ = false;
    copykept_ = true; // the copy is this run's now: replaced or removed like its own
    dispatch.act("Recover", [&] {
        BlockTable table;
        decodemap(bytes, table);
        document.replace(table);
        refreshmap();
        refreshlist();
        status("Recovered the unsaved map");
    });
}

} // namespace qs
