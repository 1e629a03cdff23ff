// What reading a panel back after an upload costs the host, next to a download of the same
// panel: one full panel (8 loops of 250 elements, 250 zones, 1024 rules) through CUsbHandler,
// its worker thread and the virtual panel, without USB latency. Process CPU time, so the
// worker's share counts.
#include <benchmark/benchmark.h>

#include "FullPanel.h"
#include "TestWaitDialog.h"
#include "panel_link/CUsbHandler.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

void fullPanel(CFacilityManager& m) {
    FacilityBuilder b(m);
    addFullPanel(b);
    for (int r = 1; r <= 1024; ++r)
        b.rule(r, r % 600, RuleSide{1, 1, 1 + r % 8, 1 + r % 250, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 1 + r % 250, 0, 0, 4});
}

struct Rig {
    Rig() : handler(facility, prompt, TestWaitDialog::factory(std::make_shared<TestWaitDialog::Log>()), bus) {
        handler.setDialogSettleTime(std::chrono::milliseconds(0));
    }
    CFacilityManager facility;
    ScriptedPrompt prompt;
    std::shared_ptr<CVirtualUsbBus> bus = std::make_shared<CVirtualUsbBus>();
    CUsbHandler handler;
};

// A virtual panel holding the full panel.
const CVirtualPanelState& uploadedPanel() {
    static const CVirtualPanelState state = [] {
        Rig rig;
        fullPanel(rig.facility);
        if (!rig.handler.upload(1)) std::abort();
        return rig.bus->panel().state();
    }();
    return state;
}

void BM_DownloadFullPanel(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<Rig>();
        rig->bus->panel().state() = uploadedPanel();
        state.ResumeTiming();
        if (!rig->handler.downloadAll()) state.SkipWithError("download failed");
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DownloadFullPanel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_VerifyFullPanel(benchmark::State& state) {
    Rig rig;
    fullPanel(rig.facility);
    rig.bus->panel().state() = uploadedPanel();
    std::vector<std::string> differences;
    for (auto _ : state)
        if (!rig.handler.verify(1, differences) || !differences.empty()) state.SkipWithError("verify failed");
}
BENCHMARK(BM_VerifyFullPanel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_UploadFullPanel(benchmark::State& state) {
    Rig rig;
    fullPanel(rig.facility);
    const bool verify = state.range(0) != 0;
    for (auto _ : state)
        if (!rig.handler.uploadPanel(1, verify).succeeded()) state.SkipWithError("upload failed");
}
BENCHMARK(BM_UploadFullPanel)->Arg(0)->Arg(1)->ArgName("verify")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
