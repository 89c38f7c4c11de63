#pragma once
// qrd's commands run in a fresh folder of their own, on small map files made
// there, so that what they write names the files as given.
#include "support/harness.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace qs::test {

struct Qrd : ::testing::Test {
    TempDir dir;
    std::ostringstream out, err;
    const std::filesystem::path was = std::filesystem::current_path();
    Qrd() { std::filesystem::current_path(dir.file("")); }
    ~Qrd() override { std::filesystem::current_path(was); }

    // Writes the records, then `extra` bytes of a partial record; gives the name.
    std::string file(const std::string& name, const std::vector<Block>& records,
                     std::size_t extra = 0) {
        auto bytes = filebytes(records);
        bytes.insert(bytes.end(), extra, std::byte{7});
        writebytes(name, bytes);
        return name;
    }
    // A map whose second block has one zero size, whose fourth is oversized,
    // with two bytes of a partial record at the end.
    std::string odd() {
        return file("odd.QRD",
                    {Block{12.5f, -3, 2, 0.5f, 0, 1.5f, 45, 0xFF0000}, Block{1, 2, 0, 5},
                     Block{3, 4, 1, 1}, Block{5, 6, 150, 1, 2000, 0, 30, 0x102030}},
                    2);
    }
    // What the last command wrote, out then err; both are emptied.
    std::string said() {
        std::string text = out.str() + err.str();
        out.str("");
        err.str("");
        return text;
    }
};

} // namespace qs::test
