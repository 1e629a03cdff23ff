#include "ui/CTreeListModel.h"

#include <QColor>

#include "art/CArt.h"
#include "basalt/KvTrace.h"
#include "model/CElementTypeCatalogue.h"
#include "model/CFacilityManager.h"
#include "ui/UiText.h"

namespace {

constexpr int kHeaderTexts[CTreeListModel::kColumns] = {9, 10, 11, 12, 13};
constexpr int kRootText = 43;
constexpr int kLoopText = 44;

// Bits of a row's internal id: level, then its position among panels, loops and elements.
constexpr int kLevelBits = 2;
constexpr int kPanelBits = 20;
constexpr int kLoopBits = 16;
constexpr quintptr kPanelMask = (quintptr(1) << kPanelBits) - 1;
constexpr quintptr kLoopMask = (quintptr(1) << kLoopBits) - 1;
constexpr int kLoopShift = kLevelBits + kPanelBits;
constexpr int kElementShift = kLoopShift + kLoopBits;

const QColor kYellow(255, 255, 230);
const QColor kGrey(236, 236, 236);
const QColor kInk(0, 0, 136);

QString shown(const KvWString* text) { return text ? toQString(*text) : QString(); }

}  // namespace

CTreeListModel::CTreeListModel(CFacilityManager& facility, QObject* parent)
    : QAbstractItemModel(parent), m_facility(facility) {
    for (int i = 0; i < CArt::kImageListBase; ++i) m_images.push_back(CArt::imageList(i));
    loadTexts();
}

// Types 15 and 16 are named by each other's neighbours in the table: 246 and 245.
int CTreeListModel::typeNameText(int type) {
    if (type == 15) return 246;
    if (type == 16) return 245;
    return type >= 1 && type <= 18 ? 230 + type : 0;
}

void CTreeListModel::loadTexts() {
    m_typeNames.clear();
    for (int type = CElementTypeCatalogue::kFirstType; type <= CElementTypeCatalogue::kLastType; ++type)
        m_typeNames << loadText(typeNameText(type));
    for (int c = 0; c < kColumns; ++c) m_headers[c] = loadText(kHeaderTexts[c]);
    m_rootText = loadText(kRootText);
    m_loopWord = loadText(kLoopText);
}

void CTreeListModel::populate() {
    printk("\n CExtendedControlsDlg::populate");
    beginResetModel();
    m_facility.sortFacility();
    loadTexts();
    m_panels.clear();
    m_hasRoot = true;
    m_previewType = 0;
    // The records are read directly: this walk visits every element of the largest facility.
    for (const auto& panel : m_facility.facility().panels) {
        PanelRows& p = m_panels.emplace_back();
        p.id = panel->id;
        p.loops.reserve(panel->loops.size());
        for (const auto& loop : panel->loops) {
            LoopRows& l = p.loops.emplace_back();
            l.address = loop->address;
            l.elements.reserve(loop->elements.size());
            for (const auto& element : loop->elements) l.elements.push_back(element->address);
        }
    }
    endResetModel();
}

void CTreeListModel::unPopulate() {
    beginResetModel();
    m_panels.clear();
    m_hasRoot = false;
    m_previewType = 0;
    endResetModel();
}

int CTreeListModel::loopCount() const {
    int count = 0;
    for (const PanelRows& p : m_panels) count += static_cast<int>(p.loops.size());
    return count;
}

int CTreeListModel::elementCount() const {
    int count = 0;
    for (const PanelRows& p : m_panels)
        for (const LoopRows& l : p.loops) count += static_cast<int>(l.elements.size());
    return count;
}

// ---- row identity ----

quintptr CTreeListModel::pack(const Place& place) {
    return quintptr(place.level) | (quintptr(place.panel) << kLevelBits) | (quintptr(place.loop) << kLoopShift) |
           (quintptr(place.element) << kElementShift);
}

CTreeListModel::Place CTreeListModel::unpack(quintptr id) {
    Place place;
    place.level = static_cast<int>(id & 3);
    place.panel = static_cast<int>((id >> kLevelBits) & kPanelMask);
    place.loop = static_cast<int>((id >> kLoopShift) & kLoopMask);
    place.element = static_cast<int>(id >> kElementShift);
    return place;
}

CTreeListModel::Key CTreeListModel::keyOf(const Place& place) const {
    Key key;
    key.level = place.level;
    if (place.level >= kPanel) key.panel = m_panels[place.panel].id;
    if (place.level >= kLoop) key.loop = m_panels[place.panel].loops[place.loop].address;
    if (place.level >= kElement) key.element = m_panels[place.panel].loops[place.loop].elements[place.element];
    return key;
}

