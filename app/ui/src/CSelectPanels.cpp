#include "ui/CSelectPanels.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

CSelectPanels::CSelectPanels(CFacilityManager& facility, bool several, IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_facility(facility), m_prompt(prompt), m_several(several), m_list(new QListWidget(this)) {
    printk("\n CSelectPanels::CSelectPanels");
    setObjectName("CSelectPanels");
    setProductTitle(this);

    m_list->setObjectName("1177");
    // Several entries can always be chosen, so that a choice of two where one is asked is refused in words.
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int i = 0; i < facility.getNumberOfPanels(); ++i) {
        const KvWString* label = facility.getPanelLabel(facility.getPanelId(i));
        m_list->addItem(label ? toQString(*label) : QString());
    }
    m_list->setAccessibleName(loadText(151));

    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSelectPanels::accept);
    connect(cancel, &QPushButton::clicked, this, &CSelectPanels::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CSelectPanels::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

void CSelectPanels::accept() {
    printk("\n CSelectPanels::OnOK");
    int chosen = 0;
    for (int row = 0; row < m_list->count(); ++row) {
        const bool selected = m_list->item(row)->isSelected();
        m_facility.setPanelSelected(m_facility.getPanelId(row), selected);
        if (selected) ++chosen;
    }
    if (chosen > 1 && !m_several) {
        m_prompt.showMessage(kOnlyOnePanelText);
        return;
    }
    if (chosen == 0) {
        m_prompt.showMessage(kNoPanelText);
        return;
    }
    QDialog::accept();
}

void CSelectPanels::reject() {
    printk("\n CSelectPanels::OnCancel");
    for (int row = 0; row < m_facility.getNumberOfPanels(); ++row)
        m_facility.setPanelSelected(m_facility.getPanelId(row), false);
    QDialog::reject();
}
