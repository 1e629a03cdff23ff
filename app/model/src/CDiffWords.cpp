#include "model/CDiffWords.h"

namespace {

template <typename Shown>
std::string fillFrom(const std::string& pattern, const std::string* next, const std::string* end, Shown shown) {
    std::string out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next != end) out += shown(*next++);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

const std::string& asItIs(const std::string& value) { return value; }

}  // namespace

std::string CDiffWords::fill(const std::string& pattern, std::initializer_list<std::string> values) {
    return fillFrom(pattern, values.begin(), values.end(), asItIs);
}

std::string CDiffWords::fill(const std::string& pattern, const std::vector<std::string>& values) {
    return fillFrom(pattern, values.data(), values.data() + values.size(), asItIs);
}

std::string CDiffWords::fill(const std::string& pattern, const std::vector<std::string>& values,
                             const std::function<const std::string&(const std::string&)>& shown) {
    return fillFrom(pattern, values.data(), values.data() + values.size(), shown);
}
