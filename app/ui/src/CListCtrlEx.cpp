#include "ui/CListCtrlEx.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include "basalt/KvTrace.h"
#include "ui/UiText.h"

namespace {

constexpr int kModifyText = 255;
constexpr int kDeleteText = 75;
constexpr int kMeasuredRows = 200;

}  // namespace

CListCtrlEx::CListCtrlEx(CRuleListModel& model, const QString& name, QWidget* parent)
    : QTableView(parent), m_model(model) {
    setObjectName(name);
    setModel(&model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // Whole texts with a scroll bar rather than cut ones; measuring is skipped for long lists.
    connect(&model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_model.rowCount() <= kMeasuredRows) resizeColumnsToContents();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (!m_quiet && current.isValid()) emit ruleSelected(m_model.ruleAt(current.row()));
    });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        printk("\n CListCtrlEx::OnNMDblclk");
        if (index.isValid()) emit editRequested(m_model.ruleAt(index.row()));
    });
}

int CListCtrlEx::selectedRule() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : m_model.ruleAt(rows.first().row());
}

bool CListCtrlEx::selectRule(int id) {
    const int row = m_model.rowOf(id);
    if (row < 0) return false;
    m_quiet = true;
    selectRow(row);
    m_quiet = false;
    scrollTo(m_model.index(row, 0));
    return true;
}

void CListCtrlEx::keyPressEvent(QKeyEvent* event) {
    const int rule = selectedRule();
    switch (event->key()) {
    case Qt::Key_Delete:
        printk("\n CListCtrlEx::OnKeydown");
        if (rule) emit deleteRequested(rule);
        return;
    case Qt::Key_F2: return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (rule) emit editRequested(rule);
        return;
    default: QTableView::keyPressEvent(event);
    }
}

void CListCtrlEx::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid()) return;
    const int rule = m_model.ruleAt(index.row());
    selectRow(index.row());
    QMenu menu(this);
    QAction* edit = menu.addAction(loadText(kModifyText));
    QAction* remove = menu.addAction(loadText(kDeleteText));
    remove->setShortcut(QKeySequence::Delete);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == edit) emit editRequested(rule);
    if (chosen == remove) emit deleteRequested(rule);
}
