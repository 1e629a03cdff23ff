#include "ui/CAbstract.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "ui/CRuleWords.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

CAbstract::CAbstract(const CFacilityManager& facility, QWidget* parent) : QDialog(parent), m_list(new QListWidget(this)) {
    printk("\n CAbstract::OnInitDialog");
    setObjectName("CAbstract");
    setWindowTitle(loadText(kTitleText));
    m_list->setObjectName("rules");
    m_list->setUniformItemSizes(true);
    m_list->setAccessibleName(windowTitle());
    // By position: ids may be sparse and as large as an int.
    for (const auto& rule : facility.facility().eventActions) m_list->addItem(CRuleWords::rule(facility, rule->id));

    auto* close = makeImageButton("1", 87, 142, this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(720, 400);
}

QStringList CAbstract::lines() const {
    QStringList all;
    for (int i = 0; i < m_list->count(); ++i) all << m_list->item(i)->text();
    return all;
}
