// CExtendedControlsDlg: the loops editor view (panels, loops, elements, zones).
//
// This is its place in the frame: its title, its Back button (1107) and the
// hooks the frame calls. The tree and its commands grow here.
#pragma once

#include <QWidget>

class CFacilityManager;
class CUnsavedStatus;

class CExtendedControlsDlg : public QWidget {
    Q_OBJECT
public:
    CExtendedControlsDlg(CFacilityManager& facility, CUnsavedStatus& status, QWidget* parent = nullptr);

    // The facility was replaced or changed as a whole (open, new, download): rebuild from the model.
    void populate();

signals:
    void backRequested();  // 2062

private:
    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
};
