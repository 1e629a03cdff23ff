// Building the largest facility and walking it the way the file writer does: every getter by number.
#include <benchmark/benchmark.h>

#include "FacilityBuilder.h"
#include "model/CFacilityManager.h"

namespace {

long walkLikeTheWriter(const CFacilityManager& m) {
    long sum = 0;
    for (int id = 1; id <= 128; ++id) {
        if (m.getPanelAddress(id) <= 0) continue;
        sum += m.getPanelLabel(id)->Length() + m.getPanelInstaller(id).Length() +
               m.getPanelDescription(id).Length() + m.getPanelPhone(id).Length();
        for (int li = 0; li < m.getNumOfLoops(id); ++li) {
            const int loop = m.getLoopAddress(id, li);
            for (int ei = 0; ei < m.getNumberOfElementsInLoop(id, loop); ++ei) {
                const int a = m.getElementAddress(id, loop, ei);
                sum += a + m.getElementType(id, loop, a) + m.getElementLabel(id, loop, a)->Length() +
                       m.getElementDescription(id, loop, a)->Length() + m.getElementZone(id, loop, a) +
                       m.getElementCompositeMode(id, loop, a) + m.getElementGenericType(id, loop, a);
            }
        }
        for (int n = 1; n <= m.getNumOfZones(id); ++n) sum += m.getZoneDescription(n)->Length();
        for (int p = 0; p < m.getNumberEventsInPanel(); ++p) {
            const int r = m.getEventActionId(p);
            sum += r + m.getEventActionDelay(r) + m.getEventActionInType(r) + m.getEventActionInElementType(r) +
                   m.getEventActionInPanel(r) + m.getEventActionInLoop(r) + m.getEventActionInElement(r) +
                   m.getEventActionInZone(r) + m.getEventActionInRange(r).first + m.getEventActionOutType(r) +
                   m.getEventActionOutElementType(r) + m.getEventActionOutPanel(r) + m.getEventActionOutLoop(r) +
                   m.getEventActionOutElement(r) + m.getEventActionOutZone(r) + m.getEventActionOutRange(r).second;
        }
    }
    return sum;
}

void BM_BuildLargestFacility(benchmark::State& state) {
    for (auto _ : state) {
        CFacilityManager m;
        FacilityBuilder::largest(m);
        benchmark::DoNotOptimize(m.getNumberOfPanels());
    }
}
BENCHMARK(BM_BuildLargestFacility)->Unit(benchmark::kMillisecond);

void BM_WalkLargestFacility(benchmark::State& state) {
    CFacilityManager m;
    FacilityBuilder::largest(m);
    for (auto _ : state) benchmark::DoNotOptimize(walkLikeTheWriter(m));
}
BENCHMARK(BM_WalkLargestFacility)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
