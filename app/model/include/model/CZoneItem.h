// CZoneItem: one zone of a panel.
#pragma once

#include "basalt/KvBasicString.h"

class CZoneItem {
public:
    CZoneItem(int number, const KvWString& description) : number(number), description(description) {}

    int number;
    KvWString description;
};
