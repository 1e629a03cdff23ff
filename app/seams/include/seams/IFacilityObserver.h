// IFacilityObserver: how the model tells the views that what they show changed.
// The manager holds at most one; without one these events simply go unseen. The model's
// refusal messages go through IUserPrompt, like every other message.
#pragma once

#include <cstdint>

class IFacilityObserver {
public:
    virtual ~IFacilityObserver() = default;
    // Element types changed: the loops view must rebuild; `expandAll` when the facility asks
    // for everything opened out.
    virtual void loopsChanged(bool expandAll) = 0;
    // A rule group lost its last rule: lower the image index of the editor node `key` by
    // `imageDrop` (31 for event groups, 62 for action groups) to show it unused.
    virtual void groupEmptied(std::intptr_t key, int imageDrop) = 0;
    // Undo or redo gave an empty rule group a rule again: raise the image index of node `key`
    // by `imageDrop` to show it used.
    virtual void groupRefilled(std::intptr_t key, int imageDrop) { (void)key, (void)imageDrop; }
    // The undo history changed: an action was recorded, undone or redone, or the history emptied.
    virtual void historyChanged() {}
};
