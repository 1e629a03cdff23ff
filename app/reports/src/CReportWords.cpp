#include "reports/CReportWords.h"

#include <array>
#include <initializer_list>

#include "basalt/KvStringTableFile.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"

namespace {

// Types 1 to 5 are named with the words of the loop editor's parts; 15 and 16 are crossed.
constexpr std::array<int, 18> kTypeNames = {52,  53,  61,  54,  55,  236, 237, 238, 239,
                                            240, 241, 242, 243, 244, 246, 245, 247, 248};

struct KindTable {
    int itemType;
    std::initializer_list<int> ids;  // by stored type 0, 1, 2, ...
};

const KindTable kEventKinds[] = {
    {1, {120, 121, 122, 123, 124, 125, 126, 127, 128, 129}},
    {2, {145, 146, 147, 148, 149, 150}},
    {4, {115, 141, 116, 117, 118, 119}},
    {5, {113, 114}},
    {6, {161, 162, 163, 164, 165, 166}},
};

const KindTable kActionKinds[] = {
    {1, {130, 131, 132}},
    {2, {140}},
    {4, {138, 137, 136, 135}},
    {5, {134}},
    {6, {168, 169, 170, 171}},
};

template <std::size_t N>
int kindId(const KindTable (&tables)[N], int itemType, int type) {
    for (const KindTable& t : tables)
        if (t.itemType == itemType)
            return type >= 0 && type < static_cast<int>(t.ids.size()) ? t.ids.begin()[type] : 0;
    return 0;
}

// The kind name and what the side names, apart; the second is empty for a side that names
// nothing. A missing side reads as an unnamed kind 0.
QStringList lines(const CFacilityManager& m, const CEventActionSide* side, int kindId, int elementWordId) {
    const CEventActionSide s = side ? *side : CEventActionSide(0, 0);
    const QString kind = kindId ? CReportWords::text(kindId) : QString::number(s.type);
    const QString panel = CReportWords::text(151) + u' ' + QString::number(m.getPanelAddress(s.panel));
    const QString loop = CReportWords::text(152) + u' ' + QString::number(s.loop);
    switch (s.itemType) {
    case kItemPanel: return {kind, panel};
    case kItemLoop: return {kind, panel + u' ' + loop};
    case kItemZone: return {kind, QString::number(s.zone)};
    case kItemElement:
        return {kind, panel + u' ' + loop + u' ' + CReportWords::text(elementWordId) + u' ' + QString::number(s.element)};
    case kItemPanelRange:
        return {kind, panel + u' ' + CReportWords::text(159) + u' ' + QString::number(s.rangeBegin) + u'-' +
                          QString::number(s.rangeEnd)};
    default: return {kind, QString()};
    }
}

// The kind name, then what the side names.
QString words(const CFacilityManager& m, const CEventActionSide* side, int kindId, int elementWordId) {
    const QStringList both = lines(m, side, kindId, elementWordId);
    return both[1].isEmpty() ? both[0] : both[0] + u' ' + both[1];
}

}  // namespace

QString CReportWords::text(int id) {
    KvWString t;
    KvLoadString(id, t);
    return QString::fromUtf16(t.c_str(), t.Length());
}

int CReportWords::typeNameId(int type) {
    return type >= 1 && type <= static_cast<int>(kTypeNames.size()) ? kTypeNames[type - 1] : 0;
}

QString CReportWords::typeName(int type) {
    const int id = typeNameId(type);
    return id ? text(id) : QString::number(type);
}

int CReportWords::eventKindId(int itemType, int type) { return kindId(kEventKinds, itemType, type); }
int CReportWords::actionKindId(int itemType, int type) { return kindId(kActionKinds, itemType, type); }

QString CReportWords::eventSide(const CFacilityManager& m, int ruleId) {
    const CEventActionSide* side = m.getEventActionInSide(ruleId);
    return words(m, side, side ? eventKindId(side->itemType, side->type) : 0, 154);
}

QString CReportWords::actionSide(const CFacilityManager& m, int ruleId) {
    const CEventActionSide* side = m.getEventActionOutSide(ruleId);
    return words(m, side, side ? actionKindId(side->itemType, side->type) : 0, 153);
}

QString CReportWords::side(const CFacilityManager& m, const CEventActionSide& s, bool event) {
    const int kind = event ? eventKindId(s.itemType, s.type) : actionKindId(s.itemType, s.type);
    return words(m, &s, kind, event ? 154 : 153);
}

QStringList CReportWords::sideLines(const CFacilityManager& m, const CEventActionSide& s, bool event) {
    const int kind = event ? eventKindId(s.itemType, s.type) : actionKindId(s.itemType, s.type);
    return lines(m, &s, kind, event ? 154 : 153);
}
