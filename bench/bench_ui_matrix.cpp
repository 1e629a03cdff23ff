// The cause-and-effect matrix window over the largest facility (2048 rules), offscreen: from
// making the window (matrix built, every line put in words, headers fitted) to the first paint
// of its cells, and a repaint after scrolling to the middle. Prints the median and the worst of
// the runs, in wall time and in the process's own processor time (which a crowded machine does
// not stretch). Target: first paint in under 100 ms.
//
//   bench_ui_matrix [RUNS]      (default 20)
#include <QApplication>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FacilityBuilder.h"
#include "ui/CCauseEffectView.h"
#include "ui/CLanguage.h"
#include "ui/CMatrixTableModel.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double cpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Counts the paints of the cells' viewport.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void waitForPaint(const PaintCounter& counter, int before) {
    while (counter.paints == before) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Run {
    double firstPaint = 0;
    double firstPaintCpu = 0;
    double scrolled = 0;
};

Run run(const CFacilityManager& facility) {
    Run r;
    PaintCounter counter;
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuMs();
    CCauseEffectView view(facility);
    view.table().viewport()->installEventFilter(&counter);
    view.show();
    waitForPaint(counter, 0);
    r.firstPaint = since(start);
    r.firstPaintCpu = cpuMs() - cpuStart;
    if (view.model().rowCount() == 0) std::fprintf(stderr, "bench_ui_matrix: an empty matrix\n");
    const int before = counter.paints;
    const Clock::time_point scroll = Clock::now();
    for (QScrollBar* bar : {view.table().verticalScrollBar(), view.table().horizontalScrollBar()})
        bar->setValue(bar->maximum() / 2);
    waitForPaint(counter, before);
    r.scrolled = since(scroll);
    return r;
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.1f ms, worst %.1f ms (%zu runs)\n", what, ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (!CLanguage::select("en", CLanguage::shareFolder())) return 1;
    CFacilityManager facility;
    FacilityBuilder::largest(facility);
    std::vector<double> first, firstCpu, scrolled;
    for (int i = 0; i < runs; ++i) {
        const Run r = run(facility);
        first.push_back(r.firstPaint);
        firstCpu.push_back(r.firstPaintCpu);
        scrolled.push_back(r.scrolled);
    }
    report("matrix window, 2048 rules, to first paint", first);
    report("the same in processor time", firstCpu);
    report("repaint after scrolling to the middle", scrolled);
    std::printf("target: first paint in under 100 ms\n");
    return 0;
}
