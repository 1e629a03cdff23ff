// JsonDocument::JsonNode: values, children, path queries and serialization.
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <string>

#include "basalt/JsonDocument.h"
#include "basalt/KvUtf.h"
#include "basalt/uuid.h"

using JsonNode = JsonDocument::JsonNode;

namespace {

int ClampToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(v);
}

// Shortest text that reads back as the same double.
std::string ShortestDouble(double v) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// A double as JSON: a number that reads back as a double, not an integer;
// JSON has no infinities or NaN, so those become null.
void AppendDouble(KvString& out, double v) {
    if (!std::isfinite(v)) {
        out.Append("null");
        return;
    }
    std::string s = ShortestDouble(v);
    if (s.find_first_of(".e") == std::string::npos) {
        s += ".0";
    } else if (s.find('.') == std::string::npos) {
        s.insert(s.find('e'), ".0");
    }
    out.Append(s.c_str(), static_cast<int>(s.size()));
}

// Quoted UTF-8 text, escaped so that any JSON reader accepts it.
void AppendQuoted(KvString& out, const KvWString& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    KvString utf8;
    Utf16ToUtf8(utf8, text.c_str(), text.Length());  // the whole text: U+0000 inside is written as \u0000
    out.Append('"');
    for (int i = 0; i < utf8.Length(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '"': out.Append("\\\""); break;
        case '\\': out.Append("\\\\"); break;
        case '\b': out.Append("\\b"); break;
        case '\f': out.Append("\\f"); break;
        case '\n': out.Append("\\n"); break;
        case '\r': out.Append("\\r"); break;
        case '\t': out.Append("\\t"); break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                const char esc[7] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 1], kHex[c & 0xF], 0};
                out.Append(esc);
            } else {
                out.Append(c);
            }
        }
    }
    out.Append('"');
}

// One segment of a path: name, optional "?sub-path[=value]?".
struct Segment {
    KvWString name, subPath, value;
    bool hasCondition = false, hasValue = false, valid = true;
    const char16_t* rest = nullptr;
};

const char16_t* ReadUntil(const char16_t* p, KvWString& out, const char16_t* stops) {
    const char16_t* start = p;
    for (; *p; ++p) {
        bool stop = false;
        for (const char16_t* s = stops; *s && !stop; ++s) stop = *p == *s;
        if (stop) break;
    }
    out.Assign(start, static_cast<int>(p - start));
    return p;
}

Segment ReadSegment(const char16_t* p) {
    Segment s;
    p = ReadUntil(p, s.name, u"/?");
    if (*p == u'?') {
        s.hasCondition = true;
        p = ReadUntil(p + 1, s.subPath, u"?=");
        if (*p == u'=') {
            s.hasValue = true;
            p = ReadUntil(p + 1, s.value, u"?");
        }
        // The closing "?" must end the segment.
        if (*p != u'?' || (p[1] != 0 && p[1] != u'/')) s.valid = false;
        if (*p == u'?') ++p;
    }
    s.rest = p;
    return s;
}

bool Satisfies(const JsonNode& candidate, const Segment& s) {
    if (!(candidate.String() == s.name)) return false;
    if (!s.hasCondition) return true;
    const JsonNode* target = candidate.Node(s.subPath.c_str());
    if (!target) return false;
    if (!s.hasValue) return true;
    KvWString text;
    return target->ValueText(text) && text == s.value;
}

}  // namespace

JsonNode::JsonNode(int type, double number, const char16_t* text) : m_type(type < 0 || type > 6 ? JsonObject : type) {
    if (m_type == JsonInteger) m_int = ClampToInt(number);
    if (m_type == JsonDouble) m_double = number;
    if (m_type == JsonString && text) m_string = text;
}

JsonNode::~JsonNode() { Reset(); }

JsonNode::JsonNode(const JsonNode& other) : m_type(JsonObject) { CopyFrom(other); }

JsonNode& JsonNode::operator=(const JsonNode& other) {
    if (this == &other) return *this;
    JsonNode copy(other);  // complete before anything is dropped: `other` may lie below this node
    Reset();
    m_children.swap(copy.m_children);
    m_type = copy.m_type;
    m_int = copy.m_int;
    m_double = copy.m_double;
    m_string = static_cast<KvWString&&>(copy.m_string);
    m_name = static_cast<KvWString&&>(copy.m_name);
    return *this;
}

// Fills a fresh node; only the copy constructor calls it.
void JsonNode::CopyFrom(const JsonNode& other) {
    m_children.reserve(other.m_children.size());
    for (const JsonNode* child : other.m_children) m_children.push_back(new JsonNode(*child));
    m_type = other.m_type;
    m_int = other.m_int;
    m_double = other.m_double;
    m_string = other.m_string;
    m_name = other.m_name;
}

void JsonNode::SetType(int type) { m_type = type < 0 || type > 6 ? JsonObject : type; }
void JsonNode::SetString(const char16_t* name) { m_name = name; }
void JsonNode::SetString(const char* utf8Name) { Utf8ToUtf16(m_name, utf8Name); }
void JsonNode::SetString(KvWString&& name) { m_name = static_cast<KvWString&&>(name); }

void JsonNode::BecomeLeaf(int type) {
    Reset();
    m_type = type;
    m_int = 0;
    m_double = 0;
    m_string.Empty();
}

