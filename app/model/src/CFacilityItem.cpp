#include "model/CFacilityItem.h"

#include "basalt/KvTrace.h"

CFacilityItem::~CFacilityItem() {
    printk("\n CFacilityItem::~CFacilityItem");
    panels.clear();
    eventActions.clear();
}
