// CUndoStep: one change of an undo history entry, able to put it back and to make it again.
#pragma once

class CEventActionGroups;
class IFacilityObserver;

// What a step may touch besides the records it holds pointers to.
struct CUndoContext {
    CEventActionGroups& eventGroups;
    CEventActionGroups& actionGroups;
    IFacilityObserver* observer;  // null: group images go unseen
};

class CUndoStep {
public:
    virtual ~CUndoStep() = default;
    // Undo (`back`) or redo the change. The facility is exactly as the change left it (undo) or
    // found it (redo), because every change in between has been put back or made again in order.
    virtual void apply(CUndoContext& context, bool back) = 0;
};
