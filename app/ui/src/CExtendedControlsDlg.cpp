#include "ui/CExtendedControlsDlg.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/CAddElements.h"
#include "ui/CAddLoop.h"
#include "ui/CElementDevices.h"
#include "ui/CElementEdits.h"
#include "ui/CModifyPanel.h"
#include "ui/CTreeListCtrl.h"
#include "ui/CTreeListDelegate.h"
#include "ui/CUndoCommands.h"
#include "ui/CUnsavedStatus.h"
#include "ui/EditorViewParts.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kTitleText = 174;
constexpr int kAddText = 74;
constexpr int kDeleteText = 75;
constexpr int kExpandText = 420;
constexpr int kCollapseText = 421;
constexpr int kExitText = 7;

using Key = CTreeListModel::Key;

}  // namespace

CExtendedControlsDlg::CExtendedControlsDlg(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt,
                                           CUsbHandler& usb, CFileCommands& files, QWidget* parent)
    : QWidget(parent),
      m_facility(facility),
      m_status(status),
      m_prompt(prompt),
      m_usb(usb),
      m_files(files),
      m_history(prompt, "cairn"),
      m_model(new CTreeListModel(facility, this)),
      m_tree(new CTreeListCtrl(facility, *m_model, this)),
      m_delegate(new CTreeListDelegate(*m_model, this)),
      m_edits(new CElementEdits(facility, status, prompt, *m_model, this)),
      m_statusLine(new QLabel(this)) {
    printk("\n CExtendedControlsDlg::CExtendedControlsDlg");
    setObjectName("CExtendedControlsDlg");
    m_tree->setItemDelegate(m_delegate);
    m_model->setEditHandler([this](const Key& row, int column, const QVariant& value) {
        m_edits->cellEdited(row, column, value);
        updateStatus();
    });
    m_delegate->setTypeCheck([this](const Key& row, int type) { return m_edits->typeFits(row, type); });
    connect(m_edits, &CElementEdits::selectRequested, this, &CExtendedControlsDlg::select);
    connect(m_tree, &CTreeListCtrl::addRequested, this, &CExtendedControlsDlg::OnBnClickedBtAdd);
    connect(m_tree, &CTreeListCtrl::deleteRequested, this, &CExtendedControlsDlg::OnBnClickedBtDelete);
    connect(m_tree, &CTreeListCtrl::modifyRequested, this, &CExtendedControlsDlg::OnBnClickedBtModify);
    m_statusLine->setObjectName("status");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeViewTitle(kTitleText, this));
    layout->addWidget(m_tree, 1);
    layout->addLayout(makeButtons());
    layout->addWidget(m_statusLine);
    addShortcuts();
    populate();
}

CExtendedControlsDlg::~CExtendedControlsDlg() = default;

QLayout* CExtendedControlsDlg::makeButtons() {
    auto* row = new QHBoxLayout;
    const struct {
        const char* name;
        int text;
        void (CExtendedControlsDlg::*handler)();
    } buttons[] = {{"1011", kAddText, &CExtendedControlsDlg::OnBnClickedBtAdd},
                   {"1002", kDeleteText, &CExtendedControlsDlg::OnBnClickedBtDelete},
                   {"1012", kExpandText, &CExtendedControlsDlg::OnBnClickedBtExpand},
                   {"1013", kCollapseText, &CExtendedControlsDlg::OnBnClickedBtCollapse}};
    for (const auto& b : buttons) {
        QPushButton* button = makeImageButton(b.name, b.text, 0, this);
        connect(button, &QPushButton::clicked, this, b.handler);
        row->addWidget(button);
    }
    QPushButton* exit = makeImageButton("1001", kExitText, 0, this);
    connect(exit, &QPushButton::clicked, this, &CExtendedControlsDlg::exitRequested);
    row->addWidget(exit);
    row->addLayout(makeBackRow(this, "1107", [this] { emit backRequested(); }), 1);
    return row;
}

