// CMainDlg: the home view, a page of picture buttons that starts every task.
//
// Each button only asks the frame, through the signal named after the request;
// the number in the comment is the notification it stands for.
#pragma once

#include <QWidget>

class QToolButton;
class CUnsavedStatus;
class CFacilityManager;

class CMainDlg : public QWidget {
    Q_OBJECT
public:
    CMainDlg(CFacilityManager& facility, CUnsavedStatus& status, QWidget* parent = nullptr);

signals:
    void systemInfoRequested();  // 2065
    void loopsRequested();       // 2059
    void eventsRequested();      // 2060
    void reportsRequested();     // 2067
    void eventLogRequested();    // 2068
    void clockRequested();       // 2066
    void exitRequested();        // 2063
    void aboutRequested();       // 2064
    void downloadRequested();    // 2069
    void uploadRequested();      // 2070
    void newRequested();         // 2071
    void openRequested();        // 2072
    void saveRequested();        // 2073
    void saveAsRequested();      // 2074

private:
    QToolButton* taskButton(int control, int textId, int pictureId, void (CMainDlg::*request)());
    QToolButton* smallButton(int control, int nameId, int pictureId, void (CMainDlg::*request)());
    QWidget* titleRow();
    QWidget* taskGrid();

    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
};
