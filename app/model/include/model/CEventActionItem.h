// CEventActionItem: one cause-and-effect rule; owns its two sides.
#pragma once

#include <memory>

#include "model/CActionItem.h"
#include "model/CEventItem.h"

class CEventActionItem {
public:
    // Both sides start absent.
    CEventActionItem(int id, int delay) : id(id), delay(delay) {}
    CEventActionItem(const CEventActionItem&) = delete;
    CEventActionItem& operator=(const CEventActionItem&) = delete;

    int id;
    int delay;
    std::unique_ptr<CEventItem> event;
    std::unique_ptr<CActionItem> action;
};
