#include "mica/KvEditableList.h"

#include <QKeyEvent>

KvEditableList::KvEditableList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("KvEditableList"));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemChanged, this, &KvEditableList::onItemChanged);
}

QListWidgetItem* KvEditableList::makeItem(const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void KvEditableList::SetItems(const QStringList& items) {
    const QSignalBlocker quiet(this);
    clear();
    for (const QString& text : items) addItem(makeItem(text));
}

QStringList KvEditableList::Items() const {
    QStringList texts;
    for (int row = 0; row < count(); ++row) texts << item(row)->text();
    return texts;
}

void KvEditableList::AddNew() {
    QListWidgetItem* fresh = makeItem(QString());
    {
        const QSignalBlocker quiet(this);
        addItem(fresh);
    }
    setCurrentItem(fresh);
    editItem(fresh);
}

bool KvEditableList::RemoveCurrent() {
    QListWidgetItem* current = currentItem();
    if (!current) return false;
    delete takeItem(row(current));
    emit itemsChanged();
    return true;
}

void KvEditableList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert) {
        AddNew();
    } else if (event->key() == Qt::Key_Delete) {
        RemoveCurrent();
    } else {
        QListWidget::keyPressEvent(event);
    }
}

void KvEditableList::onItemChanged(QListWidgetItem* item) {
    if (!item->text().trimmed().isEmpty()) emit itemsChanged();
}

// A row left blank, by typing nothing or by Escape on a new row, is no row.
void KvEditableList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QListWidget::closeEditor(editor, hint);
    QListWidgetItem* edited = currentItem();
    if (!edited || !edited->text().trimmed().isEmpty()) return;
    delete takeItem(row(edited));
    emit itemsChanged();
}
