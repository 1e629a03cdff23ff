#include "stc/StcCompiler.h"

#include <map>

int StcCompiler::ParseId(const std::string& context) {
    if (context.empty() || context.size() > 5) return -1;
    int id = 0;
    for (char c : context) {
        if (c < '0' || c > '9') return -1;
        id = id * 10 + (c - '0');
    }
    return id <= 0xFFFF ? id : -1;
}

bool StcCompiler::Compile(const PoFile& po, KvStringTableWriter& table) {
    m_counts = StcCounts();
    std::map<int, int> firstLine;
    for (const PoEntry& e : po.Entries()) {
        const std::string where = po.Name() + ":" + std::to_string(e.line) + ": ";
        if (!e.hasContext) {
            m_error = where + "entry '" + e.msgid.substr(0, 40) + "' has no msgctxt with its string id";
            return false;
        }
        const int id = ParseId(e.context);
        if (id < 0) {
            m_error = where + "msgctxt '" + e.context + "' is not a string id (a number from 0 to 65535)";
            return false;
        }
        auto [it, fresh] = firstLine.emplace(id, e.line);
        if (!fresh) {
            m_error = where + "string id " + std::to_string(id) + " repeats the entry of line " +
                      std::to_string(it->second);
            return false;
        }
        const bool usable = !e.msgstr.empty() && (!e.fuzzy || m_options.useFuzzy);
        if (usable) {
            table.Add(static_cast<std::uint16_t>(id), e.msgstr);
            ++m_counts.translated;
            continue;
        }
        ++(e.msgstr.empty() ? m_counts.untranslated : m_counts.fuzzy);
        if (m_options.fillUntranslated)
            table.Add(static_cast<std::uint16_t>(id), e.msgid);
        else
            table.AddMissing(static_cast<std::uint16_t>(id));
    }
    return true;
}
