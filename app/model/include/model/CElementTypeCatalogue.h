// CElementTypeCatalogue: the element types 1..18, the one table the manager and the editors share.
#pragma once

#include <array>

struct CElementTypeInfo {
    int type;                       // code 1..18
    int addressCount;               // consecutive loop addresses one device takes
    std::array<int, 4> genericType; // generic type of each of those addresses
    int descriptionTextId;          // string-table text of the default description
    std::array<int, 2> icons;       // icon on the first address, icon on the others (type 13: see iconIndex)
};

class CElementTypeCatalogue {
public:
    static constexpr int kFirstType = 1;
    static constexpr int kLastType = 18;
    static constexpr int kUnknownIcon = 1;

    // The entry of `type`; null for a code outside 1..18.
    static const CElementTypeInfo* find(int type);
    // Address count of `type`; 0 when unknown.
    static int addressCount(int type);
    // Generic type of address `position` (0-based) of a device of `type`; 0 when out of range.
    static int genericType(int type, int position);
    // String-table id of the default description; 0 when unknown.
    static int descriptionTextId(int type);
    // Editor image index for one element; the first address of a device is the one with mode 1.
    // Type 13 is chosen by generic type and mode; unknown combinations and types give 1.
    static int iconIndex(int type, int compositeMode, int genericType);
    // Outputs are generic types 7 and 8; everything else is an input.
    static bool isOutput(int genericType) { return genericType == 7 || genericType == 8; }
};
