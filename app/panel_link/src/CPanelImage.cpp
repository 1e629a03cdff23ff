#include "panel_link/CPanelImage.h"

#include <algorithm>
#include <sstream>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "panel_link/CPanelText.h"
#include "panel_link/CRecordConverter.h"

namespace {

constexpr int kLoops = CPanelLink::kLoops;
constexpr int kPerLoop = CPanelLink::kElementsPerLoop;
constexpr int kZones = CPanelLink::kZones;
constexpr int kRecordSteps = kLoops * kPerLoop + kZones;  // progress steps before the rules

KvWString text(int id) {
    KvWString t;
    return KvLoadString(id, t);
}

void say(IWaitDialog* dialog, const KvWString& t) {
    if (dialog) dialog->SetText(t);
}

void progress(IWaitDialog* dialog, int position, int range) {
    if (dialog) dialog->SetProgress(position, range);
}

// A zone byte the panel can mean: a zone index, or the "no zone" mark.
bool zoneByteValid(const CElementRecord& r) {
    return r.zoneIndex < kZones || r.zoneIndex == CRecordConverter::kNoZone;
}

bool endOfList(const CPanelImage::Rule& rule) {
    return rule.first.item.kind == CRecordItem::kEnd || rule.second.item.kind == CRecordItem::kEnd;
}

}  // namespace

CPanelImage::CPanelImage() : zones(kZones), elements(static_cast<std::size_t>(kLoops * kPerLoop)) {}

// ---------------------------------------------------------------- from the model

