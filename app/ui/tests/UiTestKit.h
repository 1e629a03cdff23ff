// UiTestKit: scripted prompts and file dialogs, and a way to answer modal windows.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

#include "model/CFacilityManager.h"
#include "seams/IUpdatePrompt.h"
#include "ui/IFileDialogs.h"

// Records every message; answers questions and the panel choice from queues. A
// question nobody scripted fails the test. Callable from any thread.
class ScriptedUiPrompt : public IUpdatePrompt {
public:
    void showMessage(int textId) override { record(textId); }
    void showMessageWith(int textId, const KvWString&) override { record(textId); }
    // Composed texts are recorded as message 0; texts() keeps their words.
    void showText(const KvWString& text) override {
        record(0);
        std::lock_guard<std::mutex> lock(m_lock);
        m_texts.push_back(QString::fromUtf16(text.c_str(), text.Length()));
    }
    bool askYesNo(int textId) override { return answer(textId); }
    bool askYesNoWith(int textId, const KvWString& argument) override {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_arguments.push_back(QString::fromUtf16(argument.c_str(), argument.Length()));
        }
        return answer(textId);
    }
    // Marks the scripted panels (an empty list cancels).
    bool choosePanels(CFacilityManager& facility, bool several) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_choices.push_back(several);
        if (m_panels.empty()) return false;
        for (int id : m_panels) facility.setPanelSelected(id, true);
        return true;
    }

    void answer(bool yes) { m_answers.push_back(yes); }
    void choosePanel(int id) { m_panels = {id}; }
    std::vector<int> messages() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_messages;
    }
    std::vector<bool> choices() const { return m_choices; }
    std::vector<QString> texts() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_texts;
    }
    // The arguments of the questions with one, in order.
    std::vector<QString> arguments() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_arguments;
    }

private:
    void record(int textId) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_messages.push_back(textId);
    }
    bool answer(int textId) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_messages.push_back(textId);
        if (m_answers.empty()) {
            ADD_FAILURE() << "unexpected question " << textId;
            return false;
        }
        bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }

    mutable std::mutex m_lock;
    std::vector<int> m_messages;
    std::deque<bool> m_answers;
    std::vector<int> m_panels;
    std::vector<bool> m_choices;
    std::vector<QString> m_texts;
    std::vector<QString> m_arguments;
};

// Answers each kind of file dialog from its own queue (empty: cancelled) and counts the questions.
class ScriptedFiles : public IFileDialogs {
public:
    QString openFacility() override { return next(m_open); }
    QString saveFacility(const QString&) override { return next(m_save); }
    QString openManifest() override { return next(m_manifest); }
    QString saveCsv(const QString&) override { return next(m_csv); }
    QString savePdf(const QString&) override { return next(m_pdf); }

    std::deque<QString> m_open, m_save, m_manifest, m_csv, m_pdf;
    int asked = 0;

private:
    QString next(std::deque<QString>& queue) {
        ++asked;
        if (queue.empty()) return {};
        QString path = queue.front();
        queue.pop_front();
        return path;
    }
};

// Calls `action` with each modal window named `name` that comes up, until
// stopped; how a test answers a dialog that a command runs with exec().
class ModalAnswerer {
public:
    ModalAnswerer(const QString& name, std::function<void(QWidget*)> action) : m_name(name), m_action(std::move(action)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    int seen() const { return m_seen; }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last || modal->objectName() != m_name) return;
        m_last = modal;
        ++m_seen;
        m_action(modal);
    }

    QString m_name;
    std::function<void(QWidget*)> m_action;
    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_seen = 0;
};

// Clicks the child button `button` of a window (for ModalAnswerer actions).
std::function<void(QWidget*)> clickButton(const QString& button);

// A panel that exists only in a file: CAIRN_PANEL points at it while the object lives.
class VirtualPanel {
public:
    explicit VirtualPanel(const QString& options = QString(), const QString& fault = QString());
    ~VirtualPanel();
    QString statePath() const { return m_dir.filePath("panel.state"); }

private:
    QTemporaryDir m_dir;
};

// The sample facility of the repository.
QString sampleFacility();
// The firmware update samples' manifest.
QString sampleManifest();

// The string table of language `code` until the end of the scope, then English again, so
// that later tests see the texts they expect however a test ends.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const char* code);
    ~ScopedLanguage();
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
    bool selected() const { return m_selected; }

private:
    bool m_selected = false;
};
