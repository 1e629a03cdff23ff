// Parses arbitrary bytes; whatever parses must write text that parses again
// to the same text, and survive a deep copy and a path query.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "basalt/JsonDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JsonDocument doc;
    if (!doc.Parse(reinterpret_cast<const char*>(data), size)) return 0;
    KvString text;
    doc.CreateJsonCode(text);
    JsonDocument again;
    if (!again.Parse(text.c_str(), static_cast<std::size_t>(text.Length()))) std::abort();
    KvString second;
    again.CreateJsonCode(second);
    if (!(second == text)) std::abort();
    JsonDocument copy(doc);
    copy.Root()->Node(u"a/b?c=1?/d");
    return 0;
}
