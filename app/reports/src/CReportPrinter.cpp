#include "reports/CReportPrinter.h"

#include <map>
#include <utility>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "reports/CReportWords.h"

namespace {

enum TextId {
    kLabelText = 25,
    kTypeText = 24,
    kDefaultZoneText = 42,
    kDescriptionHeaderText = 214,
    kLoopsTitle = 217,
    kLoopText = 219,
    kDescriptionText = 220,
    kLoopEndText = 221,
    kZonesTitle = 222,
    kZoneElementsTitle = 223,
    kInstallerText = 224,
    kPhoneText = 225,
    kZoneText = 228,
    kZoneLoopText = 229,
    kAddressText = 230,
};

// Columns of the entries, in character cells from the left margin.
constexpr int kEntryIndent = 2;
constexpr int kTypeColumn = 15;
constexpr int kZoneColumn = 45;
constexpr int kZoneDescriptionColumn = 57;
constexpr int kZoneAddressColumn = 11;
constexpr int kZoneTypeColumn = 25;
constexpr int kZoneElementDescriptionColumn = 56;
constexpr int kZonesDescriptionColumn = 11;

QString qtext(const KvWString* text) { return text ? QString::fromUtf16(text->c_str(), text->Length()) : QString(); }
QString qtext(const KvWString& text) { return QString::fromUtf16(text.c_str(), text.Length()); }

}  // namespace

CReportPrinter::CReportPrinter(const CFacilityManager& manager, const CReportSwitches& switches)
    : m_manager(manager), m_switches(switches) {}

CReportPrinter::Result CReportPrinter::print(QPagedPaintDevice& device, CReportPage::PageCallback onPageDone) {
    printk("\n CReportPrinter::print");
    if (!m_page.initCDC(device)) return Result::kNoRoom;
    if (!m_page.beginDocument(std::move(onPageDone))) return Result::kFailed;
    printFacility();
    m_page.endDocument();
    return m_page.cancelled() ? Result::kCancelled : Result::kPrinted;
}

// The reports in the order they are printed: first those of each chosen panel, then those of the
// whole facility. A new report is a switch, a print method and a row here.

const CReportPrinter::Report CReportPrinter::kPanelReports[] = {
    {&CReportSwitches::loops, &CReportPrinter::printLoopInfo},
    {&CReportSwitches::zones, &CReportPrinter::printZoneInfo},
    {&CReportSwitches::nonEmptyZones, &CReportPrinter::printZoneElementRelay},
};

const CReportPrinter::Report CReportPrinter::kFacilityReports[] = {
    {&CReportSwitches::eventAction, &CReportPrinter::printEventActionList},
    {&CReportSwitches::actionEvent, &CReportPrinter::printActionEventList},
};

void CReportPrinter::printFacility() {
    printk("\n CReportPrinter::printFacility");
    for (int index = 0; index < m_manager.getNumberOfPanels() && !m_page.cancelled(); ++index) {
        const int id = m_manager.getPanelId(index);
        if (!m_manager.getPanelSelected(id)) continue;
        m_panel = id;
        for (const Report& report : kPanelReports)
            if (m_switches.*report.on && !m_page.cancelled()) (this->*report.print)();
    }
    for (const Report& report : kFacilityReports)
        if (m_switches.*report.on && !m_page.cancelled()) (this->*report.print)();
}

// A label, one space, and the value as free text.
void CReportPrinter::printField(int labelId, const QString& value, int pad) {
    m_page.printWord(CReportWords::text(labelId), 1);
    if (pad == -1)
        m_page.printText(value);
    else
        m_page.printWord(value, pad);
}

void CReportPrinter::printGeneralInfo() {
    printk("\n CReportPrinter::printGeneralInfo");
    m_page.StartPage();
    printField(kDescriptionHeaderText, qtext(m_manager.getPanelDescription(m_panel)), -1);
    m_page.newLine(1);
    printField(kInstallerText, qtext(m_manager.getPanelInstaller(m_panel)), -1);
    m_page.newLine(1);
    printField(kPhoneText, qtext(m_manager.getPanelPhone(m_panel)), -1);
    m_page.newLine(1);
    printField(kLabelText, qtext(m_manager.getPanelLabel(m_panel)), -1);
    m_page.newLine(1);
    printField(kAddressText, QString::number(m_manager.getPanelAddress(m_panel)), -1);
    m_page.newLine(3);
}

void CReportPrinter::printTitle(int textId) {
    printGeneralInfo();
    m_page.printWord(CReportWords::text(textId), -1);
    m_page.printLine();
    m_page.newLine(3);
}

// ---- loops ----

void CReportPrinter::printLoopInfo() {
    printk("\n CReportPrinter::printLoopInfo");
    printTitle(kLoopsTitle);
    for (int index = 0; index < m_manager.getNumOfLoops(m_panel) && !m_page.cancelled(); ++index)
        printLoop(m_manager.getLoopAddress(m_panel, index));
}

