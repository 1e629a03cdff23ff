// The strict XML reader behind XmlDocument::Parse.
#include <array>
#include <cstring>
#include <memory>

#include "internal/Utf8Decoder.h"
#include "internal/XmlCodec.h"
#include "internal/XmlName.h"

using XmlNode = XmlDocument::XmlNode;

namespace {

// Finds `c` in [p, end); tags and most texts are a few bytes long, where a
// plain loop beats the library search's setup cost.
const char* FindByte(const char* p, const char* end, char c) {
    const char* stop = end - p > 64 ? p + 64 : end;
    for (; p < stop; ++p)
        if (*p == c) return p;
    if (p >= end) return nullptr;
    return static_cast<const char*>(std::memchr(p, c, end - p));
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Bytes that end a tag name: the end of the tag, a slash, a '<' or white space.
bool IsNameStop(char c) {
    static const auto kStops = [] {
        std::array<bool, 256> stops{};
        for (unsigned char b : {'>', '/', '<', ' ', '\t', '\n', '\r', '\v', '\f'}) stops[b] = true;
        return stops;
    }();
    return kStops[static_cast<unsigned char>(c)];
}

// The five named entities; `p` points after '&'. Returns the character and
// sets `len` to the bytes consumed after '&', or 0 when none matches.
char16_t MatchEntity(const char* p, const char* end, int& len) {
    static const struct {
        const char* name;
        int len;
        char16_t c;
    } kEntities[] = {{"amp;", 4, u'&'}, {"lt;", 3, u'<'}, {"gt;", 3, u'>'}, {"quot;", 5, u'"'}, {"apos;", 5, u'\''}};
    for (const auto& e : kEntities)
        if (end - p >= e.len && std::memcmp(p, e.name, e.len) == 0) {
            len = e.len;
            return e.c;
        }
    len = 0;
    return 0;
}

// Decodes UTF-8 bytes into `dst` (room for end - p units) by the library's
// rules, the five named entities too when `entities` is set; bytes that make no
// character are dropped. Returns the units written.
long Decode(const char* p, const char* end, char16_t* dst, bool entities) {
    char16_t* out = dst;
    while (p < end) {
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x80) {
            int len = 0;
            const char16_t e = (b == '&' && entities) ? MatchEntity(p + 1, end, len) : 0;
            *out++ = len ? e : static_cast<char16_t>(b);
            p += 1 + len;
            continue;
        }
        const Utf8Sequence seq = Utf8Step(reinterpret_cast<const unsigned char*>(p),
                                          reinterpret_cast<const unsigned char*>(end));
        p += seq.length;
        if (seq.kind != Utf8Sequence::Valid) continue;
        std::uint32_t cp = seq.codePoint;
        if (cp < 0x10000) {
            *out++ = static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
    }
    return out - dst;
}

void TrimXmlSpace(KvWString& s) {
    int end = s.Length();
    while (end > 0 && s[end - 1] < 0x80 && IsXmlSpace(static_cast<char>(s[end - 1]))) --end;
    int begin = 0;
    while (begin < end && s[begin] < 0x80 && IsXmlSpace(static_cast<char>(s[begin]))) ++begin;
    if (begin > 0 || end < s.Length()) s = s.Mid(begin, end - begin);
}

}  // namespace

bool XmlUsableTag(const KvWString& tag) { return IsXmlName(tag); }

void XmlAppendDecoded(KvWString& out, const char* p, const char* end, bool entities) {
    if (p >= end) return;
    // Short texts are decoded on the stack and stored at their exact size; a
    // shrinking reallocation per value would leave heap fragments behind.
    char16_t small[256];
    if (out.IsEmpty() && end - p <= 256) {
        out.Assign(small, static_cast<int>(Decode(p, end, small, entities)));
        return;
    }
    const int had = out.Length();
    char16_t* dst = out.GetBuffer(had + static_cast<int>(end - p));
    out.ReleaseBuffer(had + static_cast<int>(Decode(p, end, dst + had, entities)));
}

XmlNode* XmlParser::ParseDocument() {
    if (m_end - m_p >= 3 && std::memcmp(m_p, "\xEF\xBB\xBF", 3) == 0) m_p += 3;
    if (m_end - m_p >= 2 && m_p[0] == '<' && m_p[1] == '?') {
        const void* q = std::memchr(m_p + 2, '?', m_end - m_p - 2);
        if (!q) return nullptr;
        const char* question = static_cast<const char*>(q);
        if (question + 1 >= m_end || question[1] != '>') return nullptr;
        m_p = question + 2;
    }
    // Editors and other writers put a line break after the declaration.
    while (m_p < m_end && IsXmlSpace(*m_p)) ++m_p;
    if (m_p >= m_end) return nullptr;
    return ParseElement(0);
}

const KvWString* XmlParser::InternTag(const char* p, const char* end) {
    const size_t length = end - p;
    // Sampling a few bytes is enough to keep a document's usual few dozen tags apart.
    auto at = [p](size_t i) { return static_cast<size_t>(static_cast<unsigned char>(p[i])); };
    size_t h = length * 131 + at(0) * 31 + at(length / 2) * 7 + at(length - 1) * 3 + at(length > 1 ? length - 2 : 0);
    TagCacheEntry& slot = m_tagCache[(h ^ (h >> 5)) % kTagCacheSize];
    if (slot.tag && slot.length == length) {
        size_t i = 0;
        while (i < length && slot.bytes[i] == p[i]) ++i;
        if (i == length) return slot.tag;
    }
    char16_t small[64];
    bool ascii = length <= 64;
    for (size_t i = 0; ascii && i < length; ++i) {
        ascii = static_cast<unsigned char>(p[i]) < 0x80 && p[i] != '&';
        small[i] = static_cast<char16_t>(p[i]);
    }
    KvWString wide;
    if (ascii)
        wide.Assign(small, static_cast<int>(length));
    else
        XmlAppendDecoded(wide, p, end, true);
    if (!IsXmlName(wide)) return nullptr;
    const KvWString* tag = m_doc.Tag(wide.c_str(), wide.Length());
    slot = TagCacheEntry{p, length, tag};
    return tag;
}

XmlNode* XmlParser::ParseElement(int depth) {
    if (depth > XmlDocument::kMaxDepth || m_p >= m_end || *m_p != '<') return nullptr;
    const char* tagText = m_p + 1;
    const char* nameEnd = tagText;
    while (nameEnd < m_end && !IsNameStop(*nameEnd)) ++nameEnd;
    // Comments, CDATA, declarations, processing instructions and stray end
    // tags all start with one of these; none of them is an element.
    if (nameEnd >= m_end || nameEnd == tagText || *nameEnd == '<' || *tagText == '!' || *tagText == '?')
        return nullptr;
    const char* tagEnd = nameEnd;
    if (*nameEnd == '/') {
        if (nameEnd + 1 >= m_end || nameEnd[1] != '>') return nullptr;  // a '/' inside the name
        tagEnd = nameEnd + 1;
    } else if (*nameEnd != '>') {
        tagEnd = FindByte(nameEnd, m_end, '>');
        if (!tagEnd) return nullptr;
    }
    const bool empty = tagEnd[-1] == '/';
    const char* textEnd = empty ? tagEnd - 1 : tagEnd;

    const KvWString* tag = InternTag(tagText, nameEnd);
    if (!tag) return nullptr;
    std::unique_ptr<XmlNode> node(new (m_doc.Pool()) XmlNode(&m_doc, tag));
    if (nameEnd < textEnd) ParseAttributes(*node, nameEnd, textEnd);
    m_p = tagEnd + 1;
    if (!empty && !ParseContent(*node, tagText, nameEnd - tagText, depth)) return nullptr;
    return node.release();
}

bool XmlParser::ParseContent(XmlNode& node, const char* name, size_t nameLen, int depth) {
    const size_t firstChild = m_pending.size();
    // Children not yet handed to `node` are destroyed when the element fails.
    struct PendingGuard {
        std::vector<XmlNode*>& pending;
        size_t from;
        ~PendingGuard() {
            for (size_t i = from; i < pending.size(); ++i) delete pending[i];
            pending.resize(from);
        }
    } guard{m_pending, firstChild};
    for (;;) {
        if (m_p >= m_end) return false;
        if (*m_p != '<') {
            const char* lt = FindByte(m_p, m_end, '<');
            if (!lt) return false;
            XmlAppendDecoded(node.m_value, m_p, lt, true);
            m_p = lt;
            continue;
        }
        if (m_end - m_p >= 2 && m_p[1] == '/') {
            const char* close = m_p + 2;
            if (static_cast<size_t>(m_end - close) <= nameLen || close[nameLen] != '>') return false;
            for (size_t i = 0; i < nameLen; ++i)
                if (close[i] != name[i]) return false;
            m_p = close + nameLen + 1;
            if (m_pending.size() > firstChild) {
                node.m_childs = std::make_unique<XmlDocument::ChildList>(m_pending.begin() + firstChild,
                                                                         m_pending.end());
                m_pending.resize(firstChild);
            }
            return true;
        }
        XmlNode* child = ParseElement(depth + 1);
        if (!child) return false;
        m_pending.push_back(child);
    }
}

// name="value" pairs; white space around '=' is allowed and the value ends at
// the quote that opened it. Anything else ends the list, keeping what was read.
void XmlParser::ParseAttributes(XmlNode& node, const char* p, const char* end) {
    for (;;) {
        while (p < end && IsXmlSpace(*p)) ++p;
        const void* eq = std::memchr(p, '=', end - p);
        if (p >= end || !eq) return;
        const char* nameEnd = static_cast<const char*>(eq);
        const char* q = nameEnd + 1;
        while (nameEnd > p && IsXmlSpace(nameEnd[-1])) --nameEnd;
        while (q < end && IsXmlSpace(*q)) ++q;
        if (q >= end || (*q != '"' && *q != '\'')) return;
        const void* close = std::memchr(q + 1, *q, end - q - 1);
        if (!close) return;
        KvWString name, value;
        XmlAppendDecoded(name, p, nameEnd, true);
        TrimXmlSpace(name);  // dropped damaged bytes may have uncovered spaces
        if (!IsXmlName(name)) return;  // it could never be written back
        XmlAppendDecoded(value, q + 1, static_cast<const char*>(close), true);
        node.setAttribute(name, value);
        p = static_cast<const char*>(close) + 1;
    }
}
