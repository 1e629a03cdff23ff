// CEventEdit: edits one rule's delay, event kind and action kind; what the sides name (items and
// range) is shown but never changed. OK writes the three values through the facility manager.
//
// A kind stored outside the list of its side (read from a file or a panel) is offered as an
// extra entry with its number, so OK without touching it keeps it.
#pragma once

#include <QDialog>

class CFacilityManager;
class QComboBox;
class QSpinBox;

class CEventEdit : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 454;
    static constexpr int kMaxDelay = 65535;  // the panel keeps the delay in 16 bits

    CEventEdit(CFacilityManager& facility, int ruleId, QWidget* parent = nullptr);

    int ruleId() const { return m_id; }
    void accept() override;

private:
    QComboBox* kindList(const char* name, bool event);
    int chosenKind(const QComboBox* list) const;

    CFacilityManager& m_facility;
    int m_id;
    QSpinBox* m_delay;
    QComboBox* m_event;
    QComboBox* m_action;
};
