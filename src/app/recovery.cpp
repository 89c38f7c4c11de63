// The recovery copy: the whole table and the file it belongs to, kept in a
// file of this editor's own while the map holds changes that its file does
// not, so that a crash loses nothing; and the copies that editors which
// ended left behind, offered at start.
#include "app/mainform.h"
#include "document/mapfile.h"

#include <ctime>

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
    if (!copies_.keeping()) return;
    if (modified()) {
        services.recoverytimer.start(kRecoveryDelayMs, [this] { keepcopy(); });
        return;
    }
    services.recoverytimer.stop();
    copies_.drop();
}

void MainForm::keepcopy() {
    services.recoverytimer.stop();
    if (!copies_.keeping()) return;
    const FileResult written = copies_.keep(blocks, document.file(), document.stamp());
    if (!written.ok) {
        // Said at once, though no person's action is under way.
        status("Could not keep a recovery copy (" + written.reason + ")");
        actionover();
    }
}

void MainForm::recover(std::size_t index) {
    if (index >= copies_.left().size()) {
        status("Nothing to recover");
        actionover();
        return;
    }
    const LeftCopy copy = copies_.left()[index];
    BlockTable table;
    const FileResult read = copies_.read(copy, table);
    if (!read.ok) {
        // Left where it is, for another try or for a person to rescue.
        status("Could not recover: " + filetitle(copy.path) + " (" + read.reason + ")");
        actionover();
        return;
    }
    dispatch.act("Recover", [&] {
        document.replace(table);
        refreshmap();
        refreshlist();
        status(copy.file.path.empty() ? "Recovered the unsaved map"
                                      : "Recovered the unsaved map of " + copy.file.title);
        // The file it belonged to, as that editor last knew it: a quick
        // save goes there, and asks first if another program changed it.
        remember(copy.file);
        document.setstamp(copy.stamp);
    });
    // This editor's own copy holds the map before the one left goes.
    keepcopy();
    copies_.discard(index);
}

void MainForm::discard(std::size_t index) {
    if (index >= copies_.left().size()) return;
    copies_.discard(index);
    status("Discarded the unsaved work");
    actionover();
}

namespace {

std::string localtime(std::int64_t nanoseconds) {
    const std::time_t seconds = static_cast<std::time_t>(nanoseconds / 1000000000);
    std::tm parts{};
    char text[32] = "";
    if (localtime_r(&seconds, &parts) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
    return text;
}

} // namespace

void MainForm::offerrecovery() {
    for (std::size_t i = 0; i < copies_.left().size();) {
        const LeftCopy& copy = copies_.left()[i];
        const std::string what = copy.file.path.empty() ? "an unnamed map" : copy.file.title;
        const int choice =
            services.messagebox.choose("An editor that did not close kept unsaved work on " + what +
                                           " at " + localtime(copy.time) + ".\nRecover it?",
                                       "Recover unsaved work", {"Recover", "Discard", "Later"});
        if (choice == 0) return recover(i);
        if (choice != 1) return; // later: Ctrl+R still takes it
        discard(i);
    }
}

} // namespace qs
