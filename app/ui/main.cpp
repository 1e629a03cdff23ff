// cairn: the desktop program. Wiring only: the real prompts, file dialogs and USB bus
// are made here and handed to the main frame.
#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "panel_link/UsbBackendChoice.h"
#include "ui/CBatchPrompt.h"
#include "ui/CExtendedControlsApp.h"
#include "ui/CLanguage.h"
#include "ui/CMainFrame.h"
#include "ui/CFileCommands.h"
#include "ui/CQtFileDialogs.h"
#include "ui/CQtPrompt.h"
#include "ui/KvSplashDlg.h"

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Opens the file, saves a picture of the main window and ends: for checks of an installed
// program and for pictures of it, also without a display (QT_QPA_PLATFORM=offscreen).
// Nobody is there to answer, so what the program says goes to standard error.
int takeScreenshot(const CExtendedControlsApp::Arguments& arguments, std::shared_ptr<CUsbBackend> bus) {
    CBatchPrompt prompt;
    CQtFileDialogs files;
    CMainFrame frame(CFrameServices{prompt, files, std::move(bus), nullptr, nullptr});
    frame.show();
    const bool opened = arguments.file.isEmpty() || frame.fileCommands().openFile(arguments.file);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const bool saved = frame.grab().save(arguments.screenshot, "PNG");
    for (const QString& message : prompt.messages()) std::fprintf(stderr, "cairn: %s\n", qPrintable(message));
    if (!saved) std::fprintf(stderr, "cairn: cannot write %s\n", qPrintable(arguments.screenshot));
    return opened && saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version work without a display.
    CExtendedControlsApp::Arguments early = CExtendedControlsApp::parseArguments(argumentsOf(argc, argv));
    if (early.help || early.version) {
        std::fputs(qPrintable(early.help ? CExtendedControlsApp::helpText() : CExtendedControlsApp::versionText()),
                   stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Qt has taken its own options out by now.
    const auto arguments = CExtendedControlsApp::parseArguments(QApplication::arguments().mid(1));
    if (!arguments.error.isEmpty()) {
        std::fprintf(stderr, "cairn: %s\nTry 'cairn --help'.\n", qPrintable(arguments.error));
        return 2;
    }
    // A screenshot run must not wait for a click on a failure box nobody sees.
    CExtendedControlsApp::FailureMessage printFailure = [](const QString&, const QString& text) {
        std::fprintf(stderr, "cairn: %s\n", qPrintable(text));
    };
    CExtendedControlsApp app(arguments.screenshot.isEmpty() ? nullptr : printFailure);
    if (!app.initInstance(CLanguage::codeFromEnvironment(), CLanguage::shareFolder())) return 1;
    std::string problem;
    std::shared_ptr<CUsbBackend> bus = usbBackendFromEnvironment(problem);
    if (!problem.empty()) std::fprintf(stderr, "cairn: %s\n", problem.c_str());
    if (!arguments.screenshot.isEmpty()) return takeScreenshot(arguments, std::move(bus));
    if (arguments.splash) {
        std::unique_ptr<KvSplashDlg> splash(app.createSplashDlg(CExtendedControlsApp::kSplashMs));
        splash->exec();
    }

    CQtPrompt prompt;
    CQtFileDialogs files;
    CMainFrame frame(CFrameServices{prompt, files, bus, nullptr, nullptr});
    prompt.setWindow(&frame);
    files.setWindow(&frame);
    frame.show();
    if (!arguments.file.isEmpty()) frame.fileCommands().openFile(arguments.file);
    return application.exec();
}
