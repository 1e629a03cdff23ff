#include "ui/CRuleTreeModel.h"

#include <algorithm>
#include <unordered_set>

#include "art/CArt.h"
#include "basalt/KvTrace.h"
#include "model/CElementTypeCatalogue.h"
#include "model/CFacilityManager.h"
#include "ui/CRuleTreeTexts.h"
#include "ui/UiText.h"

namespace {

constexpr int kPanelImage = 28;
constexpr int kLoopImage = 29;
constexpr int kZonesImage = 27;
constexpr int kZoneImage = 27;
constexpr int kRangeTipText = 452;

// The zone numbers the panel's elements are in, ascending.
std::vector<int> heldZones(const CPanelItem& panel) {
    std::vector<int> zones;
    for (const auto& loop : panel.loops)
        for (const auto& element : loop->elements)
            if (element->zone != 0) zones.push_back(element->zone);
    std::sort(zones.begin(), zones.end());
    zones.erase(std::unique(zones.begin(), zones.end()), zones.end());
    return zones;
}

const KvWString* zoneDescription(const CPanelItem& panel, int number) {
    for (const auto& zone : panel.zones)
        if (zone->number == number) return &zone->description;
    return nullptr;
}

}  // namespace

// Walks the records once and appends the rows; with a filter, a row that turns out to hold no
// match is taken back again (it and everything after it are the last rows added).
class CRuleTreeModel::Builder {
public:
    Builder(CRuleTreeModel& model, const QString& filter)
        : m(model), m_filter(filter), m_texts(model.m_side == Side::Input) {}

    void build() {
        for (const auto& panel : m.m_facility.facility().panels) addPanel(*panel);
    }

private:
    bool matches(const QString& text) const { return text.contains(m_filter, Qt::CaseInsensitive); }
    bool filtering() const { return !m_filter.isEmpty(); }
    bool mine(const CElementItem& element) const {
        return CElementTypeCatalogue::isOutput(element.genericType) == (m.m_side == Side::Output);
    }

    void addPanel(const CPanelItem& panel) {
        const int row = m.addRow(-1, CRuleNode{CRuleNodeKind::Panel, panel.id, 0, 0, 0}, kPanelImage);
        const bool all = !filtering() || matches(m_texts.panel(panel.address, panel.label));
        bool any = false;
        for (const auto& loop : panel.loops) any = addLoop(row, panel, *loop, all) || any;
        any = addZones(row, panel, all) || any;
        if (!all && !any) m.dropRow(row);
    }

    bool addLoop(int parent, const CPanelItem& panel, const CLoopItem& loop, bool all) {
        if (std::none_of(loop.elements.begin(), loop.elements.end(), [this](const auto& e) { return mine(*e); }))
            return false;
        const int row = m.addRow(parent, CRuleNode{CRuleNodeKind::Loop, panel.id, loop.address, 0, 0}, kLoopImage);
        all = all || matches(m_texts.loop(loop.address));
        bool any = all;
        for (const auto& element : loop.elements) {
            if (!mine(*element) || (!all && !elementMatches(panel, *element))) continue;
            const int image =
                CElementTypeCatalogue::iconIndex(element->type, element->compositeMode, element->genericType);
            m.addRow(row, CRuleNode{CRuleNodeKind::Element, panel.id, loop.address, element->address, 0}, image);
            any = true;
        }
        if (!any) m.dropRow(row);
        return any;
    }

    bool elementMatches(const CPanelItem& panel, const CElementItem& element) const {
        if (matches(m_texts.element(element.address, element.type, element.label))) return true;
        return element.zone != 0 && matches(m_texts.zone(element.zone, zoneDescription(panel, element.zone)));
    }

    bool addZones(int parent, const CPanelItem& panel, bool all) {
        const int row = m.addRow(parent, CRuleNode{CRuleNodeKind::ZoneRange, panel.id, 0, 0, 0}, kZonesImage);
        all = all || matches(m_texts.zones());
        bool any = all;
        for (int number : heldZones(panel)) {
            if (!all && !matches(m_texts.zone(number, zoneDescription(panel, number)))) continue;
            m.addRow(row, CRuleNode{CRuleNodeKind::Zone, panel.id, 0, 0, number}, kZoneImage);
            any = true;
        }
        if (!any) m.dropRow(row);
        return any;
    }

