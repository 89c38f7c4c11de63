// Any text given to qrd import, or pasted into the window: refused with a
// place in it, or taken; what is taken, written as JSON, as comma-separated
// and as tab-separated rows, reads back to the same records. The same bytes
// as the clipboard's own records: refused with a reason, or taken exactly,
// and never a block that would end the list or a save.
#include "document/mapcodec.h"
#include "formats/clipboard.h"
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
    if (!back || qs::writerecords(*back) != qs::writerecords(records))
        fail("a second round trip differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (auto* reader : {fromjson, fromtable, fromtext}) {
        TextFault fault;
        const auto records = reader(text, fault);
        if (!records) {
            if (fault.line < 1 || fault.column < 1 || fault.what.empty())
                fail("a refusal without a place");
            continue;
        }
        same(tojson(*records), *records);
        same(totable(*records, ','), *records);
        same(totable(*records, '\t'), *records);
    }
    for (const bool own : {true, false}) {
        TextFault fault;
        const auto pasted = own ? frompaste(text, {}, fault) : frompaste({}, text, fault);
        if (!pasted) {
            if (fault.what.empty()) fail("a paste refused without a reason");
            continue;
        }
        for (const qs::Block& b : *pasted)
            if (qs::endslistedrun(b) || !qs::continuessavedrun(b))
                fail("a pasted block would end the list or a save");
        if (own && torecords(*pasted) != text) fail("the clipboard's records changed");
    }
    return 0;
}
