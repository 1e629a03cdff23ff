#include "basalt/KvCfgFile.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"

using KvGroup = KvCfgFile::KvGroup;
using KvOption = KvCfgFile::KvGroup::KvOption;
using CCfgTokenizer = KvCfgFile::CCfgTokenizer;

namespace {

constexpr char kMagic[] = "ASCII\r\n";
constexpr int kMaxDepth = 256;  // deeper groups are dropped rather than recursed into

bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || u >= 0x80;
}

KvWString Wide(const KvString& utf8) {
    KvWString w;
    Utf8ToUtf16(w, utf8.c_str(), utf8.Length());
    return w;
}

// One lookup segment: name[:option='value'].
struct Segment {
    KvWString name, option, value;
    bool hasCondition = false, valid = true;
    const char16_t* rest = nullptr;
};

Segment ReadSegment(const char16_t* p) {
    Segment s;
    const char16_t* start = p;
    while (*p && *p != u'/' && *p != u':') ++p;
    s.name.Assign(start, static_cast<int>(p - start));
    if (*p == u':') {
        s.hasCondition = true;
        start = ++p;
        while (*p && *p != u'=' && *p != u'/') ++p;
        s.option.Assign(start, static_cast<int>(p - start));
        if (p[0] != u'=' || p[1] != u'\'') {
            s.valid = false;
            return s;
        }
        start = p += 2;
        while (*p && *p != u'\'') ++p;
        if (*p != u'\'' || (p[1] && p[1] != u'/')) {
            s.valid = false;
            return s;
        }
        s.value.Assign(start, static_cast<int>(p - start));
        ++p;
    }
    s.rest = p;
    return s;
}

bool Matches(const KvGroup& g, const Segment& s) {
    if (!(g.Name() == s.name)) return false;
    return !s.hasCondition || g.OptionValue(s.option, KvWString()) == s.value;
}

// Reads the tokens of one group's content into `group`. False when an error
// token or the end of the text comes before the group's end.
bool LoadGroup(CCfgTokenizer& tokens, KvGroup& group, int depth);

// Consumes a group too deep to keep, up to its end; false when the text ends first.
void SkipGroup(CCfgTokenizer& tokens) {
    for (int open = 1; open > 0;) {
        const CCfgTokenizer::Token t = tokens.Next();
        if (t.kind == CCfgTokenizer::Error || t.kind == CCfgTokenizer::End) return;
        if (t.kind == CCfgTokenizer::GroupStart) ++open;
        if (t.kind == CCfgTokenizer::GroupEnd) --open;
    }
}

// A group start inside `parent`: the subgroup is kept only when it loads whole.
void LoadSubgroup(CCfgTokenizer& tokens, KvGroup& parent, const KvWString& name, int depth) {
    if (depth >= kMaxDepth) {
        SkipGroup(tokens);
        return;
    }
    KvGroup* group = parent.AddGroup(name);
    if (!LoadGroup(tokens, *group, depth + 1)) parent.RemoveGroup(group);
}

bool LoadGroup(CCfgTokenizer& tokens, KvGroup& group, int depth) {
    for (;;) {
        CCfgTokenizer::Token t = tokens.Next();
        switch (t.kind) {
        case CCfgTokenizer::Option:
            if (!t.name.IsEmpty()) group.AddOption(t.name, t.value);
            break;
        case CCfgTokenizer::GroupStart: LoadSubgroup(tokens, group, t.name, depth); break;
        case CCfgTokenizer::GroupEnd: return true;
        default: return false;
        }
    }
}

void AppendEscaped(KvString& out, const KvWString& value) {
    const KvString utf8 = ToUtf8(value.c_str());
    for (int i = 0; i < utf8.Length(); ++i) {
        const char c = utf8[i];
        if (c == '"' || c == '\\' || c == '/') {
            out.Append('\\');
            out.Append(c);
        } else if (c == '\n') {
            out.Append("\\n");
        } else if (c == '\r') {
            out.Append("\\r");
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            out.Append(c);
        }
    }
}

