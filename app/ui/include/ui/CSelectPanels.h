// CSelectPanels: the user chooses one or several panels of the facility.
//
// The choice is not returned: it is left in the selected mark of every panel,
// which the caller reads in panel order. OK with more than one panel where one
// is asked shows message 261, with none message 287; the dialog then stays
// open. Cancel clears every mark.
#pragma once

#include <QDialog>

#include "seams/IUserPrompt.h"

class CFacilityManager;
class QListWidget;

class CSelectPanels : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOnlyOnePanelText = 261;
    static constexpr int kNoPanelText = 287;

    // `facility` and `prompt` (for the refusals) must outlive the dialog.
    CSelectPanels(CFacilityManager& facility, bool several, IUserPrompt& prompt, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

private:
    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    bool m_several;
    QListWidget* m_list;
};
