// CEventActionSide: the shape shared by the event and the action side of a rule.
#pragma once

// What a rule side names.
enum CItemType : int {
    kItemNothing = 0,
    kItemPanel = 1,
    kItemLoop = 2,
    kItemZone = 4,
    kItemElement = 5,
    kItemPanelRange = 6,
};

class CEventActionSide {
public:
    // Type and element type from the arguments; everything else 0.
    CEventActionSide(int type, int elementType) : type(type), elementType(elementType) {}

    // True when both sides name the same panel, loop, element, zone and range (the grouping key).
    bool sameSelection(const CEventActionSide& o) const {
        return panel == o.panel && loop == o.loop && element == o.element && zone == o.zone &&
               rangeBegin == o.rangeBegin && rangeEnd == o.rangeEnd;
    }

    int type;
    int elementType;  // set at creation, never changed afterwards
    int panel = 0;
    int loop = 0;
    int element = 0;
    int zone = 0;
    int rangeBegin = 0;
    int rangeEnd = 0;
    int itemType = 0;  // a CItemType; not stored in the file
};
