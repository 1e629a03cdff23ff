#include "virtual_panel/CVirtualFaults.h"

#include <cstdlib>
#include <sstream>

namespace {

bool parseTransfer(const std::string& item, CVirtualFaults& f) {
    const auto at = item.find('@');
    if (at == std::string::npos) return false;
    const std::string kind = item.substr(0, at);
    char* end = nullptr;
    const long index = std::strtol(item.c_str() + at + 1, &end, 10);
    if (*end != '\0' || index < 1 || index > 1000000) return false;
    if (kind == "error") f.transfer = CVirtualTransferFault::Error;
    else if (kind == "timeout") f.transfer = CVirtualTransferFault::Timeout;
    else if (kind == "short") f.transfer = CVirtualTransferFault::Short;
    else if (kind == "length") f.transfer = CVirtualTransferFault::WrongLength, f.lengthDelta = 1;
    else if (kind == "length-1") f.transfer = CVirtualTransferFault::WrongLength, f.lengthDelta = -1;
    else if (kind == "corrupt") return f.corruptPage = static_cast<int>(index), true;
    else return false;
    f.atTransfer = static_cast<int>(index);
    return true;
}

}  // namespace

bool CVirtualFaults::parse(const std::string& text, CVirtualFaults& faults) {
    CVirtualFaults result;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item == "absent") result.deviceAbsent = true;
        else if (item == "refuse-config") result.refuseConfiguration = true;
        else if (item == "refuse-claim") result.refuseClaim = true;
        else if (item == "two-buses") result.twoBuses = true;
        else if (CVirtualBootFaults::parseItem(item, result.boot)) continue;
        else if (!item.empty() && !parseTransfer(item, result)) return false;
    }
    faults = result;
    return true;
}
