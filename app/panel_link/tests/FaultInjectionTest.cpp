// Every operation, with every kind of transfer fault injected at every
// transfer index it makes: once the fault has struck, no operation may
// report success.
#include <gtest/gtest.h>

#include <functional>

#include "panel_link/CPanelLink.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

// Runs operations and notes, for each, its result and whether the fault had struck by its end.
struct Ops {
    CPanelLink& link;
    CVirtualUsbBus& bus;
    std::vector<std::pair<bool, bool>> results;
    void operator()(bool ok) { results.emplace_back(ok, bus.faultStruck()); }
};

using Scenario = std::function<void(Ops&)>;

void writeZones(Ops& op) {
    op(op.link.beginZoneWrite());
    for (int z = 0; z < 250; ++z) op(op.link.writeZone(z, {"zone"}));
    op(op.link.endZoneWrite());
}

void readZones(Ops& op) {
    op(op.link.beginZoneRead());
    CZoneRecord r;
    for (int z = 0; z < 250; ++z) op(op.link.readZone(z, r));
}

// Two loops are enough to cross page and loop boundaries; the rest repeats.
void writeElements(Ops& op) {
    op(op.link.beginElementWrite());
    CElementRecord r;
    r.genericType = 1;
    r.type = 1;
    for (int l = 0; l < 2; ++l)
        for (int a = 0; a < 250; ++a) op(op.link.writeElement(l, a, r));
    op(op.link.endElementWrite());
}

void readElements(Ops& op) {
    op(op.link.beginElementRead());
    CElementRecord r;
    for (int l = 0; l < 2; ++l)
        for (int a = 0; a < 250; ++a) op(op.link.readElement(l, a, r));
}

void writeEventActions(Ops& op) {
    op(op.link.beginEventActionWrite());
    for (int i = 0; i < 40; ++i) op(op.link.writeEventAction(i, {{1, 0, 0, 0}, 1}, {{1, 0, 0, 0}, 0, 5, 2}));
    op(op.link.endEventActionWrite());
}

void readEventActions(Ops& op) {
    op(op.link.beginEventActionRead());
    CEventRecord e;
    CActionRecord a;
    for (int i = 0; i < 40; ++i) op(op.link.readNextEventAction(e, a));
}

void settingsAndInfo(Ops& op) {
    op(op.link.readSettingsPage());
    op(op.link.setPanelAddressByte(33));
    op(op.link.commitSettingsPage());
    CSystemInfoRecord info{"label", "installer", "phone"};
    op(op.link.writeSystemInfo(info));
    op(op.link.readSystemInfo(info));
}

void clockAndLogCount(Ops& op) {
    const std::uint8_t clock[6] = {1, 2, 3, 4, 5, 26};
    op(op.link.setClock(clock));
    int count = 0;
    op(op.link.readLogCount(0, count));
    op(op.link.readLogCount(2, count));
}

void logLines(Ops& op) {
    int count = 0;
    op(op.link.readLogCount(0, count));
    std::uint8_t line[128];
    int length = 0;
    for (int i = 0; i < 3; ++i) op(op.link.readNextLogLine(line, length));
}

void pages(Ops& op) {
    std::uint8_t page[256] = {};
    op(op.link.writePage(0x0300, page));
    op(op.link.readPage(0x0300, page));
    op(op.link.readPage(4, page));
}

// Runs a scenario on a fresh panel with the given faults; returns the bulk transfers it made.
int run(const Scenario& scenario, const CVirtualFaults& faults,
         std::vector<std::pair<bool, bool>>* results) {
    auto bus = std::make_shared<CVirtualUsbBus>("", faults);
    CPanelLink link(bus);
    if (!link.prepareDevice()) return -1;
    Ops ops{link, *bus, {}};
    scenario(ops);
    if (results) *results = ops.results;
    return bus->transfersIn() + bus->transfersOut();
}

struct Named {
    const char* name;
    Scenario scenario;
    // A log line has no fixed length: one more byte after its terminator is
    // indistinguishable from a legitimate reply, so that fault is not asked of it.
    bool fixedLengthReplies = true;
};

TEST(FaultInjection, NoOperationSucceedsOnceAFaultHasStruck) {
    const Named scenarios[] = {{"pages", pages},
                               {"zone write", writeZones},
                               {"zone read", readZones},
                               {"element write", writeElements},
                               {"element read", readElements},
                               {"event-action write", writeEventActions},
                               {"event-action read", readEventActions},
                               {"settings and system info", settingsAndInfo},
                               {"clock and log count", clockAndLogCount},
                               {"log lines", logLines, false}};
    struct Kind {
        CVirtualTransferFault fault;
        int delta;
    } kinds[] = {{CVirtualTransferFault::Error, 1},
                 {CVirtualTransferFault::Timeout, 1},
                 {CVirtualTransferFault::Short, 1},
                 {CVirtualTransferFault::WrongLength, 1},
                 {CVirtualTransferFault::WrongLength, -1}};
    for (const Named& s : scenarios) {
        std::vector<std::pair<bool, bool>> clean;
        const int transfers = run(s.scenario, CVirtualFaults(), &clean);
        ASSERT_GT(transfers, 0) << s.name;
        for (const auto& [ok, struck] : clean) ASSERT_TRUE(ok) << s.name << " fails without a fault";
        int struckRuns = 0;
        for (const Kind& k : kinds)
            for (int n = 1; n <= transfers; ++n) {
                if (k.fault == CVirtualTransferFault::WrongLength && k.delta > 0 && !s.fixedLengthReplies) continue;
                CVirtualFaults faults;
                faults.transfer = k.fault;
                faults.lengthDelta = k.delta;
                faults.atTransfer = n;
                std::vector<std::pair<bool, bool>> results;
                run(s.scenario, faults, &results);
                for (std::size_t i = 0; i < results.size(); ++i)
                    ASSERT_FALSE(results[i].first && results[i].second)
                        << s.name << ": operation " << i << " succeeded after fault " << int(k.fault) << "@" << n;
                struckRuns += !results.empty() && results.back().second;
            }
        EXPECT_GT(struckRuns, transfers) << s.name << ": the faults hardly ever struck";
    }
}

TEST(FaultInjection, DeviceLevelFaultsStopTheConnection) {
    const char* texts[] = {"absent", "refuse-config", "refuse-claim"};
    for (const char* text : texts) {
        CVirtualFaults faults;
        ASSERT_TRUE(CVirtualFaults::parse(text, faults));
        auto bus = std::make_shared<CVirtualUsbBus>("", faults);
        CPanelLink link(bus);
        EXPECT_FALSE(link.prepareDevice(2)) << text;
        std::uint8_t page[256];
        EXPECT_FALSE(link.readPage(4, page)) << text;
        EXPECT_EQ(bus->transfersIn() + bus->transfersOut(), 0) << text;
    }
}

}  // namespace
