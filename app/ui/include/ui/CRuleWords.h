// CRuleWords: the words of the event-action rules: which kinds each item offers, their names,
// and a rule or one side of it on one line, for the rule lists and the summary.
//
// A stored kind is a position in the list of what its side names; a position outside that list
// (read from a file or a panel) is named as an unknown type with its number, never as another kind.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "ui/CRuleNode.h"

class CEventActionSide;
class CFacilityManager;

class CRuleWords {
public:
    static constexpr int kUnknownKindText = 462;
    static constexpr int kDelayText = 453;

    // Text ids of the event kinds offered for an input item naming `kind`, in stored order (the
    // names the printed reports use).
    static const std::vector<int>& eventKinds(CRuleNodeKind kind);
    // Text ids of the action kinds offered for an output item naming `kind`, in stored order.
    static const std::vector<int>& actionKinds(CRuleNodeKind kind);
    // The kinds the zone-range dialogs offer (same positions as the range kinds above).
    static const std::vector<int>& zoneEventKinds();
    static const std::vector<int>& zoneActionKinds();

    // Name of stored kind `type` of an event (or action) side naming `kind`.
    static QString kindName(bool event, CRuleNodeKind kind, int type);
    // What a side names: "Panel 1 Loop 2 Element 3"; the panel by its address.
    static QString place(const CFacilityManager& facility, const CEventActionSide& side, bool event);
    // Kind and place of a side; "none" when it is missing or names no panel.
    static QString side(const CFacilityManager& facility, const CEventActionSide* side, bool event);
    // The same as two lines, kind and place, for narrow headers; "none" alone when it is missing.
    static QStringList sideLines(const CFacilityManager& facility, const CEventActionSide* side, bool event);
    // Those lines back on one line, as side() writes them.
    static QString oneLine(const QStringList& lines) { return lines.join(QStringLiteral(" - ")); }
    // Rule `id` on one line: number, event side, action side, delay.
    static QString rule(const CFacilityManager& facility, int id);
};
