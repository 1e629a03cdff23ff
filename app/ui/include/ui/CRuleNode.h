// CRuleNode: what one item of the rule trees stands for, which is also what one side of a rule
// can name: a panel, a loop, an element, a zone, or a range of a panel's zones.
#pragma once

#include <cstddef>
#include <cstdint>

class CEventActionSide;

enum class CRuleNodeKind : std::uint8_t { Panel, Loop, Element, ZoneRange, Zone };

struct CRuleNode {
    CRuleNodeKind kind = CRuleNodeKind::Panel;
    int panel = 0;
    int loop = 0;
    int element = 0;
    int zone = 0;

    bool operator==(const CRuleNode& o) const {
        return kind == o.kind && panel == o.panel && loop == o.loop && element == o.element && zone == o.zone;
    }
    // The zones item of a panel lets the user choose a range of zones instead of one item.
    bool offersRange() const { return kind == CRuleNodeKind::ZoneRange; }
    // The item type a rule side gets for this node (1 panel, 2 loop, 4 zone, 5 element, 6 range).
    int itemType() const;

    // The node a rule side names, read the way the facility file reads a side (a zone wins over
    // an element, an element over a loop, a range needs both ends). False when it names no panel.
    static bool fromSide(const CEventActionSide& side, CRuleNode& node);
};

struct CRuleNodeHash {
    std::size_t operator()(const CRuleNode& n) const;
};
