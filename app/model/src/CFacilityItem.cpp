#include "model/CFacilityItem.h"

CFacilityItem::~CFacilityItem() {
    panels.clear();
    eventActions.clear();
}
