// cairn: the desktop program. Wiring only: the real prompts, file dialogs and USB bus
// are made here and handed to the main frame.
#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "panel_link/UsbBackendChoice.h"
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
    CExtendedControlsApp app;
    if (!app.initInstance(CLanguage::codeFromEnvironment(), CLanguage::shareFolder())) return 1;
    if (arguments.splash) {
        std::unique_ptr<KvSplashDlg> splash(app.createSplashDlg(CExtendedControlsApp::kSplashMs));
        splash->exec();
    }

    std::string problem;
    std::shared_ptr<CUsbBackend> bus = usbBackendFromEnvironment(problem);
    if (!problem.empty()) std::fprintf(stderr, "cairn: %s\n", problem.c_str());
    CQtPrompt prompt;
    CQtFileDialogs files;
    CMainFrame frame(CFrameServices{prompt, files, bus, nullptr, nullptr});
    prompt.setWindow(&frame);
    files.setWindow(&frame);
    frame.show();
    if (!arguments.file.isEmpty()) frame.fileCommands().openFile(arguments.file);
    return application.exec();
}
