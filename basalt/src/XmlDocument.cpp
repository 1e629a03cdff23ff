// XmlDocument: tag table, parsing entry points, loading and crash-safe saving.
#include "basalt/XmlDocument.h"

#include <cstring>
#include <string>

#include "basalt/KvPaths.h"
#include "internal/XmlCodec.h"
#include "internal/XmlName.h"
#include "internal/XmlNodePool.h"

bool XmlDocument::TagLess::operator()(const KvWString& a, const KvWString& b) const {
    return Cmp(a.c_str(), a.Length(), b.c_str(), b.Length()) < 0;
}
bool XmlDocument::TagLess::operator()(const KvWString& a, const TagView& b) const {
    return Cmp(a.c_str(), a.Length(), b.text, b.length) < 0;
}
bool XmlDocument::TagLess::operator()(const TagView& a, const KvWString& b) const {
    return Cmp(a.text, a.length, b.c_str(), b.Length()) < 0;
}
int XmlDocument::TagLess::Cmp(const char16_t* a, int al, const char16_t* b, int bl) {
    const int n = al < bl ? al : bl;
    for (int i = 0; i < n; ++i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return al < bl ? -1 : (al > bl ? 1 : 0);
}

XmlDocument::XmlDocument() = default;

XmlDocument::XmlDocument(const XmlNode& node) : m_fileName(node.Document()->FileName()) {
    m_root = new (Pool()) XmlNode(this, node.Tag().c_str(), node.Tag().Length());
    *m_root = node;
}

XmlDocument::~XmlDocument() { Reset(); }

void XmlDocument::Reset() {
    delete m_root;
    m_root = nullptr;
    if (m_pool) m_pool->Detach();  // lives on while nodes moved to other documents remain
    m_pool = nullptr;
    m_tags.clear();
    m_dirty = false;
}

bool XmlDocument::Create(const KvWString& tag) {
    Reset();
    if (!IsXmlName(tag)) return false;
    m_root = new (Pool()) XmlNode(this, tag.c_str(), tag.Length());
    return true;
}

XmlNodePool* XmlDocument::Pool() {
    if (!m_pool) m_pool = new XmlNodePool(sizeof(XmlNode));
    return m_pool;
}

const KvWString* XmlDocument::Tag(const char16_t* text, int length) {
    if (!text) text = u"";
    if (length < 0) length = KvWideChar::Length(text);
    const TagView key{text, length};
    auto it = m_tags.find(key);
    if (it == m_tags.end()) it = m_tags.emplace(KvWString(text, length), length).first;
    return &it->first;
}

KvWString XmlDocument::Value(const KvWString& path, const KvWString& def) const {
    return m_root ? m_root->Value(path, def) : def;
}

bool XmlDocument::Parse(const char* text) { return Parse(text, text ? std::strlen(text) : 0); }

bool XmlDocument::Parse(const char* text, size_t length) {
    Reset();
    if (!text) return false;
    if (const void* nul = std::memchr(text, 0, length)) length = static_cast<const char*>(nul) - text;
    XmlParser parser(*this, text, text + length);
    m_root = parser.ParseDocument();
    if (!m_root) m_tags.clear();
    return m_root != nullptr;
}

bool XmlDocument::Load(const KvWString& path) {
    Reset();
    SetFileName(path);
    std::string content;
    if (!KvReadFile(path.c_str(), content)) return false;
    return Parse(content.data(), content.size());
}

bool XmlDocument::Save() {
    if (!m_root || m_fileName.IsEmpty()) return false;
    XmlSink out;
    out.Put(kDeclaration, sizeof kDeclaration - 1);
    XmlWriteNode(out, *m_root);
    if (!out.Writable()) return false;
    const std::string& bytes = out.Buffer();
    if (!KvSaveFileAtomic(m_fileName.c_str(), bytes.data(), bytes.size())) return false;
    m_dirty = false;
    return true;
}

bool XmlDocument::SaveAs(const KvWString& path) {
    SetFileName(path);
    return Save();
}
