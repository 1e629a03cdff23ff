// The two rule lists of the printed reports.
#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "reports/CReportPrinter.h"
#include "reports/CReportWords.h"

namespace {

constexpr int kRuleText = 107;
constexpr int kDelayText = 320;
constexpr int kEventActionTitle = 226;
constexpr int kActionEventTitle = 227;
constexpr int kDelayColumn = 12;
constexpr int kFirstSideColumn = 4;
constexpr int kSecondSideColumn = 8;

}  // namespace

void CReportPrinter::printEventActionList() { printEventActionRelay(true); }
void CReportPrinter::printActionEventList() { printEventActionRelay(false); }

void CReportPrinter::printEventActionRelay(bool eventFirst) {
    printk("\n CReportPrinter::printEventActionRelay");
    printTitle(eventFirst ? kEventActionTitle : kActionEventTitle);
    // Over the rules themselves: a bound past the rule count would ask for id 0, which a rule may
    // carry, and print it again for every position past the end.
    for (int index = 0; index < m_manager.getNumberEventsInPanel() && !m_page.cancelled(); ++index)
        printRule(m_manager.getEventActionId(index), eventFirst);
}

// The rule's number and delay, then its sides one per line, the second indented under the first.
void CReportPrinter::printRule(int ruleId, bool eventFirst) {
    printField(kRuleText, QString::number(ruleId), 2);
    m_page.column(kDelayColumn);
    printField(kDelayText, QString::number(m_manager.getEventActionDelay(ruleId)), -1);
    m_page.newLine(1);
    const QString event = CReportWords::eventSide(m_manager, ruleId);
    const QString action = CReportWords::actionSide(m_manager, ruleId);
    m_page.column(kFirstSideColumn);
    m_page.printText(eventFirst ? event : action);
    m_page.newLine(1);
    m_page.column(kSecondSideColumn);
    m_page.printText(eventFirst ? action : event);
    m_page.newLine(2);
}
