#include "reports/CReportWords.h"

#include <array>
#include <initializer_list>

#include "basalt/KvStringTableFile.h"
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

struct Side {
    int kindId, type, itemType, panel, loop, element, zone, rangeBegin, rangeEnd;
};

QString words(const CFacilityManager& m, const Side& s, int elementWordId) {
    QString out = s.kindId ? CReportWords::text(s.kindId) : QString::number(s.type);
    const QString panel = CReportWords::text(151) + u' ' + QString::number(m.getPanelAddress(s.panel));
    const QString loop = CReportWords::text(152) + u' ' + QString::number(s.loop);
    switch (s.itemType) {
    case 1: return out + u' ' + panel;
    case 2: return out + u' ' + panel + u' ' + loop;
    case 4: return out + u' ' + QString::number(s.zone);
    case 5:
        return out + u' ' + panel + u' ' + loop + u' ' + CReportWords::text(elementWordId) + u' ' +
               QString::number(s.element);
    case 6:
        return out + u' ' + panel + u' ' + CReportWords::text(159) + u' ' + QString::number(s.rangeBegin) + u'-' +
               QString::number(s.rangeEnd);
    default: return out;
    }
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

QString CReportWords::eventSide(const CFacilityManager& m, int r) {
    const int itemType = m.getEventActionInItemType(r);
    const int type = m.getEventActionInType(r);
    const auto range = m.getEventActionInRange(r);
    return words(m,
                 Side{eventKindId(itemType, type), type, itemType, m.getEventActionInPanel(r),
                      m.getEventActionInLoop(r), m.getEventActionInElement(r), m.getEventActionInZone(r),
                      range.first, range.second},
                 154);
}

QString CReportWords::actionSide(const CFacilityManager& m, int r) {
    const int itemType = m.getEventActionOutItemType(r);
    const int type = m.getEventActionOutType(r);
    const auto range = m.getEventActionOutRange(r);
    return words(m,
                 Side{actionKindId(itemType, type), type, itemType, m.getEventActionOutPanel(r),
                      m.getEventActionOutLoop(r), m.getEventActionOutElement(r), m.getEventActionOutZone(r),
                      range.first, range.second},
                 153);
}
