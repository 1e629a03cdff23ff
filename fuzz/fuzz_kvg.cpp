// Feeds arbitrary bytes to the configuration file reader and walks whatever facility results.
#include <cstddef>
#include <cstdint>

#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFacilityManager manager;
    CXmlHandler handler(manager);
    if (!handler.loadText(reinterpret_cast<const char*>(data), size)) return 0;
    long sum = 0;
    for (int i = 0; i < manager.getNumberOfPanels(); ++i) {
        const int id = manager.getPanelId(i);
        for (int l = 0; l < manager.getNumOfLoops(id); ++l) {
            const int loop = manager.getLoopAddress(id, l);
            sum += manager.getNumberOfInputElementsInLoop(id, loop) + manager.getNumberOfOutputElementsInLoop(id, loop);
        }
    }
    for (int p = 0; p < manager.getNumberOfEventActions(); ++p) sum += manager.getEventActionInItemType(manager.getEventActionId(p));
    return sum == -1 ? 1 : 0;
}
