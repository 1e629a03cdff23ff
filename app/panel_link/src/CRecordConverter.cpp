#include "panel_link/CRecordConverter.h"

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CPanelText.h"

namespace {

constexpr int kZoneText = 42;
constexpr int kElementLabelText = 45;
constexpr int kNoLabelText = 290;
constexpr int kPlaceholderElementType = 5;
constexpr int kPlaceholderGenericType = 8;

bool fitsByte(int v) { return v >= 0 && v <= 0xFF; }

KvWString text(int id) {
    KvWString t;
    return KvLoadString(id, t);
}

}  // namespace

// ---------------------------------------------------------------- upload

CZoneRecord CRecordConverter::zoneRecord(int panelId, int zone) const {
    const KvWString* description =
        m_facility.getPanelZoneDescription(panelId, zone) ? m_facility.getZoneDescription(zone) : nullptr;
    return CZoneRecord{CPanelText::toPanel(description ? *description : text(kZoneText), CZoneRecord::kDescriptionSize)};
}

bool CRecordConverter::elementRecord(int panelId, int loop, int address, CElementRecord& out) const {
    out = CElementRecord();
    const KvWString* description = m_facility.getElementDescription(panelId, loop, address);
    const int generic = m_facility.getElementGenericType(panelId, loop, address);
    if (!description || generic == 0) return true;
    const int zone = m_facility.getElementZone(panelId, loop, address);
    const int type = m_facility.getElementType(panelId, loop, address);
    const int mode = m_facility.getElementCompositeMode(panelId, loop, address);
    if (!elementFits(generic, zone, type, mode)) return false;
    out.genericType = static_cast<std::uint8_t>(generic);
    out.description = CPanelText::toPanel(*description, CElementRecord::kDescriptionSize);
    out.zoneIndex = zone == 0 ? kNoZone : static_cast<std::uint8_t>(zone - 1);
    out.type = static_cast<std::uint8_t>(type);
    out.compositeMode = static_cast<std::uint8_t>(mode);
    return true;
}

bool CRecordConverter::elementFits(int generic, int zone, int type, int mode) {
    return fitsByte(generic) && zone >= 0 && zone <= CPanelLink::kZones && type >= 0 && type < CElementRecord::kErasedType &&
           mode >= 0 && mode <= 3;
}

bool CRecordConverter::itemFromSide(int itemType, int loop, int element, int zone, std::pair<int, int> range,
                                    int elementType, CRecordItem& item) {
    item = CRecordItem();
    int first = 0, second = 0;
    switch (itemType) {
    case 1: item.kind = CRecordItem::kPanel; return true;
    case 2: item.kind = CRecordItem::kLoop, first = second = loop - 1; break;
    case 4: item.kind = CRecordItem::kZone, first = second = zone - 1; break;
    case 5: item.kind = CRecordItem::kElement, first = loop - 1, second = element - 1; break;
    case 6: item.kind = CRecordItem::kZone, first = range.first - 1, second = range.second - 1; break;
    default: return true;  // kind 0: the caller refuses it
    }
    if (!fitsByte(first) || !fitsByte(second)) return false;
    item.first = static_cast<std::uint8_t>(first);
    item.second = static_cast<std::uint8_t>(second);
    if (itemType == 5) {
        if (!fitsByte(elementType)) return false;
        item.elementType = static_cast<std::uint8_t>(elementType);
    }
    return true;
}

CRecordConverter::Refusal CRecordConverter::eventActionRecords(int id, CEventRecord& event,
                                                                CActionRecord& action) const {
    event = CEventRecord();
    action = CActionRecord();
    const CFacilityManager& m = m_facility;
    if (!itemFromSide(m.getEventActionInItemType(id), m.getEventActionInLoop(id), m.getEventActionInElement(id),
                      m.getEventActionInZone(id), m.getEventActionInRange(id), m.getEventActionInElementType(id),
                      event.item) ||
        !itemFromSide(m.getEventActionOutItemType(id), m.getEventActionOutLoop(id), m.getEventActionOutElement(id),
                      m.getEventActionOutZone(id), m.getEventActionOutRange(id), m.getEventActionOutElementType(id),
                      action.item))
        return Refusal::OutOfRange;
    if (event.item.kind == CRecordItem::kEnd || action.item.kind == CRecordItem::kEnd) return Refusal::NoItem;
    const int outPanel = m.getEventActionOutPanel(id);
    if (!m.getPanelLabel(outPanel)) return Refusal::UnknownPanel;
    const int inAddress = m.getPanelAddress(m.getEventActionInPanel(id));
    const int outAddress = m.getPanelAddress(outPanel);
    const int delay = m.getEventActionDelay(id);
    const int inType = m.getEventActionInType(id);
    const int outType = m.getEventActionOutType(id);
    if (!fitsByte(outAddress) || delay < 0 || delay > 0xFFFF || !fitsByte(inType) || !fitsByte(outType))
        return Refusal::OutOfRange;
    event.eventType = static_cast<std::uint8_t>(inType);
    action.panelAddress = outAddress == inAddress ? 0 : static_cast<std::uint8_t>(outAddress);
    action.delay = static_cast<std::uint16_t>(delay);
    action.actionType = static_cast<std::uint8_t>(outType);
    return Refusal::None;
}

