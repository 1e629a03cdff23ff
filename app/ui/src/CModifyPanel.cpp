#include "ui/CModifyPanel.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "basalt/KvTrace.h"
#include "mica/KvLayout.h"
#include "seams/IUserPrompt.h"
#include "ui/CNumEdit.h"
#include "ui/CNumberField.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kNewTitleText = 78;
constexpr int kModifyTitleText = 422;
constexpr int kAddressText = 230;
constexpr int kLabelText = 183;

}  // namespace

CModifyPanel::CModifyPanel(IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      m_prompt(prompt),
      m_address(new CNumberField("address", kLeastAddress, kMostAddress, this)),
      m_label(new QLineEdit(this)) {
    printk("\n CModifyPanel::OnInitDialog");
    setObjectName("CModifyPanel");
    setWindowTitle(loadText(kNewTitleText));
    m_address->setValue(kLeastAddress);
    m_label->setObjectName("label");

    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CModifyPanel::accept);
    connect(cancel, &QPushButton::clicked, this, &CModifyPanel::reject);

    auto* form = new QFormLayout;
    form->addRow(loadText(kAddressText), m_address);
    form->addRow(loadText(kLabelText), m_label);
    auto* layout = KvLayout::vbox(KvLayout::Normal, KvLayout::Border);
    setLayout(layout);
    layout->addLayout(form);
    layout->addLayout(KvLayout::buttonRow({ok, cancel}));
    m_label->setMinimumWidth(m_label->fontMetrics().averageCharWidth() * 28);
}

void CModifyPanel::setPanel(int address, const QString& label) {
    setWindowTitle(loadText(kModifyTitleText));
    m_address->setValue(address);
    m_label->setText(label);
}

int CModifyPanel::address() const { return m_address->value(0); }

QString CModifyPanel::label() const { return m_label->text(); }

void CModifyPanel::accept() {
    printk("\n CModifyPanel::OnOK");
    if (!m_address->hasValue()) {
        m_prompt.showMessage(CNumEdit::kOutOfRangeText);
        m_address->setFocus();
        return;
    }
    QDialog::accept();
}
