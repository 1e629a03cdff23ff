#include "ui/CRuleWords.h"

#include "basalt/KvStringTableFile.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"
#include "ui/UiText.h"

namespace {

constexpr int kPanelWord = 151;
constexpr int kLoopWord = 152;
constexpr int kActionElementWord = 153;
constexpr int kEventElementWord = 154;
constexpr int kZoneWord = 450;
constexpr int kZonesWord = 159;
constexpr int kRuleWord = 107;

const std::vector<int> kNoKinds;
const std::vector<int> kPanelEvents = {120, 121, 122, 123, 124, 125, 126, 127, 128, 129};
const std::vector<int> kLoopEvents = {145, 146, 147, 148, 149, 150};
const std::vector<int> kZoneEvents = {115, 141, 116, 117, 118, 119};
const std::vector<int> kElementEvents = {113, 114};
const std::vector<int> kRangeEvents = {161, 162, 163, 164, 165, 166};
const std::vector<int> kPanelActions = {130, 131, 132};
const std::vector<int> kLoopActions = {140};
const std::vector<int> kZoneActions = {138, 137, 136, 135};
const std::vector<int> kElementActions = {134};
const std::vector<int> kRangeActions = {168, 169, 170, 171};

KvWString word(int id) {
    KvWString text;
    return KvLoadString(id, text);
}

int panelNumber(const CFacilityManager& facility, int panelId) {
    // A rule may name a panel that was removed since: its id is all that is left to show.
    return facility.getPanelLabel(panelId) ? facility.getPanelAddress(panelId) : panelId;
}

}  // namespace

const std::vector<int>& CRuleWords::eventKinds(CRuleNodeKind kind) {
    switch (kind) {
    case CRuleNodeKind::Panel: return kPanelEvents;
    case CRuleNodeKind::Loop: return kLoopEvents;
    case CRuleNodeKind::Element: return kElementEvents;
    case CRuleNodeKind::ZoneRange: return kRangeEvents;
    case CRuleNodeKind::Zone: return kZoneEvents;
    }
    return kNoKinds;
}

const std::vector<int>& CRuleWords::actionKinds(CRuleNodeKind kind) {
    switch (kind) {
    case CRuleNodeKind::Panel: return kPanelActions;
    case CRuleNodeKind::Loop: return kLoopActions;
    case CRuleNodeKind::Element: return kElementActions;
    case CRuleNodeKind::ZoneRange: return kRangeActions;
    case CRuleNodeKind::Zone: return kZoneActions;
    }
    return kNoKinds;
}

const std::vector<int>& CRuleWords::zoneEventKinds() { return kZoneEvents; }
const std::vector<int>& CRuleWords::zoneActionKinds() { return kZoneActions; }

QString CRuleWords::kindName(bool event, CRuleNodeKind kind, int type) {
    const std::vector<int>& kinds = event ? eventKinds(kind) : actionKinds(kind);
    if (type >= 0 && type < static_cast<int>(kinds.size())) return loadText(kinds[static_cast<std::size_t>(type)]);
    KvWString text;
    text.Format(word(kUnknownKindText).c_str(), type);
    return toQString(text);
}

QString CRuleWords::place(const CFacilityManager& facility, const CEventActionSide& side, bool event) {
    CRuleNode node;
    if (!CRuleNode::fromSide(side, node)) return QStringLiteral("none");
    const KvWString panel = word(kPanelWord);
    const int number = panelNumber(facility, side.panel);
    KvWString text;
    switch (node.kind) {
    case CRuleNodeKind::Panel: text.Format(u"%s %d", panel.c_str(), number); break;
    case CRuleNodeKind::Loop:
        text.Format(u"%s %d %s %d", panel.c_str(), number, word(kLoopWord).c_str(), side.loop);
        break;
    case CRuleNodeKind::Element:
        text.Format(u"%s %d %s %d %s %d", panel.c_str(), number, word(kLoopWord).c_str(), side.loop,
                    word(event ? kEventElementWord : kActionElementWord).c_str(), side.element);
        break;
    case CRuleNodeKind::Zone:
        text.Format(u"%s %d %s %d", panel.c_str(), number, word(kZoneWord).c_str(), side.zone);
        break;
    case CRuleNodeKind::ZoneRange:
        text.Format(u"%s %d %s %d - %d", panel.c_str(), number, word(kZonesWord).c_str(), side.rangeBegin,
                    side.rangeEnd);
        break;
    }
    return toQString(text);
}

QString CRuleWords::side(const CFacilityManager& facility, const CEventActionSide* side, bool event) {
    CRuleNode node;
    if (!side || !CRuleNode::fromSide(*side, node)) return QStringLiteral("none");
    return kindName(event, node.kind, side->type) + QStringLiteral(" - ") + place(facility, *side, event);
}

QString CRuleWords::rule(const CFacilityManager& facility, int id) {
    KvWString head;
    head.Format(u"%s %d", word(kRuleWord).c_str(), id);
    KvWString delay;
    delay.Format(u"%s %d", word(kDelayText).c_str(), facility.getEventActionDelay(id));
    return toQString(head) + QStringLiteral("  ") + side(facility, facility.getEventActionInSide(id), true) +
           QStringLiteral("  \u2192  ") + side(facility, facility.getEventActionOutSide(id), false) +
           QStringLiteral("  (") + toQString(delay) + QStringLiteral(")");
}
