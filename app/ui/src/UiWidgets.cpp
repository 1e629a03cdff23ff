#include "ui/UiWidgets.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <vector>

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
    // Queued: sized while the layout still settles, rows keep the height of a column's passing width.
    QObject::connect(header, &QHeaderView::sectionResized, table, [table] { table->resizeRowsToContents(); },
                     Qt::QueuedConnection);
}

QLabel* makeHeading(int textId, QWidget* parent) {
    auto* heading = new QLabel(loadText(textId), parent);
    heading->setObjectName("heading");
    heading->setWordWrap(true);
    return heading;
}

int widestText(const QFontMetrics& metrics, const QStringList& texts) {
    // Widths follow lengths closely; the longest few dozen texts hold the widest by a margin.
    constexpr std::size_t kMeasured = 48;
    std::vector<const QString*> longest;
    longest.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) longest.push_back(&text);
    const std::size_t measured = std::min(kMeasured, longest.size());
    std::partial_sort(longest.begin(), longest.begin() + static_cast<std::ptrdiff_t>(measured), longest.end(),
                      [](const QString* a, const QString* b) { return a->size() > b->size(); });
    int widest = 0;
    for (std::size_t i = 0; i < measured; ++i) widest = std::max(widest, metrics.horizontalAdvance(*longest[i]));
    return widest;
}
