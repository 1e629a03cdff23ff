#include "ui/CDragNDropDlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <initializer_list>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"
#include "ui/CAbstract.h"
#include "ui/CCauseEffectView.h"
#include "ui/CDragNDropTreeCtrl.h"
#include "ui/CEventEdit.h"
#include "ui/CListCtrlEx.h"
#include "ui/CRuleListModel.h"
#include "ui/CRuleMaker.h"
#include "ui/CRuleTreeModel.h"
#include "ui/CUndoCommands.h"
#include "ui/CUnsavedStatus.h"
#include "ui/EditorViewParts.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kSummaryText = 458;
constexpr int kMakeRuleText = 459;
constexpr int kFilterText = 460;
constexpr int kMakeRuleTipText = 464;
constexpr int kMatrixText = 527;
constexpr int kFilterDelayMs = 200;

QLineEdit* makeFilter(const QString& name, QWidget* parent) {
    auto* filter = new QLineEdit(parent);
    filter->setObjectName(name);
    filter->setPlaceholderText(loadText(kFilterText));
    filter->setAccessibleName(filter->placeholderText());
    filter->setClearButtonEnabled(true);
    return filter;
}

// Refilters `tree` a moment after the last key, so typing stays fluid on a large facility.
void wireFilter(QLineEdit* filter, CDragNDropTreeCtrl* tree) {
    auto* timer = new QTimer(filter);
    timer->setSingleShot(true);
    timer->setInterval(kFilterDelayMs);
    auto apply = [filter, tree, timer] {
        timer->stop();
        tree->repopulate(filter->text());
    };
    QObject::connect(timer, &QTimer::timeout, filter, apply);
    QObject::connect(filter, &QLineEdit::textChanged, timer, qOverload<>(&QTimer::start));
    QObject::connect(filter, &QLineEdit::returnPressed, filter, apply);
}

}  // namespace

CDragNDropDlg::CDragNDropDlg(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_facility(facility), m_status(status), m_prompt(prompt),
      m_inModel(new CRuleTreeModel(facility, CRuleTreeModel::Side::Input, this)),
      m_outModel(new CRuleTreeModel(facility, CRuleTreeModel::Side::Output, this)),
      m_inRules(new CRuleListModel(facility, true, this)), m_outRules(new CRuleListModel(facility, false, this)),
      m_inTree(new CDragNDropTreeCtrl(*m_inModel, this)), m_outTree(new CDragNDropTreeCtrl(*m_outModel, this)),
      m_inList(new CListCtrlEx(*m_inRules, "list1001", this)), m_outList(new CListCtrlEx(*m_outRules, "list1002", this)),
      m_inFilter(makeFilter("filter1001", this)), m_outFilter(makeFilter("filter1002", this)),
      m_statusLine(new QLabel(this)) {
    printk("\n CDragNDropDlg::CDragNDropDlg");
    setObjectName("CDragNDropDlg");
    m_inTree->setAccessibleName(loadText(143));
    m_outTree->setAccessibleName(loadText(144));
    m_statusLine->setObjectName("status");

    auto* sides = new QSplitter(Qt::Horizontal, this);
    sides->addWidget(makeSide(m_inTree, m_inFilter, m_inList));
    sides->addWidget(makeSide(m_outTree, m_outFilter, m_outList));
    sides->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeViewTitle(175, this));
    layout->addWidget(sides, 1);
    layout->addLayout(makeBottomRow());
    connectParts();
    QWidget* const order[] = {m_inFilter, m_inTree, m_inList, m_outFilter, m_outTree, m_outList};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

CDragNDropDlg::~CDragNDropDlg() = default;

QWidget* CDragNDropDlg::makeSide(CDragNDropTreeCtrl* tree, QLineEdit* filter, CListCtrlEx* list) {
    auto* side = new QWidget(this);
    auto* split = new QSplitter(Qt::Vertical, side);
    split->addWidget(tree);
    split->addWidget(list);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filter);
    layout->addWidget(split, 1);
    wireFilter(filter, tree);
    return side;
}

