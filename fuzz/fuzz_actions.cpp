// The fuzzer's bytes as a person's actions on the headless window: typed and
// pasted texts, scroll bars, rows, buttons, toolbar keys with their answers
// and files, the pointer anywhere. The invariants are checked after each.
#include "support/actor.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qs;
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("quarrystead-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    test::Harness h(true);
    std::size_t at = 0;
    test::Actor actor(
        h, [&] { return at < size ? data[at++] : 0u; }, folder);
    while (at < size) {
        if (const std::string fault = actor.step(); !fault.empty()) {
            std::fprintf(stderr, "after action: %s\nlast actions:\n%s", fault.c_str(),
                         actor.recent().c_str());
            std::abort();
        }
    }
    return 0;
}
