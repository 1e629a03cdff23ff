// The summary shown before an upload, and the history write after it. The summary: the last upload of one full panel (8 x 250 elements, 250
// zones and its share of 2048 rules) read back from the history and compared with what the
// upload would send, with 1% of the panel's elements moved to another zone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "history/CTransferHistory.h"

namespace {

namespace fs = std::filesystem;

class NoPrompt : public IUserPrompt {
public:
    void showMessage(int) override {}
    bool askYesNo(int) override { return false; }
};

struct Site {
    Site() : dir(fs::temp_directory_path() / ("cairn-bench-history-" + std::to_string(::getpid()))) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = ToWide((dir / "site.kvg").c_str());
        FacilityBuilder::largest(facility);
        CFacilityManager sent;
        std::string problem;
        CHistoryRecord record;
        record.panelId = 1;
        if (!CPanelSnapshot::fromFacility(facility, 1, sent, problem) || !CSiteHistory(file).add(record, sent, problem))
            std::abort();
        int n = 0;
        for (int l = 1; l <= 8; ++l)
            for (int a = 1; a <= 250; ++a)
                if (++n % 100 == 0) facility.addElementToZone(1, l, a, 1 + (facility.getElementZone(1, l, a) % 250));
    }
    ~Site() { fs::remove_all(dir); }

    fs::path dir;
    KvWString file;
    CFacilityManager facility;
};

void BM_ChangesSinceLastUploadOfAFullPanel(benchmark::State& state) {
    static Site site;
    NoPrompt prompt;
    CTransferHistory history(prompt, "bench");
    history.setFile(site.file);
    for (auto _ : state) {
        CTransferHistory::Pending pending;
        std::string problem;
        if (!history.pending(site.facility, 1, pending, problem) || pending.firstUpload ||
            pending.diff.changes().size() != 20)
            state.SkipWithError("wrong summary");
        benchmark::DoNotOptimize(pending.diff.changes().data());
    }
}
BENCHMARK(BM_ChangesSinceLastUploadOfAFullPanel)->Unit(benchmark::kMillisecond);

// The write after an upload of a full panel: its snapshot and record, each flushed to disk.
void BM_RecordAFullPanelUpload(benchmark::State& state) {
    static Site site;
    CFacilityManager sent;
    std::string problem;
    if (!CPanelSnapshot::fromFacility(site.facility, 1, sent, problem)) std::abort();
    CSiteHistory history(ToWide((site.dir / "records.kvg").c_str()));
    for (auto _ : state) {
        CHistoryRecord record;
        record.panelId = 1;
        if (!history.add(record, sent, problem)) state.SkipWithError(problem.c_str());
    }
}
BENCHMARK(BM_RecordAFullPanelUpload)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
