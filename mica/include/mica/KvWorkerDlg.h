// KvWorkerDlg: a modal dialog that a worker thread reports to and ends.
//
// The user-interface thread runs it with RunModal; a worker calls SetText,
// SetProgress, IsOK and Done from its own thread. Worker calls only store the
// latest values and queue one update onto the user-interface thread, so a
// worker that reports thousands of times a second costs the screen a handful
// of repaints. Done ends the modal loop whether it comes before or while the
// loop runs; a dialog that was done never runs again. The user cannot close
// it (Escape and the window's close button do nothing): only Done ends it.
// Made without a parent, it opens centred above the window active at RunModal.
// The dialog must outlive every call of the worker (join the worker first).
#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <mutex>

#include "basalt/KvBasicString.h"
#include "seams/IModalWaitDialog.h"

class KvWorkerDlg : public QDialog, public IModalWaitDialog {
    Q_OBJECT

public:
    ~KvWorkerDlg() override;

    // Any thread. The newest text wins; texts reported between two repaints are skipped.
    void SetText(const KvWString& text) override;
    // Any thread. `position` of `range` steps done; a range of 0 or less hides the bar.
    void SetProgress(int position, int range) override;
    // Any thread: true while the modal loop runs and takes SetText and Done.
    bool IsOK() const override;
    // Any thread: ends the modal loop, now or as soon as it starts.
    void Done() override;
    // User-interface thread: shows the dialog and returns after Done.
    void RunModal() override;

    // The last text and progress handed over (user-interface thread; for tests and subclasses).
    QString text() const;

protected:
    explicit KvWorkerDlg(QWidget* parent = nullptr);

    // User-interface thread: show what the worker reported last.
    virtual void showText(const QString& text) = 0;
    virtual void showProgress(int position, int range) = 0;

    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void applyPending();
    void finish();
    void markUp();

private:
    void handOver();
    void stayAboveActiveWindow();

    mutable std::mutex m_lock;  // guards the pending values below
    QString m_pendingText;
    int m_pendingPosition = 0;
    int m_pendingRange = 0;
    bool m_textPending = false;
    bool m_progressPending = false;
    bool m_progressFirst = false;  // the pending progress came before the pending text
    bool m_updateQueued = false;

    QString m_shownText;  // user-interface thread only
    bool m_running = false;
    std::atomic<bool> m_up{false};
    std::atomic<bool> m_done{false};
};
