// CEventItem: the input side of a rule.
#pragma once

#include "model/CEventActionSide.h"

class CEventItem : public CEventActionSide {
public:
    CEventItem(int type, int elementType) : CEventActionSide(type, elementType) {}
};
