#include "ui/UiWidgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "art/CArt.h"
#include "ui/UiText.h"

QPushButton* makeImageButton(const QString& name, int textId, int pictureId, QWidget* parent) {
    auto* button = new QPushButton(CArt::icon(pictureId), loadText(textId), parent);
    button->setObjectName(name);
    return button;
}

void setProductTitle(QWidget* window) { window->setWindowTitle(loadText(68)); }

QTableView* makeRowTable(const QString& name, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void stretchAndWrap(QTableView* table, std::initializer_list<int> stretched) {
    constexpr int kMostWrappedRows = 500;  // sizing more rows to their texts makes every resize crawl
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(false);
    for (int column = 0; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    for (int column : stretched) header->setSectionResizeMode(column, QHeaderView::Stretch);
    table->setWordWrap(true);
    if (table->model()->rowCount() > kMostWrappedRows) return;
    QObject::connect(header, &QHeaderView::sectionResized, table, [table] { table->resizeRowsToContents(); });
}

QLabel* makeHeading(int textId, QWidget* parent) {
    auto* heading = new QLabel(loadText(textId), parent);
    heading->setObjectName("heading");
    heading->setWordWrap(true);
    return heading;
}
