// CSysLogDlg: saves the panel's event logs (general, alarms, faults, tests) as CSV files.
//
// Each log has a check box that switches on its file field and Browse button;
// the fields start with "<log>_def.csv" in the user's documents folder. OK
// exports the chosen logs in that order over one connection (asking before
// replacing a file; messages 216 and 329 on failures) and closes the dialog.
#pragma once

#include <QDialog>
#include <array>

#include "forms/CEventLogForm.h"

class IFileDialogs;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CSysLogDlg : public QDialog {
    Q_OBJECT
public:
    CSysLogDlg(CUsbHandler& handler, IUserPrompt& prompt, IFileDialogs& files, QWidget* parent = nullptr);

    void accept() override;
    // The outcome of the last OK.
    CEventLogForm::Outcome outcome() const { return m_outcome; }
    // The default file of log `kind`: its default name in the user's documents folder.
    static QString defaultFile(int kind);

private:
    void OnBtCheck(int kind);
    void OnBtBrowse(int kind);
    QLayout* logRows();

    CEventLogForm m_form;
    IFileDialogs& m_files;
    std::array<QCheckBox*, CEventLogForm::kLogKinds> m_checks{};
    std::array<QLineEdit*, CEventLogForm::kLogKinds> m_paths{};
    std::array<QPushButton*, CEventLogForm::kLogKinds> m_browse{};
    CEventLogForm::Outcome m_outcome = CEventLogForm::Outcome::Cancelled;
};
