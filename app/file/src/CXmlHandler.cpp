#include "file/CXmlHandler.h"

#include <climits>
#include <cstdint>

#include "basalt/KvUtf.h"
#include "basalt/KvTrace.h"
#include "basalt/XmlDocument.h"
#include "basalt/KvPaths.h"
#include "internal/XmlText.h"
#include "model/CFacilityManager.h"

namespace {

using Node = XmlDocument::XmlNode;

constexpr int kFirstPanelId = 1;
constexpr int kLastPanelId = 128;

// Decimal like the platform's wide atoi: leading white space, an optional sign, digits; the
// first other character ends the number and no digits give 0. Out-of-range values clamp
// instead of overflowing.
int toInt(const KvWString& text) {
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

// Text of the first child with `tag`; empty when there is none.
KvWString childText(const Node& node, const char16_t* tag) {
    for (auto it = node.ChildsBegin(); it != node.ChildsEnd(); ++it)
        if ((*it)->Tag() == tag) return (*it)->Value();
    return KvWString();
}

int childInt(const Node& node, const char16_t* tag) { return toInt(childText(node, tag)); }

// The named child, or null; a missing container reads as empty.
const Node* child(const Node& node, const char16_t* tag) {
    for (auto it = node.ChildsBegin(); it != node.ChildsEnd(); ++it)
        if ((*it)->Tag() == tag) return *it;
    return nullptr;
}

template <class Fn>
void forEachChild(const Node* node, Fn fn) {
    if (!node) return;
    for (auto it = node->ChildsBegin(); it != node->ChildsEnd(); ++it) fn(**it);
}

struct SideValues {
    int type = 0, panel = 0, loop = 0, element = 0, zone = 0, rangeBegin = 0, rangeEnd = 0;

    // What the side names, derived because the file does not store it.
    int itemType() const {
        if (zone != 0) return kItemZone;
        if (element != 0) return kItemElement;
        if (loop != 0) return kItemLoop;
        if (panel == 0) return kItemNothing;
        if (rangeBegin != 0 && rangeEnd != 0) return kItemPanelRange;
        return kItemPanel;
    }
};

// Later children with the same tag win, as a scan over all children gives.
SideValues readSide(const Node* side) {
    SideValues v;
    forEachChild(side, [&v](const Node& c) {
        const KvWString& tag = c.Tag();
        const int n = toInt(c.Value());
        if (tag == u"type") v.type = n;
        else if (tag == u"panelid") v.panel = n;
        else if (tag == u"loopaddress") v.loop = n;
        else if (tag == u"elementaddress") v.element = n;
        else if (tag == u"zoneid") v.zone = n;
        else if (tag == u"rangebegin") v.rangeBegin = n;
        else if (tag == u"rangeend") v.rangeEnd = n;
    });
    return v;
}

}  // namespace

CXmlHandler::CXmlHandler(CFacilityManager& manager)
    : m_manager(manager), m_document(std::make_unique<XmlDocument>()) {
    printk("\n CXmlHandler::CXmlHandler");
}

CXmlHandler::~CXmlHandler() { printk("\n CXmlHandler::~CXmlHandler"); }

// ---- saving ----

// The layout is built as text rather than through a document tree: the rules block is the
// same in every panel, so it is written once and pasted, which keeps saving the largest
// facility (170 MB, mostly repeated rules) within a second. The bytes equal what the
// streaming writer and XmlDocument produce for the same content.
bool CXmlHandler::save(const KvWString& path) {
    printk("\n CXmlHandler::save");
    m_document->Reset();
    std::string rules;
    if (m_manager.getNumberEventsInPanel() > 0) {
        XmlText block(rules);
        writeRules(block);
    }
    std::string text(XmlDocument::kDeclaration);
    XmlText xml(text);
    xml.open("facility");
    xml.open("panels");
    for (int id = kFirstPanelId; id <= kLastPanelId; ++id)
        if (m_manager.getPanelAddress(id) > 0) writePanel(xml, id, rules);
    xml.close();
    xml.close();
    return KvSaveFileAtomic(path.c_str(), text.data(), text.size());
}

void CXmlHandler::writePanel(XmlText& xml, int id, const std::string& rules) {
    printk("\n CXmlHandler::writePanel");
    const KvWString* label = m_manager.getPanelLabel(id);
    xml.open("panel");
    xml.leaf("id", id);
    xml.leaf("address", m_manager.getPanelAddress(id));
    xml.leaf("label", label ? *label : KvWString());
    xml.leaf("installer", m_manager.getPanelInstaller(id));
    xml.leaf("description", m_manager.getPanelDescription(id));
    xml.leaf("phone", m_manager.getPanelPhone(id));
    writeLoops(xml, id);
    writeZones(xml, id);
    xml.raw(rules);
    xml.close();
}

void CXmlHandler::writeLoops(XmlText& xml, int id) {
    printk("\n CXmlHandler::writeLoops");
    xml.open("loops");
    for (int index = 0; index < m_manager.getNumOfLoops(id); ++index) {
        const int loop = m_manager.getLoopAddress(id, index);
        xml.open("loop");
        xml.leaf("address", loop);
        xml.open("elements");
        for (int position = 0; position < m_manager.getNumberOfElementsInLoop(id, loop); ++position)
            writeElement(xml, id, loop, m_manager.getElementAddress(id, loop, position));
        xml.close();
        xml.close();
    }
    xml.close();
}

void CXmlHandler::writeElement(XmlText& xml, int id, int loop, int a) {
    printk("\n CXmlHandler::writeElement");
    const KvWString* label = m_manager.getElementLabel(id, loop, a);
    const KvWString* description = m_manager.getElementDescription(id, loop, a);
    xml.open("element");
    xml.leaf("address", a);
    xml.leaf("type", m_manager.getElementType(id, loop, a));
    xml.leaf("label", label ? *label : KvWString());
    xml.leaf("description", description ? *description : KvWString());
    xml.leaf("zone", m_manager.getElementZone(id, loop, a));
    xml.leaf("composite", m_manager.getElementCompositeMode(id, loop, a));
    xml.leaf("generic", m_manager.getElementGenericType(id, loop, a));
    xml.close();
}

void CXmlHandler::writeZones(XmlText& xml, int id) {
    printk("\n CXmlHandler::writeZones");
    xml.open("zones");
    for (int n = 1; n <= m_manager.getNumOfZones(id); ++n) {
        // Zone names are shared by number across panels: the first panel holding n names it.
        const KvWString* description = m_manager.getZoneDescription(n);
        xml.open("zone");
        xml.leaf("id", n);
        xml.leaf("description", description ? *description : KvWString());
        xml.close();
    }
    xml.close();
}

void CXmlHandler::writeRules(XmlText& xml) {
    printk("\n CXmlHandler::writeRules");
    static const char* const kFields[8] = {"type",           "elementtype", "panelid",    "loopaddress",
                                           "elementaddress", "zoneid",      "rangebegin", "rangeend"};
    xml.open("events");
    const int count = m_manager.getNumberEventsInPanel();
    for (int position = 0; position < count; ++position) {
        const int r = m_manager.getEventActionId(position);
        xml.open("eventaction");
        xml.leaf("id", r);
        xml.leaf("delay", m_manager.getEventActionDelay(r));
        const auto inRange = m_manager.getEventActionInRange(r);
        const int in[8] = {m_manager.getEventActionInType(r),    m_manager.getEventActionInElementType(r),
                           m_manager.getEventActionInPanel(r),   m_manager.getEventActionInLoop(r),
                           m_manager.getEventActionInElement(r), m_manager.getEventActionInZone(r),
                           inRange.first,                        inRange.second};
        const auto outRange = m_manager.getEventActionOutRange(r);
        const int out[8] = {m_manager.getEventActionOutType(r),    m_manager.getEventActionOutElementType(r),
                            m_manager.getEventActionOutPanel(r),   m_manager.getEventActionOutLoop(r),
                            m_manager.getEventActionOutElement(r), m_manager.getEventActionOutZone(r),
                            outRange.first,                        outRange.second};
        xml.open("event");
        for (int f = 0; f < 8; ++f) xml.leaf(kFields[f], in[f]);
        xml.close();
        xml.open("action");
        for (int f = 0; f < 8; ++f) xml.leaf(kFields[f], out[f]);
        xml.close();
        xml.close();
    }
    xml.close();
}

// ---- loading ----

bool CXmlHandler::load(const KvWString& path) {
    printk("\n CXmlHandler::load");
    m_manager.clearGroups();
    if (!m_document->Load(path)) return false;
    return fill();
}

bool CXmlHandler::loadText(const char* text, std::size_t length) {
    printk("\n CXmlHandler::loadText");
    m_manager.clearGroups();
    if (!m_document->Parse(text, length)) return false;
    return fill();
}

bool CXmlHandler::fill() {
    printk("\n CXmlHandler::fill");
    const Node* root = m_document->Root();
    if (!root || !child(*root, u"panels")) return false;
    readPanelRecords();
    for (int id = kFirstPanelId; id <= kLastPanelId; ++id) readPanelContents(id);
    readRules();
    return true;
}

// First pass: every entry under "panels" becomes a panel record. A repeated id still updates
// the installer, comments and phone of the panel already there.
void CXmlHandler::readPanelRecords() {
    printk("\n CXmlHandler::readPanelRecords");
    forEachChild(child(*m_document->Root(), u"panels"), [this](const Node& entry) {
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
        m_manager.addPanel(id, address, label);
        m_manager.setPanelInstaller(id, installer);
        m_manager.setPanelComments(id, description);
        m_manager.setPanelPhone(id, phone);
    });
}

// Second pass: loops, elements and zones of the entry whose id text is exactly `id`.
void CXmlHandler::readPanelContents(int id) {
    printk("\n CXmlHandler::readPanelContents");
    const Node* entry = m_document->Root()->NodeV(u"panels/panel?id=%d?", id);
    if (!entry) return;
    forEachChild(child(*entry, u"loops"), [this, id](const Node& loop) {
        const int loopAddress = childInt(loop, u"address");
        m_manager.addLoopToPanel(id, loopAddress);
        forEachChild(child(loop, u"elements"), [this, id, loopAddress](const Node& e) {
            const int a = childInt(e, u"address");
            const KvWString description = childText(e, u"description");
            // A refused entry must not overwrite the element that holds the address already.
            if (!m_manager.addElementToLoop(id, loopAddress, a, childInt(e, u"type"), childInt(e, u"zone"),
                                            childText(e, u"label"), description.c_str()))
                return;
            m_manager.setElementCompositeMode(id, loopAddress, a, childInt(e, u"composite"));
            m_manager.setElementGenericType(id, loopAddress, a, childInt(e, u"generic"));
        });
    });
    forEachChild(child(*entry, u"zones"), [this, id](const Node& zone) {
        m_manager.addZone(id, childInt(zone, u"id"), childText(zone, u"description"));
    });
}

// Every panel entry carries the same rules; they are taken once, from the first entry that
// has them, so a facility without a panel 1 keeps its rules.
void CXmlHandler::readRules() {
    printk("\n CXmlHandler::readRules");
    const Node* events = nullptr;
    forEachChild(child(*m_document->Root(), u"panels"), [&events](const Node& entry) {
        if (!events && entry.Tag() == u"panel") events = child(entry, u"events");
    });
    forEachChild(events, [this](const Node& rule) {
        int id = 0, delay = 0;
        const Node* event = nullptr;
        const Node* action = nullptr;
        forEachChild(&rule, [&](const Node& c) {
            if (c.Tag() == u"id") id = toInt(c.Value());
            else if (c.Tag() == u"delay") delay = toInt(c.Value());
            else if (c.Tag() == u"event") event = &c;
            else if (c.Tag() == u"action") action = &c;
        });
        const SideValues in = readSide(event);
        const SideValues out = readSide(action);
        // A repeated id is skipped: setting its sides would rewrite the rule read before.
        if (!m_manager.addEventActionItem(id, delay)) return;
        m_manager.addEventToEventActionItem(id, in.type, in.panel, in.loop, in.element, in.zone, in.rangeBegin,
                                            in.rangeEnd, in.itemType(), 0);
        m_manager.addActionToEventActionItem(id, out.type, out.panel, out.loop, out.element, out.zone,
                                             out.rangeBegin, out.rangeEnd, out.itemType(), 0);
    });
}