// Only name characters can be written; a name left empty becomes "_" so that
// the file stays readable (an unnamed group would stop loading).
void AppendName(KvString& out, const KvWString& name) {
    const KvString utf8 = ToUtf8(name.c_str());
    const int before = out.Length();
    for (int i = 0; i < utf8.Length(); ++i)
        if (IsNameChar(utf8[i])) out.Append(utf8[i]);
    if (out.Length() == before) out.Append('_');
}

// A group path from a wide printf format, cut at the longest path a caller may build.
KvWString FormatGroupPath(const char16_t* format, va_list ap) {
    KvWString path;
    KvVFormat(path, format, ap);
    path.Truncate(256);
    return path;
}

}  // namespace

// ---- KvGroup ----

KvGroup::~KvGroup() { KvGroup::Reset(); }

void KvGroup::Reset() {
    for (KvOption* o : m_options) delete o;
    for (KvGroup* g : m_groups) delete g;
    m_options.clear();
    m_groups.clear();
}

const KvGroup* KvGroup::Group(const KvWString& path) const {
    const KvGroup* group = this;
    const char16_t* p = path.c_str();
    for (;;) {
        while (*p == u'/') ++p;
        if (!*p) return group;
        const Segment s = ReadSegment(p);
        if (!s.valid) return nullptr;
        const KvGroup* next = nullptr;
        for (const KvGroup* g : group->m_groups)
            if (Matches(*g, s)) {
                next = g;
                break;
            }
        if (!next) return nullptr;
        group = next;
        p = s.rest;
    }
}

KvGroup* KvGroup::Group(const KvWString& path) {
    return const_cast<KvGroup*>(static_cast<const KvGroup*>(this)->Group(path));
}

KvGroup* KvGroup::GroupV(const char16_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    const KvWString path = FormatGroupPath(format, ap);
    va_end(ap);
    return Group(path);
}

KvGroup* KvGroup::AddGroup(const KvWString& name) {
    m_groups.push_back(new KvGroup(name));
    return m_groups.back();
}

void KvGroup::RemoveGroup(KvGroup* group) {
    for (auto it = m_groups.begin(); it != m_groups.end(); ++it)
        if (*it == group) {
            m_groups.erase(it);
            delete group;
            return;
        }
}

KvWString KvGroup::OptionValue(const KvWString& name, const KvWString& def) const {
    for (const KvOption* o : m_options)
        if (o->Name() == name) return o->Value();
    return def;
}

bool KvGroup::RemoveOption(const KvWString& name) {
    for (auto it = m_options.begin(); it != m_options.end(); ++it)
        if ((*it)->Name() == name) {
            delete *it;
            m_options.erase(it);
            return true;
        }
    return false;
}

void KvGroup::SetOptionValue(const KvWString& name, const KvWString& value) {
    for (KvOption* o : m_options)
        if (o->Name() == name) {
            o->SetValue(value);
            return;
        }
    AddOption(name, value);
}

KvOption* KvGroup::AddOption(const KvWString& name, const KvWString& value) {
    m_options.push_back(new KvOption(name, value));
    return m_options.back();
}

void KvGroup::Save(CCfgWriter& writer) const {
    writer.BeginGroup(m_name);
    SaveContent(writer);
    writer.EndGroup();
}

void KvGroup::SaveContent(CCfgWriter& writer) const {
    for (const KvOption* o : m_options) writer.Option(o->Name(), o->Value());
    for (const KvGroup* g : m_groups) g->Save(writer);
}

// ---- CCfgTokenizer ----

CCfgTokenizer::Token CCfgTokenizer::Next() {
    Token t;
    KvString name;
    for (; m_p < m_end; ++m_p) {
        const char c = *m_p;
        if (IsNameChar(c)) {
            name.Append(c);
        } else if (c == '{') {
            ++m_p;
            t.name = Wide(name);
            t.kind = t.name.IsEmpty() ? Error : GroupStart;  // bytes that decode to nothing are no name
            return t;
        } else if (c == '}') {
            ++m_p;
            t.kind = GroupEnd;
            return t;
        } else if (c == '=') {
            ++m_p;
            KvString value;
            if (!ReadValue(value)) {
                t.kind = Error;
                return t;
            }
            t.kind = Option;
            t.name = Wide(name);
            t.value = Wide(value);
            return t;
        }
    }
    t.kind = End;
    return t;
}