CSystemInfoRecord CRecordConverter::systemInfo(int panelId) const {
    const KvWString* label = m_facility.getPanelLabel(panelId);
    constexpr int n = CSystemInfoRecord::kFieldSize;
    return CSystemInfoRecord{label ? CPanelText::toPanel(*label, n) : std::string(),
                             CPanelText::toPanel(m_facility.getPanelInstaller(panelId), n),
                             CPanelText::toPanel(m_facility.getPanelPhone(panelId), n)};
}

// ---------------------------------------------------------------- download

bool CRecordConverter::addZone(int panelId, int index, const CZoneRecord& record) {
    return m_facility.addZone(panelId, index + 1, CPanelText::toWide(record.description));
}

CRecordConverter::ElementResult CRecordConverter::addElement(int panelId, int loopIndex, int elementIndex,
                                                             const CElementRecord& record) {
    if (!record.isElement()) return ElementResult::Empty;
    if (record.zoneIndex >= CPanelLink::kZones && record.zoneIndex != kNoZone) return ElementResult::BadZone;
    const int zone = record.zoneIndex == kNoZone ? 0 : record.zoneIndex + 1;
    const int loop = loopIndex + 1;
    const int address = elementIndex + 1;
    m_facility.addLoopToPanel(panelId, loop);  // false when the loop is already there
    KvWString label;
    label.Format(u"%s %d", text(kElementLabelText).c_str(), address);
    const KvWString description = CPanelText::toWide(record.description);
    if (!m_facility.addElementToLoop(panelId, loop, address, record.type, zone, label, description.c_str()))
        return ElementResult::NotAdded;
    m_facility.setElementCompositeMode(panelId, loop, address, record.compositeMode);
    m_facility.setElementGenericType(panelId, loop, address, record.genericType);
    return ElementResult::Added;
}

CRecordConverter::Side CRecordConverter::sideFromItem(const CRecordItem& item, int panelId) {
    Side s;
    s.panel = panelId;
    switch (item.kind) {
    case CRecordItem::kPanel: s.itemType = 1; break;
    case CRecordItem::kLoop: s.itemType = 2, s.loop = item.first + 1; break;
    case CRecordItem::kElement: s.itemType = 5, s.loop = item.first + 1, s.element = item.second + 1; break;
    case CRecordItem::kZone:
        if (item.first == item.second)
            s.itemType = 4, s.zone = item.first + 1;
        else
            s.itemType = 6, s.rangeBegin = item.first + 1, s.rangeEnd = item.second + 1;
        break;
    default: s.itemType = 0; break;
    }
    return s;
}

int CRecordConverter::createPlaceholder(int address, const CActionRecord& action) {
    // The id is the address, unless another panel already has that id (with
    // another address): then the first free id, so the action never lands on
    // a panel it does not name.
    int id = address;
    for (int candidate = 1; m_facility.getPanelLabel(id); ++candidate) id = candidate;
    m_facility.addPanel(id, address, kPlaceholder);
    const KvWString zoneText = text(kZoneText);
    for (int z = 1; z <= CPanelLink::kZones; ++z) m_facility.addZone(id, z, zoneText);
    const int loop = action.item.first + 1;
    const int element = action.item.second + 1;
    m_facility.addLoopToPanel(id, loop);
    if (m_facility.addElementToLoop(id, loop, element, kPlaceholderElementType, loop, kPlaceholder, kPlaceholder))
        m_facility.setElementGenericType(id, loop, element, kPlaceholderGenericType);
    const KvWString* zoneDescription = m_facility.getZoneDescription(loop);
    if (action.item.first != 0 && zoneDescription && *zoneDescription == zoneText)
        m_facility.setZoneDescription(loop, kPlaceholder);
    return id;
}

int CRecordConverter::outputPanel(int panelAddress, int panelId, const CActionRecord& action) {
    const int address = action.panelAddress;
    if (address == 0 || address == panelAddress) return panelId;
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i) {
        const int id = m_facility.getPanelId(i);
        if (m_facility.getPanelAddress(id) == address) return id;
    }
    return createPlaceholder(address, action);
}

bool CRecordConverter::addEventAction(int ruleId, int panelId, int panelAddress, const CEventRecord& event,
                                      const CActionRecord& action) {
    printk("\n CRecordConverter::addEventAction");
    if (!m_facility.addEventActionItem(ruleId, action.delay)) return false;
    const Side in = sideFromItem(event.item, panelId);
    if (in.itemType != 0)
        m_facility.addEventToEventActionItem(ruleId, event.eventType, in.panel, in.loop, in.element, in.zone,
                                             in.rangeBegin, in.rangeEnd, in.itemType, 0);
    const Side kindOnly = sideFromItem(action.item, 0);
    if (kindOnly.itemType == 0) return true;
    const Side out = sideFromItem(action.item, outputPanel(panelAddress, panelId, action));
    m_facility.addActionToEventActionItem(ruleId, action.actionType, out.panel, out.loop, out.element, out.zone,
                                          out.rangeBegin, out.rangeEnd, out.itemType, 0);
    return true;
}

bool CRecordConverter::applySystemInfo(int panelId, const CSystemInfoRecord& info) {
    const KvWString label = info.label.empty() ? text(kNoLabelText) : CPanelText::toWide(info.label);
    return m_facility.setPanelLabel(panelId, label) &&
           m_facility.setPanelInstaller(panelId, CPanelText::toWide(info.installer)) &&
           m_facility.setPanelPhone(panelId, CPanelText::toWide(info.phone));
}
