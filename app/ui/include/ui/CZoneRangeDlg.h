// CZoneRangeDlg: what both zone-range dialogs share: a kind list preset to the first kind and
// the first and last zone of the range (each 1 to 250). OK with the last zone below the first
// shows message 158 and keeps the dialog open.
#pragma once

#include <QDialog>
#include <vector>

class IUserPrompt;
class QComboBox;
class QSpinBox;

class CZoneRangeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBadRangeText = 158;

    // Position of the chosen kind, and the range; valid after OK.
    int kind() const;
    int begin() const;
    int end() const;
    // Fills the fields (for keyboard-free tests and callers that suggest a range).
    void setRange(int begin, int end);

    void accept() override;

protected:
    // `hintText` 0: no hint under the fields.
    CZoneRangeDlg(const char* name, int titleText, const std::vector<int>& kinds, int hintText, IUserPrompt& prompt,
                  QWidget* parent);

private:
    IUserPrompt& m_prompt;
    QComboBox* m_kind;
    QSpinBox* m_begin;
    QSpinBox* m_end;
};
