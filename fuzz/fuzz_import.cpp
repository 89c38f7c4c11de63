// Any text given to qrd import, or pasted into the window: refused with a
// place in it, or taken; what is taken, written as JSON, as comma-separated
// and as tab-separated rows, reads back to the same records.
#include "document/mapcodec.h"
#include "formats/text.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace qs::formats;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "import: %s\n", what);
    std::abort();
}

void same(const std::string& text, const std::vector<qs::Block>& records) {
    TextFault again;
    const auto back = fromtext(text, again);
    if (!back || qs::writerecords(*back) != qs::writerecords(records)) fail("a second round trip differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (auto* reader : {fromjson, fromtable, fromtext}) {
        TextFault fault;
        const auto records = reader(text, fault);
        if (!records) {
            if (fault.line < 1 || fault.column < 1 || fault.what.empty()) fail("a refusal without a place");
            continue;
        }
        same(tojson(*records), *records);
        same(totable(*records, ','), *records);
        same(totable(*records, '\t'), *records);
    }
    return 0;
}
