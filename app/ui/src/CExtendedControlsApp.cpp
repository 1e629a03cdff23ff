#include "ui/CExtendedControlsApp.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <iterator>

#include "basalt/KvTrace.h"
#include "mica/CImageButton.h"
#include "mica/KvLayout.h"
#include "ui/CLanguage.h"
#include "ui/KvSplashDlg.h"
#include "ui/UiText.h"

#ifndef CAIRN_VERSION
#define CAIRN_VERSION "0"
#endif

namespace {

void showCritical(const QString& title, const QString& text) {
    QMessageBox::critical(nullptr, title, text);
}

}  // namespace

CExtendedControlsApp::Arguments CExtendedControlsApp::parseArguments(const QStringList& arguments) {
    Arguments parsed;
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        const QString& argument = *it;
        if (argument == "--help" || argument == "-h")
            parsed.help = true;
        else if (argument == "--version")
            parsed.version = true;
        else if (argument == "--no-splash")
            parsed.splash = false;
        else if (argument == "--screenshot" && std::next(it) != arguments.end())
            parsed.screenshot = *++it;
        else if (argument.startsWith("--screenshot=") && argument.size() > 13)
            parsed.screenshot = argument.mid(13);
        else if (argument == "--screenshot" || argument == "--screenshot=")
            parsed.error = "--screenshot needs a FILE";
        else if (argument.startsWith('-') && argument != "-")
            parsed.error = "unknown option " + argument;
        else if (parsed.file.isEmpty())
            parsed.file = argument;
        else
            parsed.error = "only one file can be opened";
    }
    return parsed;
}

QString CExtendedControlsApp::helpText() {
    return "Usage: cairn [OPTION]... [FILE.kvg]\n"
           "Configures addressable fire-alarm control panels; opens FILE.kvg when given.\n"
           "\n"
           "  --no-splash          start without the splash window\n"
           "  --screenshot FILE    save a PNG picture of the main window (with FILE.kvg open)\n"
           "                       to FILE and exit, without questions; 1 when either fails\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "CAIRN_PANEL=virtual:PATH talks to a virtual panel kept in PATH instead of USB.\n";
}

QString CExtendedControlsApp::versionText() { return QString("cairn ") + CAIRN_VERSION + "\n"; }

CExtendedControlsApp::CExtendedControlsApp(FailureMessage failure)
    : m_failure(failure ? std::move(failure) : FailureMessage(showCritical)) {}

bool CExtendedControlsApp::initInstance(const QString& code, const QString& folder) {
    printk("\n CExtendedControlsApp::InitInstance");
    if (!CLanguage::select(code, folder)) {
        m_failure(kFailureTitle, kLanguageFailureText);
        return false;
    }
    KvLayout::SetupMetrics("MS Sans Serif", 8.0, 0.0, 0.3, 2.0, 4.0, 10.0);
    CImageButton::SetupMetrics(1.5);
    QCoreApplication::setOrganizationName(loadText(82));
    QCoreApplication::setApplicationName(loadText(82));
    return true;
}

KvSplashDlg* CExtendedControlsApp::createSplashDlg(int displayMs) {
    printk("\n CExtendedControlsApp::CreateSplashDlg");
    return new KvSplashDlg(displayMs);
}

QString CExtendedControlsApp::getAppName() { return loadText(68); }
