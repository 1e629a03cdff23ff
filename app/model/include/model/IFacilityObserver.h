// IFacilityObserver: the only way the model reaches the user interface.
// The manager holds at most one; without one these events simply go unseen.
#pragma once

#include <cstdint>

class IFacilityObserver {
public:
    virtual ~IFacilityObserver() = default;
    // The model refuses an edit and tells the user why (string-table text `textId`, OK button).
    virtual void showMessage(int textId) = 0;
    // Element types changed: the loops view must rebuild; `expandAll` when the facility asks
    // for everything opened out.
    virtual void loopsChanged(bool expandAll) = 0;
    // A rule group lost its last rule: lower the image index of the editor node `key` by
    // `imageDrop` (31 for event groups, 62 for action groups) to show it unused.
    virtual void groupEmptied(std::intptr_t key, int imageDrop) = 0;
};
