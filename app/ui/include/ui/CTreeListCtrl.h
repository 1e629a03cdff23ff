// CTreeListCtrl: the loops editor's tree-list: a tree in the first column, the element's
// fields in the others, in-place editors on element rows, and a context menu.
//
// Opening or closing a row is stored in the facility (the facility's opened-out flag, a
// panel's or a loop's flag), so the tree looks the same after a rebuild, a save and a
// reopen. The owner's requests come as signals: Add (context menu), Delete (context menu or
// the Delete key), Modify (context menu or a double-click on a panel row).
#pragma once

#include <QTreeView>

#include "ui/CTreeListModel.h"

class CFacilityManager;
class QMenu;

class CTreeListCtrl : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kAddCommand = 5500;
    static constexpr int kDeleteCommand = 5501;
    static constexpr int kModifyCommand = 5503;
    static constexpr int kIndentation = 16;

    CTreeListCtrl(CFacilityManager& facility, CTreeListModel& model, QWidget* parent = nullptr);

    CTreeListModel& treeModel() const { return m_model; }
    // Opens the rows the facility has marked opened out (after a rebuild).
    void applyExpandState();
    // Opens or closes every row, and stores that in the facility.
    void expandEverything();
    void collapseEverything();
    // Opens `index`'s ancestors so that it shows, storing that in the facility.
    void reveal(const QModelIndex& index);
    // The context menu of `index`'s row (owned by the caller); what a right-click shows.
    QMenu* contextMenuFor(const QModelIndex& index);

    // Selected rows, in display order, and the current one.
    QList<CTreeListModel::Key> selectedKeys() const;
    CTreeListModel::Key currentKey() const;
    // Selects the rows of `keys` that still exist and makes `current` the current row.
    void selectKeys(const QList<CTreeListModel::Key>& keys, const CTreeListModel::Key& current);

signals:
    void addRequested();     // 3058
    void deleteRequested();  // 3159
    void modifyRequested();  // 3160

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitColumns();
    void storeExpanded(const QModelIndex& index, bool expanded);
    void storeEverything(bool expanded);
    void editCurrent();

    CFacilityManager& m_facility;
    CTreeListModel& m_model;
};
