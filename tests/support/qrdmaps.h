#pragma once
// Small map files made for qrd's tests, and the streams its commands write.
#include "support/harness.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qs::test {

struct Qrd : ::testing::Test {
    TempDir dir;
    std::ostringstream out, err;
    std::string file(const std::string& name, const std::vector<Block>& records, std::size_t extra = 0) {
        auto bytes = filebytes(records);
        bytes.insert(bytes.end(), extra, std::byte{7});
        writebytes(dir.file(name), bytes);
        return dir.file(name);
    }
    // A map whose second block has one zero size, whose fourth is oversized,
    // with two bytes of a partial record at the end.
    std::string odd() {
        return file("odd.QRD", {block(12.5f, -3, 2, 0.5f, 0, 1.5f, 45, 0xFF0000), block(1, 2, 0, 5),
                                block(3, 4, 1, 1), block(5, 6, 150, 1, 2000, 0, 30, 0x102030)},
                    2);
    }
};

} // namespace qs::test
