#include "ui/CTreeListDelegate.h"

#include <QComboBox>
#include <QLineEdit>

#include "art/CArt.h"
#include "model/CElementTypeCatalogue.h"
#include "ui/CSpinEditorCtrl.h"

namespace {

// Set on the type list once the user has chosen a type.
constexpr char kConfirmed[] = "confirmed";

}  // namespace

CTreeListDelegate::CTreeListDelegate(CTreeListModel& model, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model) {}

QWidget* CTreeListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    switch (index.column()) {
        case CTreeListModel::kType: return typeEditor(parent, index);
        case CTreeListModel::kZone: return zoneEditor(parent);
        case CTreeListModel::kDescription:
        case CTreeListModel::kZoneDescription: {
            auto* edit = new QLineEdit(parent);
            edit->setObjectName(index.column() == CTreeListModel::kDescription ? "descriptionEditor" : "zoneDescriptionEditor");
            edit->setMaxLength(kMaxText);
            return edit;
        }
        default: return QStyledItemDelegate::createEditor(parent, option, index);
    }
}

QWidget* CTreeListDelegate::typeEditor(QWidget* parent, const QModelIndex& index) const {
    auto* combo = new QComboBox(parent);
    combo->setObjectName("typeSelector");
    const QStringList& names = m_model.typeNames();
    for (int i = 0; i < names.size(); ++i) {
        const int type = i + 1;
        const int mode = CElementTypeCatalogue::addressCount(type) > 1 ? 1 : 0;
        combo->addItem(CArt::imageList(CElementTypeCatalogue::iconIndex(type, mode, CElementTypeCatalogue::genericType(type, 0))),
                       names[i]);
    }
    const CTreeListModel::Key row = m_model.key(index);
    connect(combo, &QComboBox::currentIndexChanged, this,
            [this, row](int i) { m_model.setPreviewType(row, i + 1); });
    connect(combo, &QComboBox::activated, this, [this, combo, row](int i) {
        const int type = i + 1;
        if (m_typeCheck && !m_typeCheck(row, type)) {
            const int own = m_model.indexOf(row, CTreeListModel::kType).data(Qt::EditRole).toInt();
            combo->setCurrentIndex(own - 1);
            return;
        }
        combo->setProperty(kConfirmed, true);
        auto* self = const_cast<CTreeListDelegate*>(this);
        emit self->commitData(combo);
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    return combo;
}

QWidget* CTreeListDelegate::zoneEditor(QWidget* parent) const {
    auto* spin = new CSpinEditorCtrl(parent);
    connect(spin, &CSpinEditorCtrl::zoneConfirmed, this, [this, spin] {
        auto* self = const_cast<CTreeListDelegate*>(this);
        emit self->commitData(spin);
        emit self->closeEditor(spin, QAbstractItemDelegate::NoHint);
    });
    return spin;
}

void CTreeListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QVariant value = index.data(Qt::EditRole);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(value.toInt() - 1);
    } else if (auto* spin = qobject_cast<CSpinEditorCtrl*>(editor)) {
        spin->SetValue(value.toInt() > 0 ? value.toInt() : CSpinEditorCtrl::kLeastZone);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(value.toString());
    }
}

void CTreeListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // Leaving the list without choosing (focus lost) changes nothing: a type change is never a side effect.
        if (combo->property(kConfirmed).toBool()) model->setData(index, combo->currentIndex() + 1);
    } else if (auto* spin = qobject_cast<CSpinEditorCtrl*>(editor)) {
        if (spin->GetValue() > 0) model->setData(index, spin->GetValue());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, edit->text());
    }
}

void CTreeListDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (qobject_cast<QComboBox*>(editor)) m_model.setPreviewType({}, 0);
    QStyledItemDelegate::destroyEditor(editor, index);
}
