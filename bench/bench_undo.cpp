// The undo history on the largest facility (128 x 8 x 250, 2048 rules).
//
// BM_HistoryOfLoopDeletions: 100 loop deletions, each its own entry; the counter "historyMB" is
// the heap the history keeps beyond what the same deletions leave without one (the deleted loops
// live on in their entries). BM_UndoRedoLoopDeletion: one undo or redo of such an entry followed
// by what the loops view does to rebuild: sort the facility and read every row.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "FacilityBuilder.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"

namespace {

constexpr int kEntries = 100;

double heapMB() { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); }

// Loops 1..8 of panels 1, 2, ... until kEntries are gone.
void deleteLoops(CFacilityManager& m, bool recorded) {
    for (int i = 0; i < kEntries; ++i) {
        const int panel = 1 + i / 8, loop = 1 + i % 8;
        if (!recorded) {
            m.delLoopFromPanel(panel, loop);
            continue;
        }
        CFacilityAction action(m, KvWString(u"delete loop"));
        m.delLoopFromPanel(panel, loop);
        action.commit();
    }
}

// The loops view's rebuild: sort, then one row per panel, loop and element with its columns.
long rebuild(CFacilityManager& m) {
    m.sortFacility();
    long sum = 0;
    for (int pi = 0; pi < m.getNumberOfPanels(); ++pi) {
        const int id = m.getPanelId(pi);
        sum += m.getPanelAddress(id) + m.getPanelLabel(id)->Length();
        for (int li = 0; li < m.getNumOfLoops(id); ++li) {
            const int loop = m.getLoopAddress(id, li);
            for (int ei = 0; ei < m.getNumberOfElementsInLoop(id, loop); ++ei) {
                const int a = m.getElementAddress(id, loop, ei);
                const int zone = m.getElementZone(id, loop, a);
                sum += m.getElementType(id, loop, a) + m.getElementDescription(id, loop, a)->Length() + zone;
                if (const KvWString* z = m.getPanelZoneDescription(id, zone)) sum += z->Length();
            }
        }
    }
    return sum;
}

void BM_HistoryOfLoopDeletions(benchmark::State& state) {
    double kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        double without = 0;
        {
            CFacilityManager m;
            FacilityBuilder::largest(m);
            const double before = heapMB();
            deleteLoops(m, false);
            without = heapMB() - before;
        }
        CFacilityManager m;
        FacilityBuilder::largest(m);
        const double before = heapMB();
        state.ResumeTiming();
        deleteLoops(m, true);
        state.PauseTiming();
        kept = heapMB() - before - without;
        benchmark::DoNotOptimize(m.history().size());
        state.ResumeTiming();
    }
    state.counters["historyMB"] = kept;
}
BENCHMARK(BM_HistoryOfLoopDeletions)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoRedoLoopDeletion(benchmark::State& state) {
    CFacilityManager m;
    FacilityBuilder::largest(m);
    deleteLoops(m, true);
    rebuild(m);
    bool back = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(back ? m.undo() : m.redo());
        benchmark::DoNotOptimize(rebuild(m));
        back = !back;
    }
}
BENCHMARK(BM_UndoRedoLoopDeletion)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
