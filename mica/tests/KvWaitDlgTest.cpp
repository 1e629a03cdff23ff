#include "mica/KvWaitDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <atomic>
#include <climits>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "mica/KvProgressCtrl.h"
#include "mica/KvProgressDlg.h"
#include "mica/KvQtString.h"
#include "mica/KvWaitImage.h"

namespace {

KvWString wide(const std::string& text) { return KvFromQString(QString::fromStdString(text)); }

// Ends a dialog that a broken test would leave running, so the suite fails instead of hanging.
class Watchdog {
public:
    explicit Watchdog(IWaitDialog& dialog) {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this, &dialog] {
            m_fired = true;
            dialog.Done();
        });
        m_timer.start(10000);
    }
    bool fired() const { return m_fired; }

private:
    QTimer m_timer;
    bool m_fired = false;
};

void waitUntilUp(const IWaitDialog& dialog) {
    while (!dialog.IsOK()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

TEST(KvWaitDlg, DoneBeforeTheModalLoopEndsItAtOnce) {
    KvWaitDlg dialog;
    dialog.SetText(wide("waiting"));
    std::thread worker([&] { dialog.Done(); });
    worker.join();
    Watchdog watchdog(dialog);
    dialog.RunModal();
    EXPECT_FALSE(watchdog.fired());
    EXPECT_FALSE(dialog.IsOK());
    EXPECT_FALSE(dialog.isVisible());
}

TEST(KvWaitDlg, DoneFromTheUserInterfaceThreadBeforeTheLoop) {
    KvWaitDlg dialog;
    dialog.Done();
    Watchdog watchdog(dialog);
    dialog.RunModal();
    EXPECT_FALSE(watchdog.fired());
    // The Done still queued must not end a later loop of anything else.
    QApplication::processEvents();
}

TEST(KvWaitDlg, WorkerFloodingSetTextEndsWithItsLastText) {
    KvWaitDlg dialog;
    EXPECT_EQ(dialog.parent(), nullptr);
    dialog.SetText(wide("start"));
    EXPECT_EQ(dialog.text(), QStringLiteral("start"));  // set before the loop: shown at once
    constexpr int kTexts = 5000;
    std::thread worker([&] {
        waitUntilUp(dialog);
        for (int i = 1; i <= kTexts; ++i) {
            dialog.SetText(wide("step " + std::to_string(i)));
            dialog.SetProgress(i, kTexts);
        }
        dialog.Done();
    });
    Watchdog watchdog(dialog);
    dialog.RunModal();
    worker.join();
    EXPECT_FALSE(watchdog.fired());
    EXPECT_FALSE(dialog.IsOK());
    EXPECT_EQ(dialog.text(), QStringLiteral("step 5000"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("text"))->text(), QStringLiteral("step 5000"));
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("progress"));
    EXPECT_EQ(bar->value(), kTexts);
    EXPECT_EQ(bar->maximum(), kTexts);
}

TEST(KvWaitDlg, IsUpOnlyWhileTheLoopRuns) {
    KvWaitDlg dialog;
    EXPECT_FALSE(dialog.IsOK());
    bool upInside = false;
    QTimer::singleShot(0, [&] {
        // The loop turns before the check: the queued "up" has been handled.
        QTimer::singleShot(0, [&] {
            upInside = dialog.IsOK() && dialog.isVisible();
            dialog.Done();
        });
    });
    Watchdog watchdog(dialog);
    dialog.RunModal();
    EXPECT_TRUE(upInside);
    EXPECT_FALSE(dialog.IsOK());
}

TEST(KvWaitDlg, UserCannotCloseIt) {
    KvWaitDlg dialog;
    bool stillUp = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            QTest::keyClick(&dialog, Qt::Key_Escape);
            dialog.close();
            stillUp = dialog.isVisible() && dialog.IsOK();
            dialog.Done();
        });
    });
    Watchdog watchdog(dialog);
    dialog.RunModal();
    EXPECT_TRUE(stillUp);
    EXPECT_FALSE(watchdog.fired());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(KvWaitDlg, OpensAboveTheActiveWindow) {
    QWidget frame;
    frame.show();
    QApplication::setActiveWindow(&frame);
    KvWaitDlg dialog;
    QWindow* owner = nullptr;
    QTimer::singleShot(0, [&] {
        owner = dialog.windowHandle()->transientParent();
        dialog.Done();
    });
    Watchdog watchdog(dialog);
    dialog.RunModal();
    EXPECT_EQ(owner, frame.windowHandle());
    EXPECT_EQ(dialog.parent(), nullptr);
}

TEST(KvWaitDlg, DestroyedWithUpdatesStillQueued) {
    auto* dialog = new KvWaitDlg;
    std::thread worker([&] {
        waitUntilUp(*dialog);
        dialog->Done();
        for (int i = 0; i < 100; ++i) dialog->SetText(wide("late"));
    });
    dialog->RunModal();
    worker.join();
    delete dialog;
    QApplication::processEvents();  // the queued updates went with the dialog
    SUCCEED();
}

TEST(KvWaitDlg, ProgressBarAppearsWithARange) {
    KvWaitDlg dialog;
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("progress"));
    dialog.show();
    EXPECT_FALSE(bar->isVisible());
    dialog.SetProgress(3, 4);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 3);
    dialog.SetProgress(9, 4);
    EXPECT_EQ(bar->value(), 4);
    dialog.SetProgress(0, 0);
    EXPECT_FALSE(bar->isVisible());
}

TEST(KvWaitDlg, AnimatesOnlyWhileShown) {
    KvWaitDlg dialog;
    QPixmap icon(32, 32);
    icon.fill(Qt::darkRed);
    dialog.SetWaitImage(icon, icon, 0);
    KvWaitImage* image = dialog.waitImage();
    EXPECT_EQ(image->period(), KvWaitImage::kDefaultPeriod);
    EXPECT_GE(image->sizeHint().width(), 32);
    EXPECT_FALSE(image->isAnimating());
    dialog.show();
    EXPECT_TRUE(image->isAnimating());
    const QImage before = image->grab().toImage();
    QTest::qWait(KvWaitImage::kDefaultPeriod / 6);
    EXPECT_NE(image->grab().toImage(), before);  // the ring has turned
    dialog.hide();
    EXPECT_FALSE(image->isAnimating());
}

TEST(KvProgressDlg, NewStageEmptiesTheBarInTheOrderReported) {
    KvProgressDlg dialog;
    KvProgressCtrl* ctrl = dialog.progressCtrl();
    std::thread worker([&] {
        waitUntilUp(dialog);
        dialog.SetText(wide("board"));
        dialog.SetProgress(5, 10);
        dialog.SetText(wide("loop cards"));
        dialog.Done();
    });
    Watchdog watchdog(dialog);
    dialog.RunModal();
    worker.join();
    EXPECT_EQ(ctrl->stage(), QStringLiteral("loop cards"));
    EXPECT_EQ(ctrl->percent(), 0);
    dialog.SetProgress(1, 4);
    EXPECT_EQ(ctrl->percent(), 25);
    dialog.SetProgress(3, 0);
    EXPECT_EQ(ctrl->percent(), 0);
    dialog.SetProgress(INT_MAX / 2, INT_MAX);  // large counts (bytes of an image) do not overflow
    EXPECT_EQ(ctrl->percent(), 49);
}
