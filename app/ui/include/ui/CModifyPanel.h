// CModifyPanel: the panel dialog: a panel's address (1 to 255) and label, for a new panel
// or for the panel being modified. It only collects them: the caller changes the facility.
#pragma once

#include <QDialog>

class CNumberField;
class IUserPrompt;
class QLineEdit;

class CModifyPanel : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLeastAddress = 1;
    static constexpr int kMostAddress = 255;

    // New-panel mode: address 1, empty label. `prompt` tells why a value is refused.
    explicit CModifyPanel(IUserPrompt& prompt, QWidget* parent = nullptr);
    // Modify mode: the panel's own address and label.
    void setPanel(int address, const QString& label);

    int address() const;
    QString label() const;

    void accept() override;

private:
    IUserPrompt& m_prompt;
    CNumberField* m_address;
    QLineEdit* m_label;
};
