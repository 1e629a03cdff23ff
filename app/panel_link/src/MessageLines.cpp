#include "panel_link/MessageLines.h"

#include <algorithm>

#include "basalt/KvUtf.h"

KvWString messageLines(const std::vector<std::string>& lines, std::size_t shown) {
    std::string text;
    const std::size_t n = std::min(lines.size(), shown);
    for (std::size_t i = 0; i < n; ++i) text += "\n" + lines[i];
    if (lines.size() > n) text += "\n(+" + std::to_string(lines.size() - n) + ")";
    return ToWide(text.c_str());
}
