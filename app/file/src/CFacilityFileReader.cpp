#include "CFacilityFileReader.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "basalt/KvTrace.h"
#include "model/CEventActionSide.h"

namespace {

// Decimal like the platform's wide atoi: leading white space, an optional sign, digits; the
// first other character ends the number and no digits give 0. Out-of-range values clamp
// instead of overflowing.
template <class Char>
int toInt(const Char* text, const Char* end) {
    auto at = [&](const Char* p) { return p < end ? static_cast<char16_t>(*p) : char16_t(0); };
    const Char* p = text;
    while (at(p) == u' ' || (at(p) >= u'\t' && at(p) <= u'\r')) ++p;
    bool negative = false;
    if (at(p) == u'+' || at(p) == u'-') negative = at(p++) == u'-';
    std::int64_t value = 0;
    for (; at(p) >= u'0' && at(p) <= u'9'; ++p) {
        value = value * 10 + (at(p) - u'0');
        if (value > std::int64_t(INT_MAX) + 1) value = std::int64_t(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

int toInt(const KvWString& text) { return toInt(text.c_str(), text.c_str() + text.Length()); }

// Bytes that decode to themselves: ASCII without entities.
bool plainBytes(const char* p, const char* end) {
    for (; p < end; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80 || *p == '&') return false;
    return true;
}

}  // namespace

int CFacilityFileReader::Side::itemType() const {
    if (zone != 0) return kItemZone;
    if (element != 0) return kItemElement;
    if (loop != 0) return kItemLoop;
    if (panel == 0) return kItemNothing;
    if (rangeBegin != 0 && rangeEnd != 0) return kItemPanelRange;
    return kItemPanel;
}

bool CFacilityFileReader::read(const char* text, std::size_t length) {
    printk("\n CFacilityFileReader::read");
    XmlReader reader(text, length);
    m_reader = &reader;
    const bool ok = readRoot();
    if (!ok && m_error.kind == CLoadError::kNone) {
        m_error.kind = CLoadError::kNotWellFormed;
        m_error.line = reader.ErrorLine();
        m_error.column = reader.ErrorColumn();
    }
    m_reader = nullptr;
    return ok;
}

// Calls onChild() at each child's start tag (it must read the child through its end tag) and
// collects the element's own text into `value` when given, as the tree's Value() would hold it.
template <class OnChild>
bool CFacilityFileReader::children(OnChild onChild, KvWString* value) {
    for (;;) switch (m_reader->Next()) {
            case XmlReader::kStart:
                if (!onChild()) return false;
                break;
            case XmlReader::kText:
                if (value) m_reader->AppendText(*value);
                break;
            case XmlReader::kEnd:
                return true;
            default:
                return false;
        }
}

bool CFacilityFileReader::readText(KvWString& out) {
    out = KvWString();
    return children([this] { return skip(); }, &out);
}

// Most numbers are one plain run of digits; those are read from the bytes without decoding.
bool CFacilityFileReader::readInt(int& out) {
    const char* plain = nullptr;
    const char* plainEnd = nullptr;
    KvWString text;
    int runs = 0;
    for (;;) switch (m_reader->Next()) {
            case XmlReader::kStart:
                if (!skip()) return false;
                break;
            case XmlReader::kText:
                if (runs++ == 0 && plainBytes(m_reader->TextBegin(), m_reader->TextEnd())) {
                    plain = m_reader->TextBegin();
                    plainEnd = m_reader->TextEnd();
                    break;
                }
                if (plain) {  // a second run: the first joins the decoded text as it stands
                    for (const char* p = plain; p < plainEnd; ++p) text += static_cast<char16_t>(*p);
                    plain = nullptr;
                }
                m_reader->AppendText(text);
                break;
            case XmlReader::kEnd:
                out = plain ? toInt(plain, plainEnd) : toInt(text);
                return true;
            default:
                return false;
        }
}

bool CFacilityFileReader::readRoot() {
    if (m_reader->Next() != XmlReader::kStart) return false;
    if (!m_reader->TagIs("facility")) {
        m_error.kind = CLoadError::kNotFacility;
        return false;
    }
    bool panels = false;
    const bool ok = children([this, &panels] {
        if (m_reader->TagIs("expanded")) return readInt(m_expandedView);
        if (panels || !m_reader->TagIs("panels")) return skip();
        panels = true;
        return children([this] { return readEntry(); });
    });
    if (ok && !panels) m_error.kind = CLoadError::kNotFacility;
    return ok && panels;
}

// The contents of panel `id` come from the first "panel" entry whose first "id" reads exactly
// the id in decimal; 0 when `idText` is no such id or an earlier entry has it.
int CFacilityFileReader::claim(const KvWString& idText) {
    const int n = idText.Length();
    if (n < 1 || n > 3 || idText[0] == u'0') return 0;
    int id = 0;
    for (int i = 0; i < n; ++i) {
        if (idText[i] < u'0' || idText[i] > u'9') return 0;
        id = id * 10 + (idText[i] - u'0');
    }
    if (id < kFirstPanelId || id > kLastPanelId || m_claimed[id - kFirstPanelId]) return 0;
    m_claimed[id - kFirstPanelId] = true;
    return id;
}

// One entry under "panels": its record (later fields of the same name win), and its loops and
// zones when it claims a panel id.
bool CFacilityFileReader::readEntry() {
    const bool isPanel = m_reader->TagIs("panel");
    Panel record;
    Contents contents;
    bool idSeen = false, loopsSeen = false, zonesSeen = false;
    int claimed = 0;
    const bool ok = children([&]() -> bool {
        XmlReader& r = *m_reader;
        if (r.TagIs("id")) {
            KvWString text;
            if (!readText(text)) return false;
            record.id = toInt(text);
            if (!idSeen && isPanel) claimed = claim(text);
            idSeen = true;
            return true;
        }
        if (r.TagIs("address")) return readInt(record.address);
        if (r.TagIs("label")) return readText(record.label);
        if (r.TagIs("installer")) return readText(record.installer);
        if (r.TagIs("description")) return readText(record.description);
        if (r.TagIs("phone")) return readText(record.phone);
        if (r.TagIs("expanded")) return readInt(record.expanded);
        const bool wanted = isPanel && (!idSeen || claimed);
        if (r.TagIs("loops") && !loopsSeen && wanted) return loopsSeen = true, readLoops(contents.loops);
        if (r.TagIs("zones") && !zonesSeen && wanted) return zonesSeen = true, readZones(contents.zones);
        if (r.TagIs("events")) return isPanel && !m_rulesTaken ? readRules() : skipRules();
        return skip();
    });
    if (!ok) return false;
    if (claimed) {
        contents.present = true;
        m_contents[claimed - kFirstPanelId] = std::move(contents);
    }
    m_panels.push_back(std::move(record));
    return true;
}

bool CFacilityFileReader::readLoops(std::vector<Loop>& loops) {
    return children([this, &loops] {
        Loop loop;
        bool addressSeen = false, elementsSeen = false;
        const bool ok = children([&]() -> bool {
            if (!addressSeen && m_reader->TagIs("address")) return addressSeen = true, readInt(loop.address);
            if (!elementsSeen && m_reader->TagIs("elements")) return elementsSeen = true, readElements(loop.elements);
            if (m_reader->TagIs("expanded")) return readInt(loop.expanded);
            return skip();
        });
        loops.push_back(std::move(loop));
        return ok;
    });
}

// Element fields: the first child with each tag counts.
bool CFacilityFileReader::readElements(std::vector<Element>& elements) {
    static constexpr std::string_view kTags[] = {"address", "type", "zone", "composite", "generic", "label", "description"};
    return children([this, &elements] {
        Element e;
        int* const numbers[] = {&e.address, &e.type, &e.zone, &e.composite, &e.generic};
        KvWString* const texts[] = {&e.label, &e.description};
        unsigned seen = 0;
        const bool ok = children([&]() -> bool {
            for (unsigned f = 0; f < 7; ++f) {
                if ((seen & (1u << f)) || !m_reader->TagIs(kTags[f])) continue;
                seen |= 1u << f;
                return f < 5 ? readInt(*numbers[f]) : readText(*texts[f - 5]);
            }
            return skip();
        });
        elements.push_back(std::move(e));
        return ok;
    });
}

bool CFacilityFileReader::readZones(std::vector<Zone>& zones) {
    return children([this, &zones] {
        Zone zone;
        bool idSeen = false, descriptionSeen = false;
        const bool ok = children([&]() -> bool {
            if (!idSeen && m_reader->TagIs("id")) return idSeen = true, readInt(zone.number);
            if (!descriptionSeen && m_reader->TagIs("description"))
                return descriptionSeen = true, readText(zone.description);
            return skip();
        });
        zones.push_back(std::move(zone));
        return ok;
    });
}

// Rule fields: later children with the same tag win, sides included.
bool CFacilityFileReader::readRules() {
    m_rulesTaken = true;
    const bool ok = children([this] {
        Rule rule;
        const bool read = children([&]() -> bool {
            XmlReader& r = *m_reader;
            if (r.TagIs("id")) return readInt(rule.id);
            if (r.TagIs("delay")) return readInt(rule.delay);
            if (r.TagIs("event")) return rule.event = Side(), readSide(rule.event);
            if (r.TagIs("action")) return rule.action = Side(), readSide(rule.action);
            return skip();
        });
        m_rules.push_back(rule);
        return read;
    });
    if (ok) m_rulesSpan = m_reader->Closed();
    return ok;
}

bool CFacilityFileReader::readSide(Side& side) {
    static constexpr std::string_view kTags[] = {"type", "panelid", "loopaddress", "elementaddress",
                                        "zoneid", "rangebegin", "rangeend"};
    int* const fields[] = {&side.type, &side.panel, &side.loop, &side.element,
                           &side.zone, &side.rangeBegin, &side.rangeEnd};
    return children([&]() -> bool {
        for (int f = 0; f < 7; ++f)
            if (m_reader->TagIs(kTags[f])) return readInt(*fields[f]);
        return skip();
    });
}

// Every panel entry carries the same rules; only the first copy is read.
bool CFacilityFileReader::skipRules() {
    return m_reader->SkipRepeatOf(m_rulesSpan) || skip();
}
