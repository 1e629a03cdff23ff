#include "ui/CExtendedControlsDlg.h"

#include <QLabel>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/EditorViewParts.h"

CExtendedControlsDlg::CExtendedControlsDlg(CFacilityManager& facility, CUnsavedStatus& status, QWidget* parent)
    : QWidget(parent), m_facility(facility), m_status(status) {
    printk("\n CExtendedControlsDlg::CExtendedControlsDlg");
    setObjectName("CExtendedControlsDlg");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeViewTitle(174, this));
    layout->addStretch(1);
    layout->addLayout(makeBackRow(this, [this] { emit backRequested(); }));
}

void CExtendedControlsDlg::populate() { printk("\n CExtendedControlsDlg::populate"); }
