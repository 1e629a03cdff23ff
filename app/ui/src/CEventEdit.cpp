#include "ui/CEventEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "ui/CRuleWords.h"
#include "ui/DialogButtons.h"
#include "ui/UiText.h"

namespace {

constexpr int kEventLabelText = 455;
constexpr int kActionLabelText = 456;

QLabel* placeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CEventEdit::CEventEdit(CFacilityManager& facility, int ruleId, QWidget* parent)
    : QDialog(parent), m_facility(facility), m_id(ruleId), m_delay(new QSpinBox(this)) {
    printk("\n CEventEdit::OnInitDialog");
    setObjectName("CEventEdit");
    setWindowTitle(loadText(kTitleText));
    const int delay = facility.getEventActionDelay(ruleId);
    m_delay->setObjectName("delay");
    // A delay read from a file may lie outside what the panel takes; it is shown as it is.
    m_delay->setRange(std::min(0, delay), std::max(kMaxDelay, delay));
    m_delay->setValue(delay);
    m_event = kindList("eventKind", true);
    m_action = kindList("actionKind", false);

    const CEventActionSide* in = facility.getEventActionInSide(ruleId);
    const CEventActionSide* out = facility.getEventActionOutSide(ruleId);
    auto* form = new QFormLayout;
    form->addRow(loadText(kEventLabelText), placeLabel(in ? CRuleWords::place(facility, *in, true) : QString(), this));
    form->addRow(QString(), m_event);
    form->addRow(loadText(kActionLabelText),
                 placeLabel(out ? CRuleWords::place(facility, *out, false) : QString(), this));
    form->addRow(QString(), m_action);
    form->addRow(loadText(CRuleWords::kDelayText), m_delay);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeOkCancelRow(this));
}

QComboBox* CEventEdit::kindList(const char* name, bool event) {
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setAccessibleName(loadText(event ? kEventLabelText : kActionLabelText));
    const CEventActionSide* side = event ? m_facility.getEventActionInSide(m_id) : m_facility.getEventActionOutSide(m_id);
    CRuleNode node;
    if (!side || !CRuleNode::fromSide(*side, node)) {
        list->setEnabled(false);
        return list;
    }
    const std::vector<int>& kinds = event ? CRuleWords::eventKinds(node.kind) : CRuleWords::actionKinds(node.kind);
    for (int id : kinds) list->addItem(loadText(id), static_cast<int>(list->count()));
    if (side->type < 0 || side->type >= static_cast<int>(kinds.size()))
        list->addItem(CRuleWords::kindName(event, node.kind, side->type), side->type);
    list->setCurrentIndex(list->findData(side->type));
    return list;
}

int CEventEdit::chosenKind(const QComboBox* list) const { return list->currentData().toInt(); }

void CEventEdit::accept() {
    printk("\n CEventEdit::OnOK");
    m_facility.setEventActionDelay(m_id, m_delay->value());
    if (m_event->isEnabled()) m_facility.setEventActionInType(m_id, chosenKind(m_event));
    if (m_action->isEnabled()) m_facility.setEventActionOutType(m_id, chosenKind(m_action));
    QDialog::accept();
}
