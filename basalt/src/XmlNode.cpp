// XmlDocument::XmlNode: editing, path queries, attributes and deep copy.
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "basalt/uuid.h"
#include "internal/XmlName.h"
#include "internal/XmlNodePool.h"

using XmlNode = XmlDocument::XmlNode;

XmlDocument::ChildList XmlNode::m_emptyChilds;
const XmlDocument::AttributeMap XmlNode::m_emptyAttributes;

namespace {

bool SameText(const KvWString& s, const char16_t* p, const char16_t* end) {
    const long n = end - p;
    return s.Length() == n && std::memcmp(s.c_str(), p, sizeof(char16_t) * n) == 0;
}

KvWString FormatPath(const char16_t* format, va_list ap) {
    KvWString path;
    KvVFormat(path, format, ap);
    return path;
}

// Destroys direct children for which `pick(child, ordinal)` is true; `ordinal`
// counts the children having `tag`.
template <class Pick>
int EraseChildren(XmlDocument::ChildList& childs, const KvWString& tag, Pick pick) {
    int ordinal = 0, erased = 0;
    for (size_t i = 0; i < childs.size();) {
        XmlNode* child = childs[i];
        if (child->Tag() == tag && pick(ordinal++)) {
            childs.erase(childs.begin() + static_cast<long>(i));
            delete child;
            ++erased;
        } else {
            ++i;
        }
    }
    return erased;
}

}  // namespace

XmlNode::XmlNode(XmlDocument* document, const char16_t* tag, int length)
    : m_document(document), m_tag(document->Tag(tag, length)) {}

XmlNode::XmlNode(XmlDocument* document, const KvWString* internedTag) : m_document(document), m_tag(internedTag) {}

void* XmlNode::operator new(std::size_t size) { return XmlNodePool::Allocate(nullptr, size); }
void* XmlNode::operator new(std::size_t size, XmlNodePool* pool) { return XmlNodePool::Allocate(pool, size); }
void XmlNode::operator delete(void* block) { XmlNodePool::Free(block); }
void XmlNode::operator delete(void* block, XmlNodePool*) { XmlNodePool::Free(block); }

XmlNode::~XmlNode() {
    if (m_childs)
        for (XmlNode* child : *m_childs) delete child;
}

void XmlNode::Reset() {
    if (m_childs)
        for (XmlNode* child : *m_childs) delete child;
    m_childs.reset();
    m_attributes.reset();
    m_value = KvWString();
}

KvWString XmlNode::WideName(const char* utf8) { return ToWide(utf8); }

XmlDocument::ChildList& XmlNode::Childs() { return m_childs ? *m_childs : m_emptyChilds; }
const XmlDocument::ChildList& XmlNode::Childs() const { return m_childs ? *m_childs : m_emptyChilds; }
const XmlDocument::AttributeMap& XmlNode::Attributes() const {
    return m_attributes ? *m_attributes : m_emptyAttributes;
}
XmlDocument::ChildList& XmlNode::OwnChilds() {
    if (!m_childs) m_childs = std::make_unique<ChildList>();
    return *m_childs;
}
XmlDocument::AttributeMap& XmlNode::OwnAttributes() {
    if (!m_attributes) m_attributes = std::make_unique<AttributeMap>();
    return *m_attributes;
}

bool XmlNode::Rename(const KvWString& tag) {
    if (!IsXmlName(tag)) return false;
    m_tag = m_document->Tag(tag.c_str(), tag.Length());
    return true;
}

KvWString XmlNode::Value(const KvWString& path, const KvWString& def) const {
    const XmlNode* node = Node(path);
    return node ? node->Value() : def;
}

void XmlNode::SetValue(const char* utf8) { Utf8ToUtf16(m_value, utf8); }

