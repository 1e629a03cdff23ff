#include "cairnctl/CFacilityFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"

bool CFacilityFile::load(const std::string& path) {
    printk("\n CFacilityFile::load");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_err << "cairnctl: " << path << ": cannot open: " << std::strerror(errno) << "\n";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        m_err << "cairnctl: " << path << ": read error\n";
        return false;
    }
    const std::string text = content.str();
    if (m_handler.loadText(text.data(), text.size())) return true;
    if (!m_handler.document().IsOK())
        m_err << "cairnctl: " << path << ": not well-formed XML (malformed or truncated)\n";
    else
        m_err << "cairnctl: " << path << ": not a facility configuration (no \"panels\" under the root)\n";
    return false;
}

bool CFacilityFile::save(const std::string& path) {
    printk("\n CFacilityFile::save");
    if (m_handler.save(ToWide(path.c_str()))) return true;
    m_err << "cairnctl: " << path << ": cannot save: " << std::strerror(errno) << "\n";
    return false;
}