bool CPanelImage::build(CFacilityManager& facility, int panelId, std::string& problem) {
    printk("\n CPanelImage::build");
    CRecordConverter convert(facility);
    address = facility.getPanelAddress(panelId);
    if (address < 0 || address > 0xFF) {
        problem = "the panel's address " + std::to_string(address) + " does not fit the panel";
        return false;
    }
    info = convert.systemInfo(panelId);
    for (int z = 0; z < kZones; ++z) zones[z] = convert.zoneRecord(panelId, z + 1);
    for (int l = 0; l < kLoops; ++l)
        for (int a = 0; a < kPerLoop; ++a)
            if (!convert.elementRecord(panelId, l + 1, a + 1, element(l, a))) {
                problem = "loop " + std::to_string(l + 1) + ", element " + std::to_string(a + 1) +
                          ": a value does not fit the panel's element record";
                return false;
            }
    rules.clear();
    m_skipped.clear();
    for (int i = 0; i < facility.getNumberEventsInPanel(); ++i) {
        const int id = facility.getEventActionId(i);
        if (id == 0 || facility.getEventActionInPanel(id) != panelId) continue;
        Rule rule;
        switch (convert.eventActionRecords(id, rule.first, rule.second)) {
        case CRecordConverter::Refusal::None: rules.push_back(rule); break;
        case CRecordConverter::Refusal::NoItem: m_skipped.push_back(id); break;
        case CRecordConverter::Refusal::OutOfRange:
            problem = "rule " + std::to_string(id) + ": a value does not fit the panel's rule records";
            return false;
        case CRecordConverter::Refusal::UnknownPanel:
            problem = "rule " + std::to_string(id) + ": its action names a panel the facility does not have";
            return false;
        }
    }
    if (rules.size() > static_cast<std::size_t>(CPanelLink::kEventActions)) {
        problem = std::to_string(rules.size()) + " rules; the panel holds " + std::to_string(CPanelLink::kEventActions);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- to the device

bool CPanelImage::write(CPanelLink& link, IWaitDialog* dialog) const {
    printk("\n CPanelImage::write");
    return writeElements(link, dialog) && writeZones(link, dialog) && writeRules(link) && link.writeSystemInfo(info);
}

bool CPanelImage::writeElements(CPanelLink& link, IWaitDialog* dialog) const {
    say(dialog, text(kSendingElementsText));
    const KvWString format = text(kSendingElementText);
    const int range = kRecordSteps + static_cast<int>(rules.size());
    if (!link.beginElementWrite()) return false;
    for (int l = 0; l < kLoops; ++l)
        for (int a = 0; a < kPerLoop; ++a) {
            if (!link.writeElement(l, a, element(l, a))) return false;
            if (element(l, a).genericType == 0) continue;
            // The installer counts loops and addresses from 1, as the editors show them.
            KvWString t;
            say(dialog, t.Format(format.c_str(), 1, l + 1, a + 1));
            progress(dialog, l * kPerLoop + a + 1, range);
        }
    return link.endElementWrite();
}

bool CPanelImage::writeZones(CPanelLink& link, IWaitDialog* dialog) const {
    const KvWString format = text(kSendingZoneText);
    const int range = kRecordSteps + static_cast<int>(rules.size());
    if (!link.beginZoneWrite()) return false;
    for (int z = 0; z < kZones; ++z) {
        if (!link.writeZone(z, zones[z])) return false;
        KvWString t;
        say(dialog, t.Format(format.c_str(), z + 1));
        progress(dialog, kLoops * kPerLoop + z + 1, range);
    }
    return link.endZoneWrite();
}

bool CPanelImage::writeRules(CPanelLink& link) const {
    if (!link.beginEventActionWrite()) return false;
    const int count = static_cast<int>(rules.size());
    for (int i = 0; i < count; ++i)
        if (!link.writeEventAction(i, rules[i].first, rules[i].second)) return false;
    // Only an empty slot ends the list: a full last group needs an empty one behind it.
    if (count > 0 && count % CPanelLink::kGroupSize == 0 && count < CPanelLink::kEventActions &&
        !link.writeEventAction(count, CEventRecord(), CActionRecord()))
        return false;
    return link.endEventActionWrite();
}

// ---------------------------------------------------------------- from the device

CPanelImage::ReadResult CPanelImage::read(CPanelLink& link, IWaitDialog* dialog, int ruleCapacity) {
    printk("\n CPanelImage::read");
    if (!link.readSystemInfo(info) || !readZones(link, dialog)) return ReadResult::Failed;
    const ReadResult elementsRead = readElements(link, dialog);
    if (elementsRead != ReadResult::Ok) return elementsRead;
    return readRules(link, ruleCapacity) ? ReadResult::Ok : ReadResult::Failed;
}

bool CPanelImage::readZones(CPanelLink& link, IWaitDialog* dialog) {
    const KvWString format = text(kReceivingZoneText);
    if (!link.beginZoneRead()) return false;
    for (int z = 0; z < kZones; ++z) {
        if (!link.readZone(z, zones[z])) return false;
        KvWString t;
        say(dialog, t.Format(format.c_str(), z + 1));
        progress(dialog, z + 1, kRecordSteps);
    }
    return true;
}

CPanelImage::ReadResult CPanelImage::readElements(CPanelLink& link, IWaitDialog* dialog) {
    const KvWString format = text(kReceivingElementText);
    if (!link.beginElementRead()) return ReadResult::Failed;
    for (int l = 0; l < kLoops; ++l)
        for (int a = 0; a < kPerLoop; ++a) {
            CElementRecord& r = element(l, a);
            if (!link.readElement(l, a, r)) return ReadResult::Failed;
            if (!r.isElement()) continue;
            if (!zoneByteValid(r)) {
                m_badZoneAt = {l + 1, a + 1};
                return ReadResult::BadZone;
            }
            KvWString t;
            say(dialog, t.Format(format.c_str(), 1, l + 1, a + 1));
            progress(dialog, kZones + l * kPerLoop + a + 1, kRecordSteps);
        }
    return ReadResult::Ok;
}

bool CPanelImage::readRules(CPanelLink& link, int ruleCapacity) {
    rules.clear();
    m_rulesLeft = false;
    if (ruleCapacity <= 0) return true;
    if (!link.beginEventActionRead()) return false;
    for (int i = 0; i < CPanelLink::kEventActions; ++i) {
        Rule rule;
        if (!link.readNextEventAction(rule.first, rule.second)) return false;
        if (endOfList(rule)) break;
        if (static_cast<int>(rules.size()) == ruleCapacity) {
            m_rulesLeft = true;  // one entry beyond what the facility can take
            break;
        }
        rules.push_back(rule);
    }
    return true;
}

// ---------------------------------------------------------------- into the model

bool CPanelImage::addTo(CFacilityManager& facility, int id, int panelAddress, int firstRuleId) {
    printk("\n CPanelImage::addTo");
    if (facility.getPanelLabel(id)) return false;
    CRecordConverter convert(facility);
    facility.addPanel(id, panelAddress, text(kNewPanelText));
    convert.applySystemInfo(id, info);
    for (int z = 0; z < kZones; ++z) convert.addZone(id, z, zones[z]);
    m_refused = 0;
    for (int l = 0; l < kLoops; ++l)
        for (int a = 0; a < kPerLoop; ++a)
            if (convert.addElement(id, l, a, element(l, a)) == CRecordConverter::ElementResult::NotAdded) ++m_refused;
    int ruleId = firstRuleId;
    for (const Rule& rule : rules) convert.addEventAction(ruleId++, id, panelAddress, rule.first, rule.second);
    return true;
}

// ---------------------------------------------------------------- comparison

namespace {

std::string quoted(const std::string& panelBytes) {
    return "\"" + std::string(ToUtf8(CPanelText::toWide(panelBytes).c_str()).c_str()) + "\"";
}

std::string describe(const CElementRecord& r) {
    if (!r.isElement()) return "no element";
    std::ostringstream o;
    o << "type " << int(r.type) << ", generic type " << int(r.genericType) << ", zone "
      << (r.zoneIndex == CRecordConverter::kNoZone ? 0 : r.zoneIndex + 1) << ", composite mode "
      << int(r.compositeMode) << ", description " << quoted(r.description);
    return o.str();
}

std::string describe(const CRecordItem& item) {
    std::ostringstream o;
    switch (item.kind) {
    case CRecordItem::kPanel: o << "whole panel"; break;
    case CRecordItem::kLoop: o << "loop " << item.first + 1; break;
    case CRecordItem::kZone:
        if (item.first == item.second)
            o << "zone " << item.first + 1;
        else
            o << "zones " << item.first + 1 << "-" << item.second + 1;
        break;
    case CRecordItem::kElement:
        o << "loop " << item.first + 1 << " element " << item.second + 1 << " (type " << int(item.elementType) << ")";
        break;
    default: o << "nothing (kind " << int(item.kind) << ")"; break;
    }
    return o.str();
}

std::string describe(const CPanelImage::Rule& r) {
    std::ostringstream o;
    o << "when " << describe(r.first.item) << " reports event type " << int(r.first.eventType) << ", drive "
      << describe(r.second.item);
    if (r.second.panelAddress) o << " of panel address " << int(r.second.panelAddress);
    o << " with action type " << int(r.second.actionType) << " after " << r.second.delay << " s";
    return o.str();
}

bool sameElement(const CElementRecord& a, const CElementRecord& b) {
    if (a.isElement() != b.isElement()) return false;
    if (!a.isElement()) return true;
    return a.genericType == b.genericType && a.type == b.type && a.zoneIndex == b.zoneIndex &&
           a.compositeMode == b.compositeMode && a.description == b.description;
}

using Kind = CPanelDifference::Kind;

void differ(std::vector<CPanelDifference>& out, const std::string& what, const std::string& panel,
            const std::string& upload, Kind kind = Kind::kOther, int number = 0, int second = 0) {
    out.push_back({what, upload, panel, kind, number, second});
}

void compareInfo(const CPanelImage& e, const CPanelImage& a, std::vector<CPanelDifference>& out) {
    if (e.address != 0 && e.address != a.address)
        differ(out, "panel address", std::to_string(a.address), std::to_string(e.address), Kind::kPanelAddress);
    if (e.info.label != a.info.label)
        differ(out, "panel label", quoted(a.info.label), quoted(e.info.label), Kind::kPanelLabel);
    if (e.info.installer != a.info.installer)
        differ(out, "installer", quoted(a.info.installer), quoted(e.info.installer), Kind::kInstaller);
    if (e.info.phone != a.info.phone) differ(out, "phone", quoted(a.info.phone), quoted(e.info.phone), Kind::kPhone);
}

void differRule(std::vector<CPanelDifference>& out, std::size_t index, const CPanelImage::Rule* panel,
                const CPanelImage::Rule* upload) {
    const int number = static_cast<int>(index + 1);
    differ(out, "rule entry " + std::to_string(number), panel ? describe(*panel) : "none",
           upload ? describe(*upload) : "none", Kind::kRule, number);
    out.back().heldNothing = !panel;
    out.back().sentNothing = !upload;
}

void compareRules(const CPanelImage& e, const CPanelImage& a, std::vector<CPanelDifference>& out) {
    const std::size_t common = std::min(e.rules.size(), a.rules.size());
    for (std::size_t i = 0; i < common; ++i)
        if (!(e.rules[i] == a.rules[i])) differRule(out, i, &a.rules[i], &e.rules[i]);
    for (std::size_t i = common; i < a.rules.size(); ++i) differRule(out, i, &a.rules[i], nullptr);
    for (std::size_t i = common; i < e.rules.size(); ++i) differRule(out, i, nullptr, &e.rules[i]);
}

void compareElements(const CPanelImage& e, const CPanelImage& a, std::vector<CPanelDifference>& out) {
    for (int l = 0; l < kLoops; ++l)
        for (int i = 0; i < kPerLoop; ++i) {
            const CElementRecord& sent = e.element(l, i);
            const CElementRecord& held = a.element(l, i);
            if (sameElement(sent, held)) continue;
            differ(out, "loop " + std::to_string(l + 1) + " element " + std::to_string(i + 1), describe(held),
                   describe(sent), Kind::kElement, l + 1, i + 1);
            out.back().heldNothing = !held.isElement();
            out.back().sentNothing = !sent.isElement();
        }
}

}  // namespace

std::vector<CPanelDifference> CPanelImage::differences(const CPanelImage& e, const CPanelImage& a) {
    std::vector<CPanelDifference> out;
    compareInfo(e, a, out);
    for (int z = 0; z < kZones; ++z)
        if (e.zones[z].description != a.zones[z].description)
            differ(out, "zone " + std::to_string(z + 1) + " description", quoted(a.zones[z].description),
                   quoted(e.zones[z].description), Kind::kZoneDescription, z + 1);
    compareElements(e, a, out);
    compareRules(e, a, out);
    return out;
}

std::vector<std::string> CPanelImage::compare(const CPanelImage& e, const CPanelImage& a) {
    return lines(differences(e, a));
}

std::vector<std::string> CPanelImage::lines(const std::vector<CPanelDifference>& differences) {
    std::vector<std::string> out;
    out.reserve(differences.size());
    for (const CPanelDifference& d : differences) out.push_back(d.line());
    return out;
}