bool XmlNode::SetValue(const KvWString& name, const KvWString& value) {
    XmlNode* node = Node(name);
    if (!node) node = NewChild(name);
    if (!node) return false;
    node->SetValue(value);
    return true;
}
bool XmlNode::SetValue(const KvWString& name, const char* utf8) { return SetValue(name, ToWide(utf8)); }
bool XmlNode::SetValue(const KvWString& name, int value) { return SetValue(name, KvWString().Format(u"%d", value)); }
bool XmlNode::SetValue(const KvWString& name, long value) {
    return SetValue(name, KvWString().Format(u"%ld", value));
}
bool XmlNode::SetValue(const KvWString& name, unsigned long value) {
    return SetValue(name, KvWString().Format(u"%lu", value));
}
bool XmlNode::SetValue(const KvWString& name, double value) {
    return SetValue(name, KvWString().Format(u"%f", value));
}
bool XmlNode::SetValue(const KvWString& name, const uuid& value) {
    char16_t text[40];
    guidtow(value, text, 40);
    return SetValue(name, KvWString(text));
}

XmlNode* XmlNode::NewChild(const KvWString& tag) {
    if (!IsXmlName(tag)) return nullptr;
    auto* child = new (m_document->Pool()) XmlNode(m_document, tag.c_str(), tag.Length());
    OwnChilds().push_back(child);
    return child;
}
XmlNode* XmlNode::NewChild(const char* utf8Tag) { return NewChild(ToWide(utf8Tag)); }

void XmlNode::Adopt(XmlDocument* document) {
    if (m_document != document) {
        const KvWString& tag = *m_tag;
        m_tag = document->Tag(tag.c_str(), tag.Length());
        m_document = document;
    }
    for (XmlNode* child : Childs()) child->Adopt(document);
}

void XmlNode::AddChild(XmlNode* node) {
    if (!node || node == this) return;
    node->Adopt(m_document);
    OwnChilds().push_back(node);
}

void XmlNode::RemoveChild(XmlNode* node) {
    if (node && node != this) Unlink(node);
}

bool XmlNode::Unlink(XmlNode* node) {
    if (!m_childs) return false;
    for (size_t i = 0; i < m_childs->size(); ++i)
        if ((*m_childs)[i] == node) {
            m_childs->erase(m_childs->begin() + static_cast<long>(i));
            delete node;
            return true;
        }
    for (XmlNode* child : *m_childs)
        if (child->Unlink(node)) return true;
    return false;
}

// Takes the first child that satisfies the segment at `p` and moves `p` past
// it. Null when no child does or the segment is malformed.
XmlNode* XmlNode::MatchSegment(const char16_t*& p, const char16_t* end, size_t* index) const {
    const char16_t* name = p;
    while (p < end && *p != u'/' && *p != u'?') ++p;
    const char16_t* nameEnd = p;
    const char16_t *sub = nullptr, *subEnd = nullptr, *want = nullptr, *wantEnd = nullptr;
    if (p < end && *p == u'?') {
        sub = p + 1;
        const char16_t* close = sub;
        while (close < end && *close != u'?') ++close;
        if (close >= end || (close + 1 < end && close[1] != u'/')) return nullptr;
        subEnd = sub;
        while (subEnd < close && *subEnd != u'=') ++subEnd;
        if (subEnd < close) {
            want = subEnd + 1;
            wantEnd = close;
        }
        p = close + 1;
    }
    const ChildList& childs = Childs();
    for (size_t i = 0; i < childs.size(); ++i) {
        XmlNode* child = childs[i];
        if (!SameText(child->Tag(), name, nameEnd)) continue;
        if (sub) {
            const XmlNode* probe = child->Find(sub, subEnd, nullptr, nullptr);
            if (!probe || (want && !SameText(probe->Value(), want, wantEnd))) continue;
        }
        *index = i;
        return child;
    }
    return nullptr;
}

XmlNode* XmlNode::Find(const char16_t* p, const char16_t* end, XmlNode** parent, size_t* index) const {
    auto* node = const_cast<XmlNode*>(this);
    XmlNode* above = nullptr;
    size_t at = 0;
    for (;;) {
        while (p < end && *p == u'/') ++p;
        if (p >= end) break;
        size_t i = 0;
        XmlNode* next = node->MatchSegment(p, end, &i);
        if (!next) return nullptr;
        above = node;
        at = i;
        node = next;
    }
    if (parent) *parent = above;
    if (index) *index = at;
    return node;
}