void CExtendedControlsDlg::addShortcuts() {
    // Save As by its keys: the standard one is empty on desktops without a key scheme of their own.
    const struct {
        QKeySequence key;
        void (CExtendedControlsDlg::*signal)();
    } shortcuts[] = {{QKeySequence::New, &CExtendedControlsDlg::newRequested},
                     {QKeySequence::Open, &CExtendedControlsDlg::openRequested},
                     {QKeySequence::Save, &CExtendedControlsDlg::saveRequested},
                     {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &CExtendedControlsDlg::saveAsRequested}};
    for (const auto& s : shortcuts) {
        auto* action = new QAction(this);
        action->setShortcut(s.key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, s.signal);
        addAction(action);
    }
}

void CExtendedControlsDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    populate();
    m_tree->setFocus();
}

// ---- rebuilding ----

void CExtendedControlsDlg::populate() {
    const QList<Key> selected = m_tree->selectedKeys();
    const Key current = m_tree->currentKey();
    m_model->populate();
    m_tree->applyExpandState();
    m_tree->selectKeys(selected, current);
    updateStatus();
}

void CExtendedControlsDlg::populateAfterStep() {
    std::set<std::tuple<int, int, int, int>> before;
    forEachRow([&before](const Key& k) { before.emplace(k.level, k.panel, k.loop, k.element); });
    populate();
    QList<Key> back;
    forEachRow([&](const Key& k) {
        if (!before.count({k.level, k.panel, k.loop, k.element})) back << k;
    });
    if (!back.isEmpty()) m_tree->selectKeys(back, back.first());
}

void CExtendedControlsDlg::forEachRow(const std::function<void(const Key&)>& visit) const {
    std::vector<QModelIndex> pending{QModelIndex()};
    while (!pending.empty()) {
        const QModelIndex parent = pending.back();
        pending.pop_back();
        for (int r = m_model->rowCount(parent) - 1; r >= 0; --r) {
            const QModelIndex child = m_model->index(r, 0, parent);
            visit(m_model->key(child));
            pending.push_back(child);
        }
    }
}

void CExtendedControlsDlg::populateAndSelect(const Key& row) {
    m_model->populate();
    m_tree->applyExpandState();
    Key at = row;
    // A row that went (a deleted device reaching above the selection) gives way to its parent.
    while (at.level > 0 && !m_model->indexOf(at).isValid()) {
        at.level -= 1;
        if (at.level < CTreeListModel::kElement) at.element = 0;
        if (at.level < CTreeListModel::kLoop) at.loop = 0;
        if (at.level < CTreeListModel::kPanel) at.panel = 0;
    }
    m_tree->selectKeys({at}, at);
    updateStatus();
}

void CExtendedControlsDlg::onLoopsChanged() {
    if (!m_edits->changingType()) populate();
}

void CExtendedControlsDlg::select(const Key& row) {
    m_tree->selectKeys({row}, row);
    updateStatus();
    emit titleChanged();
}

void CExtendedControlsDlg::updateStatus() {
    KvWString format, text;
    KvLoadString(kStatusText, format);
    text.Format(format.c_str(), m_model->panelCount(), m_model->loopCount(), m_model->elementCount(),
                m_facility.getNumberEventsInPanel());
    m_statusLine->setText(toQString(text));
}

// The row the commands work on: the current row when it is chosen, else the first chosen.
Key CExtendedControlsDlg::chosenRow() const {
    const QList<Key> chosen = m_tree->selectedKeys();
    if (chosen.isEmpty()) return {};
    const Key current = m_tree->currentKey();
    return chosen.contains(current) ? current : chosen.first();
}

void CExtendedControlsDlg::markChanged(const Key& select) {
    m_status.markChanged();
    populateAndSelect(select);
    emit titleChanged();
}

// ---- Add ----

