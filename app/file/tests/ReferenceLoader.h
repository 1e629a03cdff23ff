// ReferenceLoader: the facility file read the slow, obvious way, as the yardstick of the
// streaming reader: the whole document as a tree, then a pass over the panel records, then the
// contents of each id 1..128 found by path query, then the rules of the first panel entry that
// has them. Tests and the fuzzer check that both readers leave the same facility.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>

#include "basalt/XmlDocument.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"

namespace reference {

using Node = XmlDocument::XmlNode;

inline int toInt(const KvWString& text) {
    int i = 0;
    while (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')) ++i;
    bool negative = false;
    if (text[i] == u'+' || text[i] == u'-') negative = text[i++] == u'-';
    std::int64_t value = 0;
    for (; text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > std::int64_t(INT_MAX) + 1) value = std::int64_t(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

inline const Node* child(const Node& node, const char16_t* tag) {
    for (auto it = node.ChildsBegin(); it != node.ChildsEnd(); ++it)
        if ((*it)->Tag() == tag) return *it;
    return nullptr;
}

inline KvWString childText(const Node& node, const char16_t* tag) {
    const Node* c = child(node, tag);
    return c ? c->Value() : KvWString();
}

inline int childInt(const Node& node, const char16_t* tag) { return toInt(childText(node, tag)); }

template <class Fn>
void forEachChild(const Node* node, Fn fn) {
    if (!node) return;
    for (auto it = node->ChildsBegin(); it != node->ChildsEnd(); ++it) fn(**it);
}

struct Side {
    int v[7] = {0, 0, 0, 0, 0, 0, 0};  // type, panel, loop, element, zone, range begin, range end
    int itemType() const {
        if (v[4]) return kItemZone;
        if (v[3]) return kItemElement;
        if (v[2]) return kItemLoop;
        if (!v[1]) return kItemNothing;
        return v[5] && v[6] ? kItemPanelRange : kItemPanel;
    }
};

inline Side readSide(const Node* side) {
    static const char16_t* const kTags[] = {u"type", u"panelid", u"loopaddress", u"elementaddress",
                                            u"zoneid", u"rangebegin", u"rangeend"};
    Side s;
    forEachChild(side, [&s](const Node& c) {
        for (int f = 0; f < 7; ++f)
            if (c.Tag() == kTags[f]) s.v[f] = toInt(c.Value());
    });
    return s;
}

inline void readPanelRecords(CFacilityManager& m, const Node& panels) {
    forEachChild(&panels, [&m](const Node& entry) {
        int id = 0, address = 0;
        KvWString label, installer, description, phone;
        forEachChild(&entry, [&](const Node& c) {
            const KvWString& tag = c.Tag();
            if (tag == u"id") id = toInt(c.Value());
            else if (tag == u"address") address = toInt(c.Value());
            else if (tag == u"label") label = c.Value();
            else if (tag == u"installer") installer = c.Value();
            else if (tag == u"description") description = c.Value();
            else if (tag == u"phone") phone = c.Value();
        });
        m.addPanel(id, address, label);
        m.setPanelInstaller(id, installer);
        m.setPanelComments(id, description);
        m.setPanelPhone(id, phone);
    });
}

inline void readPanelContents(CFacilityManager& m, const Node& root, int id) {
    const Node* entry = root.NodeV(u"panels/panel?id=%d?", id);
    if (!entry) return;
    forEachChild(child(*entry, u"loops"), [&m, id](const Node& loop) {
        const int loopAddress = childInt(loop, u"address");
        m.addLoopToPanel(id, loopAddress);
        forEachChild(child(loop, u"elements"), [&m, id, loopAddress](const Node& e) {
            const int a = childInt(e, u"address");
            const KvWString description = childText(e, u"description");
            if (!m.addElementToLoop(id, loopAddress, a, childInt(e, u"type"), childInt(e, u"zone"),
                                    childText(e, u"label"), description.c_str()))
                return;
            m.setElementCompositeMode(id, loopAddress, a, childInt(e, u"composite"));
            m.setElementGenericType(id, loopAddress, a, childInt(e, u"generic"));
        });
    });
    forEachChild(child(*entry, u"zones"), [&m, id](const Node& zone) {
        m.addZone(id, childInt(zone, u"id"), childText(zone, u"description"));
    });
}

inline void readRules(CFacilityManager& m, const Node& panels) {
    const Node* events = nullptr;
    forEachChild(&panels, [&events](const Node& entry) {
        if (!events && entry.Tag() == u"panel") events = child(entry, u"events");
    });
    forEachChild(events, [&m](const Node& rule) {
        int id = 0, delay = 0;
        const Node* event = nullptr;
        const Node* action = nullptr;
        forEachChild(&rule, [&](const Node& c) {
            if (c.Tag() == u"id") id = toInt(c.Value());
            else if (c.Tag() == u"delay") delay = toInt(c.Value());
            else if (c.Tag() == u"event") event = &c;
            else if (c.Tag() == u"action") action = &c;
        });
        const Side in = readSide(event);
        const Side out = readSide(action);
        if (!m.addEventActionItem(id, delay)) return;
        m.addEventToEventActionItem(id, in.v[0], in.v[1], in.v[2], in.v[3], in.v[4], in.v[5], in.v[6],
                                    in.itemType(), 0);
        m.addActionToEventActionItem(id, out.v[0], out.v[1], out.v[2], out.v[3], out.v[4], out.v[5], out.v[6],
                                     out.itemType(), 0);
    });
}

// False when the text is not well-formed or not a facility; the facility is then untouched.
inline bool load(CFacilityManager& m, const char* text, std::size_t length) {
    m.clearGroups();
    XmlDocument doc;
    if (!doc.Parse(text, length)) return false;
    const Node* root = doc.Root();
    const Node* panels = child(*root, u"panels");
    if (root->Tag() != u"facility" || !panels) return false;
    readPanelRecords(m, *panels);
    for (int id = 1; id <= 128; ++id) readPanelContents(m, *root, id);
    readRules(m, *panels);
    return true;
}

}  // namespace reference