XmlNode* XmlNode::Node(const KvWString& path) {
    return Find(path.c_str(), path.c_str() + path.Length(), nullptr, nullptr);
}
const XmlNode* XmlNode::Node(const KvWString& path) const {
    return Find(path.c_str(), path.c_str() + path.Length(), nullptr, nullptr);
}

XmlNode* XmlNode::NodeV(const char16_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    const KvWString path = FormatPath(format, ap);
    va_end(ap);
    return Node(path);
}
const XmlNode* XmlNode::NodeV(const char16_t* format, ...) const {
    va_list ap;
    va_start(ap, format);
    const KvWString path = FormatPath(format, ap);
    va_end(ap);
    return Node(path);
}

bool XmlNode::Erase(const KvWString& path) {
    XmlNode* parent = nullptr;
    size_t index = 0;
    XmlNode* node = Find(path.c_str(), path.c_str() + path.Length(), &parent, &index);
    if (!node || !parent) return false;  // nothing found, or the path named this node itself
    parent->m_childs->erase(parent->m_childs->begin() + static_cast<long>(index));
    delete node;
    return true;
}

bool XmlNode::EraseV(const char16_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    const KvWString path = FormatPath(format, ap);
    va_end(ap);
    return Erase(path);
}

bool XmlNode::EraseTag(const KvWString& tag) {
    if (m_childs) EraseChildren(*m_childs, tag, [](int) { return true; });
    return true;
}

bool XmlNode::EraseTag(const KvWString& tag, int index) {
    if (!HasChilds()) return true;
    return EraseChildren(*m_childs, tag, [index](int ordinal) { return ordinal == index; }) > 0;
}

bool XmlNode::setAttribute(const KvWString& name, const KvWString& value) {
    if (!IsXmlName(name)) return false;
    OwnAttributes()[name] = value;
    return true;
}

KvWString XmlNode::getAttribute(const KvWString& name, const KvWString& def) const {
    const AttributeMap& attrs = Attributes();
    const auto it = attrs.find(name);
    return it == attrs.end() ? def : it->second;
}

bool XmlNode::eraseAttribute(const KvWString& name) {
    if (!HasAttributes()) return true;
    return m_attributes->erase(name) > 0;
}

void XmlNode::ChildListGroupedByName(NodeGroups& groups) const {
    for (XmlNode* child : Childs()) groups[child->Tag()].push_back(child);
}

void XmlNode::SearchByAttribute(std::vector<XmlNode*>& found, const KvWString& name, const KvWString* value) {
    const KvWString v = getAttribute(name, u"-1");
    if (v != KvWString(u"-1") && (!value || v == *value)) found.push_back(this);
    for (XmlNode* child : Childs()) child->SearchByAttribute(found, name, value);
}

bool XmlNode::searchNodeByAttributeName(std::vector<XmlNode*>& found, const KvWString& name) {
    const size_t before = found.size();
    SearchByAttribute(found, name, nullptr);
    return found.size() > before;
}

bool XmlNode::searchNodeByAttributeNameAndValue(std::vector<XmlNode*>& found, const KvWString& name,
                                                const KvWString& value) {
    const size_t before = found.size();
    SearchByAttribute(found, name, &value);
    return found.size() > before;
}

XmlNode* XmlNode::CopyTree(XmlDocument* document, const XmlNode& source) {
    auto* copy = new (document->Pool()) XmlNode(document, source.Tag().c_str(), source.Tag().Length());
    copy->SetValue(source.Value());
    for (auto it = source.attributesBegin(); it != source.attributesEnd(); ++it)
        copy->setAttribute(it->first, it->second);
    for (auto it = source.ChildsBegin(); it != source.ChildsEnd(); ++it) copy->AddChild(CopyTree(document, **it));
    return copy;
}

XmlNode& XmlNode::operator=(const XmlNode& source) {
    if (&source == this) return *this;
    // Copy first: the source may live inside the subtree that Reset destroys.
    std::unique_ptr<XmlNode> copy(CopyTree(m_document, source));
    Reset();
    m_tag = copy->m_tag;
    m_value = static_cast<KvWString&&>(copy->m_value);
    m_childs = std::move(copy->m_childs);
    m_attributes = std::move(copy->m_attributes);
    return *this;
}
