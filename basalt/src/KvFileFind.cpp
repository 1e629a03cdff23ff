#include "basalt/KvFileFind.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "basalt/KvPaths.h"

namespace {

bool SameLetter(char16_t a, char16_t b) { return a == b || KvWideChar::ToLower(a) == KvWideChar::ToLower(b); }

// "*" stands for any run of characters, "?" for one; every other character,
// "[" and "]" included, matches itself regardless of case. A surrogate pair
// counts as one character for "?".
bool MatchesWildcard(const KvWString& pattern, const KvWString& name) {
    const int pn = pattern.Length(), nn = name.Length();
    auto step = [&name, nn](int i) {
        return i + 1 < nn && name[i] >= 0xD800 && name[i] < 0xDC00 && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000
                   ? 2 : 1;
    };
    int p = 0, n = 0, starP = -1, starN = 0;
    while (n < nn) {
        if (p < pn && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pn && pattern[p] == u'?') {
            ++p;
            n += step(n);
        } else if (p < pn && SameLetter(pattern[p], name[n])) {
            ++p;
            ++n;
        } else if (starP >= 0) {  // let the last "*" take one more character
            p = starP + 1;
            starN += step(starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pn && pattern[p] == u'*') ++p;
    return p == pn;
}

}  // namespace

KvFileFind::~KvFileFind() { Close(); }

bool KvFileFind::FindFile(const char16_t* pattern) {
    Close();
    KvWString name, directory;
    ExtractNameFromPath(pattern && *pattern ? pattern : u"*.*", name, directory);
    m_root = directory;
    if (name.IsEmpty() || name == u"*.*") name = u"*";
    const std::string dir = directory.IsEmpty() ? "." : ToPlatformPath(directory.c_str()).c_str();
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        KvWString entry = FromPlatformPath(e->d_name);
        if (!MatchesWildcard(name, entry)) continue;
        struct stat st;
        const bool isDir = ::stat((dir + "/" + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        m_entries.push_back({static_cast<KvWString&&>(entry), isDir});
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
