// CRuleTreeModel: one of the event-action editor's two trees, read from the facility manager.
//
// The input tree lists what can raise an event, the output tree what can be driven: under each
// panel, the loops holding elements of that side with those elements, then the panel's zones
// item (which stands for a range of zones) holding every zone that holds an element. Rows keep
// only what names their record; texts are read from the model when shown, so a rebuild of the
// largest facility stays cheap. populate() rebuilds; the used pictures follow the rules through
// refreshUsed() and groupEmptied().
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>
#include <unordered_map>
#include <vector>

#include "ui/CRuleNode.h"

class CEventActionItem;
class CEventActionSide;
class CFacilityManager;

class CRuleTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum class Side { Input, Output };

    CRuleTreeModel(CFacilityManager& facility, Side side, QObject* parent = nullptr);

    Side side() const { return m_side; }
    // Rebuilds every row from the model; with a `filter`, keeps the rows whose text (or zone)
    // holds it, their parents and, under a matching panel or loop, everything below.
    void populate(const QString& filter = QString());
    // Empties the tree.
    void unPopulate();
    // Marks every row named by a rule side of this tree's side as used, and no other.
    void refreshUsed();
    // A rule group of this side lost its last rule: the row of `key` shows its base picture
    // again, unless another rule still names it.
    void groupEmptied(qintptr key);

    // The group key of `node`: stable across rebuilds, never 0.
    qintptr groupKey(const CRuleNode& node);
    QModelIndex indexOf(const CRuleNode& node) const;
    // The node of a row; null for an invalid index.
    const CRuleNode* nodeAt(const QModelIndex& index) const;
    bool isUsed(const QModelIndex& index) const;
    // Image list index shown for the row (base, or base + 31 / + 62 when used).
    int imageIndex(const QModelIndex& index) const;
    int rowTotal() const { return static_cast<int>(m_rows.size()); }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        CRuleNode node;
        int parent = -1;
        int row = 0;
        int image = 0;
        bool used = false;
        std::vector<int> children;
    };
    class Builder;

    int addRow(int parent, const CRuleNode& node, int image);
    void dropRow(int rowIndex);
    void markUsed(bool notify);
    bool names(const CRuleNode& node) const;
    const CEventActionSide* sideOf(const CEventActionItem& rule) const;
    void setUsed(int rowIndex, bool used, bool notify);
    QString text(const CRuleNode& node) const;
    QIcon icon(int image) const;
    int usedOffset() const;

    CFacilityManager& m_facility;
    Side m_side;
    std::vector<Row> m_rows;
    std::vector<int> m_roots;
    std::unordered_map<CRuleNode, int, CRuleNodeHash> m_rowOf;
    std::unordered_map<CRuleNode, qintptr, CRuleNodeHash> m_keys;
    std::vector<CRuleNode> m_keyNodes;
    mutable std::vector<QIcon> m_icons;
};
