#include "ui/CRuleNode.h"

#include <initializer_list>

#include "model/CEventActionSide.h"

int CRuleNode::itemType() const {
    switch (kind) {
    case CRuleNodeKind::Panel: return kItemPanel;
    case CRuleNodeKind::Loop: return kItemLoop;
    case CRuleNodeKind::Element: return kItemElement;
    case CRuleNodeKind::ZoneRange: return kItemPanelRange;
    case CRuleNodeKind::Zone: return kItemZone;
    }
    return kItemNothing;
}

bool CRuleNode::fromSide(const CEventActionSide& side, CRuleNode& node) {
    node = CRuleNode();
    node.panel = side.panel;
    if (side.zone != 0) {
        node.kind = CRuleNodeKind::Zone;
        node.zone = side.zone;
    } else if (side.element != 0) {
        node.kind = CRuleNodeKind::Element;
        node.loop = side.loop;
        node.element = side.element;
    } else if (side.loop != 0) {
        node.kind = CRuleNodeKind::Loop;
        node.loop = side.loop;
    } else if (side.panel == 0) {
        return false;
    } else if (side.rangeBegin != 0 && side.rangeEnd != 0) {
        node.kind = CRuleNodeKind::ZoneRange;
    }
    return true;
}

std::size_t CRuleNodeHash::operator()(const CRuleNode& n) const {
    std::size_t h = static_cast<std::size_t>(n.kind);
    for (int v : {n.panel, n.loop, n.element, n.zone}) h = h * 1000003u ^ static_cast<std::size_t>(static_cast<unsigned>(v));
    return h;
}
