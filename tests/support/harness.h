#pragma once
// A main form on in-memory services, as the tests use it.
#include "app/mainform.h"
#include "ui/platform.h"

#include <string>
#include <vector>

namespace qs::test {

struct Harness {
    ui::MemorySettings settings;
    ui::ScriptedFileDialog filedialog;
    ui::ScriptedMessageBox messagebox;
    ui::DefaultRandom random;
    MainForm form{Services{settings, filedialog, messagebox, random}};
};

inline Block block(float x, float z, float sizex, float sizez, float bottom = 0, float height = 0,
                   float angle = 0, std::int32_t colour = 0) {
    return Block{x, z, sizex, sizez, bottom, height, angle, colour};
}

} // namespace qs::test
