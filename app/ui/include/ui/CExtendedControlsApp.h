// CExtendedControlsApp: the program's start-up.
//
// Reads the command line, selects the user-interface language (the program
// ends with a fixed message when its string table cannot be loaded), sets up
// the toolkit's metrics and the settings' name, and makes the splash window.
// The string tables and pictures are found through Basalt's share path, so the
// program starts the same from any folder.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class KvSplashDlg;

class CExtendedControlsApp {
public:
    static constexpr int kSplashMs = 3000;
    // Shown when no string table can be loaded, so in no language of ours.
    static constexpr const char* kFailureTitle = "Cairn";
    static constexpr const char* kLanguageFailureText = "Language cannot be initialized. Application will be close.";

    struct Arguments {
        bool help = false;
        bool version = false;
        bool splash = true;
        QString file;        // a facility file to open
        QString screenshot;  // not empty: save a picture of the main window there and end
        QString error;       // not empty: the command line was not understood
    };
    // The arguments after the program's name.
    static Arguments parseArguments(const QStringList& arguments);
    static QString helpText();
    static QString versionText();

    // Shows a start-up failure; the program ends after it.
    using FailureMessage = std::function<void(const QString& title, const QString& text)>;
    explicit CExtendedControlsApp(FailureMessage failure = {});

    // Language `code` from the tables in `folder`, then the toolkit and the
    // settings. False, after the fixed failure message, without a string table.
    bool initInstance(const QString& code, const QString& folder);
    // The splash window, not yet shown; the caller owns it.
    KvSplashDlg* createSplashDlg(int displayMs);
    // The product name (68).
    static QString getAppName();

private:
    FailureMessage m_failure;
};
