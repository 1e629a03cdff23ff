#include "model/CElementTypeCatalogue.h"

#include "basalt/KvTrace.h"

namespace {

// Types 15 and 16 take each other's description texts (246 and 245): the string tables are
// laid out that way and every stored description depends on it.
constexpr CElementTypeInfo kTypes[] = {
    {1, 1, {1, 0, 0, 0}, 231, {0, 0}},   {2, 1, {2, 0, 0, 0}, 232, {1, 1}},
    {3, 1, {3, 0, 0, 0}, 233, {2, 2}},   {4, 1, {4, 0, 0, 0}, 234, {3, 3}},
    {5, 1, {8, 0, 0, 0}, 235, {4, 4}},   {6, 1, {5, 0, 0, 0}, 236, {5, 5}},
    {7, 2, {5, 5, 0, 0}, 237, {6, 7}},   {8, 1, {6, 0, 0, 0}, 238, {8, 8}},
    {9, 2, {6, 6, 0, 0}, 239, {9, 10}},  {10, 1, {7, 0, 0, 0}, 240, {11, 11}},
    {11, 2, {7, 7, 0, 0}, 241, {12, 13}}, {12, 2, {6, 7, 0, 0}, 242, {14, 15}},
    {13, 4, {6, 6, 7, 7}, 243, {16, 19}}, {14, 1, {7, 0, 0, 0}, 244, {20, 20}},
    {15, 2, {7, 7, 0, 0}, 246, {21, 22}}, {16, 1, {8, 0, 0, 0}, 245, {23, 23}},
    {17, 2, {8, 8, 0, 0}, 247, {24, 25}}, {18, 1, {7, 0, 0, 0}, 248, {26, 26}},
};
static_assert(sizeof(kTypes) / sizeof(kTypes[0]) == CElementTypeCatalogue::kLastType);

int typeThirteenIcon(int compositeMode, int genericType) {
    if (genericType == 6 && compositeMode == 1) return 16;
    if (genericType == 6 && compositeMode == 2) return 17;
    if (genericType == 7 && compositeMode == 2) return 18;
    if (genericType == 7 && compositeMode == 3) return 19;
    return CElementTypeCatalogue::kUnknownIcon;
}

}  // namespace

const CElementTypeInfo* CElementTypeCatalogue::find(int type) {
    printk("\n CElementTypeCatalogue::find");
    if (type < kFirstType || type > kLastType) return nullptr;
    return &kTypes[type - kFirstType];
}

int CElementTypeCatalogue::addressCount(int type) {
    printk("\n CElementTypeCatalogue::addressCount");
    const CElementTypeInfo* info = find(type);
    return info ? info->addressCount : 0;
}

int CElementTypeCatalogue::genericType(int type, int position) {
    printk("\n CElementTypeCatalogue::genericType");
    const CElementTypeInfo* info = find(type);
    if (!info || position < 0 || position >= info->addressCount) return 0;
    return info->genericType[position];
}

int CElementTypeCatalogue::descriptionTextId(int type) {
    printk("\n CElementTypeCatalogue::descriptionTextId");
    const CElementTypeInfo* info = find(type);
    return info ? info->descriptionTextId : 0;
}

int CElementTypeCatalogue::iconIndex(int type, int compositeMode, int genericType) {
    printk("\n CElementTypeCatalogue::iconIndex");
    const CElementTypeInfo* info = find(type);
    if (!info) return kUnknownIcon;
    if (type == 13) return typeThirteenIcon(compositeMode, genericType);
    if (info->addressCount == 1) return info->icons[0];
    return compositeMode == 1 ? info->icons[0] : info->icons[1];
}
