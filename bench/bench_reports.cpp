// The printed reports into PDF files, in the English texts: the loops report of a full panel
// (8 loops of 250 elements) and all five reports of the largest facility. Pages per second are
// reported as a counter.
//   QT_QPA_PLATFORM=offscreen build-rel/bin/bench_reports
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "FacilityBuilder.h"
#include "basalt/KvStringTableFile.h"
#include "reports/CReportPdf.h"

namespace {

const std::string kOut = "/tmp/cairn-bench-reports-" + std::to_string(::getpid()) + ".pdf";

void fullPanel(CFacilityManager& m) {
    FacilityBuilder b(m);
    b.panel(1);
    for (int l = 1; l <= 8; ++l) {
        b.loop(l);
        for (int a = 1; a <= 250; ++a) b.element(a, 1 + (a % 18), 1 + (a % 250));
    }
    b.zones(250);
    m.setPanelSelected(1, true);
}

void run(benchmark::State& state, const CFacilityManager& m, const CReportSwitches& switches) {
    int pages = 0;
    for (auto _ : state) {
        const auto result = CReportPdf::write(m, switches, QString::fromStdString(kOut), QStringLiteral("bench.kvg"),
                                              QPageSize(QPageSize::A4), [&](int done) {
                                                  pages = done;
                                                  return true;
                                              });
        if (result != CReportPrinter::Result::kPrinted) state.SkipWithError("report not written");
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
    std::remove(kOut.c_str());
}

void BM_FullPanelLoopsReport(benchmark::State& state) {
    CFacilityManager m;
    fullPanel(m);
    CReportSwitches s;
    s.loops = true;
    run(state, m, s);
}
BENCHMARK(BM_FullPanelLoopsReport)->Unit(benchmark::kMillisecond);

void BM_LargestFacilityAllReports(benchmark::State& state) {
    CFacilityManager m;
    FacilityBuilder::largest(m);
    for (int i = 0; i < m.getNumberOfPanels(); ++i) m.setPanelSelected(m.getPanelId(i), true);
    run(state, m, CReportSwitches::all());
}
BENCHMARK(BM_LargestFacilityAllReports)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string strings = QCoreApplication::applicationDirPath().toStdString() + "/cairn.en.stc";
    if (!SetKvLoadStringTableFile(strings.c_str())) std::fprintf(stderr, "no string table at %s\n", strings.c_str());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
