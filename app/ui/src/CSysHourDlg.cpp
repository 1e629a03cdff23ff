#include "ui/CSysHourDlg.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "mica/KvDateTimePicker.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

CSysHourDlg::CSysHourDlg(CUsbHandler& handler, IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      m_form(handler, prompt),
      m_manual(new QCheckBox(loadText(405), this)),
      m_date(new KvDateTimePicker(KvDateTimePicker::Date, this)),
      m_time(new KvDateTimePicker(KvDateTimePicker::Time, this)) {
    printk("\n CSysHourDlg::CSysHourDlg");
    setObjectName("CSysHourDlg");
    setWindowTitle(loadText(188));

    m_manual->setObjectName("manual");
    m_date->setObjectName("date");
    m_time->setObjectName("time");
    m_date->SetYearRange(CClockForm::kFirstYear, CClockForm::kLastYear);
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setDate(now.date());
    m_time->setTime(now.time());
    m_date->setEnabled(false);
    m_time->setEnabled(false);
    connect(m_manual, &QCheckBox::clicked, this, &CSysHourDlg::OnBtCheckState);

    auto* pickers = new QFormLayout;
    pickers->addRow(loadText(406), m_date);
    pickers->addRow(loadText(407), m_time);
    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSysHourDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSysHourDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_manual);
    layout->addLayout(pickers);
    layout->addLayout(buttons);
}

void CSysHourDlg::OnBtCheckState() {
    printk("\n CSysHourDlg::OnBtCheckState");
    m_form.toggleManual();
    m_date->setEnabled(!m_date->isEnabled());
    m_time->setEnabled(!m_time->isEnabled());
}

void CSysHourDlg::accept() {
    printk("\n CSysHourDlg::OnOK");
    if (m_date->isEnabled() != m_form.manual()) m_form.toggleManual();
    const QDate date = m_date->date();
    const QTime time = m_time->time();
    m_form.setDateTime({date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()});
    m_sent = m_form.accept();
    QDialog::accept();
}
