// CFacilityItem: the root of one facility; owns the panels and the rules.
#pragma once

#include <memory>
#include <vector>

#include "model/CEventActionItem.h"
#include "model/CPanelItem.h"

class CFacilityItem {
public:
    CFacilityItem() = default;
    CFacilityItem(const CFacilityItem&) = delete;
    CFacilityItem& operator=(const CFacilityItem&) = delete;
    // Panels (with loops, elements and zones) go first, then the rules.
    ~CFacilityItem();

    std::vector<std::unique_ptr<CPanelItem>> panels;              // by address when added through the manager
    std::vector<std::unique_ptr<CEventActionItem>> eventActions;  // in the order added
    bool expandedView = true;  // asks the loops editor to show everything opened out
};
