#include "PrintfConversions.h"

namespace {

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLength(char c) { return c == 'h' || c == 'l' || c == 'L' || c == 'q' || c == 'j' || c == 'z' || c == 't'; }

bool IsConversion(char c) {
    static constexpr std::string_view kLetters = "diouxXeEfFgGaAcspnSC";
    return kLetters.find(c) != std::string_view::npos;
}

// Skips digits or a '*' (which takes an argument) at `i`.
void SkipCount(std::string_view f, size_t& i, std::vector<std::string>& out) {
    if (i < f.size() && f[i] == '*') {
        out.push_back("*");
        ++i;
        return;
    }
    while (i < f.size() && IsDigit(f[i])) ++i;
}

}  // namespace

std::vector<std::string> PrintfConversions(std::string_view f) {
    std::vector<std::string> out;
    size_t i = 0;
    while ((i = f.find('%', i)) != std::string_view::npos) {
        ++i;
        if (i < f.size() && f[i] == '%') {
            ++i;
            continue;
        }
        while (i < f.size() && IsFlag(f[i])) ++i;
        SkipCount(f, i, out);
        if (i < f.size() && f[i] == '.') SkipCount(f, ++i, out);
        size_t start = i;
        while (i < f.size() && IsLength(f[i])) ++i;
        if (i < f.size() && IsConversion(f[i])) {
            out.emplace_back(f.substr(start, i - start + 1));
            ++i;
        } else {
            out.push_back("?");
        }
    }
    return out;
}
