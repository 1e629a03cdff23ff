// The difference of two largest facilities that differ in 1% of their elements, with and without
// the words and the JSON of it.
#include <benchmark/benchmark.h>

#include "FacilityBuilder.h"
#include "model/CFacilityDiff.h"
#include "model/CFacilityManager.h"

namespace {

// Every hundredth element of `m` gets another zone: 2560 of 256000.
void changeOnePercent(CFacilityManager& m) {
    int n = 0;
    for (int p = 1; p <= 128; ++p)
        for (int l = 1; l <= 8; ++l)
            for (int a = 1; a <= 250; ++a)
                if (++n % 100 == 0) m.addElementToZone(p, l, a, 1 + (m.getElementZone(p, l, a) % 250));
}

struct Pair {
    Pair() {
        FacilityBuilder::largest(a);
        FacilityBuilder::largest(b);
        changeOnePercent(b);
    }
    CFacilityManager a, b;
};

void BM_DiffLargestFacilities(benchmark::State& state) {
    static Pair pair;
    for (auto _ : state) {
        const CFacilityDiff diff = CFacilityDiff::compare(pair.a.facility(), pair.b.facility());
        if (diff.changes().size() != 2560) state.SkipWithError("wrong number of changes");
        benchmark::DoNotOptimize(diff.changes().data());
    }
}
BENCHMARK(BM_DiffLargestFacilities)->Unit(benchmark::kMillisecond);

void BM_DiffLargestFacilitiesInWordsAndJson(benchmark::State& state) {
    static Pair pair;
    for (auto _ : state) {
        const CFacilityDiff diff = CFacilityDiff::compare(pair.a.facility(), pair.b.facility());
        benchmark::DoNotOptimize(diff.lines().size());
        JsonDocument doc;
        diff.toJson(doc);
        KvString text;
        doc.CreateJsonCode(text);
        benchmark::DoNotOptimize(text.c_str());
    }
}
BENCHMARK(BM_DiffLargestFacilitiesInWordsAndJson)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
