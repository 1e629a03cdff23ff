#include "cairnctl/CFacilityFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "cairnctl/CConsolePrompt.h"
#include "history/CSiteHistory.h"

// The reason comes in the words of the string table, with its number, as the program shows it.
bool CFacilityFile::load(const std::string& path) {
    printk("\n CFacilityFile::load");
    if (m_handler.load(FromPlatformPath(path.c_str()))) return true;
    CConsolePrompt::loadStrings();
    const CLoadError& error = m_handler.lastError();
    m_err << "cairnctl: " << path << ": " << ToUtf8(error.text().c_str()).c_str() << " [" << error.textId() << "]\n";
    return false;
}

bool CFacilityFile::loadSide(const std::string& side, int* entryPanel) {
    printk("\n CFacilityFile::loadSide");
    if (entryPanel) *entryPanel = 0;
    const std::size_t at = side.rfind('@');
    struct stat st {};
    if (at == std::string::npos || at == 0 || ::stat(side.c_str(), &st) == 0) return load(side);
    const std::string file = side.substr(0, at);
    const CSiteHistory history(FromPlatformPath(file.c_str()));
    CHistoryRecord record;
    if (!history.find(side.substr(at + 1), record)) {
        m_err << "cairnctl: " << file << " has no history entry '" << side.substr(at + 1) << "'\n";
        return false;
    }
    if (!history.loadSnapshot(record, m_facility)) {
        m_err << "cairnctl: " << side << ": the snapshot of this entry cannot be read\n";
        return false;
    }
    if (entryPanel) *entryPanel = record.panelId;
    return true;
}

bool CFacilityFile::save(const std::string& path) {
    printk("\n CFacilityFile::save");
    if (m_handler.save(FromPlatformPath(path.c_str()))) return true;
    m_err << "cairnctl: " << path << ": cannot save: " << std::strerror(errno) << "\n";
    return false;
}
