#include "ui/CNumSpinCtrl.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "ui/CNumEdit.h"

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);  // the buddy keeps the keyboard; Up and Down step it
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

}  // namespace

CNumSpinCtrl::CNumSpinCtrl(QWidget* parent) : QWidget(parent) {
    QToolButton* up = arrowButton(Qt::UpArrow, "up", this);
    QToolButton* down = arrowButton(Qt::DownArrow, "down", this);
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up);
    layout->addWidget(down);
}

void CNumSpinCtrl::SetRange(int minimum, int maximum) {
    if (m_buddy) m_buddy->SetRange(minimum, maximum);
}

void CNumSpinCtrl::GetRange(int& minimum, int& maximum) const {
    minimum = m_buddy ? m_buddy->minimum() : 0;
    maximum = m_buddy ? m_buddy->maximum() : 0;
}

void CNumSpinCtrl::SetPos(int value) {
    if (m_buddy) m_buddy->SetValue(value);
}

int CNumSpinCtrl::GetPos() const { return m_buddy ? m_buddy->GetValue(m_buddy->minimum()) : 0; }

void CNumSpinCtrl::step(int steps) {
    m_position += steps * m_delta;
    if (m_position <= kLowest + m_delta || m_position >= kHighest - m_delta) m_position = kMiddle;
    if (!m_buddy) return;
    m_buddy->SetValue(m_buddy->GetValue(m_buddy->minimum()) + steps * m_delta);
    emit valueChanged(m_buddy->GetValue());
}
