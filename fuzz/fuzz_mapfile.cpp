// Any bytes as a map file: decoded, listed, drawn and encoded again, and
// exported and imported exactly.
#include "document/mapcodec.h"
#include "formats/text.h"
#include "support/actor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "map file: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qs;
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    BlockTable table;
    table.fill(Block{1, 2, 3, 4}); // everything is replaced
    decodemap(bytes, table);
    const std::size_t records = std::min<std::size_t>(size / kRecordBytes, kSlots);
    static const Block zero{};
    for (std::size_t i = records; i < table.size(); ++i)
        if (std::memcmp(&table[i], &zero, sizeof(Block)) != 0)
            fail("a slot past the file's records is not empty");

    // Saved and read again, the saved run comes back bit for bit.
    BlockTable back;
    decodemap(encodemap(table), back);
    for (int i = 0; i < savedruncount(table); ++i)
        if (std::memcmp(&table[static_cast<std::size_t>(i)], &back[static_cast<std::size_t>(i)],
                        sizeof(Block)) != 0)
            fail("the saved run does not read back");

    // Exported as JSON or CSV and imported again, every whole record comes
    // back bit for bit.
    const std::vector<std::byte> file(bytes.begin(), bytes.end());
    const auto all = readrecords(file);
    const std::vector<std::byte> whole(
        file.begin(), file.begin() + static_cast<std::ptrdiff_t>(all.size() * kRecordBytes));
    formats::TextFault refused;
    const auto json = formats::fromjson(formats::tojson(all), refused);
    if (!json || writerecords(*json) != whole) fail("the JSON round trip differs");
    const auto csv = formats::fromtable(formats::totable(all, ','), refused);
    if (!csv || writerecords(*csv) != whole) fail("the CSV round trip differs");

    // Listed and drawn by the window.
    static test::Harness h(true);
    h.form.document.replace(table);
    h.form.refreshmap();
    h.form.refreshlist();
    if (const std::string fault = test::checkinvariants(h.form); !fault.empty())
        fail(fault.c_str());
    for (const auto& row : h.form.List1.rows())
        if (row.size() < 41) fail("a row is shorter than its columns");
    return 0;
}