void CExtendedControlsDlg::OnBnClickedBtAdd() {
    printk("\n CExtendedControlsDlg::OnBnClickedBtAdd");
    if (m_facility.getNumberOfPanels() == 0) {
        emit newRequested();
        return;
    }
    const Key row = chosenRow();
    switch (row.level) {
        case CTreeListModel::kRoot: addPanel(); break;
        case CTreeListModel::kPanel: addLoop(row.panel); break;
        case CTreeListModel::kLoop: addElements(row.panel, row.loop, m_lastStart); break;
        case CTreeListModel::kElement: addElements(row.panel, row.loop, std::min(row.element + 1, kMostElements)); break;
        default: m_prompt.showMessage(kNothingToAddToText); break;
    }
}

void CExtendedControlsDlg::addPanel() {
    if (m_facility.getNumberOfPanels() >= kMostPanels) {
        m_prompt.showMessage(kMostPanelsText);
        return;
    }
    CModifyPanel dialog(m_prompt, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (panelAddressTaken(dialog.address(), 0)) {
        m_prompt.showMessage(kPanelAddressTakenText);
        return;
    }
    const int id = freePanelId();
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kAddPanelText, id));
    m_facility.addPanel(id, dialog.address(), toKvWString(dialog.label()));
    CAddLoop loop(m_facility, m_prompt, id, 1, this);
    if (loop.exec() != QDialog::Accepted) {
        action.cancel();
        populate();
        return;
    }
    action.commit();
    markChanged({CTreeListModel::kPanel, id, 0, 0});
}

// The id after the last panel's, unless a file left it taken: then the lowest free one.
int CExtendedControlsDlg::freePanelId() const {
    const int next = m_facility.getNumberOfPanels() + 1;
    if (m_facility.getPanelLabel(next) == nullptr) return next;
    for (int id = 1;; ++id)
        if (m_facility.getPanelLabel(id) == nullptr) return id;
}

bool CExtendedControlsDlg::panelAddressTaken(int address, int except) const {
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i) {
        const int id = m_facility.getPanelId(i);
        if (id != except && m_facility.getPanelAddress(id) == address) return true;
    }
    return false;
}

void CExtendedControlsDlg::addLoop(int panel) {
    if (m_facility.getNumOfLoops(panel) >= kMostLoops) {
        m_prompt.showMessage(kEightLoopsText);
        return;
    }
    CFacilityAction action(m_facility, KvWString());
    CAddLoop dialog(m_facility, m_prompt, panel, 1, this);
    if (dialog.exec() != QDialog::Accepted) {
        action.cancel();
        populate();
        return;
    }
    action.commit(CUndoCommands::describe(CUndoCommands::kAddLoopText, dialog.loopAddress(), panel));
    m_facility.setPanelExpanded(panel, true);
    markChanged({CTreeListModel::kLoop, panel, dialog.loopAddress(), 0});
}

bool CExtendedControlsDlg::checkLoopRoom(int panel, int loop) {
    if (m_facility.getNumberOfElementsInLoop(panel, loop) < kMostElements) return true;
    m_prompt.showMessage(kFullLoopText);
    return false;
}

void CExtendedControlsDlg::addElements(int panel, int loop, int start) {
    if (!checkLoopRoom(panel, loop)) return;
    m_lastStart = start;
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kAddElementsText, loop, panel));
    CAddElements dialog(m_facility, m_prompt, panel, loop, start, this);
    if (dialog.exec() != QDialog::Accepted) return;
    action.commit();
    m_facility.setLoopExpanded(panel, loop, true);
    markChanged({CTreeListModel::kElement, panel, loop, dialog.firstCreated()});
}

// ---- Delete ----

void CExtendedControlsDlg::OnBnClickedBtDelete() {
    printk("\n CExtendedControlsDlg::OnBnClickedBtDelete");
    QList<Key> rows = m_tree->selectedKeys();
    rows.removeIf([](const Key& row) { return row.level < CTreeListModel::kPanel; });
    if (rows.isEmpty()) {
        m_prompt.showMessage(kNothingToDeleteText);
        return;
    }
    const Key before = rowBefore(firstRemoved(rows.first()));
    CFacilityAction action(m_facility, deletionName(rows));
    for (const Key& row : rows) deleteRow(row);
    action.commit();
    markChanged(before);
}

