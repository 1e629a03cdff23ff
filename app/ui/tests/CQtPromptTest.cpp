#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "UiTestKit.h"
#include "ui/CQtPrompt.h"
#include "ui/UiText.h"

namespace {

// Runs `work` on a thread of its own while this (the user-interface) thread keeps its event loop going.
void runOnWorker(const std::function<void()>& work) {
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work();
        finished = true;
    });
    while (!finished) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    worker.join();
}

}  // namespace

TEST(CQtPrompt, QuestionFromAWorkerIsAnsweredOnTheUserInterfaceThread) {
    CQtPrompt prompt;
    QThread* boxThread = nullptr;
    QString shownText;
    ModalAnswerer answerer("QMessageBox", [&](QWidget* box) {
        boxThread = box->thread();
        shownText = static_cast<QMessageBox*>(box)->text();
        clickButton("yes")(box);
    });
    bool yes = false;
    runOnWorker([&] { yes = prompt.askYesNo(291); });
    EXPECT_TRUE(yes);
    EXPECT_EQ(answerer.seen(), 1);
    EXPECT_EQ(boxThread, QThread::currentThread());
    EXPECT_EQ(shownText, loadText(291));
}

TEST(CQtPrompt, MessagesAndNoAnswersFromAWorkerReturnAfterTheUserClosesThem) {
    CQtPrompt prompt;
    ModalAnswerer ok("QMessageBox", [](QWidget* box) {
        auto* message = static_cast<QMessageBox*>(box);
        clickButton(message->findChild<QPushButton*>("ok") ? "ok" : "no")(box);
    });
    bool answer = true;
    runOnWorker([&] {
        prompt.showMessage(92);
        prompt.showMessageWith(329, KvWString(u"/tmp/a.csv"));
        answer = prompt.askYesNoWith(328, KvWString(u"/tmp/a.csv"));
    });
    EXPECT_EQ(ok.seen(), 3);
    EXPECT_FALSE(answer);
}

TEST(CQtPrompt, BoxesCarryTheProductNameAndTranslatedButtons) {
    CQtPrompt prompt;
    std::unique_ptr<QMessageBox> question(prompt.makeBox(loadTextWith(328, "/tmp/log.csv"), true));
    EXPECT_EQ(question->windowTitle(), loadText(68));
    EXPECT_EQ(question->text(), "The file /tmp/log.csv already exists. Replace it?");
    EXPECT_EQ(question->findChild<QPushButton*>("yes")->text(), loadText(401));
    EXPECT_EQ(question->defaultButton()->objectName(), "no");
    std::unique_ptr<QMessageBox> message(prompt.makeBox(loadText(92), false));
    EXPECT_EQ(message->findChild<QPushButton*>("ok")->text(), loadText(87));
}