QLayout* CDragNDropDlg::makeBottomRow() {
    QBoxLayout* row = makeBackRow(this, "1108", [this] { emit backRequested(); });
    QPushButton* make = makeImageButton("makeRule", kMakeRuleText, 0, this);
    make->setToolTip(loadText(kMakeRuleTipText));
    connect(make, &QPushButton::clicked, this, [this] { makeRule(); });
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] { makeRule(); });
    }
    QPushButton* summary = makeImageButton("1126", kSummaryText, 0, this);
    connect(summary, &QPushButton::clicked, this, &CDragNDropDlg::showSummary);
    row->insertWidget(0, m_statusLine, 1);
    row->insertWidget(1, make);
    row->insertWidget(2, summary);
    QPushButton* matrix = makeImageButton("matrix", kMatrixText, 0, this);
    connect(matrix, &QPushButton::clicked, this, [this] { showMatrix(); });
    row->insertWidget(3, matrix);
    return row;
}

void CDragNDropDlg::connectParts() {
    for (CDragNDropTreeCtrl* tree : {m_inTree, m_outTree}) {
        const bool input = tree == m_inTree;
        connect(tree, &CDragNDropTreeCtrl::selectedNodeChanged, this, [this] {
            if (m_selectingPair) return;
            populateLists();
            updateStatus();
        });
        // The dropped node came from the other tree.
        connect(tree, &CDragNDropTreeCtrl::nodeDropped, this,
                [this, input](const CRuleNode& source, const CRuleNode& target) { dropNode(source, target, !input); });
    }
    for (CListCtrlEx* list : {m_inList, m_outList}) {
        connect(list, &CListCtrlEx::ruleSelected, this, &CDragNDropDlg::onListSelection);
        connect(list, &CListCtrlEx::editRequested, this, &CDragNDropDlg::editRule);
        connect(list, &CListCtrlEx::deleteRequested, this, &CDragNDropDlg::deleteRule);
    }
}

void CDragNDropDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    populate();
}

void CDragNDropDlg::populate() {
    printk("\n CDragNDropDlg::populate");
    m_selectingPair = true;
    m_inTree->repopulate(m_inFilter->text());
    m_outTree->repopulate(m_outFilter->text());
    m_selectingPair = false;
    populateLists();
    updateStatus();
    if (m_matrix) m_matrix->refresh();
}

void CDragNDropDlg::unPopulate() {
    printk("\n CDragNDropDlg::unPopulate");
    m_inModel->unPopulate();
    m_outModel->unPopulate();
    populateLists();
    updateStatus();
}

void CDragNDropDlg::populateLists() {
    printk("\n CDragNDropDlg::populateLists");
    for (CListCtrlEx* list : {m_inList, m_outList}) {
        const int kept = list->selectedRule();
        CDragNDropTreeCtrl* tree = list == m_inList ? m_inTree : m_outTree;
        list->ruleModel().showRulesOf(tree->selectedNode());
        if (kept) list->selectRule(kept);
    }
}

void CDragNDropDlg::updateEventActionLists() {
    printk("\n CDragNDropDlg::updateEventActionLists");
    m_inModel->refreshUsed();
    m_outModel->refreshUsed();
    m_inTree->viewport()->update();
    m_outTree->viewport()->update();
    populateLists();
    updateStatus();
    if (m_matrix) m_matrix->refresh();
}

bool CDragNDropDlg::selectEventActionPair(int id) {
    printk("\n CDragNDropDlg::selectEventActionPair");
    const CEventActionSide* in = m_facility.getEventActionInSide(id);
    const CEventActionSide* out = m_facility.getEventActionOutSide(id);
    if (!in && !out) return false;
    CRuleNode node;
    m_selectingPair = true;
    if (in && CRuleNode::fromSide(*in, node)) m_inTree->selectNode(node);
    if (out && CRuleNode::fromSide(*out, node)) m_outTree->selectNode(node);
    m_selectingPair = false;
    populateLists();
    m_inList->selectRule(id);
    m_outList->selectRule(id);
    updateStatus();
    return true;
}

