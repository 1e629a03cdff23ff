#include "mica/KvWorkerDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMetaObject>
#include <QThread>
#include <QWindow>

#include "mica/KvQtString.h"

KvWorkerDlg::KvWorkerDlg(QWidget* parent) : QDialog(parent) {
    // A title but no close button: only the worker ends this dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
}

KvWorkerDlg::~KvWorkerDlg() = default;

void KvWorkerDlg::SetText(const KvWString& text) {
    QString converted = KvToQString(text);
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pendingText = std::move(converted);
        m_textPending = true;
        m_progressFirst = m_progressPending;
    }
    handOver();
}

void KvWorkerDlg::SetProgress(int position, int range) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_pendingPosition = position;
        m_pendingRange = range;
        m_progressPending = true;
        m_progressFirst = false;
    }
    handOver();
}

bool KvWorkerDlg::IsOK() const { return m_up.load(); }

void KvWorkerDlg::Done() {
    m_done.store(true);
    // Queued even on the user-interface thread: the loop may not have started yet,
    // and RunModal then sees m_done instead.
    QMetaObject::invokeMethod(this, "finish", Qt::QueuedConnection);
}

void KvWorkerDlg::RunModal() {
    m_running = true;
    if (!m_done.load()) {
        stayAboveActiveWindow();
        // Up only once the loop turns, so the worker's first call finds it running.
        QMetaObject::invokeMethod(this, "markUp", Qt::QueuedConnection);
        exec();
    }
    m_running = false;
    m_up.store(false);
}

// Made without a parent, the dialog would otherwise open anywhere on the screen and
// could fall behind the main window; as its transient it stays on top, centred on it.
void KvWorkerDlg::stayAboveActiveWindow() {
    QWidget* owner = QApplication::activeWindow();
    if (parentWidget() || !owner || owner == this) return;
    winId();  // creates the native window that carries the hint
    if (windowHandle() && owner->windowHandle()) windowHandle()->setTransientParent(owner->windowHandle());
}

QString KvWorkerDlg::text() const { return m_shownText; }

void KvWorkerDlg::reject() {}

void KvWorkerDlg::closeEvent(QCloseEvent* event) { event->ignore(); }

// Queues one update unless one is on its way; called by name so that the queued
// event carries no data of ours, and everything crosses threads under m_lock.
void KvWorkerDlg::handOver() {
    if (QThread::currentThread() == thread()) {
        applyPending();
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_updateQueued) return;
        m_updateQueued = true;
    }
    QMetaObject::invokeMethod(this, "applyPending", Qt::QueuedConnection);
}

void KvWorkerDlg::applyPending() {
    QString text;
    int position = 0;
    int range = 0;
    bool textPending = false;
    bool progressPending = false;
    bool progressFirst = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_updateQueued = false;
        std::swap(textPending, m_textPending);
        std::swap(progressPending, m_progressPending);
        if (textPending) text = std::move(m_pendingText);
        position = m_pendingPosition;
        range = m_pendingRange;
        progressFirst = m_progressFirst;
    }
    // In the order the worker reported them: a new text may reset the progress shown.
    if (progressPending && progressFirst) showProgress(position, range);
    if (textPending) {
        m_shownText = text;
        showText(text);
    }
    if (progressPending && !progressFirst) showProgress(position, range);
}

void KvWorkerDlg::finish() {
    if (!m_running) return;
    applyPending();
    QDialog::done(QDialog::Accepted);
}

void KvWorkerDlg::markUp() {
    if (m_running && !m_done.load()) m_up.store(true);
}
