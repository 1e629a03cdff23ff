#include "ui/CAddElements.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "art/CArt.h"
#include "basalt/KvTrace.h"
#include "mica/KvLayout.h"
#include "model/CElementTypeCatalogue.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/CElementDevices.h"
#include "ui/CNumEdit.h"
#include "ui/CNumberField.h"
#include "ui/CTreeListModel.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kTitleText = 23;
constexpr int kTypeText = 24;
constexpr int kNameText = 25;
constexpr int kLastAddressText = 26;
constexpr int kFirstAddressText = 27;
constexpr int kZoneText = 29;
constexpr int kDescriptionText = 30;
constexpr int kZoneDescriptionText = 14;
constexpr int kFirstDeviceText = 250;
constexpr int kDeviceCountText = 251;
constexpr int kMaxText = 24;
constexpr int kMost = CElementDevices::kMostAddress;

}  // namespace

CAddElements::CAddElements(CFacilityManager& facility, IUserPrompt& prompt, int panel, int loop, int startAddress,
                           QWidget* parent)
    : QDialog(parent),
      m_facility(facility),
      m_prompt(prompt),
      m_panel(panel),
      m_loop(loop),
      m_type(new QComboBox(this)),
      m_first(new CNumberField("first", 1, kMost, this)),
      m_second(new CNumberField("second", 1, kMost, this)),
      m_zone(new CNumberField("zone", 0, kMost, this)),
      m_description(new QLineEdit(this)),
      m_zoneDescription(new QLineEdit(this)),
      m_firstLabel(new QLabel(this)),
      m_secondLabel(new QLabel(this)),
      m_name(new QLabel(this)) {
    printk("\n CAddElements::OnInitDialog");
    setObjectName("CAddElements");
    setWindowTitle(loadText(kTitleText));
    m_type->setObjectName("type");
    for (int type = CElementTypeCatalogue::kFirstType; type <= CElementTypeCatalogue::kLastType; ++type) {
        const int mode = CElementDevices::compositeMode(type, 0);
        m_type->addItem(CArt::imageList(CElementTypeCatalogue::iconIndex(type, mode, CElementTypeCatalogue::genericType(type, 0))),
                        loadText(CTreeListModel::typeNameText(type)));
    }
    const int start = std::clamp(startAddress, 1, kMost);
    m_first->setValue(start);
    m_second->setValue(start);
    m_zone->setValue(0);
    m_description->setObjectName("description");
    m_description->setMaxLength(kMaxText);
    m_zoneDescription->setObjectName("zoneDescription");
    m_zoneDescription->setMaxLength(kMaxText);
    m_firstLabel->setObjectName("firstLabel");
    m_secondLabel->setObjectName("secondLabel");
    m_name->setObjectName("name");

    auto* form = new QFormLayout;
    form->addRow(loadText(kTypeText), m_type);
    form->addRow(m_firstLabel, m_first);
    form->addRow(m_secondLabel, m_second);
    form->addRow(loadText(kNameText), m_name);
    form->addRow(loadText(kDescriptionText), m_description);
    form->addRow(loadText(kZoneText), m_zone);
    form->addRow(loadText(kZoneDescriptionText), m_zoneDescription);
    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAddElements::accept);
    connect(cancel, &QPushButton::clicked, this, &CAddElements::reject);
    auto* layout = KvLayout::vbox(KvLayout::Normal, KvLayout::Border);
    setLayout(layout);
    layout->addLayout(form);
    layout->addLayout(KvLayout::buttonRow({ok, cancel}));
    m_description->setMinimumWidth(m_description->fontMetrics().averageCharWidth() * (kMaxText + 4));

    connect(m_type, &QComboBox::currentIndexChanged, this, &CAddElements::onTypeChanged);
    connect(m_first, &CNumberField::valueEdited, this, &CAddElements::onFirstChanged);
    connect(m_second, &CNumberField::valueEdited, this, &CAddElements::onSecondChanged);
    connect(m_zone, &CNumberField::valueEdited, this, &CAddElements::onZoneChanged);
    onTypeChanged();
}

int CAddElements::firstAddress() const { return m_first->value(1); }

bool CAddElements::deviceMode() const { return CElementTypeCatalogue::addressCount(m_type->currentIndex() + 1) > 1; }

void CAddElements::onTypeChanged() {
    const bool devices = deviceMode();
    m_firstLabel->setText(loadText(devices ? kFirstDeviceText : kFirstAddressText));
    m_secondLabel->setText(loadText(devices ? kDeviceCountText : kLastAddressText));
    // The second field changes meaning: a count of devices starts at one, a last address at the first.
    m_second->setValue(devices ? 1 : std::max(firstAddress(), 1));
    showName();
}

void CAddElements::onFirstChanged(int first) {
    if (!deviceMode() && first > m_second->value(first)) m_second->setValue(first);
    showName();
}

void CAddElements::onSecondChanged(int second) {
    if (!deviceMode() && second < firstAddress()) m_first->setValue(second);
    showName();
}

void CAddElements::onZoneChanged(int zone) {
    const KvWString* description = zone > 0 ? m_facility.getZoneDescription(zone) : nullptr;
    m_zoneDescription->setText(description ? toQString(*description) : QString());
}

// What the first new element will be called.
void CAddElements::showName() { m_name->setText(CElementDevices::label(firstAddress())); }

bool CAddElements::requestedFree(int first, int last) const {
    for (int a = first; a <= std::min(last, kMost); ++a)
        if (m_facility.getElementType(m_panel, m_loop, a) != 0) return false;
    return true;
}

void CAddElements::accept() {
    printk("\n CAddElements::OnOK");
    if (!m_first->hasValue() || !m_second->hasValue() || !m_zone->hasValue()) {
        m_prompt.showMessage(CNumEdit::kOutOfRangeText);
        return;
    }
    const int type = m_type->currentIndex() + 1;
    const int count = CElementTypeCatalogue::addressCount(type);
    const int first = m_first->value();
    const int second = m_second->value();
    const int last = deviceMode() ? first + second * count - 1 : second;
    if (!requestedFree(first, last) || first + count - 1 > kMost) {
        m_prompt.showMessage(kAddressesTakenText);
        return;
    }
    if (deviceMode())
        createDevices(type, first, second);
    else
        createRange(type, first, last);
    m_firstCreated = first;
    QDialog::accept();
}

void CAddElements::createRange(int type, int first, int last) {
    for (int a = first; a <= last; ++a) {
        CElementDevices::addPart(m_facility, m_panel, m_loop, a, type, 0, 0, m_description->text());
        finishElement(a);
    }
}

void CAddElements::createDevices(int type, int first, int devices) {
    const int count = CElementTypeCatalogue::addressCount(type);
    for (int d = 0; d < devices; ++d) {
        const int start = first + d * count;
        // A device that would reach past 250 is not begun: no part may lie beyond the loop's end.
        if (start + count - 1 > kMost) break;
        for (int part = 0; part < count; ++part) {
            CElementDevices::addPart(m_facility, m_panel, m_loop, start + part, type, part, 0, m_description->text());
            finishElement(start + part);
        }
    }
}

void CAddElements::finishElement(int address) {
    const int zone = m_zone->value();
    if (zone <= 0) return;
    m_facility.addElementToZone(m_panel, m_loop, address, zone);
    if (!m_zoneDescription->text().isEmpty()) m_facility.setZoneDescription(zone, toKvWString(m_zoneDescription->text()));
}
