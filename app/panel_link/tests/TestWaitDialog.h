// TestWaitDialog: a modal wait dialog without a screen, for tests of the transfers.
//
// RunModal blocks the calling thread until Done, as the real dialog does;
// every text and progress step the worker reports is recorded.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "basalt/KvBasicString.h"
#include "seams/IModalWaitDialog.h"

class TestWaitDialog : public IModalWaitDialog {
public:
    // What every dialog of one test saw, shared by the dialogs the factory makes.
    struct Log {
        std::mutex lock;
        std::vector<KvWString> texts;
        int dialogs = 0;
        int progressSteps = 0;
    };

    explicit TestWaitDialog(std::shared_ptr<Log> log) : m_log(std::move(log)) {
        std::lock_guard<std::mutex> g(m_log->lock);
        ++m_log->dialogs;
    }

    void SetText(const KvWString& text) override {
        std::lock_guard<std::mutex> g(m_log->lock);
        m_log->texts.push_back(text);
    }
    void SetProgress(int, int) override {
        std::lock_guard<std::mutex> g(m_log->lock);
        ++m_log->progressSteps;
    }
    bool IsOK() const override {
        std::lock_guard<std::mutex> g(m_lock);
        return m_up;
    }
    void Done() override {
        std::lock_guard<std::mutex> g(m_lock);
        m_done = true;
        m_changed.notify_all();
    }
    void RunModal() override {
        std::unique_lock<std::mutex> g(m_lock);
        m_up = true;
        m_changed.wait(g, [this] { return m_done; });
        m_up = false;
    }

    // A factory for CUsbHandler whose dialogs all record into `log`.
    static auto factory(std::shared_ptr<Log> log) {
        return [log]() -> std::unique_ptr<IModalWaitDialog> { return std::make_unique<TestWaitDialog>(log); };
    }

private:
    std::shared_ptr<Log> m_log;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_up = false;
    bool m_done = false;
};
