// CReadBackDlg: after an upload whose read-back found the panel holding something other than
// what was sent: every difference as a row of a table (item, what was sent, what the panel
// holds) under a heading that says the upload is not done. Close ("2") only.
#pragma once

#include <QDialog>
#include <vector>

#include "panel_link/CPanelDifference.h"

class CReadBackModel;

class CReadBackDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 569;
    static constexpr int kDiffersText = 570;

    explicit CReadBackDlg(std::vector<CPanelDifference> differences, QWidget* parent = nullptr);

    CReadBackModel& model() const { return *m_model; }

private:
    CReadBackModel* m_model;
};
