#include "ui/CAddLoop.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "basalt/KvTrace.h"
#include "mica/KvLayout.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/CAddElements.h"
#include "ui/CNumEdit.h"
#include "ui/CNumberField.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kTitleText = 20;
constexpr int kAddressText = 21;
constexpr int kHintText = 22;

}  // namespace

CAddLoop::CAddLoop(CFacilityManager& facility, IUserPrompt& prompt, int panel, int startAddress, QWidget* parent)
    : QDialog(parent),
      m_facility(facility),
      m_prompt(prompt),
      m_panel(panel),
      m_start(startAddress),
      m_address(new CNumberField("address", 1, kMostLoop, this)) {
    printk("\n CAddLoop::OnInitDialog");
    setObjectName("CAddLoop");
    setWindowTitle(loadText(kTitleText));
    m_address->setValue(1);
    auto* hint = new QLabel(loadText(kHintText), this);
    hint->setWordWrap(true);
    // Wide enough for the hint on one line (every language's is one short sentence), so it never
    // leaves its last word alone on a second line; only a much longer text wraps.
    const QFontMetrics metrics = hint->fontMetrics();
    hint->setMinimumWidth(std::min(metrics.horizontalAdvance(hint->text()) + 4, metrics.averageCharWidth() * 64));
    auto* form = new QFormLayout;
    form->addRow(loadText(kAddressText), m_address);
    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAddLoop::accept);
    connect(cancel, &QPushButton::clicked, this, &CAddLoop::reject);
    auto* layout = KvLayout::vbox(KvLayout::Normal, KvLayout::Border);
    setLayout(layout);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addLayout(KvLayout::buttonRow({ok, cancel}));
}

void CAddLoop::accept() {
    printk("\n CAddLoop::OnOK");
    if (!m_address->hasValue()) {
        m_prompt.showMessage(CNumEdit::kOutOfRangeText);
        return;
    }
    const int address = m_address->value();
    if (!m_facility.addLoopToPanel(m_panel, address)) {
        m_prompt.showMessage(kLoopTakenText);
        return;
    }
    const bool firstLoop = m_facility.getNumOfLoops(m_panel) == 1;
    if (firstLoop) {
        const KvWString description = toKvWString(loadText(kNoDescriptionText));
        for (int zone = 1; zone <= kZones; ++zone) m_facility.addZone(m_panel, zone, description);
    }
    CAddElements elements(m_facility, m_prompt, m_panel, address, m_start, this);
    if (elements.exec() != QDialog::Accepted) {
        // Removing the panel's only loop takes its zones with it.
        m_facility.delLoopFromPanel(m_panel, address);
        return;
    }
    m_added = address;
    m_firstElement = elements.firstCreated();
    // The new loop shows its elements.
    m_facility.setLoopExpanded(m_panel, address, true);
    QDialog::accept();
}
