// JsonDocument: parsing, loading and saving.
#include "basalt/JsonDocument.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "basalt/KvDigits.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

using JsonNode = JsonDocument::JsonNode;

namespace {

constexpr int kMaxDepth = 512;  // deeper input would exhaust the stack of the recursive parser

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Recursive descent over [p, end). Every read checks the end first.
class Parser {
public:
    Parser(const char* p, const char* end) : m_p(p), m_end(end) {}

    JsonNode* Value(int depth) {
        SkipSpace();
        if (m_p >= m_end || depth > kMaxDepth) return nullptr;
        switch (*m_p) {
        case 'n': return Literal("null", JsonDocument::JsonNull, 0);
        case 't': return Literal("true", JsonDocument::JsonBoolean, 1);
        case 'f': return Literal("false", JsonDocument::JsonBoolean, 0);
        case '"': return StringValue();
        case '[': return Container(depth, JsonDocument::JsonArray);
        case '{': return Container(depth, JsonDocument::JsonObject);
        default: return (*m_p == '-' || IsDigit(*m_p)) ? Number() : nullptr;
        }
    }

private:
    // White space and control characters between tokens are free; NUL ends the text.
    void SkipSpace() {
        while (m_p < m_end && static_cast<unsigned char>(*m_p) <= ' ' && *m_p != 0) ++m_p;
    }
    bool Take(char c) {
        SkipSpace();
        if (m_p >= m_end || *m_p != c) return false;
        ++m_p;
        return true;
    }

    JsonNode* Literal(const char* word, int type, int value) {
        const std::size_t n = std::strlen(word);
        if (static_cast<std::size_t>(m_end - m_p) < n || std::memcmp(m_p, word, n) != 0) return nullptr;
        m_p += n;
        JsonNode* node = new JsonNode(type);
        if (type == JsonDocument::JsonBoolean) node->SetValue(value != 0);
        return node;
    }

    JsonNode* StringValue() {
        KvWString text;
        if (!String(text)) return nullptr;
        JsonNode* node = new JsonNode(JsonDocument::JsonString);
        node->SetValue(static_cast<KvWString&&>(text));
        return node;
    }

    // At a double quote: reads the string into `out`.
    bool String(KvWString& out) {
        const char* start = ++m_p;
        const char* q = start;
        bool plain = true;  // ASCII without escapes: widened in one step
        for (; q < m_end && *q != '"' && *q != 0; ++q) {
            if (*q == '\\' || static_cast<unsigned char>(*q) >= 0x80) {
                plain = false;
                break;
            }
        }
        if (plain) {
            if (q >= m_end || *q != '"') return false;
            const int n = static_cast<int>(q - start);
            char16_t* buf = out.GetBuffer(n);
            for (int i = 0; i < n; ++i) buf[i] = static_cast<unsigned char>(start[i]);
            out.ReleaseBuffer(n);
            m_p = q + 1;
            return true;
        }
        out.SetGrowth(KvGrowth::Small);
        const bool ok = EscapedString(out);
        out.SetGrowth(KvGrowth::Exact);
        return ok;
    }

    bool EscapedString(KvWString& out) {
        const char* run = m_p;
        for (;;) {
            if (m_p >= m_end || *m_p == 0) return false;
            if (*m_p == '"') {
                AppendUtf8ToUtf16(out, run, static_cast<int>(m_p - run));
                ++m_p;
                return true;
            }
            if (*m_p != '\\') {
                ++m_p;
                continue;
            }
            AppendUtf8ToUtf16(out, run, static_cast<int>(m_p - run));
            if (++m_p >= m_end) return false;
            if (!Escape(out)) return false;
            run = m_p;
        }
    }

    // After a backslash. Units of \u escapes go straight into the UTF-16 text,
    // so surrogate pairs written as two escapes come out as one character.
    bool Escape(KvWString& out) {
        switch (*m_p) {
        case 'b': out.Append(u'\b'); break;
        case 'f': out.Append(u'\f'); break;
        case 'n': out.Append(u'\n'); break;
        case 'r': out.Append(u'\r'); break;
        case 't': out.Append(u'\t'); break;
        case 'u': {
            if (m_end - m_p < 5) return false;
            unsigned unit = 0;
            for (int i = 1; i <= 4; ++i) {
                const int d = HexDigitValue(m_p[i]);
                if (d < 0) return false;
                unit = unit * 16 + static_cast<unsigned>(d);
            }
            out.Append(static_cast<char16_t>(unit));
            m_p += 4;
            break;
        }
        default:
            // Any other escaped character stands for itself; a multi-byte one
            // starts the next run so that it is decoded whole.
            if (static_cast<unsigned char>(*m_p) >= 0x80) return true;
            out.Append(static_cast<char16_t>(*m_p));
        }
        ++m_p;
        return true;
    }

    const char* Digits() {
        const char* start = m_p;
        while (m_p < m_end && IsDigit(*m_p)) ++m_p;
        return m_p > start ? m_p : nullptr;
    }

