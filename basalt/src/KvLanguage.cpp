#include "basalt/KvLanguage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

// Where an installed program's data folder lies relative to the program's folder; the build
// sets it from the install layout.
#ifndef CAIRN_SHARE_FROM_BIN
#define CAIRN_SHARE_FROM_BIN "../share/cairn"
#endif

namespace {

struct Language {
    int id;
    const char* code;
    const char* name;  // UTF-8, in the language itself
};

// Primary-language ids of the platform; the Russian name keeps its historic spelling.
constexpr Language kLanguages[] = {
    {1, "ar", "العربية"},     {2, "bg", "Български"},   {3, "ca", "Català"},
    {4, "zh", "中文"},        {5, "cs", "čeština"},     {6, "da", "Dansk"},
    {7, "de", "Deutsch"},     {8, "el", "Ελληνικά"},    {9, "en", "English"},
    {10, "es", "Español"},    {11, "fi", "suomi"},      {12, "fr", "Français"},
    {13, "he", "עברית"},      {14, "hu", "Magyar"},     {15, "is", "Íslenska"},
    {16, "it", "Italiano"},   {17, "ja", "日本語"},     {19, "nl", "Nederlands"},
    {20, "no", "Norsk"},      {21, "pl", "Polski"},     {22, "pt", "Português"},
    {24, "ro", "Română"},     {25, "ru", "Pycc\u0138ий"}, {26, "hr", "Hrvatski"},
    {27, "sk", "Slovenčina"}, {34, "uk", "Українська"}, {35, "be", "Беларуская"},
    {36, "sl", "Slovenščina"}, {37, "et", "Eesti"},     {38, "lv", "Latviešu"},
    {39, "lt", "Lietuviškai"},
};

const Language* FindById(int langId) {
    const int primary = langId & 0x3FF;
    for (const Language& l : kLanguages)
        if (l.id == primary) return &l;
    return nullptr;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

KvString Win32LanguageIdToLanguageCode(int langId) {
    const Language* l = FindById(langId);
    return KvString(l ? l->code : "??");
}

KvString Win32LanguageIdToLanguageName(int langId) {
    const Language* l = FindById(langId);
    return KvString(l ? l->name : "??");
}

int Win32LanguageCodeToLanguageId(const char* code) {
    if (!code || !code[0] || !code[1]) return -1;
    const char a = Lower(code[0]), b = Lower(code[1]);
    if (a == 's' && b == 'r') return 26;  // Serbian shares the Croatian table
    for (const Language& l : kLanguages)
        if (l.code[0] == a && l.code[1] == b) return l.id;
    return -1;
}

int Win32LanguageCodeToLanguageId(const char16_t* code) {
    if (!code || !code[0] || !code[1] || code[0] > 0x7F || code[1] > 0x7F) return -1;
    const char narrow[3] = {static_cast<char>(code[0]), static_cast<char>(code[1]), 0};
    return Win32LanguageCodeToLanguageId(narrow);
}

KvWString GetAppPath() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return KvWString();
    path[n] = 0;
    KvWString wide = FromPlatformPath(path);
    const int slash = wide.ReverseFind(u'/');
    return slash < 0 ? KvWString() : wide.Left(slash + 1);
}

KvWString GetSharePath() {
    const char* dir = std::getenv("CAIRN_SHARE_DIR");
    if (dir && *dir) {
        KvWString wide = FromPlatformPath(dir);
        if (!wide.EndsWith(u"/")) wide.Append(u'/');
        return wide;
    }
    const KvWString app = GetAppPath();
    if (app.IsEmpty()) return app;
    KvWString installed;
    RelativePathToFullPath(app.c_str(), ToWide(CAIRN_SHARE_FROM_BIN "/").c_str(), installed);
    struct stat info {};
    const bool isFolder = ::stat(ToPlatformPath(installed.c_str()).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return isFolder ? installed : app;
}
