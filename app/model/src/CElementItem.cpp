#include "model/CElementItem.h"

CElementItem::CElementItem(int address, int type, int zone, const KvWString& label, const char16_t* description)
    : zone(zone), type(type), address(address), label(label) {
    setDescription(description);
}

void CElementItem::setDescription(const char16_t* text) {
    if (text)
        description = text;
    else
        description = label;
}
