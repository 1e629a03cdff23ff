#include "ui/CTreeListCtrl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "ui/UiText.h"

namespace {

constexpr int kAddText = 74;
constexpr int kDeleteText = 75;
constexpr int kModifyText = 255;

// The rows from the root down to `index`: compared, they order rows as the tree shows them.
std::vector<int> rowPath(QModelIndex index) {
    std::vector<int> path;
    for (; index.isValid(); index = index.parent()) path.insert(path.begin(), index.row());
    return path;
}

}  // namespace

CTreeListCtrl::CTreeListCtrl(CFacilityManager& facility, CTreeListModel& model, QWidget* parent)
    : QTreeView(parent), m_facility(facility), m_model(model) {
    setObjectName("CTreeListCtrl");
    setModel(&model);
    setUniformRowHeights(true);
    setIndentation(kIndentation);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    fitColumns();
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { storeExpanded(index, true); });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { storeExpanded(index, false); });
}

// Widths that show a panel's label three levels deep, the longest type name in the language
// shown, a full description and a zone number; the zone description takes the rest.
void CTreeListCtrl::fitColumns() {
    const QFontMetrics metrics = fontMetrics();
    const int padding = 2 * metrics.averageCharWidth() + 8;
    int typeWidth = metrics.horizontalAdvance(m_model.headerData(CTreeListModel::kType, Qt::Horizontal).toString());
    for (const QString& name : m_model.typeNames()) typeWidth = std::max(typeWidth, metrics.horizontalAdvance(name));
    const int text = metrics.horizontalAdvance(QString(24, QChar('n')));
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    setColumnWidth(CTreeListModel::kName, 4 * kIndentation + icon + text / 2 + padding);
    setColumnWidth(CTreeListModel::kType, typeWidth + padding + 24);
    setColumnWidth(CTreeListModel::kDescription, text + padding);
    const int zoneHeader = metrics.horizontalAdvance(m_model.headerData(CTreeListModel::kZone, Qt::Horizontal).toString());
    setColumnWidth(CTreeListModel::kZone, std::max(zoneHeader, metrics.horizontalAdvance("0000")) + padding);
}

void CTreeListCtrl::storeExpanded(const QModelIndex& index, bool expanded) {
    const CTreeListModel::Key key = m_model.key(index);
    switch (key.level) {
        case CTreeListModel::kRoot: m_facility.setExpandedView(expanded); break;
        case CTreeListModel::kPanel: m_facility.setPanelExpanded(key.panel, expanded); break;
        case CTreeListModel::kLoop: m_facility.setLoopExpanded(key.panel, key.loop, expanded); break;
        default: break;
    }
}

void CTreeListCtrl::applyExpandState() {
    const QModelIndex root = m_model.index(0, 0);
    if (!root.isValid()) return;
    // Straight after a rebuild the view only notes these; it lays the rows out once, later.
    setExpanded(root, m_facility.getExpandedView());
    for (int p = 0; p < m_model.rowCount(root); ++p) {
        const QModelIndex panel = m_model.index(p, 0, root);
        const CTreeListModel::Key panelKey = m_model.key(panel);
        if (m_facility.getPanelExpanded(panelKey.panel)) setExpanded(panel, true);
        for (int l = 0; l < m_model.rowCount(panel); ++l) {
            const QModelIndex loop = m_model.index(l, 0, panel);
            if (m_facility.getLoopExpanded(panelKey.panel, m_model.key(loop).loop)) setExpanded(loop, true);
        }
    }
}

void CTreeListCtrl::storeEverything(bool expanded) {
    m_facility.setExpandedView(expanded);
    for (int p = 0; p < m_facility.getNumberOfPanels(); ++p) {
        const int id = m_facility.getPanelId(p);
        m_facility.setPanelExpanded(id, expanded);
        for (int l = 0; l < m_facility.getNumOfLoops(id); ++l)
            m_facility.setLoopExpanded(id, m_facility.getLoopAddress(id, l), expanded);
    }
}

void CTreeListCtrl::expandEverything() {
    printk("\n CExtendedControlsDlg::OnBnClickedBtExpand");
    storeEverything(true);
    expandAll();
}

void CTreeListCtrl::collapseEverything() {
    printk("\n CExtendedControlsDlg::OnBnClickedBtCollapse");
    storeEverything(false);
    collapseAll();
}

