#include "ui/CCauseEffectView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "reports/CMatrixPrinter.h"
#include "ui/CMatrixTableModel.h"
#include "ui/CVerticalTextHeader.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kTitleText = 520;
constexpr int kNoRulesText = 523;
constexpr int kFilterText = 460;  // the editor's own filter word
constexpr int kAllPanelsText = 525;
constexpr int kPanelText = 151;

constexpr int kCellWidth = 44;
constexpr int kCellHeight = 22;
// The headers take the room their longest words need, within these bounds (longer words end
// in an ellipsis and show whole in the tooltip).
constexpr int kLeastColumnHead = 60;
constexpr int kMostColumnHead = 320;
constexpr int kLeastRowHead = 120;
constexpr int kMostRowHead = 480;
constexpr int kRowHeadPad = 12;

}  // namespace

CCauseEffectView::CCauseEffectView(const CFacilityManager& facility, QWidget* parent)
    : QDialog(parent), m_facility(facility), m_model(new CMatrixTableModel(facility, this)),
      m_panels(new QComboBox(this)), m_text(new QLineEdit(this)), m_table(new QTableView(this)),
      m_empty(new QLabel(loadText(kNoRulesText), this)) {
    printk("\n CCauseEffectView::CCauseEffectView");
    setObjectName(QStringLiteral("CCauseEffectView"));
    setWindowTitle(loadText(kTitleText));
    m_panels->setObjectName(QStringLiteral("panelFilter"));
    m_text->setObjectName(QStringLiteral("textFilter"));
    m_text->setClearButtonEnabled(true);
    m_text->setPlaceholderText(loadText(kFilterText));
    m_text->setAccessibleName(m_text->placeholderText());
    m_table->setObjectName(QStringLiteral("matrixTable"));

    // Fixed sizes: nothing is measured over all 2048 lines, and only the visible cells are drawn.
    m_columnHead = new CVerticalTextHeader(kLeastColumnHead, m_table);
    m_table->setHorizontalHeader(m_columnHead);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(kCellHeight);
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setModel(m_model);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(loadText(kPanelText), this));
    filters->addWidget(m_panels);
    filters->addSpacing(12);
    filters->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_empty);
    resize(900, 640);

    connect(m_panels, &QComboBox::currentIndexChanged, this, &CCauseEffectView::applyFilters);
    connect(m_text, &QLineEdit::textChanged, this, &CCauseEffectView::applyFilters);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(m_table, &QTableView::doubleClicked, this, &CCauseEffectView::onDoubleClicked);
    refresh();
}

void CCauseEffectView::refresh() {
    printk("\n CCauseEffectView::refresh");
    const int current = m_table->currentIndex().data(CMatrixTableModel::kRuleRole).toInt();
    fillPanels();
    applyFilters();
    // The rule in hand stays in hand, without selecting its pair in the editor again.
    m_restoring = true;
    if (current) selectRule(current);
    m_restoring = false;
}

// Every panel of the facility, "All panels" first; the chosen one stays chosen while it exists.
void CCauseEffectView::fillPanels() {
    const int chosen = m_panels->currentData().toInt();
    const QSignalBlocker quiet(m_panels);
    m_panels->clear();
    m_panels->addItem(loadText(kAllPanelsText), 0);
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i) {
        const int id = m_facility.getPanelId(i);
        m_panels->addItem(CMatrixPrinter::panelWords(m_facility, id), id);
    }
    m_panels->setCurrentIndex(std::max(0, m_panels->findData(chosen)));
}

void CCauseEffectView::applyFilters() {
    m_model->refresh(m_panels->currentData().toInt(), m_text->text());
    const bool empty = m_model->matrix().cells().empty();
    m_table->setVisible(!empty);
    m_empty->setVisible(empty);
    fitHeaders();
}

// Measured over the words made for the lines, never over the cells.
void CCauseEffectView::fitHeaders() {
    m_columnHead->fitToContents(kLeastColumnHead, kMostColumnHead);
    QHeaderView* rows = m_table->verticalHeader();
    QFont bold = rows->font();
    bold.setBold(true);  // the current row's words
    QStringList words;
    for (int row = 0; row < m_model->rowCount(); ++row)
        words << m_model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
    rows->setFixedWidth(std::clamp(widestText(QFontMetrics(bold), words) + kRowHeadPad, kLeastRowHead, kMostRowHead));
}

bool CCauseEffectView::selectRule(int ruleId) {
    const QModelIndex index = m_model->indexOfRule(ruleId);
    if (!index.isValid()) return false;
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
    return true;
}

void CCauseEffectView::onCurrentChanged(const QModelIndex& current) {
    const int rule = current.data(CMatrixTableModel::kRuleRole).toInt();
    if (rule && !m_restoring) emit pairSelected(rule);
}

void CCauseEffectView::onDoubleClicked(const QModelIndex& index) {
    const int rule = index.data(CMatrixTableModel::kRuleRole).toInt();
    if (rule) emit editRequested(rule);
}
