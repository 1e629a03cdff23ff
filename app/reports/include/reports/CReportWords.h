// CReportWords: the string-table words of the printed reports: element type names, the kind
// names of rule sides, and a rule side written out in words.
#pragma once

#include <QString>
#include <QStringList>

class CEventActionSide;
class CFacilityManager;

class CReportWords {
public:
    // Text of string-table entry `id` (the "IDS_" placeholder when the table lacks it).
    static QString text(int id);

    // Text id of the name of element type 1..18; 0 for an unknown type.
    static int typeNameId(int type);
    // The type's name, or its number when the type is unknown.
    static QString typeName(int type);

    // Text id of the kind of a rule side with this item type and stored type; 0 when the
    // combination has no name.
    static int eventKindId(int itemType, int type);
    static int actionKindId(int itemType, int type);

    // The event or action side of rule `ruleId` in words: its kind name, then what it names
    // ("Panel 2 Loop 1 Element 17", a zone number, "Panel 2 Zones 3-9"). Panels are named by
    // their address. An unnamed kind is written as its number.
    static QString eventSide(const CFacilityManager& manager, int ruleId);
    static QString actionSide(const CFacilityManager& manager, int ruleId);
    // The same of a side as it stands (event true for an event side).
    static QString side(const CFacilityManager& manager, const CEventActionSide& side, bool event);
    // Its kind and what it names apart, for narrow columns (the second empty when it names nothing).
    static QStringList sideLines(const CFacilityManager& manager, const CEventActionSide& side, bool event);
};
