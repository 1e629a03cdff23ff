#include "ui/CRuleWords.h"

#include <array>

#include "basalt/KvStringTableFile.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"
#include "reports/CReportWords.h"
#include "ui/UiText.h"

namespace {

constexpr int kPanelWord = 151;
constexpr int kLoopWord = 152;
constexpr int kActionElementWord = 153;
constexpr int kEventElementWord = 154;
constexpr int kZoneWord = 450;
constexpr int kZonesWord = 159;
constexpr int kRuleWord = 107;

// The kind names of each item type, in stored order, as the printed reports name them.
std::vector<int> kindTexts(bool event, CRuleNodeKind kind) {
    const int itemType = CRuleNode{kind, 0, 0, 0, 0}.itemType();
    std::vector<int> ids;
    for (int type = 0;; ++type) {
        const int id = event ? CReportWords::eventKindId(itemType, type) : CReportWords::actionKindId(itemType, type);
        if (id == 0) return ids;
        ids.push_back(id);
    }
}

const std::vector<int>& kinds(bool event, CRuleNodeKind kind) {
    static const auto tables = [] {
        std::array<std::array<std::vector<int>, 5>, 2> all;
        for (int side = 0; side < 2; ++side)
            for (std::size_t k = 0; k < 5; ++k) all[static_cast<std::size_t>(side)][k] = kindTexts(side == 0, static_cast<CRuleNodeKind>(k));
        return all;
    }();
    return tables[event ? 0 : 1][static_cast<std::size_t>(kind)];
}

KvWString word(int id) {
    KvWString text;
    return KvLoadString(id, text);
}

int panelNumber(const CFacilityManager& facility, int panelId) {
    // A rule may name a panel that was removed since: its id is all that is left to show.
    return facility.getPanelLabel(panelId) ? facility.getPanelAddress(panelId) : panelId;
}

}  // namespace

const std::vector<int>& CRuleWords::eventKinds(CRuleNodeKind kind) { return kinds(true, kind); }
const std::vector<int>& CRuleWords::actionKinds(CRuleNodeKind kind) { return kinds(false, kind); }
const std::vector<int>& CRuleWords::zoneEventKinds() { return kinds(true, CRuleNodeKind::Zone); }
const std::vector<int>& CRuleWords::zoneActionKinds() { return kinds(false, CRuleNodeKind::Zone); }

QString CRuleWords::kindName(bool event, CRuleNodeKind kind, int type) {
    const std::vector<int>& names = event ? eventKinds(kind) : actionKinds(kind);
    if (type >= 0 && type < static_cast<int>(names.size())) return loadText(names[static_cast<std::size_t>(type)]);
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
    return oneLine(sideLines(facility, side, event));
}

QStringList CRuleWords::sideLines(const CFacilityManager& facility, const CEventActionSide* side, bool event) {
    CRuleNode node;
    if (!side || !CRuleNode::fromSide(*side, node)) return {QStringLiteral("none")};
    return {kindName(event, node.kind, side->type), place(facility, *side, event)};
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
