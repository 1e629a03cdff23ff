// KvEditableList: a list of texts the user edits in place.
//
// Double-click or F2 edits a row, Insert adds a row and edits it, Delete
// removes the selected row. A row edited to nothing but spaces is removed.
// itemsChanged() follows every change made by the user.
#pragma once

#include <QListWidget>
#include <QStringList>

class KvEditableList : public QListWidget {
    Q_OBJECT

public:
    explicit KvEditableList(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    QStringList Items() const;
    // Appends an empty row and opens its editor.
    void AddNew();
    // Removes the current row; false when there is none.
    bool RemoveCurrent();

signals:
    void itemsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QListWidgetItem* makeItem(const QString& text);
    void onItemChanged(QListWidgetItem* item);
};
