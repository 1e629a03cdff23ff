#include "ui/CAddEventActionDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/CRuleWords.h"
#include "ui/DialogButtons.h"
#include "ui/UiText.h"

CAddEventActionDlg::CAddEventActionDlg(bool eventKinds, const CRuleNode& node, QWidget* parent)
    : QDialog(parent), m_kinds(new QListWidget(this)) {
    printk("\n CAddEventActionDlg::OnInitDialog");
    setObjectName("CAddEventActionDlg");
    setWindowTitle(loadText(kTitleText));
    auto* heading = new QLabel(loadText(eventKinds ? 112 : 111), this);
    heading->setBuddy(m_kinds);
    m_kinds->setObjectName("kinds");
    for (int id : eventKinds ? CRuleWords::eventKinds(node.kind) : CRuleWords::actionKinds(node.kind))
        m_kinds->addItem(loadText(id));
    m_kinds->setCurrentRow(0);
    m_kinds->setAccessibleName(heading->text());
    connect(m_kinds, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_kinds);
    layout->addLayout(makeOkCancelRow(this));
}

int CAddEventActionDlg::choice() const { return m_kinds->currentRow() < 0 ? 0 : m_kinds->currentRow(); }
