#include "ui/CDragNDropDlg.h"

#include <QLabel>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/EditorViewParts.h"

CDragNDropDlg::CDragNDropDlg(CFacilityManager& facility, CUnsavedStatus& status, QWidget* parent)
    : QWidget(parent), m_facility(facility), m_status(status) {
    printk("\n CDragNDropDlg::CDragNDropDlg");
    setObjectName("CDragNDropDlg");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeViewTitle(175, this));
    layout->addStretch(1);
    layout->addLayout(makeBackRow(this, [this] { emit backRequested(); }));
}

void CDragNDropDlg::populate() { printk("\n CDragNDropDlg::populate"); }
