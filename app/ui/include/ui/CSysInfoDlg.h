// CSysInfoDlg: a panel's label, installer and phone, edited in the facility.
//
// choosePanel() first asks which panel (the panel choice, several allowed; the first
// chosen is edited); OK stores the three fields back through the facility
// manager and marks the facility changed when a value changed. Nothing goes to
// the panel here: the values travel with the next upload.
#pragma once

#include <QDialog>

#include "forms/CSystemInfoForm.h"

class CUnsavedStatus;
class QLineEdit;

class CSysInfoDlg : public QDialog {
    Q_OBJECT
public:
    CSysInfoDlg(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt, QWidget* parent = nullptr);

    // The panel choice, then the fields filled; false when it was cancelled.
    bool choosePanel();
    // choosePanel(), then the dialog modally.
    int run();
    // The panel edited (after choosePanel).
    int panel() const { return m_form.panel(); }
    void accept() override;

private:
    QLineEdit* addField(const char* name);

    CSystemInfoForm m_form;
    CUnsavedStatus& m_status;
    QLineEdit* m_label;
    QLineEdit* m_installer;
    QLineEdit* m_phone;
};