    CRuleTreeModel& m;
    QString m_filter;
    CRuleTreeTexts m_texts;
};

CRuleTreeModel::CRuleTreeModel(CFacilityManager& facility, Side side, QObject* parent)
    : QAbstractItemModel(parent), m_facility(facility), m_side(side) {}

void CRuleTreeModel::populate(const QString& filter) {
    printk("\n CRuleTreeModel::populate");
    beginResetModel();
    m_rows.clear();
    m_roots.clear();
    m_rowOf.clear();
    Builder(*this, filter).build();
    m_rowOf.reserve(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_rowOf.emplace(m_rows[i].node, static_cast<int>(i));
    markUsed(false);
    endResetModel();
}

void CRuleTreeModel::unPopulate() {
    printk("\n CRuleTreeModel::unPopulate");
    beginResetModel();
    m_rows.clear();
    m_roots.clear();
    m_rowOf.clear();
    endResetModel();
}

void CRuleTreeModel::refreshUsed() { markUsed(true); }

void CRuleTreeModel::markUsed(bool notify) {
    std::unordered_set<CRuleNode, CRuleNodeHash> named;
    for (const auto& rule : m_facility.facility().eventActions) {
        const CEventActionSide* side = sideOf(*rule);
        CRuleNode node;
        if (side && CRuleNode::fromSide(*side, node)) named.insert(node);
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].used && !named.count(m_rows[i].node)) setUsed(static_cast<int>(i), false, notify);
    for (const CRuleNode& node : named) {
        auto found = m_rowOf.find(node);
        if (found != m_rowOf.end()) setUsed(found->second, true, notify);
    }
}

void CRuleTreeModel::groupEmptied(qintptr key) {
    printk("\n CRuleTreeModel::groupEmptied");
    if (key <= 0 || key > static_cast<qintptr>(m_keyNodes.size())) return;
    const CRuleNode& node = m_keyNodes[static_cast<std::size_t>(key - 1)];
    auto found = m_rowOf.find(node);
    // The zones item stands for every range of its panel: other ranges may still be in use.
    if (found != m_rowOf.end()) setUsed(found->second, names(node), true);
}

bool CRuleTreeModel::names(const CRuleNode& node) const {
    for (const auto& rule : m_facility.facility().eventActions) {
        const CEventActionSide* side = sideOf(*rule);
        CRuleNode named;
        if (side && CRuleNode::fromSide(*side, named) && named == node) return true;
    }
    return false;
}

const CEventActionSide* CRuleTreeModel::sideOf(const CEventActionItem& rule) const {
    if (m_side == Side::Input) return rule.event.get();
    return rule.action.get();
}

void CRuleTreeModel::setUsed(int rowIndex, bool used, bool notify) {
    Row& row = m_rows[static_cast<std::size_t>(rowIndex)];
    if (row.used == used) return;
    row.used = used;
    if (!notify) return;
    const QModelIndex at = createIndex(row.row, 0, static_cast<quintptr>(rowIndex));
    emit dataChanged(at, at, {Qt::DecorationRole});
}

qintptr CRuleTreeModel::groupKey(const CRuleNode& node) {
    auto found = m_keys.find(node);
    if (found != m_keys.end()) return found->second;
    m_keyNodes.push_back(node);
    const qintptr key = static_cast<qintptr>(m_keyNodes.size());
    m_keys.emplace(node, key);
    return key;
}

QModelIndex CRuleTreeModel::indexOf(const CRuleNode& node) const {
    auto found = m_rowOf.find(node);
    if (found == m_rowOf.end()) return {};
    return createIndex(m_rows[static_cast<std::size_t>(found->second)].row, 0, static_cast<quintptr>(found->second));
}

const CRuleNode* CRuleTreeModel::nodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.internalId() >= m_rows.size()) return nullptr;
    return &m_rows[index.internalId()].node;
}

