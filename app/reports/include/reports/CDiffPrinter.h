// CDiffPrinter: a difference of two facilities on paper or as a PDF, through the page model of
// the reports.
//
// The first page opens with the title, the heading that says what was compared and a rule;
// then comes one change a paragraph, a long one wrapped onto the lines below it. Pages break
// and are numbered as in the reports.
#pragma once

#include <QPageSize>
#include <QString>
#include <QStringList>

#include "reports/CReportPage.h"
#include "reports/CReportPrinter.h"

class QPagedPaintDevice;

class CDiffPrinter {
public:
    using Result = CReportPrinter::Result;

    // `lines` are the changes as shown (or the one line that says there are none).
    CDiffPrinter(QString title, QString heading, QStringList lines)
        : m_title(std::move(title)), m_heading(std::move(heading)), m_lines(std::move(lines)) {}

    Result print(QPagedPaintDevice& device, CReportPage::PageCallback onPageDone = {});
    // The same as a PDF file titled with the title, replaced whole or not at all.
    Result pdf(const QString& path, const QPageSize& pageSize, CReportPage::PageCallback onPageDone = {});

private:
    QString m_title;
    QString m_heading;
    QStringList m_lines;
    CReportPage m_page;
};
