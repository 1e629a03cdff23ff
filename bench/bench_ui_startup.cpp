// Start-up of the desktop program to its main window shown, on the offscreen platform, without
// the splash: the steps of cairn's main (application, language, toolkit, frame, show, first
// paint), each run in a fresh process. Prints the median and the worst of the runs, measured
// inside the process from main() and from outside over the whole process (start to exit).
//
//   bench_ui_startup [RUNS]      (default 20)
#include <QApplication>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "panel_link/UsbBackendChoice.h"
#include "ui/CExtendedControlsApp.h"
#include "ui/CLanguage.h"
#include "ui/CMainFrame.h"
#include "ui/CQtFileDialogs.h"
#include "ui/CQtPrompt.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One start-up, as cairn --no-splash does it; prints the milliseconds to the window shown.
int child(int argc, char** argv, Clock::time_point start) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    CExtendedControlsApp app;
    if (!app.initInstance(CLanguage::codeFromEnvironment(), CLanguage::shareFolder())) return 1;
    CQtPrompt prompt;
    CQtFileDialogs files;
    std::string problem;
    CMainFrame frame(CFrameServices{prompt, files, usbBackendFromEnvironment(problem), nullptr, nullptr});
    frame.show();
    QApplication::processEvents();  // the first expose and paint
    std::printf("%.3f\n", msSince(start));
    return 0;
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.1f ms   worst %7.1f ms   (%zu runs)\n", what, ms[ms.size() / 2], ms.back(),
                ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    if (argc > 1 && std::string(argv[1]) == "--child") return child(argc, argv, start);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string command = std::string(argv[0]) + " --child";
    std::vector<double> inside, whole;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point launched = Clock::now();
        FILE* pipe = ::popen(command.c_str(), "r");
        double ms = -1;
        if (!pipe || std::fscanf(pipe, "%lf", &ms) != 1) ms = -1;
        const int status = pipe ? ::pclose(pipe) : -1;
        if (ms < 0 || status != 0) {
            std::fprintf(stderr, "bench_ui_startup: run %d failed\n", i + 1);
            return 1;
        }
        inside.push_back(ms);
        whole.push_back(msSince(launched));
    }
    report("main() to main window shown", inside);
    report("whole process (exec to exit)", whole);
    std::printf("target: main window shown in under 300 ms\n");
    return 0;
}
