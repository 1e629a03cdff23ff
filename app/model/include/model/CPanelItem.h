// CPanelItem: one control panel; owns its loops and zones.
#pragma once

#include <memory>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CLoopItem.h"
#include "model/CZoneItem.h"

class CPanelItem {
public:
    // Address starts at 0; the manager sets it right after construction.
    CPanelItem(int id, const KvWString& label) : id(id), label(label) {}
    CPanelItem(const CPanelItem&) = delete;
    CPanelItem& operator=(const CPanelItem&) = delete;

    bool selected = false;  // choice mark of the panel-choice dialog; never stored in a file
    int id;                 // identity in the facility
    int address = 0;        // the panel's own setting; panels are ordered by it
    bool expanded = true;   // a new panel is shown opened out
    KvWString label;
    std::vector<std::unique_ptr<CLoopItem>> loops;
    std::vector<std::unique_ptr<CZoneItem>> zones;
    KvWString installer;
    KvWString description;  // the panel comments
    KvWString phone;
};
