// The loops editor on the largest facility the editors allow (128 panels x 8 loops x 250
// elements, 2048 rules), on the offscreen platform:
//   open     the file loaded and the views rebuilt (the frame's open command)
//   show     the loops editor rebuilt from the model and painted
//   expand   every row opened out and painted
//   edit     one description typed into a cell, and its row refreshed and painted
//   retype   one element type changed to one of another length, its loop's rows rebuilt, and painted
// Each figure is the median and the worst of RUNS repetitions in one process. Memory: the
// resident size with everything opened out, and what the editors hold beyond the facility itself
// (the facility read once more into a manager of its own gives its size).
//
//   bench_loops_editor [RUNS]    (default 5)
#include <QApplication>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "panel_link/UsbBackendChoice.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CFileCommands.h"
#include "ui/CLanguage.h"
#include "ui/CMainFrame.h"
#include "ui/CQtFileDialogs.h"
#include "ui/CQtPrompt.h"
#include "ui/CTreeListCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;

double residentMegabytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void paint() {
    for (int i = 0; i < 2; ++i) QApplication::processEvents();
}

// Runs `step` `runs` times (with `reset` before each, untimed) and prints the median and worst.
void measure(const char* what, int runs, const std::function<void()>& step, const std::function<void()>& reset = {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (reset) reset();
        const Clock::time_point start = Clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-8s median %8.1f ms   worst %8.1f ms   (%d runs)\n", what, ms[ms.size() / 2], ms.back(), runs);
}

// Built in a manager of its own, gone once the file is written: the builder's shared one would
// stay resident and blur the memory figures.
std::string largestFile() {
    const std::string name = "/tmp/cairn-bench-loops-" + std::to_string(::getpid()) + ".kvg";
    CFacilityManager m;
    FacilityBuilder::largest(m);
    return CXmlHandler(m).save(ToWide(name.c_str())) ? name : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    if (!CLanguage::select("en", CLanguage::shareFolder())) return 1;
    const std::string file = largestFile();
    if (file.empty()) return 1;

    CQtPrompt prompt;
    CQtFileDialogs files;
    std::string problem;
    CMainFrame frame(CFrameServices{prompt, files, usbBackendFromEnvironment(problem), nullptr, nullptr});
    frame.show();
    paint();
    CExtendedControlsDlg& loops = *frame.findChild<CExtendedControlsDlg*>();
    const double before = residentMegabytes();
    measure("open", 1, [&] { frame.fileCommands().openFile(QString::fromStdString(file)); });
    const double loaded = residentMegabytes();
    std::printf("facility %d panels, %d rules; resident %.0f MB before, %.0f MB loaded\n",
                frame.facility().getNumberOfPanels(), frame.facility().getNumberEventsInPanel(), before, loaded);

    frame.switchToLoops();
    paint();
    measure("show", runs, [&] {
        loops.populate();
        paint();
    });
    measure("expand", runs, [&] {
        loops.OnBnClickedBtExpand();
        paint();
    }, [&] {
        loops.OnBnClickedBtCollapse();
        paint();
    });
    loops.OnBnClickedBtExpand();
    paint();
    const double expanded = residentMegabytes();

    CTreeListModel& model = loops.model();
    const CTreeListModel::Key row{CTreeListModel::kElement, 64, 4, 125};
    loops.tree().scrollTo(model.indexOf(row));
    int n = 0;
    measure("edit", runs, [&] {
        model.setData(model.indexOf(row, CTreeListModel::kDescription), QString("Edited %1").arg(++n));
        paint();
    });
    // Through the editor's own cell handler, as a confirmed type list does it: a detector becomes
    // a dual zone module and back, so the loop's rows change each time.
    frame.facility().delElementFromLoop(row.panel, row.loop, row.element + 1);
    loops.populate();
    int type = 1;
    measure("retype", runs, [&] {
        type = type == 1 ? 7 : 1;
        model.setData(model.indexOf(row, CTreeListModel::kType), type);
        paint();
    });
    // The facility alone, read once more into a manager of its own: what the frame holds beyond
    // it (both editors' rows, everything opened out) is the editors' share.
    const double beforeCopy = residentMegabytes();
    CFacilityManager copy;
    const bool read = CXmlHandler(copy).load(ToWide(file.c_str()));
    ::unlink(file.c_str());
    if (!read) return 1;
    const double facilityAlone = residentMegabytes() - beforeCopy;
    std::printf("resident %.0f MB opened out (%.0f MB more than just loaded); the facility alone %.0f MB;\n"
                "the editors %.0f MB over the facility\n",
                expanded, expanded - loaded, facilityAlone, expanded - before - facilityAlone);
    return 0;
}
