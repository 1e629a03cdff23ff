// CDragNDropDlg: the event-action editor view (rules of inputs and outputs).
//
// This is its place in the frame: its title, its Back button (1107) and the
// hooks the frame calls. The rule trees and lists grow here.
#pragma once

#include <QWidget>

class CFacilityManager;
class CUnsavedStatus;

class CDragNDropDlg : public QWidget {
    Q_OBJECT
public:
    CDragNDropDlg(CFacilityManager& facility, CUnsavedStatus& status, QWidget* parent = nullptr);

    // The facility was replaced or changed as a whole: rebuild from the model.
    void populate();

signals:
    void backRequested();  // 2062

private:
    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
};