CTreeListModel::Key CTreeListModel::key(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return {};
    return keyOf(place(index));
}

QModelIndex CTreeListModel::indexOf(const Key& key, int column) const {
    if (!key.valid() || !m_hasRoot) return {};
    if (key.level == kRoot) return createIndex(0, column, pack({kRoot, 0, 0, 0}));
    for (std::size_t p = 0; p < m_panels.size(); ++p) {
        if (m_panels[p].id != key.panel) continue;
        if (key.level == kPanel) return createIndex(static_cast<int>(p), column, pack({kPanel, static_cast<int>(p), 0, 0}));
        const auto& loops = m_panels[p].loops;
        for (std::size_t l = 0; l < loops.size(); ++l) {
            if (loops[l].address != key.loop) continue;
            const Place at{kLoop, static_cast<int>(p), static_cast<int>(l), 0};
            if (key.level == kLoop) return createIndex(static_cast<int>(l), column, pack(at));
            const auto& elements = loops[l].elements;
            for (std::size_t e = 0; e < elements.size(); ++e)
                if (elements[e] == key.element)
                    return createIndex(static_cast<int>(e), column,
                                       pack({kElement, at.panel, at.loop, static_cast<int>(e)}));
            return {};
        }
        return {};
    }
    return {};
}

// ---- QAbstractItemModel ----

QModelIndex CTreeListModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= kColumns) return {};
    if (!parent.isValid()) return m_hasRoot && row == 0 ? createIndex(0, column, pack({kRoot, 0, 0, 0})) : QModelIndex();
    const Place up = place(parent);
    switch (up.level) {
        case kRoot:
            return row < static_cast<int>(m_panels.size()) ? createIndex(row, column, pack({kPanel, row, 0, 0}))
                                                           : QModelIndex();
        case kPanel:
            return row < static_cast<int>(m_panels[up.panel].loops.size())
                       ? createIndex(row, column, pack({kLoop, up.panel, row, 0}))
                       : QModelIndex();
        case kLoop:
            return row < static_cast<int>(m_panels[up.panel].loops[up.loop].elements.size())
                       ? createIndex(row, column, pack({kElement, up.panel, up.loop, row}))
                       : QModelIndex();
        default:
            return {};
    }
}

QModelIndex CTreeListModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    const Place at = place(child);
    switch (at.level) {
        case kPanel: return createIndex(0, 0, pack({kRoot, 0, 0, 0}));
        case kLoop: return createIndex(at.panel, 0, pack({kPanel, at.panel, 0, 0}));
        case kElement: return createIndex(at.loop, 0, pack({kLoop, at.panel, at.loop, 0}));
        default: return {};
    }
}

int CTreeListModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_hasRoot ? 1 : 0;
    if (parent.column() != 0) return 0;
    const Place at = place(parent);
    switch (at.level) {
        case kRoot: return static_cast<int>(m_panels.size());
        case kPanel: return static_cast<int>(m_panels[at.panel].loops.size());
        case kLoop: return static_cast<int>(m_panels[at.panel].loops[at.loop].elements.size());
        default: return 0;
    }
}

int CTreeListModel::columnCount(const QModelIndex&) const { return kColumns; }

QVariant CTreeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
    return m_headers[section];
}

Qt::ItemFlags CTreeListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (place(index).level == kEditableLevel) {
        flags |= Qt::ItemNeverHasChildren;
        if (index.column() != kName) flags |= Qt::ItemIsEditable;
    }
    return flags;
}

QVariant CTreeListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
        case Qt::ToolTipRole:
            return text(keyOf(place(index)), column, role);
        case Qt::DecorationRole: {
            if (column != kName) return {};
            const int image = imageOf(keyOf(place(index)));
            return image >= 0 && image < static_cast<int>(m_images.size()) ? QVariant(m_images[image]) : QVariant();
        }
        case Qt::BackgroundRole:
            if (column == kType || column == kZone) return kYellow;
            if (column == kDescription || column == kZoneDescription) return kGrey;
            return {};
        case Qt::ForegroundRole:
            return kInk;
        default:
            return {};
    }
}

