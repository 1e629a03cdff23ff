// Reads arbitrary bytes as a site-history record, as a listing does with every *.json of the
// folder; whatever reads must write a record that reads back to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "history/CHistoryRecord.h"

namespace {

KvString written(const CHistoryRecord& record) {
    JsonDocument doc;
    record.toJson(doc);
    KvString text;
    doc.CreateJsonCode(text);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JsonDocument doc;
    CHistoryRecord record;
    if (!doc.Parse(reinterpret_cast<const char*>(data), size) || !CHistoryRecord::fromJson(doc, record)) return 0;
    const KvString text = written(record);
    JsonDocument again;
    CHistoryRecord back;
    if (!again.Parse(text.c_str(), static_cast<std::size_t>(text.Length())) || !CHistoryRecord::fromJson(again, back))
        std::abort();
    if (!(written(back) == text)) std::abort();
    return 0;
}
