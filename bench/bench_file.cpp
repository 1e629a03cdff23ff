// Saving and loading the largest facility (128 panels, 8 x 250 elements, 250 zones each, 2048 rules).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"

namespace {

KvWString benchPath() {
    static const std::string path = "/tmp/cairn-bench-" + std::to_string(::getpid()) + ".kvg";
    return ToWide(path.c_str());
}

void BM_SaveLargestFacility(benchmark::State& state) {
    CFacilityManager m;
    FacilityBuilder::largest(m);
    CXmlHandler handler(m);
    for (auto _ : state)
        if (!handler.save(benchPath())) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveLargestFacility)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadLargestFacility(benchmark::State& state) {
    {
        CFacilityManager m;
        FacilityBuilder::largest(m);
        CXmlHandler(m).save(benchPath());
    }
    for (auto _ : state) {
        auto m = std::make_unique<CFacilityManager>();
        auto handler = std::make_unique<CXmlHandler>(*m);
        if (!handler->load(benchPath())) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(m->getNumberOfPanels());
        state.PauseTiming();  // releasing the facility and the document is not part of loading
        handler.reset();
        m.reset();
        state.ResumeTiming();
    }
    std::remove(ToUtf8(benchPath().c_str()).c_str());
}
BENCHMARK(BM_LoadLargestFacility)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
