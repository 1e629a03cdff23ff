// CReportPdf: the printed reports as a PDF file.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <functional>

#include "reports/CReportPrinter.h"

class CReportPdf {
public:
    // A4, or Letter where the user's locale measures in US units.
    static QPageSize defaultPageSize();

    // Prints the job into a PDF document titled `title` and saves it as `path`. The document is
    // made in memory and the file replaced only once it is complete (written beside it, then
    // renamed), so a cancelled or failed job leaves no new file and an existing one as it was.
    // kNotSaved when the file cannot be written; the other results as CReportPrinter::print.
    static CReportPrinter::Result write(const CFacilityManager& manager, const CReportSwitches& switches,
                                        const QString& path, const QString& title,
                                        const QPageSize& pageSize = defaultPageSize(),
                                        CReportPage::PageCallback onPageDone = {});

    // The same for any job: `print` lays it out on a PDF document titled `title` with sheets of
    // `layout`, and the file is replaced only when it returns kPrinted.
    static CReportPrinter::Result save(const QString& path, const QString& title, const QPageLayout& layout,
                                       const std::function<CReportPrinter::Result(QPagedPaintDevice&)>& print);
};
