// CSysHourDlg: sets the panel's clock to the computer's time or to a time chosen by hand.
//
// The check box switches the date and time pickers on and off; OK sends the
// clock (message 92 when the panel cannot be reached) and closes the dialog
// in both cases.
#pragma once

#include <QDialog>

#include "forms/CClockForm.h"

class QCheckBox;
class KvDateTimePicker;

class CSysHourDlg : public QDialog {
    Q_OBJECT
public:
    CSysHourDlg(CUsbHandler& handler, IUserPrompt& prompt, QWidget* parent = nullptr);

    void accept() override;
    // What the last OK sent: true when the clock request went out.
    bool sent() const { return m_sent; }

private:
    void OnBtCheckState();

    CClockForm m_form;
    QCheckBox* m_manual;
    KvDateTimePicker* m_date;
    KvDateTimePicker* m_time;
    bool m_sent = false;
};