// What Undo calls a Delete: the one row by its numbers, or how many rows.
KvWString CExtendedControlsDlg::deletionName(const QList<Key>& rows) {
    if (rows.size() > 1) return CUndoCommands::describe(CUndoCommands::kDeleteRowsText, static_cast<int>(rows.size()));
    const Key& row = rows.first();
    if (row.level == CTreeListModel::kPanel) return CUndoCommands::describe(CUndoCommands::kDeletePanelText, row.panel);
    if (row.level == CTreeListModel::kLoop)
        return CUndoCommands::describe(CUndoCommands::kDeleteLoopText, row.loop, row.panel);
    return CUndoCommands::describe(CUndoCommands::kDeleteElementText, row.element, row.loop, row.panel);
}

// The first row that deleting `row` removes: a device's first part for any of its parts.
Key CExtendedControlsDlg::firstRemoved(const Key& row) const {
    if (row.level != CTreeListModel::kElement) return row;
    int first = 0, last = 0;
    CElementDevices::deviceBounds(m_facility, row.panel, row.loop, row.element, first, last);
    return {row.level, row.panel, row.loop, first};
}

Key CExtendedControlsDlg::rowBefore(const Key& row) const {
    const QModelIndex above = m_tree->indexAbove(m_model->indexOf(row));
    return above.isValid() ? m_model->key(above) : Key{CTreeListModel::kRoot, 0, 0, 0};
}

void CExtendedControlsDlg::deleteRow(const Key& row) {
    switch (row.level) {
        case CTreeListModel::kPanel: deletePanel(row.panel); break;
        case CTreeListModel::kLoop: m_facility.delLoopFromPanel(row.panel, row.loop); break;
        case CTreeListModel::kElement: {
            // A part of a device takes the whole device with it.
            if (m_facility.getElementType(row.panel, row.loop, row.element) == 0) break;
            int first = 0, last = 0;
            CElementDevices::deviceBounds(m_facility, row.panel, row.loop, row.element, first, last);
            for (int a = first; a <= last; ++a) m_facility.delElementFromLoop(row.panel, row.loop, a);
            break;
        }
        default: break;
    }
}

// The panel goes with the rules its inputs raise: they could never be sent again.
void CExtendedControlsDlg::deletePanel(int id) {
    std::set<int> rules;
    for (int i = 0; i < m_facility.getNumberEventsInPanel(); ++i) rules.insert(m_facility.getEventActionId(i));
    for (int rule : rules)
        while (m_facility.getEventActionInItemType(rule) != -1 && m_facility.getEventActionInPanel(rule) == id)
            m_facility.delEventActionItem(rule);
    m_facility.delPanel(id);
}

// ---- Modify ----

void CExtendedControlsDlg::OnBnClickedBtModify() {
    printk("\n CExtendedControlsDlg::OnBnClickedBtModify");
    const Key row = chosenRow();
    if (row.level != CTreeListModel::kPanel) return;
    const KvWString* label = m_facility.getPanelLabel(row.panel);
    CModifyPanel dialog(m_prompt, this);
    dialog.setPanel(m_facility.getPanelAddress(row.panel), label ? toQString(*label) : QString());
    if (dialog.exec() != QDialog::Accepted) return;
    // Two panels with one address could not both be reached on the bus.
    if (panelAddressTaken(dialog.address(), row.panel)) {
        m_prompt.showMessage(kPanelAddressTakenText);
        return;
    }
    CFacilityAction action(m_facility, CUndoCommands::describe(CUndoCommands::kModifyPanelText, row.panel));
    m_facility.setPanelAddress(row.panel, dialog.address());
    m_facility.setPanelLabel(row.panel, toKvWString(dialog.label()));
    m_facility.sortPanel(row.panel);
    action.commit();
    markChanged(row);
}

// ---- Expand, Collapse ----

void CExtendedControlsDlg::OnBnClickedBtExpand() { m_tree->expandEverything(); }

void CExtendedControlsDlg::OnBnClickedBtCollapse() { m_tree->collapseEverything(); }