void CReportPrinter::printLoop(int loop) {
    const int count = m_manager.getNumberOfElementsInLoop(m_panel, loop);
    m_page.printWord(CReportWords::text(kLoopText), 1);
    m_page.printWord(QString::number(loop), 2);
    m_page.printWord(QStringLiteral("(%1)").arg(count), -1);
    m_page.newLine(2);
    for (int index = 0; index < count && !m_page.cancelled(); ++index)
        printElementEntry(loop, m_manager.getElementAddress(m_panel, loop, index));
    m_page.newLine(1);
    printField(kLoopEndText, QString::number(count), -1);
    m_page.newLine(3);
}

// Two lines: address, type and zone with the zone's description; then the element's own.
void CReportPrinter::printElementEntry(int loop, int address) {
    const int zone = m_manager.getElementZone(m_panel, loop, address);
    m_page.column(kEntryIndent);
    printField(kAddressText, QString::number(address), 2);
    m_page.column(kTypeColumn);
    printField(kTypeText, CReportWords::typeName(m_manager.getElementType(m_panel, loop, address)), 2);
    m_page.column(kZoneColumn);
    printField(kZoneText, QString::number(zone), 2);
    m_page.column(kZoneDescriptionColumn);
    printField(kDescriptionText, zone ? qtext(m_manager.getZoneDescription(zone)) : QString(), -1);
    m_page.newLine(1);
    m_page.column(kTypeColumn);
    printField(kDescriptionText, qtext(m_manager.getElementDescription(m_panel, loop, address)), -1);
    m_page.newLine(1);
}

// ---- zones ----

// Zones 1..the panel's zone count that hold an element and were given a description of their own.
std::vector<int> CReportPrinter::describedZonesInUse() const {
    std::map<int, int> members;
    for (int li = 0; li < m_manager.getNumOfLoops(m_panel); ++li) {
        const int loop = m_manager.getLoopAddress(m_panel, li);
        for (int ei = 0; ei < m_manager.getNumberOfElementsInLoop(m_panel, loop); ++ei)
            ++members[m_manager.getElementZone(m_panel, loop, m_manager.getElementAddress(m_panel, loop, ei))];
    }
    const QString defaultText = CReportWords::text(kDefaultZoneText);
    std::vector<int> zones;
    for (int zone = 1; zone <= m_manager.getNumOfZones(m_panel); ++zone) {
        const KvWString* description = m_manager.getZoneDescription(zone);
        if (members.count(zone) && description && qtext(description) != defaultText) zones.push_back(zone);
    }
    return zones;
}

void CReportPrinter::printZoneInfo() {
    printk("\n CReportPrinter::printZoneInfo");
    printTitle(kZonesTitle);
    m_zones = describedZonesInUse();
    for (int zone : m_zones) {
        if (m_page.cancelled()) return;
        printField(kZoneText, QString::number(zone), 2);
        m_page.column(kZonesDescriptionColumn);
        printField(kDescriptionText, qtext(m_manager.getZoneDescription(zone)), -1);
        m_page.newLine(3);
    }
}

void CReportPrinter::printZoneElementRelay() {
    printk("\n CReportPrinter::printZoneElementRelay");
    printTitle(kZoneElementsTitle);
    std::map<int, std::vector<std::pair<int, int>>> members;  // zone -> (loop, address), in list order
    for (int li = 0; li < m_manager.getNumOfLoops(m_panel); ++li) {
        const int loop = m_manager.getLoopAddress(m_panel, li);
        for (int ei = 0; ei < m_manager.getNumberOfElementsInLoop(m_panel, loop); ++ei) {
            const int address = m_manager.getElementAddress(m_panel, loop, ei);
            members[m_manager.getElementZone(m_panel, loop, address)].emplace_back(loop, address);
        }
    }
    for (int zone : describedZonesInUse()) {
        if (m_page.cancelled()) return;
        printField(kZoneText, QString::number(zone), 2);
        m_page.column(kZonesDescriptionColumn);
        printField(kDescriptionText, qtext(m_manager.getZoneDescription(zone)), -1);
        m_page.newLine(1);
        for (const auto& [loop, address] : members[zone]) printZoneElement(loop, address);
        m_page.newLine(1);
    }
}

void CReportPrinter::printZoneElement(int loop, int address) {
    m_page.column(kEntryIndent);
    printField(kZoneLoopText, QString::number(loop), 2);
    m_page.column(kZoneAddressColumn);
    printField(kAddressText, QString::number(address), 2);
    m_page.column(kZoneTypeColumn);
    printField(kTypeText, CReportWords::typeName(m_manager.getElementType(m_panel, loop, address)), 2);
    m_page.column(kZoneElementDescriptionColumn);
    printField(kDescriptionText, qtext(m_manager.getElementDescription(m_panel, loop, address)), -1);
    m_page.newLine(1);
}
