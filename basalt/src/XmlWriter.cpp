// Serialization of the XML tree: compact UTF-8 XML and the JSON rendering.
#include <cstdint>
#include <type_traits>
#include <utility>

#include "basalt/KvUtf.h"
#include "internal/Utf16Walk.h"
#include "internal/XmlCodec.h"
#include "internal/XmlName.h"

using XmlNode = XmlDocument::XmlNode;

namespace {

const char* XmlEscape(char16_t c) {
    switch (c) {
        case u'"': return "&quot;";
        case u'&': return "&amp;";
        case u'\'': return "&apos;";
        case u'<': return "&lt;";
        case u'>': return "&gt;";
        default: return nullptr;
    }
}

// Printable ASCII other than the five reserved characters, and the three
// control characters XML allows in text.
bool IsPlainAscii(char16_t c) {
    if (c < 0x20) return c == u'\t' || c == u'\n' || c == u'\r';
    return !XmlEscape(c);
}

void PutUtf8(std::string& out, std::uint32_t cp) {
    char bytes[4];
    out.append(bytes, static_cast<size_t>(Utf8Encode(cp, bytes)));
}

void PutJsonMember(XmlSink& out, const XmlNode& node, bool named);

void PutJsonGroup(XmlSink& out, const KvWString& tag, const std::vector<XmlNode*>& group) {
    if (group.size() == 1) {
        PutJsonMember(out, *group.front(), true);
        return;
    }
    out.PutJsonString(tag);
    out.Put(":[", 2);
    for (size_t i = 0; i < group.size(); ++i) {
        if (i) out.Put(',');
        PutJsonMember(out, *group[i], false);
    }
    out.Put(']');
}

void PutJsonMember(XmlSink& out, const XmlNode& node, bool named) {
    if (named) {
        out.PutJsonString(node.Tag());
        out.Put(':');
    }
    if (!node.HasChilds() && !node.HasAttributes()) {
        if (node.Value().IsEmpty())
            out.Put("null", 4);
        else
            out.PutJsonString(node.Value());
        return;
    }
    out.Put('{');
    bool first = true;
    auto separate = [&] {
        if (!first) out.Put(',');
        first = false;
    };
    if (node.HasChilds()) {
        XmlDocument::NodeGroups groups;
        node.ChildListGroupedByName(groups);
        for (const auto& [tag, group] : groups) {
            separate();
            PutJsonGroup(out, tag, group);
        }
    } else if (!node.Value().IsEmpty()) {
        // An attribute must not silently swallow a leaf's text.
        separate();
        out.Put("\"#text\":", 8);
        out.PutJsonString(node.Value());
    }
    for (auto it = node.attributesBegin(); it != node.attributesEnd(); ++it) {
        separate();
        out.PutJsonString(u"-" + it->first);
        out.Put(':');
        out.PutJsonString(it->second);
    }
    out.Put('}');
}

}  // namespace

void XmlAppendText(std::string& out, const KvWString& text) {
    const char16_t* s = text.c_str();
    const int n = text.Length();
    int i = 0;
    // Plain ASCII runs are the bulk of any document; copy them without decoding.
    for (;;) {
        int run = i;
        while (run < n && s[run] < 0x80 && IsPlainAscii(s[run])) ++run;
        if (run > i) {
            const size_t at = out.size();
            out.resize(at + (run - i));
            for (int k = i; k < run; ++k) out[at + (k - i)] = static_cast<char>(s[k]);
        }
        i = run;
        if (i >= n) break;
        if (s[i] < 0x80) {
            // No XML text can hold the other control characters, not even as a
            // reference; a NUL would also end the file for many readers.
            if (const char* e = XmlEscape(s[i])) out.append(e);
            ++i;
            continue;
        }
        int stop = i;
        while (stop < n && s[stop] >= 0x80) ++stop;
        ForEachCodePoint(s + i, stop - i, [&](std::uint32_t cp) {
            if (cp != 0xFFFE && cp != 0xFFFF) PutUtf8(out, cp);
        });
        i = stop;
    }
}

void XmlSink::PutText(const KvWString& text) {
    XmlAppendText(m_buf, text);
    if (m_file && m_buf.size() >= kChunk) Drain();
}

void XmlSink::PutJsonString(const KvWString& text) {
    m_buf.push_back('"');
    ForEachCodePoint(text.c_str(), text.Length(), [&](std::uint32_t cp) {
        if (cp == '"' || cp == '\\') {
            m_buf.push_back('\\');
            m_buf.push_back(static_cast<char>(cp));
        } else if (cp < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(cp));
            m_buf.append(esc);
        } else {
            PutUtf8(m_buf, cp);
        }
    });
    m_buf.push_back('"');
}

void XmlSink::PutTag(const KvWString& tag) {
    auto it = m_tags.find(&tag);
    if (it == m_tags.end()) {
        if (!IsXmlName(tag)) m_writable = false;
        XmlSink encoded;
        encoded.PutText(tag);
        it = m_tags.emplace(&tag, std::move(encoded.Buffer())).first;
    }
    Put(it->second.data(), it->second.size());
}

