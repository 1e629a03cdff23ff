// The page model: where lines, page numbers and breaks fall on A4 and Letter, and that text
// keeps inside the margins.
#include <QBuffer>
#include <QPdfWriter>
#include <cmath>

#include "ReportFixture.h"

namespace {

using S = CReportSwitches;

struct Paper {
    QPageSize::PageSizeId id;
    int linesPerPage;
};

// The page model as the PDF writer sets it up, measured in points.
struct Measure {
    int linesPerPage = 0;
    double lineHeight = 0, leftMargin = 0, pageWidth = 0;
};

Measure measure(const QPageSize& size) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(1200);
    pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
    CReportPage page;
    if (!page.initCDC(pdf)) return {};
    const double pt = 72.0 / 1200;
    return {page.linesPerPage(), page.lineHeight() * pt, page.leftMargin() * pt, page.pageWidth() * pt};
}

class CReportPageTest : public ReportFixture, public ::testing::WithParamInterface<Paper> {};

TEST_P(CReportPageTest, PageNumberOnLine77AndBreakAfterTheLastTextLine) {
    const QPageSize paper(GetParam().id);
    const Measure page = measure(paper);
    ASSERT_EQ(page.linesPerPage, GetParam().linesPerPage);
    const long last = page.linesPerPage - 10;
    b.panel(1).loop(1);
    for (int a = 1; a <= 120; ++a) b.element(a);
    select({1});
    ASSERT_EQ(write(only(&S::loops), paper), CReportPrinter::Result::kPrinted);
    const auto pages = ReportPdfText::boxes(path);
    ASSERT_GE(pages.size(), 3u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        double pageNumberTop = -1;
        for (const PdfWord& w : pages[i].words)
            if (w.text == "Pag.") pageNumberTop = w.yMin;
        ASSERT_GE(pageNumberTop, 0) << "page " << i + 1;
        EXPECT_EQ(std::lround(pageNumberTop / page.lineHeight), 77);
        long lowest = 0;
        for (const PdfWord& w : pages[i].words)
            if (std::abs(w.yMin - pageNumberTop) > 1) lowest = std::max(lowest, std::lround(w.yMin / page.lineHeight));
        // A full page of two-line entries reaches the last text line or the one above it.
        if (i + 1 < pages.size()) {
            EXPECT_GE(lowest, last - 1) << "page " << i + 1;
        }
        EXPECT_LE(lowest, last) << "page " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Papers, CReportPageTest,
                         ::testing::Values(Paper{QPageSize::A4, 85}, Paper{QPageSize::Letter, 80}),
                         [](const auto& info) { return info.param.id == QPageSize::A4 ? "A4" : "Letter"; });

// Long free texts wrap at the right margin instead of running off the page; nothing is lost.
TEST_F(ReportFixture, LongTextsWrapInsideTheMargins) {
    std::u16string longWords;
    for (int i = 0; i < 60; ++i) longWords += u"staircase ";
    b.panel(1).details(u"Installer", u"555", longWords.c_str()).loop(1).element(1, 1, 1);
    m.setElementDescription(1, 1, 1, u"Unbreakable_description_that_is_far_wider_than_any_column_of_the_page_can_hold_at_all");
    m.addZone(1, 1, longWords.c_str());
    select({1});
    ASSERT_EQ(write(CReportSwitches::all()), CReportPrinter::Result::kPrinted);
    const Measure page = measure(QPageSize(QPageSize::A4));
    int staircases = 0;
    std::string pieces;
    for (const PdfPage& p : ReportPdfText::boxes(path))
        for (const PdfWord& w : p.words) {
            EXPECT_LE(w.xMax, page.pageWidth - page.leftMargin + 0.5) << w.text;
            EXPECT_GE(w.xMin, page.leftMargin - 0.5) << w.text;
            staircases += w.text == "staircase";
            if (w.text.rfind("Unbreakable", 0) == 0 || !pieces.empty()) pieces += w.text;
        }
    // The panel header of all five reports, the zone in the three panel reports.
    EXPECT_EQ(staircases, 60 * 8);
    EXPECT_EQ(pieces.find("Unbreakable_description_that_is_far_wider_than_any_column_of_the_page_can_hold_at_all"), 0u)
        << pieces;
}

}  // namespace
