// CReportPrinter: lays the facility's reports out on a paged paint device.
//
// For each panel whose selected mark is set, in panel order: the loops report, the described
// zones report and the zones-with-elements report, each as switched on, each starting on a page
// of its own with the panel's header. Then, for the whole facility, the rules listed event side
// first and action side first, each headed by the last chosen panel. Page numbers run on
// through the whole document. The manager is only read, on the calling thread.
//
// Each report is one print method that opens with printTitle (a fresh page, the panel header,
// the title and a rule) and writes its entries with printField and the page primitives; the
// table in CReportPrinter.cpp gives the order and the switch of each.
#pragma once

#include <QString>
#include <vector>

#include "reports/CReportPage.h"
#include "reports/CReportSwitches.h"

class CFacilityManager;
class QPagedPaintDevice;

class CReportPrinter {
public:
    enum class Result {
        kPrinted,
        kNoRoom,     // the page holds no line: nothing was started on the device
        kCancelled,  // the page callback said stop; what the device received is incomplete
        kFailed,     // the device would not start a document
        kNotSaved,   // the document was made but its file could not be written
    };
    static constexpr int kNoRoomText = 218;

    CReportPrinter(const CFacilityManager& manager, const CReportSwitches& switches);

    // Prints the whole job on `device`; `onPageDone` hears of every finished page and may
    // cancel. With every switch off the document still starts and ends, with one empty page.
    Result print(QPagedPaintDevice& device, CReportPage::PageCallback onPageDone = {});

    // The page model of the last job, for its measurements.
    const CReportPage& page() const { return m_page; }

private:
    struct Report {
        bool CReportSwitches::*on;
        void (CReportPrinter::*print)();
    };
    static const Report kPanelReports[];
    static const Report kFacilityReports[];

    void printFacility();
    void printGeneralInfo();
    void printTitle(int textId);
    void printLoopInfo();
    void printLoop(int loop);
    void printElementEntry(int loop, int address);
    void printZoneInfo();
    void printZoneElementRelay();
    void printZoneElement(int loop, int address);
    void printEventActionList();
    void printActionEventList();
    void printEventActionRelay(bool eventFirst);
    void printRule(int ruleId, bool eventFirst);
    std::vector<int> describedZonesInUse() const;
    void printField(int labelId, const QString& value, int pad);

    const CFacilityManager& m_manager;
    CReportSwitches m_switches;
    int m_panel = 0;
    std::vector<int> m_zones;  // the zones the zones report listed, for the current panel
    CReportPage m_page;
};
