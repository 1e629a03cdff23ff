// Writing and reading every table of one full panel (8 loops of 250 elements,
// 250 zones, 2048 event-actions, system information) through the virtual
// panel: the host's own cost, without USB latency. The counters report the
// bulk transfers of one pass in each direction.
#include <benchmark/benchmark.h>

#include "FullPanel.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CRecordConverter.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

void fullPanel(CFacilityManager& m) {
    FacilityBuilder b(m);
    addFullPanel(b);
    b.panel(2, 2);
    for (int r = 1; r <= 2048; ++r)
        b.rule(r, r % 600, RuleSide{1, 1, 1 + r % 8, 1 + r % 250, 0, 0, 0, 5},
               RuleSide{2, 1 + r % 2, 0, 0, 1 + r % 250, 0, 0, 4});
}

bool upload(CFacilityManager& m, CPanelLink& link) {
    CRecordConverter c(m);
    bool ok = link.beginElementWrite();
    for (int l = 1; l <= 8; ++l)
        for (int a = 1; a <= 250; ++a) {
            CElementRecord r;
            ok = c.elementRecord(1, l, a, r) && link.writeElement(l - 1, a - 1, r) && ok;
        }
    ok = link.endElementWrite() && link.beginZoneWrite() && ok;
    for (int z = 1; z <= 250; ++z) ok = link.writeZone(z - 1, c.zoneRecord(1, z)) && ok;
    ok = link.endZoneWrite() && link.beginEventActionWrite() && ok;
    int entry = 0;
    for (int i = 0; i < m.getNumberEventsInPanel(); ++i) {
        const int id = m.getEventActionId(i);
        CEventRecord e;
        CActionRecord a;
        if (id != 0 && c.eventActionRecords(id, e, a) == CRecordConverter::Refusal::None)
            ok = link.writeEventAction(entry++, e, a) && ok;
    }
    return link.endEventActionWrite() && link.writeSystemInfo(c.systemInfo(1)) && ok;
}

bool download(CFacilityManager& m, CPanelLink& link) {
    CRecordConverter c(m);
    m.addPanel(1, 1, u"panel");
    CSystemInfoRecord info;
    bool ok = link.readSystemInfo(info) && c.applySystemInfo(1, info) && link.beginZoneRead();
    for (int z = 0; z < 250; ++z) {
        CZoneRecord r;
        ok = link.readZone(z, r) && c.addZone(1, z, r) && ok;
    }
    ok = link.beginElementRead() && ok;
    for (int l = 0; l < 8; ++l)
        for (int a = 0; a < 250; ++a) {
            CElementRecord r;
            ok = link.readElement(l, a, r) && c.addElement(1, l, a, r) != CRecordConverter::ElementResult::BadZone && ok;
        }
    ok = link.beginEventActionRead() && ok;
    for (int id = 1; id <= 2048; ++id) {
        CEventRecord e;
        CActionRecord a;
        if (!link.readNextEventAction(e, a)) return false;
        if (e.item.kind == 0 || a.item.kind == 0) break;
        c.addEventAction(id, 1, 1, e, a);
    }
    return ok;
}

void report(benchmark::State& state, CVirtualUsbBus& bus, int passes) {
    state.counters["bulk_out"] = static_cast<double>(bus.transfersOut()) / passes;
    state.counters["bulk_in"] = static_cast<double>(bus.transfersIn()) / passes;
}

void BM_UploadFullPanel(benchmark::State& state) {
    CFacilityManager m;
    fullPanel(m);
    auto bus = std::make_shared<CVirtualUsbBus>();
    CPanelLink link(bus);
    link.prepareDevice();
    int passes = 0;
    for (auto _ : state) {
        if (!upload(m, link)) state.SkipWithError("upload failed");
        ++passes;
    }
    report(state, *bus, passes);
}
BENCHMARK(BM_UploadFullPanel)->Unit(benchmark::kMillisecond);

void BM_DownloadFullPanel(benchmark::State& state) {
    CFacilityManager source;
    fullPanel(source);
    auto bus = std::make_shared<CVirtualUsbBus>();
    CPanelLink link(bus);
    link.prepareDevice();
    upload(source, link);
    bus->resetCounters();
    int passes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<CFacilityManager>();
        FacilityBuilder(*m).panel(2, 2);
        state.ResumeTiming();
        if (!download(*m, link)) state.SkipWithError("download failed");
        ++passes;
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    report(state, *bus, passes);
}
BENCHMARK(BM_DownloadFullPanel)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
