#include "mica/KvNumCombo.h"

#include <QIntValidator>
#include <QLineEdit>

KvNumCombo::KvNumCombo(QWidget* parent) : QComboBox(parent), m_validator(new QIntValidator(this)) {
    setObjectName(QStringLiteral("KvNumCombo"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setValidator(m_validator);
    connect(this, &QComboBox::currentTextChanged, this, &KvNumCombo::onTextChanged);
}

void KvNumCombo::SetRange(int minimum, int maximum) {
    m_validator->setRange(minimum, qMax(minimum, maximum));
    if (HasValue()) SetValue(Value());
}

int KvNumCombo::Minimum() const { return m_validator->bottom(); }

int KvNumCombo::Maximum() const { return m_validator->top(); }

bool KvNumCombo::AddValue(int value) {
    if (value < Minimum() || value > Maximum()) return false;
    addItem(QString::number(value), value);
    return true;
}

void KvNumCombo::SetValue(int value) { setCurrentText(QString::number(qBound(Minimum(), value, Maximum()))); }

bool KvNumCombo::HasValue() const {
    QString text = currentText();
    int position = 0;
    return m_validator->validate(text, position) == QValidator::Acceptable;
}

int KvNumCombo::Value() const { return HasValue() ? currentText().toInt() : Minimum(); }

void KvNumCombo::onTextChanged(const QString&) {
    if (HasValue()) emit valueChanged(Value());
}
