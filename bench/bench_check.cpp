// The facility check of the largest facility: every panel at once, and one panel's upload.
#include <benchmark/benchmark.h>

#include "FacilityBuilder.h"
#include "check/CFacilityCheck.h"
#include "model/CFacilityManager.h"

namespace {

void BM_CheckLargestFacility(benchmark::State& state) {
    const CFacilityManager& m = FacilityBuilder::sharedLargest();
    for (auto _ : state) {
        CFacilityCheck check(m);
        benchmark::DoNotOptimize(check.run());
    }
}
BENCHMARK(BM_CheckLargestFacility)->Unit(benchmark::kMillisecond);

void BM_CheckOnePanelOfTheLargestFacility(benchmark::State& state) {
    const CFacilityManager& m = FacilityBuilder::sharedLargest();
    for (auto _ : state) {
        CFacilityCheck check(m);
        benchmark::DoNotOptimize(check.run(1));
    }
}
BENCHMARK(BM_CheckOnePanelOfTheLargestFacility)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
