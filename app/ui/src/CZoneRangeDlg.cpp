#include "ui/CZoneRangeDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/DialogButtons.h"
#include "ui/UiText.h"

namespace {

constexpr int kTypeLabelText = 133;
constexpr int kFirstZoneText = 139;
constexpr int kLastZoneText = 157;

QSpinBox* zoneField(const char* name, QWidget* parent) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(1, CFacilityManager::kMaxZone);
    return field;
}

}  // namespace

CZoneRangeDlg::CZoneRangeDlg(const char* name, int titleText, const std::vector<int>& kinds, int hintText,
                             IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_kind(new QComboBox(this)), m_begin(zoneField("begin", this)),
      m_end(zoneField("end", this)) {
    setObjectName(name);
    setWindowTitle(loadText(titleText));
    m_kind->setObjectName("kind");
    for (int id : kinds) m_kind->addItem(loadText(id));
    m_kind->setCurrentIndex(0);

    auto* form = new QFormLayout;
    form->addRow(loadText(kTypeLabelText), m_kind);
    form->addRow(loadText(kFirstZoneText), m_begin);
    form->addRow(loadText(kLastZoneText), m_end);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (hintText != 0) {
        auto* hint = new QLabel(loadText(hintText), this);
        hint->setObjectName("hint");
        hint->setWordWrap(true);
        layout->addWidget(hint);
    }
    layout->addLayout(makeOkCancelRow(this));
}

int CZoneRangeDlg::kind() const { return m_kind->currentIndex() < 0 ? 0 : m_kind->currentIndex(); }
int CZoneRangeDlg::begin() const { return m_begin->value(); }
int CZoneRangeDlg::end() const { return m_end->value(); }

void CZoneRangeDlg::setRange(int begin, int end) {
    m_begin->setValue(begin);
    m_end->setValue(end);
}

void CZoneRangeDlg::accept() {
    printk("\n CZoneRangeDlg::OnOK");
    if (end() < begin()) {
        m_prompt.showMessage(kBadRangeText);
        return;
    }
    QDialog::accept();
}
