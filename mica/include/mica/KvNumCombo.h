// KvNumCombo: a combo box of whole numbers that also takes a typed number.
//
// The list offers the numbers added to it; typing accepts only a whole number
// within the range (a lone sign is unfinished input). Value() is the number
// shown, or the range's minimum while the text is not a finished number.
#pragma once

#include <QComboBox>

class QIntValidator;

class KvNumCombo : public QComboBox {
    Q_OBJECT

public:
    explicit KvNumCombo(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int Minimum() const;
    int Maximum() const;
    // Appends `value` to the list when it lies within the range; false otherwise.
    bool AddValue(int value);
    // Shows `value`, kept within the range.
    void SetValue(int value);
    int Value() const;
    bool HasValue() const;

signals:
    void valueChanged(int value);

private:
    void onTextChanged(const QString& text);

    QIntValidator* m_validator;
};
