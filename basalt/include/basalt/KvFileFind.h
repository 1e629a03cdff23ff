// KvFileFind: enumerates the entries of a directory that match a wildcard.
//
//   KvFileFind find;
//   for (bool more = find.FindFile(u"dir/*.xml"); more;) {
//       more = find.FindNextFileW();   // false on the last entry, which is still valid
//       use(find.GetFilePath());
//   }
//
// Wildcards are "*" and "?"; every other character ("[" and "]" too) matches
// itself, without regard to case (the string traits' fixed case mapping).
// "*.*" matches every name, with or without a dot. Names that are not UTF-8
// come in the lossless form of KvPaths.h. "." and ".." are listed when the pattern
// matches them (IsDots tells them). Entries come in name order. The listing is
// taken at FindFile, so later changes to the directory are not seen.
#pragma once

#include <vector>

#include "basalt/KvBasicString.h"

class KvFileFind {
public:
    KvFileFind() = default;
    virtual ~KvFileFind();
    KvFileFind(const KvFileFind&) = delete;
    KvFileFind& operator=(const KvFileFind&) = delete;

    // Starts a search; a null or empty pattern means "*.*" in the current
    // directory. True when at least one entry matches. No entry is current until
    // the first FindNextFileW.
    bool FindFile(const char16_t* pattern = nullptr);
    // Steps to the next entry; false when the entry stepped to is the last one
    // (or there is none left, then nothing is current).
    bool FindNextFileW();
    void Close();

    // About the current entry; empty or false when there is none.
    bool IsDots() const;
    bool IsDirectory() const;
    KvWString GetFilePath() const;   // root + name
    KvWString GetFileName() const;   // "report.xml"
    KvWString GetFileTitle() const;  // "report"
    // The directory searched, with a trailing "/" ("" for the current directory).
    KvWString GetRoot() const;

private:
    struct Entry {
        KvWString name;
        bool directory;
    };
    bool HasCurrent() const { return m_current >= 0 && m_current < static_cast<int>(m_entries.size()); }

    KvWString m_root;
    std::vector<Entry> m_entries;
    int m_current = -1;
};
