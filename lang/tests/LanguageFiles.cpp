#include "LanguageFiles.h"

#include <cstdlib>

#include "stc/StcCompiler.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string Trim(const std::string& s) {
    size_t first = s.find_first_not_of(" \t\r");
    size_t last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

}  // namespace

const std::vector<std::string>& LanguageFiles::Codes() {
    static const std::vector<std::string> codes = {"en", "es", "ca", "it", "fr"};
    return codes;
}

const LanguageFiles& LanguageFiles::Get() {
    static const LanguageFiles files;
    return files;
}

std::string LanguageFiles::SourceDir() { return Env("CAIRN_SOURCE_DIR"); }
std::string LanguageFiles::BinDir() { return Env("CAIRN_BIN_DIR"); }

std::string LanguageFiles::HeaderField(const std::string& header, const std::string& name) {
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find('\n', start);
        if (end == std::string::npos) end = header.size();
        std::string line = header.substr(start, end - start);
        size_t colon = line.find(':');
        if (colon != std::string::npos && Trim(line.substr(0, colon)) == name) return Trim(line.substr(colon + 1));
        start = end + 1;
    }
    return {};
}

LanguageFiles::LanguageFiles() {
    for (const std::string& code : Codes()) {
        m_texts[code];
        if (!m_files[code].Load(SourceDir() + "/lang/cairn." + code + ".po")) {
            m_errors += m_files[code].Error() + "\n";
            continue;
        }
        Number(code);
    }
}

// The same rules as the table compiler: a decimal id in msgctxt, never repeated.
void LanguageFiles::Number(const std::string& code) {
    const PoFile& file = m_files.at(code);
    for (const PoEntry& entry : file.Entries()) {
        std::string where = file.Name() + ":" + std::to_string(entry.line) + ": ";
        int id = StcCompiler::ParseId(entry.context);
        if (!entry.hasContext || id < 0)
            m_errors += where + "no string id in msgctxt\n";
        else if (!m_texts[code].emplace(id, &entry).second)
            m_errors += where + "string id " + entry.context + " appears twice\n";
    }
}
