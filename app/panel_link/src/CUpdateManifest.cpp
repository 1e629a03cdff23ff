#include "panel_link/CUpdateManifest.h"

#include <algorithm>
#include <cstdio>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"

namespace {

bool canRead(const KvWString& path) {
    std::FILE* file = std::fopen(ToUtf8(path.c_str()).c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

}  // namespace

KvWString CUpdateManifest::folderOf(const KvWString& path) {
    const int cut = std::max(path.ReverseFind(u'/'), path.ReverseFind(u'\\'));
    return cut < 0 ? KvWString() : path.Left(cut + 1);
}

bool CUpdateManifest::load(const KvWString& path) {
    printk("\n CUpdateManifest::load");
    m_folder = folderOf(path);
    m_panel = m_loop = m_language = KvWString();
    XmlDocument document;
    if (!document.Load(path) || !document.Root()) return false;
    const XmlDocument::XmlNode* root = document.Root();
    // A manifest laid out over several lines carries white space around its names.
    const auto resolve = [this](KvWString name) { return name.Trim().IsEmpty() ? name : m_folder + name; };
    m_panel = resolve(root->Value(u"panel", u""));
    m_loop = resolve(root->Value(u"loop", u""));
    m_language = resolve(root->Value(u"language", u""));
    return true;
}

KvWString CUpdateManifest::appletPath(const char16_t* name) const { return m_folder + KvWString(name); }

std::vector<KvWString> CUpdateManifest::requiredFiles() const {
    std::vector<KvWString> files;
    for (const char16_t* applet : {kBoardFlashApplet, kCardFlashApplet, kPipeApplet, kLanguageApplet})
        files.push_back(appletPath(applet));
    for (const KvWString* payload : {&m_panel, &m_loop, &m_language})
        if (!payload->IsEmpty()) files.push_back(*payload);
    return files;
}

KvWString CUpdateManifest::firstMissingFile() const {
    for (const KvWString& file : requiredFiles())
        if (!canRead(file)) return file;
    return KvWString();
}
