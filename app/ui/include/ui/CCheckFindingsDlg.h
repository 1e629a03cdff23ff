// CCheckFindingsDlg: what the facility check found before an upload, as a list.
//
// With an error among the findings the panel cannot be sent, and the dialog offers only Close
// ("2"); with warnings alone it asks: Send anyway ("send", accepts) or Cancel ("2"). Selecting a
// row asks for its item to be shown in its editor (itemChosen); the dialog stays open, so the
// user can go through the list.
#pragma once

#include <QDialog>
#include <vector>

#include "check/CCheckFinding.h"

class CCheckFindingsModel;
class QTableView;

class CCheckFindingsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 496;
    static constexpr int kErrorsText = 485;
    static constexpr int kWarningsText = 495;
    static constexpr int kChooseRowText = 497;
    static constexpr int kSendAnywayText = 498;

    // `findings` as the check returned them (errors first).
    explicit CCheckFindingsDlg(std::vector<CCheckFinding> findings, QWidget* parent = nullptr);

    // Whether an error keeps the panel from being sent.
    bool blocking() const { return m_blocking; }
    CCheckFindingsModel& model() const { return *m_model; }
    // Selects row `row`, as a click on it does.
    void selectRow(int row);

signals:
    void itemChosen(const CCheckFinding& finding);

private:
    QLayout* makeButtons();

    bool m_blocking;
    CCheckFindingsModel* m_model;
    QTableView* m_list;
};
