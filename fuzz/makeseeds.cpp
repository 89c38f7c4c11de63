// Writes the fuzz targets' seed corpora: makeseeds FUZZ_CORPUS_DIR
#include "document/mapcodec.h"
#include "support/harness.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <string>

namespace {

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string map(const qs::BlockTable& t, std::size_t keep = std::string::npos) {
    const auto bytes = qs::encodemap(t);
    std::string out(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return out.substr(0, keep);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace qs;
    const std::string dir = argv[1];
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    BlockTable t{};
    write(dir + "/mapfile/empty", "");
    write(dir + "/mapfile/new-map", map(t));
    t[0] = Block{1.5f, -2, 1, 1, 0, 0.5f, 30, 16711680};
    t[1] = Block{10, 5, 2, 3, -5, 7, 45.5f, 8405024};
    write(dir + "/mapfile/two-blocks", map(t));
    write(dir + "/mapfile/partial", map(t, 40));
    t[2] = Block{nan, inf, -inf, 1e30f, -0.0f, 1e-45f, nan, -1};
    t[3] = Block{1, 1, 150, -150, 3e38f, 3e38f, 725, 2147483647};
    write(dir + "/mapfile/odd-values", map(t));
    for (int i = 0; i < kSlots; ++i)
        t[static_cast<std::size_t>(i)] = test::numbered(i);
    write(dir + "/mapfile/full", map(t) + std::string(40, 'x'));

    const char* texts[] = {"0",
                           "-12.5",
                           " .5",
                           "1e2",
                           " 1 2",
                           "12abc",
                           "1e99",
                           "-1e-999",
                           "9e99",
                           "3.402823E+38",
                           "1.79769313486232E+308",
                           "12345678",
                           "--5",
                           "5-",
                           "1e+",
                           "\xC3\xA9"
                           "1"};
    int n = 0;
    for (const char* text : texts)
        write(dir + "/numtext/" + std::to_string(n++), text);
    write(dir + "/numtext/long-digits", std::string(400, '9'));

    std::mt19937 gen(2026);
    for (int i = 0; i < 8; ++i) {
        std::string bytes;
        for (int k = 0; k < 64 + 64 * i; ++k)
            bytes += static_cast<char>(gen() & 0xFF);
        write(dir + "/actions/random-" + std::to_string(i), bytes);
    }
    // The typical event: select the free slot, paste "2" into Size X.
    write(dir + "/actions/short", std::string("\x08\x00\x02\x02\x02\x00", 6));
    std::puts("seeds written");
    return 0;
}
