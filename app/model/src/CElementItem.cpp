#include "model/CElementItem.h"

#include "basalt/KvTrace.h"

CElementItem::CElementItem(int address, int type, int zone, const KvWString& label, const char16_t* description)
    : zone(zone), type(type), address(address), label(label) {
    printk("\n CElementItem::CElementItem");
    setDescription(description);
}

void CElementItem::setDescription(const char16_t* text) {
    printk("\n CElementItem::setDescription");
    if (text)
        description = text;
    else
        description = label;
}
