// Any text given to qrd import as JSON and as CSV: refused with a place in
// it, or taken; what is taken exports and imports again to the same records.
#include "qrd/exchange.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "import: %s\n", what);
    std::abort();
}

template <typename From, typename To>
void roundtrip(const std::string& text, From from, To to) {
    qs::qrd::TextFault fault;
    const auto records = from(text, fault);
    if (!records) {
        if (fault.line < 1 || fault.column < 1 || fault.what.empty()) fail("a refusal without a place");
        return;
    }
    qs::qrd::TextFault again;
    const auto back = from(to(*records), again);
    if (!back || qs::qrd::recordbytes(*back) != qs::qrd::recordbytes(*records)) fail("a second round trip differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    roundtrip(text, qs::qrd::fromjson, qs::qrd::tojson);
    roundtrip(text, qs::qrd::fromcsv, qs::qrd::tocsv);
    return 0;
}