void CTreeListCtrl::reveal(const QModelIndex& index) {
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        if (!isExpanded(up)) setExpanded(up, true);
}

// ---- selection ----

QList<CTreeListModel::Key> CTreeListCtrl::selectedKeys() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    // Display order: the order a walk down the tree meets them.
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return rowPath(a) < rowPath(b); });
    QList<CTreeListModel::Key> keys;
    for (const QModelIndex& row : rows) keys << m_model.key(row);
    return keys;
}

CTreeListModel::Key CTreeListCtrl::currentKey() const { return m_model.key(currentIndex()); }

void CTreeListCtrl::selectKeys(const QList<CTreeListModel::Key>& keys, const CTreeListModel::Key& current) {
    QItemSelection selection;
    for (const CTreeListModel::Key& key : keys) {
        const QModelIndex row = m_model.indexOf(key);
        if (row.isValid()) selection.select(row, row.siblingAtColumn(CTreeListModel::kColumns - 1));
    }
    const QModelIndex now = m_model.indexOf(current);
    if (now.isValid()) {
        reveal(now);
        selectionModel()->setCurrentIndex(now, QItemSelectionModel::NoUpdate);
        scrollTo(now);
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

// ---- mouse and keys ----

QMenu* CTreeListCtrl::contextMenuFor(const QModelIndex& index) {
    const CTreeListModel::Key key = m_model.key(index);
    auto* menu = new QMenu(this);
    menu->setObjectName("contextMenu");
    QAction* add = menu->addAction(loadText(kAddText));
    add->setObjectName(QString::number(kAddCommand));
    connect(add, &QAction::triggered, this, [this, index] {
        // Adding below a closed row opens it, so the new rows show.
        const QModelIndex row = index.siblingAtColumn(0);
        if (row.isValid() && !isExpanded(row) && !(m_model.flags(row) & Qt::ItemNeverHasChildren)) setExpanded(row, true);
        emit addRequested();
    });
    if (key.level == CTreeListModel::kPanel) {
        QAction* modify = menu->addAction(loadText(kModifyText));
        modify->setObjectName(QString::number(kModifyCommand));
        connect(modify, &QAction::triggered, this, &CTreeListCtrl::modifyRequested);
    }
    if (key.level >= CTreeListModel::kPanel) {
        QAction* remove = menu->addAction(loadText(kDeleteText));
        remove->setObjectName(QString::number(kDeleteCommand));
        connect(remove, &QAction::triggered, this, &CTreeListCtrl::deleteRequested);
    }
    return menu;
}

void CTreeListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!index.isValid()) return;
    // The row clicked becomes the one the commands work on, unless it is already among the chosen.
    if (!selectionModel()->isRowSelected(index.row(), index.parent()))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QMenu* menu = contextMenuFor(index);
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : viewport()->mapToGlobal(visualRect(index).center());
    menu->exec(at);
    delete menu;
}

void CTreeListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (m_model.key(index).level == CTreeListModel::kPanel) {
        emit modifyRequested();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void CTreeListCtrl::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        switch (event->key()) {
            case Qt::Key_Delete:
                emit deleteRequested();
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F2:
                editCurrent();
                return;
            case Qt::Key_Left:
            case Qt::Key_Right: {
                // On an element row the arrows walk the cells, so the keyboard reaches every editor.
                const QModelIndex now = currentIndex();
                if (m_model.key(now).level == CTreeListModel::kEditableLevel && !(event->modifiers() & Qt::ControlModifier)) {
                    const int column = now.column() + (event->key() == Qt::Key_Right ? 1 : -1);
                    if (column >= 0 && column < CTreeListModel::kColumns) {
                        selectionModel()->setCurrentIndex(now.siblingAtColumn(column), QItemSelectionModel::NoUpdate);
                        return;
                    }
                }
                break;
            }
            default:
                break;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CTreeListCtrl::editCurrent() {
    QModelIndex now = currentIndex();
    if (!now.isValid()) return;
    if (m_model.key(now).level != CTreeListModel::kEditableLevel) {
        setExpanded(now.siblingAtColumn(0), !isExpanded(now.siblingAtColumn(0)));
        return;
    }
    // The name column is not edited: the type is the first field of an element.
    if (now.column() == CTreeListModel::kName) now = now.siblingAtColumn(CTreeListModel::kType);
    selectionModel()->setCurrentIndex(now, QItemSelectionModel::NoUpdate);
    edit(now);
}
