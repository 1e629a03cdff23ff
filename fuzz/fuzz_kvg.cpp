// Feeds arbitrary bytes to the configuration file reader and checks that the one-pass reader
// leaves exactly the facility that reading the whole tree leaves (or refuses the same files).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FacilityDump.h"
#include "ReferenceLoader.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    CFacilityManager streamed, reference;
    CXmlHandler handler(streamed);
    const bool a = handler.loadText(text, size);
    const bool b = reference::load(reference, text, size);
    if (a != b || dump::facility(streamed) != dump::facility(reference)) std::abort();
    if (a && streamed.getNumberEventsInPanel() > 0 && streamed.addEventActionItem(streamed.getFreeEventId(), 0) == false)
        std::abort();  // a new id must always be free
    return 0;
}
