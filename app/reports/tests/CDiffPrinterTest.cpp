// A facility difference on paper: title, heading, one change a paragraph, pages numbered on;
// the PDF whole or not at all.
#include "ReportFixture.h"
#include "reports/CDiffPrinter.h"

namespace {

using Result = CReportPrinter::Result;

class CDiffPrinterTest : public ReportFixture {
protected:
    // The words avoid "ff", which the PDF keeps as one ligature glyph.
    Result pdf(const QStringList& lines, CReportPage::PageCallback onPageDone = {}) {
        CDiffPrinter job("Site history", "Changes from upload 1 to upload 2", lines);
        return job.pdf(QString::fromStdString(path), QPageSize(QPageSize::A4), std::move(onPageDone));
    }
};

TEST_F(CDiffPrinterTest, HeadingThenEveryChangeWhollyAndInOrder) {
    const QString longLine = "Rule 12 changed: Action Activate all outputs of the zone (Panel 1, zone 2) -> "
                             "Activate output (Panel 1, loop 1, element 2), Delay 0 -> 30, and more words to "
                             "run past the right margin of the sheet for sure";
    ASSERT_EQ(pdf({"Panel 1, loop 1, element 2 changed: Zone 2 -> 1", longLine, "Panel 3 removed"}), Result::kPrinted);
    const auto pages = ReportPdfText::layoutPages(path);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& page = pages[0];
    const std::size_t title = ReportPdfText::find(page, "Site history");
    const std::size_t heading = ReportPdfText::find(page, "Changes from upload 1 to upload 2");
    const std::size_t first = ReportPdfText::find(page, "Panel 1, loop 1, element 2 changed: Zone 2 -> 1");
    const std::size_t wrapped = ReportPdfText::find(page, longLine.toStdString());
    const std::size_t last = ReportPdfText::find(page, "Panel 3 removed");
    ASSERT_NE(wrapped, std::string::npos) << page;
    EXPECT_LT(title, heading);
    EXPECT_LT(heading, first);
    EXPECT_LT(first, wrapped);
    EXPECT_LT(wrapped, last) << page;
    EXPECT_TRUE(ReportPdfText::has(page, "Pag. 1"));
    EXPECT_NE(ReportPdfText::info(path).find("Site history"), std::string::npos) << "the document's title";
    // The long change really was wrapped, not cut at the margin.
    const std::vector<PdfPage> boxes = ReportPdfText::boxes(path);
    for (const PdfWord& word : boxes.at(0).words) EXPECT_LT(word.xMax, boxes[0].width) << word.text;
}

TEST_F(CDiffPrinterTest, ManyChangesRunOnOntoNumberedPagesWithoutANewHeading) {
    QStringList lines;
    for (int i = 1; i <= 120; ++i) lines << QStringLiteral("Panel 1, loop 1, element %1 removed").arg(i);
    ASSERT_EQ(pdf(lines), Result::kPrinted);
    const auto pages = ReportPdfText::layoutPages(path);
    ASSERT_GE(pages.size(), 3u);
    const std::string all = joined(pages);
    for (int i : {1, 60, 120})
        EXPECT_EQ(ReportPdfText::count(all, "element " + std::to_string(i) + " removed"), 1) << i;
    EXPECT_EQ(ReportPdfText::count(all, "Changes from"), 1);
    EXPECT_TRUE(ReportPdfText::has(pages[1], "Pag. 2"));
}

TEST_F(CDiffPrinterTest, CancelledOrUnwritableLeavesNoFile) {
    EXPECT_EQ(pdf({"Panel 1 removed"}, [](int) { return false; }), Result::kCancelled);
    EXPECT_FALSE(ReportPdfText::exists(path));
    path = "/proc/cairn-no-such/history.pdf";
    EXPECT_EQ(pdf({"Panel 1 removed"}), Result::kNotSaved);
    EXPECT_FALSE(ReportPdfText::exists(path));
}

}  // namespace
