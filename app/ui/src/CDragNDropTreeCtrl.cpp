#include "ui/CDragNDropTreeCtrl.h"

#include <QDataStream>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

#include "art/CArt.h"
#include "basalt/KvTrace.h"

const char* const CDragNDropTreeCtrl::kMimeType = "application/x-cairn-rule-node";

namespace {

constexpr int kMostRowsOpened = 5000;

QByteArray encode(CRuleTreeModel::Side side, const CRuleNode& node) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << static_cast<qint32>(side) << static_cast<qint32>(node.kind) << node.panel << node.loop << node.element
        << node.zone;
    return bytes;
}

bool decode(const QByteArray& bytes, qint32& side, CRuleNode& node) {
    QDataStream in(bytes);
    qint32 kind = 0;
    in >> side >> kind >> node.panel >> node.loop >> node.element >> node.zone;
    if (in.status() != QDataStream::Ok || kind < 0 || kind > static_cast<qint32>(CRuleNodeKind::Zone)) return false;
    node.kind = static_cast<CRuleNodeKind>(kind);
    return true;
}

}  // namespace

CDragNDropTreeCtrl::CDragNDropTreeCtrl(CRuleTreeModel& model, QWidget* parent) : QTreeView(parent), m_model(model) {
    setObjectName(model.side() == CRuleTreeModel::Side::Input ? "1001" : "1002");
    setModel(&model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::LinkAction);
    setIconSize(QSize(CArt::kImageListSize, CArt::kImageListSize));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { emit selectedNodeChanged(); });
}

const CRuleNode* CDragNDropTreeCtrl::selectedNode() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model.nodeAt(rows.first());
}

bool CDragNDropTreeCtrl::selectNode(const CRuleNode& node) {
    const QModelIndex index = m_model.indexOf(node);
    if (!index.isValid()) return false;
    setCurrentIndex(index);
    scrollTo(index);
    return true;
}

void CDragNDropTreeCtrl::repopulate(const QString& filter) {
    printk("\n CDragNDropTreeCtrl::repopulate");
    rememberExpanded();
    const CRuleNode* current = selectedNode();
    const bool hadSelection = current != nullptr;
    const CRuleNode selected = hadSelection ? *current : CRuleNode();
    m_model.populate(filter);
    restoreExpanded();
    // A filter shows only what matched: what it kept is opened out, unless that is most of the facility.
    if (!filter.isEmpty() && m_model.rowTotal() <= kMostRowsOpened) expandAll();
    if (hadSelection) selectNode(selected);
}

void CDragNDropTreeCtrl::rememberExpanded() {
    if (m_firstPopulate) return;
    m_expanded.clear();
    std::vector<QModelIndex> pending;
    for (int row = 0; row < m_model.rowCount(); ++row) pending.push_back(m_model.index(row, 0));
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        if (!isExpanded(index)) continue;
        m_expanded.insert(*m_model.nodeAt(index));
        for (int row = 0; row < m_model.rowCount(index); ++row) pending.push_back(m_model.index(row, 0, index));
    }
}

void CDragNDropTreeCtrl::restoreExpanded() {
    if (m_firstPopulate) {
        // Panels start opened out, so their loops and zones show at once.
        for (int row = 0; row < m_model.rowCount(); ++row) expand(m_model.index(row, 0));
        m_firstPopulate = false;
        return;
    }
    for (const CRuleNode& node : m_expanded) {
        const QModelIndex index = m_model.indexOf(node);
        if (index.isValid()) expand(index);
    }
}

QMimeData* CDragNDropTreeCtrl::dragData(const CRuleNode& node) const {
    auto* data = new QMimeData;
    data->setData(kMimeType, encode(m_model.side(), node));
    return data;
}

void CDragNDropTreeCtrl::startDrag(Qt::DropActions) {
    printk("\n CDragNDropTreeCtrl::OnBegindrag");
    const CRuleNode* node = selectedNode();
    if (!node) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(*node));
    drag->setPixmap(m_model.data(currentIndex(), Qt::DecorationRole).value<QIcon>().pixmap(iconSize()));
    drag->exec(Qt::LinkAction | Qt::CopyAction, Qt::LinkAction);
}

bool CDragNDropTreeCtrl::fromOtherTree(const QMimeData* data, CRuleNode* node) const {
    if (!data || !data->hasFormat(kMimeType)) return false;
    qint32 side = 0;
    CRuleNode decoded;
    if (!decode(data->data(kMimeType), side, decoded)) return false;
    if (side == static_cast<qint32>(m_model.side())) return false;
    if (node) *node = decoded;
    return true;
}

void CDragNDropTreeCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (fromOtherTree(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CDragNDropTreeCtrl::dragMoveEvent(QDragMoveEvent* event) {
    QTreeView::dragMoveEvent(event);
    const bool onItem = indexAt(event->position().toPoint()).isValid();
    if (fromOtherTree(event->mimeData()) && onItem)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CDragNDropTreeCtrl::dropEvent(QDropEvent* event) {
    printk("\n CTreeDropTarget::OnDrop");
    CRuleNode source;
    const CRuleNode* target = m_model.nodeAt(indexAt(event->position().toPoint()));
    stopAutoScroll();
    setState(NoState);
    if (!fromOtherTree(event->mimeData(), &source) || !target) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    viewport()->update();
    const CRuleNode onto = *target;
    emit nodeDropped(source, onto);
}
