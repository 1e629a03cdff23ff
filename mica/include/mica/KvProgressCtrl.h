// KvProgressCtrl: a stage line over a progress bar with its percentage.
//
// For work in stages (the firmware update: main board, loop cards, language),
// each stage counting its own steps from 0. User-interface thread only; from
// a worker, use KvProgressDlg.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

class KvProgressCtrl : public QWidget {
    Q_OBJECT

public:
    explicit KvProgressCtrl(QWidget* parent = nullptr);

    // The stage's text; the bar goes back to empty.
    void SetStage(const QString& text);
    // `position` of `range` steps of the stage done; a range of 0 or less shows an empty bar.
    void SetPos(int position, int range);

    QString stage() const;
    int percent() const;

private:
    QLabel* m_stage;
    QProgressBar* m_bar;
};