    JsonNode* Number() {
        const char* start = m_p;
        if (*m_p == '-') ++m_p;
        if (!Digits()) return nullptr;
        bool fraction = false, exponent = false;
        if (m_p < m_end && *m_p == '.') {
            ++m_p;
            fraction = true;
            if (!Digits()) return nullptr;
        }
        if (m_p < m_end && (*m_p == 'e' || *m_p == 'E')) {
            ++m_p;
            exponent = true;
            if (m_p < m_end && (*m_p == '+' || *m_p == '-')) ++m_p;
            if (!Digits()) return nullptr;
        }
        return MakeNumber(start, m_p, fraction, exponent);
    }

    // Integers are kept as 32-bit values only when they fit; anything else
    // stays a double, so no number silently changes its value.
    static JsonNode* MakeNumber(const char* start, const char* end, bool fraction, bool exponent) {
        if (!fraction && !exponent) {
            long long v = 0;
            const auto r = std::from_chars(start, end, v);
            if (r.ec == std::errc() && v >= -2147483648LL && v <= 2147483647LL)
                return new JsonNode(JsonDocument::JsonInteger, static_cast<double>(v));
        }
        double d = 0;
        if (std::from_chars(start, end, d).ec == std::errc::result_out_of_range) {
            const char* e = start;
            while (e < end && *e != 'e' && *e != 'E') ++e;
            d = (e + 1 < end && e[1] == '-') ? 0.0 : HUGE_VAL;  // too small, or too large
            if (*start == '-') d = -d;
        }
        if (!fraction && std::trunc(d) == d && d >= -2147483648.0 && d <= 2147483647.0)
            return new JsonNode(JsonDocument::JsonInteger, d);
        return new JsonNode(JsonDocument::JsonDouble, d);
    }

    JsonNode* Container(int depth, int type) {
        const char close = type == JsonDocument::JsonArray ? ']' : '}';
        ++m_p;
        JsonNode* node = new JsonNode(type);
        if (Take(close)) return node;
        do {
            JsonNode* child = type == JsonDocument::JsonArray ? Value(depth + 1) : Member(depth);
            if (!child) {
                delete node;
                return nullptr;
            }
            node->AddChild(child);
        } while (Take(','));
        if (Take(close)) return node;
        delete node;
        return nullptr;
    }

    JsonNode* Member(int depth) {
        SkipSpace();
        KvWString name;
        if (m_p >= m_end || *m_p != '"' || !String(name) || !Take(':')) return nullptr;
        JsonNode* value = Value(depth + 1);
        if (value) value->SetString(static_cast<KvWString&&>(name));
        return value;
    }

    const char* m_p;
    const char* m_end;
};

}  // namespace

JsonDocument::~JsonDocument() { Reset(); }

JsonDocument::JsonDocument(const JsonDocument& other)
    : m_root(other.m_root ? new JsonNode(*other.m_root) : nullptr), m_fileName(other.m_fileName), m_dirty(other.m_dirty) {}

JsonDocument& JsonDocument::operator=(const JsonDocument& other) {
    if (this == &other) return *this;
    JsonNode* copy = other.m_root ? new JsonNode(*other.m_root) : nullptr;
    Reset();
    m_root = copy;
    m_fileName = other.m_fileName;
    m_dirty = other.m_dirty;
    return *this;
}

JsonNode* JsonDocument::Create(int type) {
    Reset();
    m_root = new JsonNode(type);
    return m_root;
}

void JsonDocument::Reset() {
    delete m_root;
    m_root = nullptr;
}

bool JsonDocument::Parse(const char* text) { return text && Parse(text, std::strlen(text)); }

bool JsonDocument::Parse(const char* data, std::size_t size) {
    Reset();
    if (!data) return false;
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        data += 3;
        size -= 3;
    }
    Parser parser(data, data + size);
    m_root = parser.Value(0);
    return m_root != nullptr;
}

bool JsonDocument::Load(const char16_t* fileName) {
    Reset();
    SetFileName(fileName);
    std::string data;
    return KvReadFile(fileName, data) && Parse(data.data(), data.size());
}

bool JsonDocument::Save() {
    if (!m_root || m_fileName.IsEmpty()) return false;
    KvString text;
    CreateJsonCode(text);
    if (!KvSaveFileAtomic(m_fileName.c_str(), text.c_str(), static_cast<std::size_t>(text.Length()))) return false;
    m_dirty = false;
    return true;
}

bool JsonDocument::SaveAs(const char16_t* fileName) {
    SetFileName(fileName);
    return Save();
}

void JsonDocument::CreateJsonCode(KvString& text) const {
    KvString out;
    out.SetGrowth(KvGrowth::Large);
    if (m_root) m_root->AppendJson(out, false);
    out.SetGrowth(KvGrowth::Exact);
    text = static_cast<KvString&&>(out);
}

void JsonDocument::CreateJsonCode(KvWString& text) const {
    KvString utf8;
    CreateJsonCode(utf8);
    Utf8ToUtf16(text, utf8.c_str(), utf8.Length());
}

bool JsonDocument::SaveJsonCode(std::FILE* file) const {
    if (!file) return false;
    KvString text;
    CreateJsonCode(text);
    const std::size_t size = static_cast<std::size_t>(text.Length());
    return std::fwrite(text.c_str(), 1, size, file) == size && std::fflush(file) == 0;
}
