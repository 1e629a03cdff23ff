// CNumberField: a CNumEdit with its spin buttons beside it, as the dialogs show number fields.
#pragma once

#include <QWidget>

class CNumEdit;
class CNumSpinCtrl;
class IUserPrompt;

class CNumberField : public QWidget {
    Q_OBJECT
public:
    // `name` names the number box (tests find it by that name); the field itself is `name` + "Field".
    CNumberField(const QString& name, int minimum, int maximum, QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setValue(int value);
    // The number shown; `fallback` while the input is unfinished.
    int value(int fallback = 0) const;
    bool hasValue() const;
    CNumEdit* edit() const { return m_edit; }
    CNumSpinCtrl* spin() const { return m_spin; }

signals:
    // The user typed or stepped to a new finished number.
    void valueEdited(int value);

private:
    CNumEdit* m_edit;
    CNumSpinCtrl* m_spin;
};
