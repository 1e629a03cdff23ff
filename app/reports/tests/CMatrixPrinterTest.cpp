// The printed matrix read back with pdftotext: words, delays, and the cut into sheets.
#include "ReportFixture.h"
#include "model/CCauseEffectMatrix.h"
#include "reports/CMatrixPrinter.h"
#include "reports/CReportWords.h"

namespace {

using Result = CReportPrinter::Result;

std::string word(int id) { return CReportWords::text(id).toStdString(); }

class CMatrixPrinterTest : public ReportFixture {
protected:
    Result print(const QPageSize& size = QPageSize(QPageSize::A4)) {
        matrix = CCauseEffectMatrix::build(m);
        CMatrixPrinter printer(m, matrix);
        const Result r = printer.pdf(QString::fromStdString(path), QStringLiteral("site.kvg"), size);
        down = printer.pagesDown();
        across = printer.pagesAcross();
        rowsPerPage = printer.rowsPerPage();
        return r;
    }
    static bool onPage(const PdfPage& page, const std::string& word) {
        for (const PdfWord& w : page.words)
            if (w.text == word) return true;
        return false;
    }
    static bool follows(const PdfPage& page, const std::string& first, const std::string& second) {
        for (std::size_t i = 0; i + 1 < page.words.size(); ++i)
            if (page.words[i].text == first && page.words[i + 1].text == second) return true;
        return false;
    }

    CCauseEffectMatrix matrix;
    int down = 0, across = 0, rowsPerPage = 0;
};

TEST_F(CMatrixPrinterTest, OneSheetWithCausesEffectsAndDelays) {
    b.panel(1).loop(1).element(1).element(10, 10).zones(9);
    b.panel(2).loop(1).element(1).zones(3);
    b.rule(1, 0, {0, 1, 1, 1, 0, 0, 0, 5}, {0, 1, 1, 10, 0, 0, 0, 5});
    b.rule(2, 30, {0, 1, 1, 1, 0, 0, 0, 5}, {0, 2, 0, 0, 3, 0, 0, 4});
    b.rule(3, 5, {0, 2, 1, 1, 0, 0, 0, 5}, {0, 1, 1, 10, 0, 0, 0, 5});
    b.rule(4, 10, {1, 1, 0, 0, 0, 3, 9, 6}, {0, 2, 0, 0, 0, 0, 0, 1});
    b.rule(5, 45, {0, 1, 1, 1, 0, 0, 0, 5}, {0, 1, 1, 10, 0, 0, 0, 5});
    ASSERT_EQ(print(), Result::kPrinted);
    const auto pages = ReportPdfText::layoutPages(path);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& p = pages[0];
    EXPECT_TRUE(ReportPdfText::has(p, word(520) + " \u2013 site.kvg")) << p;
    // Causes in words, a zone range as one range, and the panels they belong to.
    EXPECT_TRUE(ReportPdfText::has(p, "T113 T151 1 T152 1 T154 1")) << p;
    EXPECT_TRUE(ReportPdfText::has(p, "T151 1 Panel 1 T162 T151 1 T159 3-9")) << p;
    EXPECT_TRUE(ReportPdfText::has(p, "T151 2 Panel 2 T113 T151 2 T152 1 T154 1")) << p;
    // Delays, two rules on one place in list order.
    EXPECT_TRUE(ReportPdfText::has(p, "0 / 45")) << p;
    EXPECT_TRUE(ReportPdfText::has(p, "30")) << p;
    EXPECT_TRUE(ReportPdfText::has(p, "Pag. 1")) << p;
    // Nothing is cut: over one column a panel gives way to its address.
    EXPECT_EQ(p.find("\u2026"), std::string::npos) << p;
    // The effects, written upwards, are there as words.
    const auto boxes = ReportPdfText::boxes(path);
    EXPECT_TRUE(onPage(boxes[0], "T153")) << "the element word of an effect";
    EXPECT_TRUE(onPage(boxes[0], "T130")) << "the kind of panel 2's effect";
}

// 100 causes against 60 effects: sheets down and across, each with its own headers.
TEST_F(CMatrixPrinterTest, LargeMatrixIsCutDownAndAcrossWithHeadersOnEverySheet) {
    b.panel(1).loop(1);
    for (int a = 1; a <= 160; ++a) b.element(a);
    for (int r = 1; r <= 100; ++r) b.rule(r, r % 60, {0, 1, 1, r, 0, 0, 0, 5}, {0, 1, 1, 101 + r % 60, 0, 0, 0, 5});
    ASSERT_EQ(print(QPageSize(QPageSize::A4)), Result::kPrinted);
    ASSERT_GT(down, 1);
    ASSERT_GT(across, 1);
    const auto pages = ReportPdfText::layoutPages(path);
    ASSERT_EQ(static_cast<int>(pages.size()), down * across);
    const auto boxes = ReportPdfText::boxes(path);
    for (int d = 0; d < down; ++d)
        for (int a = 0; a < across; ++a) {
            const int page = d * across + a;
            const std::string& p = pages[static_cast<std::size_t>(page)];
            EXPECT_TRUE(ReportPdfText::has(p, word(521))) << page;
            EXPECT_TRUE(ReportPdfText::has(p, "Pag. " + std::to_string(page + 1))) << page;
            // The first cause of the band stands on every sheet of the band.
            const std::string firstCause = std::to_string(1 + d * rowsPerPage);
            EXPECT_TRUE(follows(boxes[static_cast<std::size_t>(page)], "T154", firstCause)) << page << p;
            // The first effect (element 101) heads every sheet of the first column strip only.
            EXPECT_EQ(onPage(boxes[static_cast<std::size_t>(page)], "101"), a == 0) << page;
        }
}

TEST_F(CMatrixPrinterTest, NoRulesIsOneSheetThatSaysSo) {
    b.panel(1);
    ASSERT_EQ(print(), Result::kPrinted);
    const auto pages = ReportPdfText::layoutPages(path);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(ReportPdfText::has(pages[0], word(523))) << pages[0];
    EXPECT_FALSE(ReportPdfText::has(pages[0], word(521))) << pages[0];
}

TEST_F(CMatrixPrinterTest, PaperWithoutRoomForACellPrintsNothing) {
    b.panel(1).loop(1).element(1).element(2, 10);
    b.rule(1, 0, {0, 1, 1, 1, 0, 0, 0, 5}, {0, 1, 1, 2, 0, 0, 0, 5});
    EXPECT_EQ(print(QPageSize(QSizeF(120, 80), QPageSize::Millimeter)), Result::kNoRoom);
    EXPECT_FALSE(ReportPdfText::exists(path));
}

}  // namespace