// After "=": the quoted value; false when the text ends before it closes.
bool CCfgTokenizer::ReadValue(KvString& value) {
    while (m_p < m_end && *m_p != '"') ++m_p;
    if (m_p >= m_end) return false;
    value.SetGrowth(KvGrowth::Small);
    for (++m_p; m_p < m_end; ++m_p) {
        const char c = *m_p;
        if (c == '"') {
            ++m_p;
            value.SetGrowth(KvGrowth::Exact);
            return true;
        }
        if (c == '\\' || c == '/') {
            if (++m_p >= m_end) return false;
            const char e = *m_p;
            if (e == '"' || e == '/' || e == '\\') value.Append(e);
            if (e == 'n') value.Append('\n');
            if (e == 'r') value.Append('\r');
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            value.Append(c);
        }
    }
    return false;
}

// ---- CCfgWriter ----

KvCfgFile::CCfgWriter::CCfgWriter() {
    m_text.SetGrowth(KvGrowth::Large);
    m_text.Append(kMagic);
}

void KvCfgFile::CCfgWriter::Indent() {
    for (int i = 0; i < m_depth; ++i) m_text.Append("  ");
}

void KvCfgFile::CCfgWriter::BeginGroup(const KvWString& name) {
    Indent();
    AppendName(m_text, name);
    m_text.Append(" {\r\n");
    ++m_depth;
}

void KvCfgFile::CCfgWriter::EndGroup() {
    if (m_depth > 0) --m_depth;
    Indent();
    m_text.Append("}\r\n");
}

void KvCfgFile::CCfgWriter::Option(const KvWString& name, const KvWString& value) {
    Indent();
    AppendName(m_text, name);
    m_text.Append(" = \"");
    AppendEscaped(m_text, value);
    m_text.Append("\"\r\n");
}

// ---- KvCfgFile ----

void KvCfgFile::Reset(const KvWString& fileName) {
    m_dirty = false;
    m_fileName = fileName;
    m_root.Reset();
}

bool KvCfgFile::Load(const KvWString& fileName) {
    Reset(fileName);
    std::string data;
    return KvReadFile(fileName.c_str(), data) && LoadFromMemory(data.data(), data.size());
}

bool KvCfgFile::LoadFromMemory(const char* data, std::size_t size) {
    m_root.Reset();
    const std::size_t magic = sizeof kMagic - 1;
    if (!data || size < magic || std::memcmp(data, kMagic, magic) != 0) return false;
    CCfgTokenizer tokens(data + magic, size - magic);
    for (;;) {
        const CCfgTokenizer::Token t = tokens.Next();
        switch (t.kind) {
        case CCfgTokenizer::GroupStart: LoadSubgroup(tokens, m_root, t.name, 0); break;
        case CCfgTokenizer::Error: return false;
        case CCfgTokenizer::End: return true;
        default: break;  // options and group ends at the top level are ignored
        }
    }
}

KvGroup* KvCfgFile::GroupV(const char16_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    const KvWString path = FormatGroupPath(format, ap);
    va_end(ap);
    return m_root.Group(path);
}

bool KvCfgFile::Save() {
    if (m_fileName.IsEmpty()) return false;
    CCfgWriter writer;
    SaveMainGroup(writer);
    const KvString& text = writer.Text();
    if (!KvSaveFileAtomic(m_fileName.c_str(), text.c_str(), static_cast<std::size_t>(text.Length()))) return false;
    m_dirty = false;
    return true;
}

bool KvCfgFile::SaveAs(const KvWString& fileName) {
    m_fileName = fileName;
    return Save();
}
