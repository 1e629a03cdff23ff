#include "ui/CElementDevices.h"

#include "model/CElementTypeCatalogue.h"
#include "model/CFacilityManager.h"
#include "ui/UiText.h"

namespace {

// Part words by type code (index 0 unused): types 7, 9, 11, 15 and 17 number their channels,
// type 13 has two inputs then two outputs.
constexpr int kPartWords[] = {0, 52, 53, 61, 54, 55, 51, 252, 253, 252, 254, 254, 253, 253, 254, 254, 254, 254, 254};
constexpr int kTypeThirteenWords[] = {253, 253, 254, 254};

}  // namespace

int CElementDevices::partWordText(int type, int part) {
    if (type < CElementTypeCatalogue::kFirstType || type > CElementTypeCatalogue::kLastType) return 0;
    if (type == 13) return part >= 0 && part < 4 ? kTypeThirteenWords[part] : 0;
    return kPartWords[type];
}

QString CElementDevices::partDescription(int type, int part) {
    return loadText(partWordText(type, part)) + " " + QString::number(part + 1);
}

QString CElementDevices::label(int address) { return loadText(kLabelText) + " " + QString::number(address); }

int CElementDevices::compositeMode(int type, int part) {
    const int count = CElementTypeCatalogue::addressCount(type);
    if (count <= 1) return 0;
    if (part == 0) return 1;
    return part == count - 1 ? 3 : 2;
}

bool CElementDevices::addPart(CFacilityManager& facility, int panel, int loop, int address, int type, int part, int zone,
                              const QString& description) {
    const QString text = description.isEmpty() ? partDescription(type, part) : description;
    const KvWString wide = toKvWString(text);
    if (!facility.addElementToLoop(panel, loop, address, type, zone, toKvWString(label(address)), wide.c_str()))
        return false;
    markPart(facility, panel, loop, address, type, part);
    return true;
}

void CElementDevices::markPart(CFacilityManager& facility, int panel, int loop, int address, int type, int part) {
    facility.setElementCompositeMode(panel, loop, address, compositeMode(type, part));
    facility.setElementGenericType(panel, loop, address, CElementTypeCatalogue::genericType(type, part));
}

void CElementDevices::deviceBounds(const CFacilityManager& facility, int panel, int loop, int address, int& first,
                                   int& last) {
    first = last = address;
    const int mode = facility.getElementCompositeMode(panel, loop, address);
    if (mode == 0) return;
    // Back to the first part, then forward to the last; a device cut short ends where its parts do.
    if (mode != 1)
        while (first > 1 && facility.getElementCompositeMode(panel, loop, first - 1) == 2) --first;
    if (mode != 1 && first > 1 && facility.getElementCompositeMode(panel, loop, first - 1) == 1) --first;
    if (mode == 3) return;
    while (last < kMostAddress) {
        const int next = facility.getElementCompositeMode(panel, loop, last + 1);
        if (next != 2 && next != 3) break;
        ++last;
        if (next == 3) break;
    }
}
