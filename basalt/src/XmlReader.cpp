// XmlReader: the same acceptance as XmlParser, one token at a time, without building nodes.
#include "basalt/XmlReader.h"

#include <algorithm>
#include <cstring>

#include "basalt/XmlDocument.h"
#include "internal/XmlCodec.h"

namespace {

const char* FindByte(const char* p, const char* end, char c) {
    const char* stop = end - p > 64 ? p + 64 : end;
    for (; p < stop; ++p)
        if (*p == c) return p;
    if (p >= end) return nullptr;
    return static_cast<const char*>(std::memchr(p, c, end - p));
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool IsNameStop(char c) {
    switch (c) {
        case '>': case '/': case '<': case ' ': case '\t': case '\n': case '\r': case '\v': case '\f':
            return true;
        default:
            return false;
    }
}

}  // namespace

XmlReader::XmlReader(const char* text, std::size_t length) : m_begin(text ? text : ""), m_p(m_begin) {
    if (!text) length = 0;
    if (const void* nul = std::memchr(m_begin, 0, length)) length = static_cast<const char*>(nul) - m_begin;
    m_end = m_begin + length;
}

XmlReader::Token XmlReader::Fail(const char* at) {
    m_error = at;
    return kError;
}

XmlReader::Token XmlReader::Next() {
    if (m_error) return kError;
    if (m_done) return kDone;
    if (!m_started) {
        m_started = true;
        return ReadProlog();
    }
    if (m_emptyPending) {
        m_emptyPending = false;
        m_closed = Span{m_open.back().begin, static_cast<std::size_t>(m_p - m_open.back().begin), m_open.size() - 1};
        m_open.pop_back();
        return kEnd;
    }
    if (m_open.empty()) {
        m_done = true;
        return kDone;
    }
    if (m_p >= m_end) return Fail(m_end);
    if (*m_p != '<') {
        const char* lt = FindByte(m_p, m_end, '<');
        if (!lt) return Fail(m_end);
        m_text = m_p;
        m_textEnd = lt;
        m_p = lt;
        return kText;
    }
    if (m_end - m_p >= 2 && m_p[1] == '/') return ReadEndTag();
    return ReadStartTag();
}

XmlReader::Token XmlReader::ReadProlog() {
    if (m_end - m_p >= 3 && std::memcmp(m_p, "\xEF\xBB\xBF", 3) == 0) m_p += 3;
    if (m_end - m_p >= 2 && m_p[0] == '<' && m_p[1] == '?') {
        const void* q = std::memchr(m_p + 2, '?', m_end - m_p - 2);
        if (!q) return Fail(m_end);
        const char* question = static_cast<const char*>(q);
        if (question + 1 >= m_end) return Fail(m_end);
        if (question[1] != '>') return Fail(question);
        m_p = question + 2;
    }
    while (m_p < m_end && IsXmlSpace(*m_p)) ++m_p;
    if (m_p >= m_end) return Fail(m_end);
    if (*m_p != '<') return Fail(m_p);
    return ReadStartTag();
}

XmlReader::Token XmlReader::ReadStartTag() {
    if (m_open.size() > static_cast<std::size_t>(XmlDocument::kMaxDepth)) return Fail(m_p);
    const char* tagText = m_p + 1;
    const char* nameEnd = tagText;
    while (nameEnd < m_end && !IsNameStop(*nameEnd)) ++nameEnd;
    if (nameEnd >= m_end) return Fail(m_end);
    if (nameEnd == tagText || *nameEnd == '<' || *tagText == '!' || *tagText == '?') return Fail(m_p);
    const char* tagEnd = nameEnd;
    if (*nameEnd == '/') {
        if (nameEnd + 1 >= m_end) return Fail(m_end);
        if (nameEnd[1] != '>') return Fail(m_p);
        tagEnd = nameEnd + 1;
    } else if (*nameEnd != '>') {
        tagEnd = FindByte(nameEnd, m_end, '>');
        if (!tagEnd) return Fail(m_end);
    }
    if (!CheckTag(tagText, nameEnd)) return Fail(m_p);
    m_open.push_back(Open{m_p, tagText, static_cast<std::size_t>(nameEnd - tagText)});
    m_emptyPending = tagEnd[-1] == '/';
    m_p = tagEnd + 1;
    return kStart;
}

XmlReader::Token XmlReader::ReadEndTag() {
    const Open& open = m_open.back();
    const char* close = m_p + 2;
    const std::size_t available = static_cast<std::size_t>(m_end - close);
    if (std::memcmp(close, open.name, std::min(available, open.nameLength)) != 0) return Fail(m_p);
    if (available <= open.nameLength) return Fail(m_end);  // cut short inside a matching end tag
    if (close[open.nameLength] != '>') return Fail(m_p);
    m_p = close + open.nameLength + 1;
    m_closed = Span{open.begin, static_cast<std::size_t>(m_p - open.begin), m_open.size() - 1};
    m_open.pop_back();
    return kEnd;
}

// Every tag is judged the way the tree's parser judges it, so both readers refuse the same
// documents. Plain ASCII spellings decode to themselves; their verdicts are remembered, since a
// large document repeats a few dozen tags millions of times.
bool XmlReader::CheckTag(const char* name, const char* nameEnd) {
    m_tag = name;
    m_tagLength = static_cast<std::size_t>(nameEnd - name);
    m_plainTag = true;
    std::size_t hash = m_tagLength;
    for (const char* p = name; p < nameEnd && m_plainTag; ++p) {
        m_plainTag = static_cast<unsigned char>(*p) < 0x80 && *p != '&';
        hash = hash * 31 + static_cast<unsigned char>(*p);
    }
    if (m_plainTag) {
        KnownTag& known = m_known[hash % kKnownTags];
        if (known.length == m_tagLength && known.bytes && std::memcmp(known.bytes, name, m_tagLength) == 0)
            return known.usable;
        char16_t wide[64];
        KvWString tag;
        if (m_tagLength <= 64) {
            for (std::size_t i = 0; i < m_tagLength; ++i) wide[i] = static_cast<char16_t>(name[i]);
            tag.Assign(wide, static_cast<int>(m_tagLength));
        } else {
            XmlAppendDecoded(tag, name, nameEnd, true);
        }
        known = KnownTag{name, m_tagLength, XmlUsableTag(tag)};
        return known.usable;
    }
    m_decodedTag = KvWString();
    XmlAppendDecoded(m_decodedTag, name, nameEnd, true);
    return XmlUsableTag(m_decodedTag);
}

bool XmlReader::DecodedTagIs(std::string_view tag) const {
    if (static_cast<std::size_t>(m_decodedTag.Length()) != tag.size()) return false;
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (m_decodedTag[static_cast<int>(i)] != static_cast<unsigned char>(tag[i])) return false;
    return true;
}

void XmlReader::AppendText(KvWString& out) const { XmlAppendDecoded(out, m_text, m_textEnd, true); }

bool XmlReader::SkipElement() {
    const std::size_t depth = m_open.size();
    for (;;) {
        const Token t = Next();
        if (t == kError) return false;
        if (t == kEnd && m_open.size() < depth) return true;
    }
}

bool XmlReader::SkipRepeatOf(const Span& earlier) {
    if (m_error || m_emptyPending || m_open.empty() || earlier.length == 0) return false;
    const Open& open = m_open.back();
    if (earlier.depth != m_open.size() - 1 || open.begin == earlier.begin) return false;
    if (static_cast<std::size_t>(m_end - open.begin) < earlier.length) return false;
    if (std::memcmp(open.begin, earlier.begin, earlier.length) != 0) return false;
    m_p = open.begin + earlier.length;
    m_closed = Span{open.begin, earlier.length, earlier.depth};
    m_open.pop_back();
    return true;
}

int XmlReader::ErrorLine() const {
    if (!m_error) return 0;
    int line = 1;
    for (const char* p = m_begin; p < m_error; ++p) line += *p == '\n';
    return line;
}

int XmlReader::ErrorColumn() const {
    if (!m_error) return 0;
    const char* lineStart = m_error;
    while (lineStart > m_begin && lineStart[-1] != '\n') --lineStart;
    int column = 1;
    for (const char* p = lineStart; p < m_error; ++p) column += (static_cast<unsigned char>(*p) & 0xC0) != 0x80;
    return column;
}
