// CTreeListDelegate: the in-place editors of an element row, one per column: the type list
// (the 18 names in type-code order), the description and zone description (24 characters)
// and the zone (CSpinEditorCtrl).
//
// Moving through the type list only previews the picture; choosing a type (a click or
// Enter) asks the owner's type check first, and a refused type puts the list back on the
// element's own type with the editor still open.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "ui/CTreeListModel.h"

class CTreeListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kMaxText = 24;
    // True when `type` may replace the element's type (the owner tells the user when not).
    using TypeCheck = std::function<bool(const CTreeListModel::Key& row, int type)>;

    CTreeListDelegate(CTreeListModel& model, QObject* parent = nullptr);
    void setTypeCheck(TypeCheck check) { m_typeCheck = std::move(check); }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

private:
    QWidget* typeEditor(QWidget* parent, const QModelIndex& index) const;
    QWidget* zoneEditor(QWidget* parent) const;

    CTreeListModel& m_model;
    TypeCheck m_typeCheck;
};