void JsonNode::SetValue(bool value) {
    BecomeLeaf(JsonBoolean);
    m_int = value ? 1 : 0;
}
void JsonNode::SetValue(int value) {
    BecomeLeaf(JsonInteger);
    m_int = value;
}
void JsonNode::SetValue(double value) {
    BecomeLeaf(JsonDouble);
    m_double = value;
}
void JsonNode::SetValue(const char16_t* text) {
    KvWString copy(text);  // `text` may be this node's own value
    SetValue(static_cast<KvWString&&>(copy));
}
void JsonNode::SetValue(KvWString&& text) {
    BecomeLeaf(JsonString);
    m_string = static_cast<KvWString&&>(text);
}
void JsonNode::SetValue(const char* utf8) { SetValue(ToWide(utf8)); }
void JsonNode::SetValue(const uuid& id) {
    char16_t text[40];
    guidtow(id, text, 40);
    SetValue(text);
}
void JsonNode::SetNullValue() { BecomeLeaf(JsonNull); }

JsonNode* JsonNode::SetValue(const char16_t* name, bool value) {
    JsonNode* n = NewChild(name, JsonBoolean);
    n->SetValue(value);
    return n;
}
JsonNode* JsonNode::SetValue(const char16_t* name, int value) {
    JsonNode* n = NewChild(name, JsonInteger);
    n->SetValue(value);
    return n;
}
JsonNode* JsonNode::SetValue(const char16_t* name, double value) {
    JsonNode* n = NewChild(name, JsonDouble);
    n->SetValue(value);
    return n;
}
JsonNode* JsonNode::SetValue(const char16_t* name, const char16_t* text) {
    JsonNode* n = NewChild(name, JsonString);
    n->SetValue(text);
    return n;
}
JsonNode* JsonNode::SetValue(const char16_t* name, const uuid& id) {
    JsonNode* n = NewChild(name, JsonString);
    n->SetValue(id);
    return n;
}
JsonNode* JsonNode::SetNullValue(const char16_t* name) { return NewChild(name, JsonNull); }

JsonNode* JsonNode::NewChild(int type) { return Append(new JsonNode(type)); }
JsonNode* JsonNode::NewChild(const char16_t* name, int type) {
    JsonNode* n = Append(new JsonNode(type));
    n->SetString(name);
    return n;
}
JsonNode* JsonNode::NewChild(const char* utf8Name, int type) {
    JsonNode* n = Append(new JsonNode(type));
    n->SetString(utf8Name);
    return n;
}

JsonNode* JsonNode::Append(JsonNode* node) {
    m_children.push_back(node);
    return node;
}

void JsonNode::AddChild(JsonNode* node) {
    if (node && node != this) m_children.push_back(node);
}

void JsonNode::RemoveChild(JsonNode* node) {
    for (auto it = m_children.begin(); it != m_children.end(); ++it)
        if (*it == node) {
            m_children.erase(it);
            delete node;
            return;
        }
}

void JsonNode::Reset() {
    ChildList children;
    children.swap(m_children);
    for (JsonNode* child : children) delete child;
}

const JsonNode* JsonNode::Node(const char16_t* path) const {
    const JsonNode* node = this;
    const char16_t* p = path ? path : u"";
    for (;;) {
        while (*p == u'/') ++p;
        if (!*p) return node;
        const Segment s = ReadSegment(p);
        if (!s.valid) return nullptr;
        const JsonNode* next = nullptr;
        for (const JsonNode* child : node->m_children)
            if (Satisfies(*child, s)) {
                next = child;
                break;
            }
        if (!next) return nullptr;
        node = next;
        p = s.rest;
    }
}

JsonNode* JsonNode::Node(const char16_t* path) {
    return const_cast<JsonNode*>(static_cast<const JsonNode*>(this)->Node(path));
}

JsonNode* JsonNode::NodeV(const char16_t* format, ...) {
    KvWString path;
    va_list ap;
    va_start(ap, format);
    KvVFormat(path, format, ap);
    va_end(ap);
    path.Truncate(1024);
    return Node(path.c_str());
}

bool JsonNode::ValueText(KvWString& text) const {
    switch (m_type) {
    case JsonBoolean: text = m_int ? u"true" : u"false"; return true;
    case JsonNull: text = u"null"; return true;
    case JsonInteger: text.Format(u"%d", m_int); return true;
    case JsonDouble: text = ToWide(ShortestDouble(m_double).c_str()); return true;
    case JsonString: text = m_string; return true;
    default: text.Empty(); return false;
    }
}

void JsonNode::AppendJson(KvString& out, bool named) const {
    if (named) {
        AppendQuoted(out, m_name);
        out.Append(": ");
    }
    switch (m_type) {
    case JsonBoolean: out.Append(m_int ? "true" : "false"); return;
    case JsonNull: out.Append("null"); return;
    case JsonInteger: out.AppendFormat("%d", m_int); return;
    case JsonDouble: AppendDouble(out, m_double); return;
    case JsonString: AppendQuoted(out, m_string); return;
    default: break;
    }
    const bool object = m_type == JsonObject;
    out.Append(object ? '{' : '[');
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (i > 0) out.Append(',');
        m_children[i]->AppendJson(out, object);  // inside an array names would make invalid JSON
    }
    out.Append(object ? '}' : ']');
}
