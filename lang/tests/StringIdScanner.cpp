#include "StringIdScanner.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool IsIdentChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void SkipSpace(std::string_view s, size_t& i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
}

// Reads an integer literal at `i`; false when there is none or it runs into an identifier.
bool ReadLiteral(std::string_view s, size_t& i, int& value) {
    int base = 10;
    if (s.substr(i, 2) == "0x" || s.substr(i, 2) == "0X") {
        base = 16;
        i += 2;
    }
    size_t start = i;
    long v = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d = (c >= '0' && c <= '9') ? c - '0'
              : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (d < 0) break;
        v = std::min(v * base + d, 1L << 20);
    }
    if (i == start) return false;
    while (i < s.size() && (s[i] == 'u' || s[i] == 'U' || s[i] == 'l' || s[i] == 'L')) ++i;
    if (i < s.size() && IsIdentChar(s[i])) return false;
    value = static_cast<int>(v);
    return true;
}

// After "KvLoadString(": the id is the first argument.
bool FirstArgument(std::string_view s, size_t i, int& id) {
    SkipSpace(s, i);
    if (!ReadLiteral(s, i, id)) return false;
    SkipSpace(s, i);
    return i < s.size() && (s[i] == ',' || s[i] == ')');
}

// After "LoadStringW(": the id is the second argument.
bool SecondArgument(std::string_view s, size_t i, int& id) {
    int depth = 0;
    for (; i < s.size(); ++i) {
        if (s[i] == '(') ++depth;
        else if (s[i] == ')' && depth-- == 0) return false;
        else if (s[i] == ',' && depth == 0) break;
    }
    if (i == s.size()) return false;
    SkipSpace(s, ++i);
    if (!ReadLiteral(s, i, id)) return false;
    SkipSpace(s, i);
    return i < s.size() && s[i] == ')';
}

// Names such as kTextLimit or kMaxTextLength are sizes, not ids: only the end counts.
bool IsIdName(std::string_view name) {
    if (name.size() > 2 && name.substr(name.size() - 2) == "Id") name.remove_suffix(2);
    for (std::string_view marker : {"Text", "String", "Message", "Msg"})
        if (name.size() >= marker.size() && name.substr(name.size() - marker.size()) == marker) return true;
    return false;
}

// "constexpr <type> <name> = <literal>;" with a name that marks a string id.
bool NamedId(std::string_view s, size_t at, int& id) {
    size_t end = s.find(';', at);
    if (end == std::string_view::npos || end - at > 200) return false;
    std::string_view statement = s.substr(at, end - at);
    size_t equals = statement.find('=');
    if (equals == std::string_view::npos || statement.find('(') < equals) return false;
    size_t nameEnd = statement.find_last_not_of(" \t\r\n", equals - 1);
    if (nameEnd == std::string_view::npos) return false;
    size_t nameStart = nameEnd;
    while (nameStart > 0 && IsIdentChar(statement[nameStart - 1])) --nameStart;
    if (!IsIdName(statement.substr(nameStart, nameEnd - nameStart + 1))) return false;
    size_t i = equals + 1;
    SkipSpace(statement, i);
    if (!ReadLiteral(statement, i, id)) return false;
    SkipSpace(statement, i);
    return i == statement.size();
}

int LineOf(std::string_view text, size_t at) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

bool SkippedFolder(const fs::path& dir) {
    std::string name = dir.filename().string();
    return name.empty() || name[0] == '.' || name == "tests" || name == "fuzz" || name == "bench" ||
           fs::exists(dir / "CMakeCache.txt");
}

bool IsSource(const fs::path& file) {
    std::string ext = file.extension().string();
    return ext == ".h" || ext == ".hpp" || ext == ".cpp" || ext == ".cc";
}

}  // namespace

std::vector<StringIdScanner::Use> StringIdScanner::ScanText(std::string_view text, const std::string& file) const {
    struct Call {
        std::string_view name;
        bool (*argument)(std::string_view, size_t, int&);
    };
    static constexpr Call kCalls[] = {{"KvLoadString", FirstArgument}, {"loadText", FirstArgument},
                                      {"showMessage", FirstArgument},  {"askYesNo", FirstArgument},
                                      {"LoadStringW", SecondArgument}};
    std::vector<Use> uses;
    for (const Call& call : kCalls) {
        for (size_t at = text.find(call.name); at != std::string_view::npos; at = text.find(call.name, at + 1)) {
            size_t i = at + call.name.size();
            if ((at > 0 && IsIdentChar(text[at - 1])) || (i < text.size() && IsIdentChar(text[i]))) continue;
            SkipSpace(text, i);
            int id = 0;
            if (i >= text.size() || text[i] != '(' || !call.argument(text, i + 1, id)) continue;
            uses.push_back({id, file + ":" + std::to_string(LineOf(text, at))});
        }
    }
    for (size_t at = text.find("constexpr"); at != std::string_view::npos; at = text.find("constexpr", at + 1)) {
        int id = 0;
        if (NamedId(text, at, id)) uses.push_back({id, file + ":" + std::to_string(LineOf(text, at))});
    }
    return uses;
}

std::vector<StringIdScanner::Use> StringIdScanner::ScanTree(const fs::path& root) const {
    std::vector<Use> uses;
    std::error_code ec;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec)) {
            if (SkippedFolder(it->path())) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(ec) || !IsSource(it->path())) continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        std::vector<Use> found = ScanText(content.str(), it->path().lexically_relative(root).generic_string());
        uses.insert(uses.end(), found.begin(), found.end());
    }
    return uses;
}
