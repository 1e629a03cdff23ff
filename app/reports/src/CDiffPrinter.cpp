#include "reports/CDiffPrinter.h"

#include <QPageLayout>

#include "basalt/KvTrace.h"
#include "reports/CReportPdf.h"

CDiffPrinter::Result CDiffPrinter::print(QPagedPaintDevice& device, CReportPage::PageCallback onPageDone) {
    printk("\n CDiffPrinter::print");
    if (!m_page.initCDC(device)) return Result::kNoRoom;
    if (!m_page.beginDocument(std::move(onPageDone))) return Result::kFailed;
    m_page.StartPage();
    m_page.printWord(m_title, -1);
    m_page.newLine(2);
    m_page.printText(m_heading);
    m_page.printLine();
    m_page.newLine(3);
    for (const QString& line : m_lines) {
        if (m_page.cancelled()) break;
        m_page.printText(line);
        m_page.newLine(2);
    }
    m_page.endDocument();
    return m_page.cancelled() ? Result::kCancelled : Result::kPrinted;
}

CDiffPrinter::Result CDiffPrinter::pdf(const QString& path, const QPageSize& pageSize,
                                       CReportPage::PageCallback onPageDone) {
    printk("\n CDiffPrinter::pdf");
    // The whole sheet is the printable area, as for the reports.
    return CReportPdf::save(path, m_title, QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)),
                            [&](QPagedPaintDevice& device) { return print(device, std::move(onPageDone)); });
}