bool XmlSink::Drain() {
    if (m_file && !m_buf.empty()) {
        if (std::fwrite(m_buf.data(), 1, m_buf.size(), m_file) != m_buf.size()) m_ok = false;
        m_buf.clear();
    }
    return m_ok;
}

void XmlWriteNode(XmlSink& out, const XmlNode& node) {
    out.Put('<');
    out.PutTag(node.Tag());
    for (auto it = node.attributesBegin(); it != node.attributesEnd(); ++it) {
        if (!IsXmlName(it->first)) out.Refuse();
        out.Put(' ');
        out.PutText(it->first);
        out.Put("=\"", 2);
        out.PutText(it->second);
        out.Put('"');
    }
    out.Put('>');
    for (auto it = node.ChildsBegin(); it != node.ChildsEnd(); ++it) XmlWriteNode(out, **it);
    out.PutText(node.Value());
    out.Put("</", 2);
    out.PutTag(node.Tag());
    out.Put('>');
}

bool XmlNode::CreateXmlCode(KvString& text) const {
    XmlSink out;
    XmlWriteNode(out, *this);
    if (!out.Writable()) return false;
    text.Append(out.Buffer().data(), static_cast<int>(out.Buffer().size()));
    return true;
}

bool XmlNode::SaveXmlCode(FILE* file) const {
    if (!file || !XmlIsWritable(*this)) return false;
    XmlSink out(file);
    XmlWriteNode(out, *this);
    return out.Drain();
}

void XmlNode::toJson(KvString& json) const {
    XmlSink out;
    out.Put('{');
    PutJsonMember(out, *this, true);
    out.Put('}');
    json.Assign(out.Buffer().data(), static_cast<int>(out.Buffer().size()));
}

bool XmlIsWritable(const XmlNode& node) {
    if (!IsXmlName(node.Tag())) return false;
    for (auto it = node.attributesBegin(); it != node.attributesEnd(); ++it)
        if (!IsXmlName(it->first)) return false;
    for (auto it = node.ChildsBegin(); it != node.ChildsEnd(); ++it)
        if (!XmlIsWritable(**it)) return false;
    return true;
}

bool XmlNode::operator==(const XmlNode& other) const {
    if (this == &other) return true;
    XmlSink a, b;
    XmlWriteNode(a, *this);
    XmlWriteNode(b, other);
    return a.Buffer() == b.Buffer();
}

bool XmlDocument::CreateXmlCode(KvString& text, bool declaration) const {
    text.Empty();
    if (!m_root) return false;
    XmlSink out;
    if (declaration) out.Put(kDeclaration, sizeof kDeclaration - 1);
    XmlWriteNode(out, *m_root);
    if (!out.Writable()) return false;
    text.Assign(out.Buffer().data(), static_cast<int>(out.Buffer().size()));
    return true;
}

bool XmlDocument::SaveXmlCode(FILE* file, bool declaration) const {
    if (!file || !m_root || !XmlIsWritable(*m_root)) return false;
    XmlSink out(file);
    if (declaration) out.Put(kDeclaration, sizeof kDeclaration - 1);
    XmlWriteNode(out, *m_root);
    return out.Drain();
}

namespace {

template <class S>
void EscapeText(S& out, const typename S::CharType* in) {
    S result;
    result.SetGrowth(KvGrowth::Small);
    for (; in && *in; ++in) {
        const char* e = XmlEscape(static_cast<char16_t>(static_cast<std::make_unsigned_t<typename S::CharType>>(*in)));
        if (!e) {
            result.Append(*in);
            continue;
        }
        for (; *e; ++e) result.Append(static_cast<typename S::CharType>(*e));
    }
    result.SetGrowth(KvGrowth::Exact);
    out = static_cast<S&&>(result);
}

template <class S>
void UnescapeText(S& out, const typename S::CharType* in) {
    static const struct {
        const char* name;
        int len;
        char c;
    } kEntities[] = {{"&amp;", 5, '&'}, {"&apos;", 6, '\''}, {"&lt;", 4, '<'}, {"&gt;", 4, '>'}, {"&quot;", 6, '"'}};
    S result;
    result.SetGrowth(KvGrowth::Small);
    while (in && *in) {
        int matched = 0;
        char c = 0;
        for (const auto& e : kEntities) {
            int k = 0;
            while (k < e.len && in[k] == static_cast<typename S::CharType>(e.name[k])) ++k;
            if (k == e.len) {
                matched = k;
                c = e.c;
                break;
            }
        }
        result.Append(matched ? static_cast<typename S::CharType>(c) : *in);
        in += matched ? matched : 1;
    }
    result.SetGrowth(KvGrowth::Exact);
    out = static_cast<S&&>(result);
}

}  // namespace

void Text2Xml(KvWString& out, const char16_t* in) { EscapeText(out, in); }
void Text2Xml(KvString& out, const char* in) { EscapeText(out, in); }
void Xml2Text(KvWString& out, const char16_t* in) { UnescapeText(out, in); }
void Xml2Text(KvString& out, const char* in) { UnescapeText(out, in); }
