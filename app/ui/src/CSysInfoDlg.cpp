#include "ui/CSysInfoDlg.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/CUnsavedStatus.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

CSysInfoDlg::CSysInfoDlg(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      m_form(facility, prompt),
      m_status(status),
      m_label(addField("label")),
      m_installer(addField("installer")),
      m_phone(addField("phone")) {
    printk("\n CSysInfoDlg::CSysInfoDlg");
    setObjectName("CSysInfoDlg");
    setWindowTitle(loadText(182));

    auto* fields = new QFormLayout;
    fields->addRow(loadText(183), m_label);
    fields->addRow(loadText(184), m_installer);
    fields->addRow(loadText(186), m_phone);
    auto* note = new QLabel(loadText(197), this);
    note->setObjectName("note");
    note->setWordWrap(true);

    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSysInfoDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSysInfoDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

QLineEdit* CSysInfoDlg::addField(const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(CSystemInfoForm::kFieldLength);
    return field;
}

bool CSysInfoDlg::choosePanel() {
    printk("\n CSysInfoDlg::OnInitDialog");
    if (!m_form.open()) return false;
    // The length limit applies to typing only: a longer value already in the model is shown whole.
    for (auto [field, value] : {std::pair{m_label, &m_form.label}, std::pair{m_installer, &m_form.installer},
                                std::pair{m_phone, &m_form.phone}}) {
        field->setMaxLength(std::max<int>(CSystemInfoForm::kFieldLength, value->Length()));
        field->setText(toQString(*value));
    }
    return true;
}

int CSysInfoDlg::run() { return choosePanel() ? exec() : QDialog::Rejected; }

void CSysInfoDlg::accept() {
    printk("\n CSysInfoDlg::OnOK");
    const KvWString label = toKvWString(m_label->text());
    const KvWString installer = toKvWString(m_installer->text());
    const KvWString phone = toKvWString(m_phone->text());
    const bool changed = !(label == m_form.label && installer == m_form.installer && phone == m_form.phone);
    m_form.label = label;
    m_form.installer = installer;
    m_form.phone = phone;
    if (m_form.accept() && changed) m_status.markChanged();
    QDialog::accept();
}
