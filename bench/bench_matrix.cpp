// The cause-and-effect matrix of the largest facility (128 panels, 8 loops of 250 elements,
// 2048 rules): built, and written as CSV. Target: built in under 50 ms.
#include <benchmark/benchmark.h>

#include "FacilityBuilder.h"
#include "model/CCauseEffectCsv.h"
#include "model/CCauseEffectMatrix.h"

namespace {

void BM_MatrixOfLargestFacility(benchmark::State& state) {
    const CFacilityManager& m = FacilityBuilder::sharedLargest();
    for (auto _ : state) {
        const CCauseEffectMatrix x = CCauseEffectMatrix::build(m);
        if (x.cells().size() != 2048) state.SkipWithError("wrong number of cells");
        benchmark::DoNotOptimize(x.cells().data());
    }
}
BENCHMARK(BM_MatrixOfLargestFacility)->Unit(benchmark::kMillisecond);

void BM_MatrixOfOnePanel(benchmark::State& state) {
    const CFacilityManager& m = FacilityBuilder::sharedLargest();
    for (auto _ : state) benchmark::DoNotOptimize(CCauseEffectMatrix::build(m, {1}).cells().data());
}
BENCHMARK(BM_MatrixOfOnePanel)->Unit(benchmark::kMillisecond);

void BM_MatrixCsvOfLargestFacility(benchmark::State& state) {
    const CCauseEffectMatrix x = CCauseEffectMatrix::build(FacilityBuilder::sharedLargest());
    for (auto _ : state) benchmark::DoNotOptimize(CCauseEffectCsv::text(x).size());
}
BENCHMARK(BM_MatrixCsvOfLargestFacility)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
