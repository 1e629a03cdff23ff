#include "ui/CNumberField.h"

#include <QHBoxLayout>

#include "ui/CNumEdit.h"
#include "ui/CNumSpinCtrl.h"

CNumberField::CNumberField(const QString& name, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_edit(new CNumEdit(this)), m_spin(new CNumSpinCtrl(this)) {
    setObjectName(name + "Field");
    m_edit->setObjectName(name);
    m_spin->SetBuddy(m_edit);
    m_spin->SetRange(minimum, maximum);
    setFocusProxy(m_edit);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_spin);
    connect(m_edit, &QLineEdit::textEdited, this, [this] {
        if (hasValue()) emit valueEdited(value());
    });
    connect(m_spin, &CNumSpinCtrl::valueChanged, this, &CNumberField::valueEdited);
}

void CNumberField::setRange(int minimum, int maximum) { m_spin->SetRange(minimum, maximum); }

void CNumberField::setValue(int value) { m_edit->SetValue(value); }

int CNumberField::value(int fallback) const { return m_edit->GetValue(fallback); }

bool CNumberField::hasValue() const { return m_edit->HasValue(); }
