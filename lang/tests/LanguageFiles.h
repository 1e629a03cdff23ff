// LanguageFiles: the PO files of every language the program ships, loaded once.
//
// Paths come from the test environment: CAIRN_SOURCE_DIR (the source tree) and
// CAIRN_BIN_DIR (where the program and its string tables are built).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "stc/PoFile.h"

class LanguageFiles {
public:
    // The languages the program can select, English (the reference) first.
    static const std::vector<std::string>& Codes();
    // The loaded files, read at the first call. Problems are kept in Errors().
    static const LanguageFiles& Get();

    const PoFile& File(const std::string& code) const { return m_files.at(code); }
    // Numbered entries of one language; empty when its file could not be read.
    const std::map<int, const PoEntry*>& Texts(const std::string& code) const { return m_texts.at(code); }
    // Reading and numbering problems of every file, one per line; empty when none.
    const std::string& Errors() const { return m_errors; }

    // Value of a field of a PO header ("Language: ca\n" gives "ca"); empty when absent.
    static std::string HeaderField(const std::string& header, const std::string& name);
    static std::string SourceDir();
    static std::string BinDir();

private:
    LanguageFiles();
    void Number(const std::string& code);

    std::map<std::string, PoFile> m_files;
    std::map<std::string, std::map<int, const PoEntry*>> m_texts;
    std::string m_errors;
};