bool CRuleTreeModel::isUsed(const QModelIndex& index) const {
    return nodeAt(index) && m_rows[index.internalId()].used;
}

int CRuleTreeModel::imageIndex(const QModelIndex& index) const {
    if (!nodeAt(index)) return -1;
    const Row& row = m_rows[index.internalId()];
    return row.image + (row.used ? usedOffset() : 0);
}

int CRuleTreeModel::usedOffset() const { return m_side == Side::Input ? CArt::kUsedInput : CArt::kUsedOutput; }

int CRuleTreeModel::addRow(int parent, const CRuleNode& node, int image) {
    const int index = static_cast<int>(m_rows.size());
    std::vector<int>& siblings = parent < 0 ? m_roots : m_rows[static_cast<std::size_t>(parent)].children;
    Row row;
    row.node = node;
    row.parent = parent;
    row.row = static_cast<int>(siblings.size());
    row.image = image;
    siblings.push_back(index);
    m_rows.push_back(std::move(row));
    return index;
}

void CRuleTreeModel::dropRow(int rowIndex) {
    const int parent = m_rows[static_cast<std::size_t>(rowIndex)].parent;
    std::vector<int>& siblings = parent < 0 ? m_roots : m_rows[static_cast<std::size_t>(parent)].children;
    siblings.pop_back();
    m_rows.resize(static_cast<std::size_t>(rowIndex));
}

QModelIndex CRuleTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const std::vector<int>& siblings = parent.isValid() ? m_rows[parent.internalId()].children : m_roots;
    if (row >= static_cast<int>(siblings.size())) return {};
    return createIndex(row, 0, static_cast<quintptr>(siblings[static_cast<std::size_t>(row)]));
}

QModelIndex CRuleTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    const int parent = m_rows[child.internalId()].parent;
    if (parent < 0) return {};
    return createIndex(m_rows[static_cast<std::size_t>(parent)].row, 0, static_cast<quintptr>(parent));
}

int CRuleTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    if (!parent.isValid()) return static_cast<int>(m_roots.size());
    return static_cast<int>(m_rows[parent.internalId()].children.size());
}

int CRuleTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CRuleTreeModel::data(const QModelIndex& index, int role) const {
    const CRuleNode* node = nodeAt(index);
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole: return text(*node);
    case Qt::DecorationRole: return icon(imageIndex(index));
    case Qt::ToolTipRole: return node->offersRange() ? QVariant(loadText(kRangeTipText)) : QVariant();
    default: return {};
    }
}

Qt::ItemFlags CRuleTreeModel::flags(const QModelIndex& index) const {
    if (!nodeAt(index)) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

QString CRuleTreeModel::text(const CRuleNode& node) const {
    const CRuleTreeTexts texts(m_side == Side::Input);
    const CFacilityManager& f = m_facility;
    switch (node.kind) {
    case CRuleNodeKind::Panel: {
        const KvWString* label = f.getPanelLabel(node.panel);
        return texts.panel(f.getPanelAddress(node.panel), label ? *label : KvWString());
    }
    case CRuleNodeKind::Loop: return texts.loop(node.loop);
    case CRuleNodeKind::Element: {
        const KvWString* label = f.getElementLabel(node.panel, node.loop, node.element);
        return texts.element(node.element, f.getElementType(node.panel, node.loop, node.element),
                             label ? *label : KvWString());
    }
    case CRuleNodeKind::ZoneRange: return texts.zones();
    case CRuleNodeKind::Zone: return texts.zone(node.zone, f.getPanelZoneDescription(node.panel, node.zone));
    }
    return {};
}

QIcon CRuleTreeModel::icon(int image) const {
    if (image < 0) return {};
    if (m_icons.empty()) m_icons.resize(3 * CArt::kUsedInput);
    if (image >= static_cast<int>(m_icons.size())) return {};
    QIcon& icon = m_icons[static_cast<std::size_t>(image)];
    if (icon.isNull()) icon = CArt::imageList(image);
    return icon;
}
