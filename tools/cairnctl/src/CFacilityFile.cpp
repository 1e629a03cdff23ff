#include "cairnctl/CFacilityFile.h"

#include <cerrno>
#include <cstring>
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "cairnctl/CConsolePrompt.h"

// The reason comes in the words of the string table, with its number, as the program shows it.
bool CFacilityFile::load(const std::string& path) {
    printk("\n CFacilityFile::load");
    if (m_handler.load(FromPlatformPath(path.c_str()))) return true;
    CConsolePrompt::loadStrings();
    const CLoadError& error = m_handler.lastError();
    m_err << "cairnctl: " << path << ": " << ToUtf8(error.text().c_str()).c_str() << " [" << error.textId() << "]\n";
    return false;
}

bool CFacilityFile::save(const std::string& path) {
    printk("\n CFacilityFile::save");
    if (m_handler.save(FromPlatformPath(path.c_str()))) return true;
    m_err << "cairnctl: " << path << ": cannot save: " << std::strerror(errno) << "\n";
    return false;
}
