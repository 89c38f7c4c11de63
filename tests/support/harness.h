#pragma once
// A main form on in-memory services, as the tests use it.
#include "app/mainform.h"
#include "document/mapcodec.h"
#include "support/faultyfiles.h"
#include "ui/platform.h"

#include <functional>
#include <string>
#include <vector>

namespace qs::test {

inline Block block(float x, float z, float sizex, float sizez, float bottom = 0, float height = 0,
                   float angle = 0, std::int32_t colour = 0) {
    return Block{x, z, sizex, sizez, bottom, height, angle, colour};
}

// A distinct block for slot i: X is i + 1, so rows tell blocks apart.
inline Block numbered(int i) { return block(static_cast<float>(i + 1), 2, 1, 1, 0, 1, 0, 0x102030); }

// The bytes of a map file holding these records, each one written whatever
// its sizes (a save would stop at a zero size).
inline std::vector<std::byte> filebytes(const std::vector<Block>& records) { return writerecords(records); }

struct Harness {
    explicit Harness(bool start = false, std::string recovery = {}) : recoverypath(std::move(recovery)) {
        if (start) form.start();
    }
    ui::MemorySettings settings;
    ui::ScriptedFileDialog filedialog;
    ui::ScriptedMessageBox messagebox;
    ui::DefaultRandom random;
    FaultyFiles files;
    ui::ManualTimer timer;
    // Where the recovery copy goes; empty keeps none.
    std::string recoverypath;
    MainForm form{Services{settings, filedialog, messagebox, random, files, timer, recoverypath}};

    // Puts blocks into slots 0 to n-1 and rebuilds the list, as opening a
    // file does.
    void load(int n, const std::function<Block(int)>& make = numbered) {
        for (int i = 0; i < n; ++i) form.blocks[static_cast<std::size_t>(i)] = make(i);
        form.refreshlist();
    }

    // Records the rows the list click runs for, keeping its handler.
    std::vector<int> clicks;
    void recordclicks() {
        auto handler = form.List1.onclick;
        form.List1.onclick = [this, handler] {
            clicks.push_back(form.List1.listindex());
            handler();
        };
    }

    std::vector<std::string> log;
    void recordnotifications() { form.dispatch.record(&log); }
};

} // namespace qs::test
