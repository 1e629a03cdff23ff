// CDragNDropTreeCtrl: a rule tree (1001 input, 1002 output) from which items are dragged onto
// the other tree to make a rule.
//
// A drop counts only when it comes from the other tree and lands on an item; the tree then
// reports the two nodes and leaves the rest to the editor. Expanded items and the selection
// survive a rebuild of the model.
#pragma once

#include <QTreeView>
#include <unordered_set>

#include "ui/CRuleNode.h"
#include "ui/CRuleTreeModel.h"

class CDragNDropTreeCtrl : public QTreeView {
    Q_OBJECT
public:
    static const char* const kMimeType;

    CDragNDropTreeCtrl(CRuleTreeModel& model, QWidget* parent = nullptr);

    CRuleTreeModel& ruleModel() { return m_model; }
    // The node of the current item; null when none.
    const CRuleNode* selectedNode() const;
    // Makes `node` current and shows it; false when the tree has no such item.
    bool selectNode(const CRuleNode& node);
    // Rebuilds the model with `filter`, keeping what was expanded and selected.
    void repopulate(const QString& filter);
    // The drag payload naming `node` of this tree.
    QMimeData* dragData(const CRuleNode& node) const;

signals:
    // A node of the other tree was dropped on `target` of this one.
    void nodeDropped(const CRuleNode& source, const CRuleNode& target);
    void selectedNodeChanged();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool fromOtherTree(const QMimeData* data, CRuleNode* node = nullptr) const;
    void rememberExpanded();
    void restoreExpanded();

    CRuleTreeModel& m_model;
    std::unordered_set<CRuleNode, CRuleNodeHash> m_expanded;
    bool m_firstPopulate = true;
};
