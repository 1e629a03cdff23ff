#include "ui/CNumEdit.h"

#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

#include "basalt/KvTrace.h"
#include "seams/IUserPrompt.h"

CNumEdit::CNumEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &CNumEdit::check);
}

void CNumEdit::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
}

void CNumEdit::SetValue(int value) {
    m_accepted = QString::number(std::clamp(value, m_minimum, m_maximum));
    setText(m_accepted);
}

int CNumEdit::GetValue(int fallback) const {
    bool ok = false;
    const int value = text().toInt(&ok);
    return ok ? value : fallback;
}

bool CNumEdit::HasValue() const {
    bool ok = false;
    text().toInt(&ok);
    return ok && IsValid(text()) == kValid;
}

CNumEdit::Validity CNumEdit::IsValid(const QString& text) const {
    if (text.isEmpty() || text == "+" || text == "-") return kValid;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    // toLongLong accepts surrounding blanks; a number here is signs and digits only.
    if (!ok || text.trimmed() != text) return kNotANumber;
    return value < m_minimum || value > m_maximum ? kOutOfRange : kValid;
}

void CNumEdit::keyPressEvent(QKeyEvent* event) {
    if (m_discarding && !event->text().isEmpty() && event->text()[0].isPrint()) return;
    if (event->text() == " ") return;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        SetValue(GetValue(m_minimum) + (event->key() == Qt::Key_Up ? 1 : -1));
        emit textEdited(text());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CNumEdit::check() {
    const Validity validity = IsValid(text());
    if (validity == kValid) {
        m_accepted = text();
        return;
    }
    printk("\n CNumEdit::OnChar");
    setText(m_accepted);
    selectAll();
    // Keys typed ahead of the refusal were meant for the refused text.
    m_discarding = true;
    QTimer::singleShot(0, this, [this] { m_discarding = false; });
    if (m_prompt) m_prompt->showMessage(validity == kOutOfRange ? kOutOfRangeText : kNotANumberText);
}
