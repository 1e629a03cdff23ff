// Files written by other programs may carry control characters that our writer drops (no
// XML file may hold them) and our reader takes. Tests that need such a file save labels with
// private-use stand-ins and put the raw characters in afterwards.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

constexpr char16_t kStandInEsc = 0xE000;  // becomes ESC
constexpr char16_t kStandInBel = 0xE001;  // becomes BEL

inline void putRawControls(const std::string& path) {
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::pair<std::string, char> standIns[] = {{"\xEE\x80\x80", '\x1B'}, {"\xEE\x80\x81", '\x07'}};
    for (const auto& [utf8, raw] : standIns)
        for (std::size_t at; (at = text.find(utf8)) != std::string::npos;) text.replace(at, utf8.size(), 1, raw);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
