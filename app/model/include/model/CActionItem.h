// CActionItem: the output side of a rule.
#pragma once

#include "model/CEventActionSide.h"

class CActionItem : public CEventActionSide {
public:
    CActionItem(int type, int elementType) : CEventActionSide(type, elementType) {}
};