QVariant CTreeListModel::text(const Key& key, int column, int role) const {
    if (key.level == kElement) return elementText(key, column, role);
    if (column != kName) return {};
    switch (key.level) {
        case kRoot: return m_rootText;
        case kPanel: return QString::number(m_facility.getPanelAddress(key.panel)) + " - " +
                            shown(m_facility.getPanelLabel(key.panel));
        default: return m_loopWord + " " + QString::number(key.loop);
    }
}

QVariant CTreeListModel::elementText(const Key& key, int column, int role) const {
    const int zone = m_facility.getElementZone(key.panel, key.loop, key.element);
    switch (column) {
        case kName: return shown(m_facility.getElementLabel(key.panel, key.loop, key.element));
        case kType: {
            const int type = m_facility.getElementType(key.panel, key.loop, key.element);
            if (role == Qt::EditRole) return type;
            return type >= 1 && type <= m_typeNames.size() ? m_typeNames[type - 1] : QString();
        }
        case kDescription: return shown(m_facility.getElementDescription(key.panel, key.loop, key.element));
        case kZone:
            if (role == Qt::EditRole) return zone;
            return zone > 0 ? QString::number(zone) : QString();
        default: return zone > 0 ? shown(m_facility.getZoneDescription(zone)) : QString();
    }
}

int CTreeListModel::imageOf(const Key& key) const {
    switch (key.level) {
        case kRoot: return kFacilityImage;
        case kPanel: return kPanelImage;
        case kLoop: return kLoopImage;
        default: break;
    }
    const int p = key.panel, l = key.loop, a = key.element;
    if (m_previewType > 0 && key == m_previewKey) {
        const int mode = CElementTypeCatalogue::addressCount(m_previewType) > 1 ? 1 : 0;
        return CElementTypeCatalogue::iconIndex(m_previewType, mode, CElementTypeCatalogue::genericType(m_previewType, 0));
    }
    return CElementTypeCatalogue::iconIndex(m_facility.getElementType(p, l, a), m_facility.getElementCompositeMode(p, l, a),
                                            m_facility.getElementGenericType(p, l, a));
}

bool CTreeListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !m_editHandler) return false;
    m_editHandler(key(index), index.column(), value);
    return true;
}

// ---- refreshing ----

void CTreeListModel::refreshLoop(int panel, int loop) {
    const QModelIndex parent = indexOf({kLoop, panel, loop, 0});
    if (!parent.isValid()) return;
    const Place at = place(parent);
    std::vector<int>& rows = m_panels[at.panel].loops[at.loop].elements;
    std::vector<int> now;
    for (int i = 0; i < m_facility.getNumberOfElementsInLoop(panel, loop); ++i)
        now.push_back(m_facility.getElementAddress(panel, loop, i));
    if (now != rows) {
        // Rows that come and go: the view lays the tree out again, but the model keeps the rest.
        if (!rows.empty()) {
            beginRemoveRows(parent, 0, static_cast<int>(rows.size()) - 1);
            rows.clear();
            endRemoveRows();
        }
        if (!now.empty()) {
            beginInsertRows(parent, 0, static_cast<int>(now.size()) - 1);
            rows = std::move(now);
            endInsertRows();
        }
        return;
    }
    if (!rows.empty())
        emit dataChanged(index(0, kName, parent), index(static_cast<int>(rows.size()) - 1, kColumns - 1, parent));
}

void CTreeListModel::refreshElement(const Key& key) {
    const QModelIndex first = indexOf(key, kName);
    if (first.isValid()) emit dataChanged(first, first.siblingAtColumn(kColumns - 1));
}

void CTreeListModel::refreshZoneDescriptions() {
    for (std::size_t p = 0; p < m_panels.size(); ++p)
        for (std::size_t l = 0; l < m_panels[p].loops.size(); ++l) {
            const int count = static_cast<int>(m_panels[p].loops[l].elements.size());
            if (count == 0) continue;
            const Place at{kElement, static_cast<int>(p), static_cast<int>(l), 0};
            Place last = at;
            last.element = count - 1;
            emit dataChanged(createIndex(0, kZoneDescription, pack(at)),
                             createIndex(count - 1, kZoneDescription, pack(last)));
        }
}

void CTreeListModel::setPreviewType(const Key& key, int type) {
    const Key before = m_previewKey;
    m_previewKey = key;
    m_previewType = type;
    // Only the picture: a wider change would reset the open type list to the element's type.
    for (const Key& row : {before, key}) {
        const QModelIndex picture = indexOf(row, kName);
        if (picture.isValid()) emit dataChanged(picture, picture, {Qt::DecorationRole});
    }
}