void CDragNDropDlg::onListSelection(int id) {
    if (!m_selectingPair && id) selectEventActionPair(id);
}

bool CDragNDropDlg::editRule(int id) {
    printk("\n CDragNDropDlg::editRule");
    if (!m_facility.getEventActionInSide(id) && !m_facility.getEventActionOutSide(id)) return false;
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kEditRuleText, id));
    CEventEdit edit(m_facility, id, this);
    if (edit.exec() != QDialog::Accepted) return false;
    action.commit();
    changed();
    return true;
}

bool CDragNDropDlg::deleteRule(int id) {
    printk("\n CDragNDropDlg::deleteRule");
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kDeleteRuleText, id));
    if (!m_facility.delEventActionItem(id)) return false;
    action.commit();
    changed();
    return true;
}

int CDragNDropDlg::makeRule() {
    printk("\n CDragNDropDlg::makeRule");
    const CRuleNode* input = m_inTree->selectedNode();
    const CRuleNode* output = m_outTree->selectedNode();
    if (!input || !output) return 0;
    return dropNode(*input, *output, true);
}

int CDragNDropDlg::dropNode(const CRuleNode& source, const CRuleNode& target, bool sourceIsInput) {
    if (m_dropping) return 0;
    m_dropping = true;
    const CRuleNode input = sourceIsInput ? source : target;
    const CRuleNode output = sourceIsInput ? target : source;
    // A cancelled or refused drop leaves no step: whatever it did is taken back.
    CFacilityAction action(m_facility, KvWString());
    CRuleMaker maker(m_facility, m_prompt, this);
    const int id = maker.make(input, m_inModel->groupKey(input), output, m_outModel->groupKey(output));
    if (id) {
        action.commit(CUndoCommands::describe(CUndoCommands::kMakeRuleText, id));
        m_inModel->refreshUsed();
        m_outModel->refreshUsed();
        selectEventActionPair(id);
        changed();
    }
    m_dropping = false;
    return id;
}

void CDragNDropDlg::showSummary() {
    printk("\n CDragNDropDlg::OnBnClickedAbstract");
    CAbstract summary(m_facility, this);
    summary.exec();
}

CCauseEffectView& CDragNDropDlg::showMatrix() {
    printk("\n CDragNDropDlg::showMatrix");
    if (!m_matrix) {
        m_matrix = new CCauseEffectView(m_facility, this);
        connect(m_matrix, &CCauseEffectView::pairSelected, this, &CDragNDropDlg::selectEventActionPair);
        // Queued: the edit refreshes the matrix, which must not happen inside its own click.
        connect(m_matrix, &CCauseEffectView::editRequested, this, &CDragNDropDlg::editRule, Qt::QueuedConnection);
    }
    m_matrix->show();
    m_matrix->raise();
    m_matrix->activateWindow();
    return *m_matrix;
}

void CDragNDropDlg::lowerGroupImage(qintptr key, int imageDrop) {
    if (imageDrop == CFacilityManager::kEventImageDrop) m_inModel->groupEmptied(key);
    if (imageDrop == CFacilityManager::kActionImageDrop) m_outModel->groupEmptied(key);
}

void CDragNDropDlg::changed() {
    m_status.markChanged();
    emit listsChanged();
}

void CDragNDropDlg::updateStatus() {
    const CRuleNode* node = m_inTree->selectedNode();
    if (!node) node = m_outTree->selectedNode();
    if (!node) {
        m_statusLine->clear();
        return;
    }
    KvWString format;
    KvLoadString(kStatusText, format);
    KvWString text;
    text.Format(format.c_str(), m_facility.getPanelAddress(node->panel),
                CRuleMaker(m_facility, m_prompt, nullptr).rulesOnPanel(node->panel), CRuleMaker::kMaxRulesPerPanel);
    m_statusLine->setText(toQString(text));
}
