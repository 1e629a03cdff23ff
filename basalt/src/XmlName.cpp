#include "internal/XmlName.h"

#include <cstdint>

namespace {

bool InRanges(std::uint32_t c, const std::uint32_t (*ranges)[2], int count) {
    for (int i = 0; i < count; ++i)
        if (c >= ranges[i][0] && c <= ranges[i][1]) return true;
    return false;
}

bool IsNameStartChar(std::uint32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    static constexpr std::uint32_t kRanges[][2] = {
        {':', ':'},       {'A', 'Z'},       {'_', '_'},       {'a', 'z'},         {0xC0, 0xD6},
        {0xD8, 0xF6},     {0xF8, 0x2FF},    {0x370, 0x37D},   {0x37F, 0x1FFF},    {0x200C, 0x200D},
        {0x2070, 0x218F}, {0x2C00, 0x2FEF}, {0x3001, 0xD7FF}, {0xF900, 0xFDCF},   {0xFDF0, 0xFFFD},
        {0x10000, 0xEFFFF}};
    return InRanges(c, kRanges, sizeof kRanges / sizeof kRanges[0]);
}

bool IsNameChar(std::uint32_t c) {
    static constexpr std::uint32_t kRanges[][2] = {
        {'-', '.'}, {'0', '9'}, {0xB7, 0xB7}, {0x300, 0x36F}, {0x203F, 0x2040}};
    return IsNameStartChar(c) || InRanges(c, kRanges, sizeof kRanges / sizeof kRanges[0]);
}

}  // namespace

bool IsXmlName(const char16_t* name, int length) {
    if (!name || length <= 0) return false;
    for (int i = 0; i < length; ++i) {
        const bool first = i == 0;
        std::uint32_t c = name[i];
        if (c >= 0xDC00 && c < 0xE000) return false;
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= length || name[i + 1] < 0xDC00 || name[i + 1] >= 0xE000) return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
        }
        if (!(first ? IsNameStartChar(c) : IsNameChar(c))) return false;
    }
    return true;
}
