// CNumEdit: a text box for a whole number within a range.
//
// Every edit is checked as it is typed: a space is swallowed; a lone sign (and
// an empty box) counts as unfinished input; anything else must read as one
// integer within the range. A text that fails puts the last accepted text back,
// selected whole, and drops the keys still waiting. With the verbose switch on,
// a failure also tells the user why (72 out of range, 73 not a number).
// Up and Down step the value by one within the range.
#pragma once

#include <QLineEdit>

class IUserPrompt;

class CNumEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kOutOfRangeText = 72;
    static constexpr int kNotANumberText = 73;
    enum Validity { kValid = 0, kOutOfRange = 1, kNotANumber = 2 };

    explicit CNumEdit(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // Sets the value (kept within the range) as the accepted text.
    void SetValue(int value);
    // The number shown; `fallback` while the input is unfinished (empty or a lone sign).
    int GetValue(int fallback = 0) const;
    // True when the text is a finished number within the range.
    bool HasValue() const;
    // How `text` reads against the range.
    Validity IsValid(const QString& text) const;
    // Messages for refused input go to `prompt` (null: silent, the default).
    void Verbose(IUserPrompt* prompt) { m_prompt = prompt; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void check();

    int m_minimum = 0;
    int m_maximum = 0;
    QString m_accepted;
    IUserPrompt* m_prompt = nullptr;
    bool m_discarding = false;
};
