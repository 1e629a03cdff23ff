// CNumSpinCtrl: up and down buttons that step the number of a CNumEdit (its buddy).
//
// Each click changes the buddy's value by the step, within the buddy's range.
// The buttons keep a position of their own in 0..1000 that is put back to 500
// whenever it comes within one step of either end, so they never stop at an
// end: the range that matters is the buddy's.
#pragma once

#include <QWidget>

class CNumEdit;
class QToolButton;

class CNumSpinCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 1000;
    static constexpr int kMiddle = 500;

    explicit CNumSpinCtrl(QWidget* parent = nullptr);

    void SetBuddy(CNumEdit* buddy) { m_buddy = buddy; }
    CNumEdit* GetBuddy() const { return m_buddy; }
    void SetDelta(int delta) { m_delta = delta > 0 ? delta : 1; }
    int GetDelta() const { return m_delta; }
    // Forwarded to the buddy.
    void SetRange(int minimum, int maximum);
    void GetRange(int& minimum, int& maximum) const;
    void SetPos(int value);
    int GetPos() const;
    // The buttons' own position.
    int position() const { return m_position; }

    // One click up (`steps` > 0) or down.
    void step(int steps);

signals:
    void valueChanged(int value);

private:
    CNumEdit* m_buddy = nullptr;
    int m_delta = 1;
    int m_position = kMiddle;
};
