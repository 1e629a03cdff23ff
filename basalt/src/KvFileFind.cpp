#include "basalt/KvFileFind.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

KvFileFind::~KvFileFind() { Close(); }

bool KvFileFind::FindFile(const char16_t* pattern) {
    Close();
    KvWString name, directory;
    ExtractNameFromPath(pattern && *pattern ? pattern : u"*.*", name, directory);
    m_root = directory;
    if (name.IsEmpty() || name == u"*.*") name = u"*";
    const std::string wildcard = ToUtf8(name.c_str()).c_str();
    const std::string dir = directory.IsEmpty() ? "." : ToPlatformPath(directory.c_str()).c_str();
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        if (::fnmatch(wildcard.c_str(), e->d_name, FNM_CASEFOLD) != 0) continue;
        struct stat st;
        const bool isDir = ::stat((dir + "/" + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        m_entries.push_back({ToWide(e->d_name), isDir});
    }
    ::closedir(d);
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return !m_entries.empty();
}

bool KvFileFind::FindNextFileW() {
    if (m_current < static_cast<int>(m_entries.size())) ++m_current;
    return m_current + 1 < static_cast<int>(m_entries.size());
}

void KvFileFind::Close() {
    m_entries.clear();
    m_root.Empty();
    m_current = -1;
}

bool KvFileFind::IsDots() const {
    return HasCurrent() && (m_entries[m_current].name == u"." || m_entries[m_current].name == u"..");
}

bool KvFileFind::IsDirectory() const { return HasCurrent() && m_entries[m_current].directory; }

KvWString KvFileFind::GetFilePath() const { return HasCurrent() ? m_root + m_entries[m_current].name : KvWString(); }

KvWString KvFileFind::GetFileName() const { return HasCurrent() ? m_entries[m_current].name : KvWString(); }

KvWString KvFileFind::GetFileTitle() const {
    const KvWString name = GetFileName();
    const int dot = name.ReverseFind(u'.');
    return dot > 0 ? name.Left(dot) : name;
}

KvWString KvFileFind::GetRoot() const { return m_root; }
