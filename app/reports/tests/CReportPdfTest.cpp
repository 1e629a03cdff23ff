// The PDF file: whole or not at all, its title, paper that holds no line.
#include <fstream>
#include <sstream>

#include "ReportFixture.h"

namespace {

using S = CReportSwitches;
using Result = CReportPrinter::Result;

class CReportPdfTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        b.panel(1).loop(1);
        for (int a = 1; a <= 250; ++a) b.element(a);
        select({1});
    }
    static std::string content(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(CReportPdfTest, ProgressCountsEveryPageAndCancelLeavesTheOldFile) {
    std::vector<int> seen;
    ASSERT_EQ(write(only(&S::loops), QPageSize(QPageSize::A4), [&](int done) {
                  seen.push_back(done);
                  return true;
              }),
              Result::kPrinted);
    const auto pages = ReportPdfText::layoutPages(path);
    ASSERT_GT(pages.size(), 3u);
    ASSERT_EQ(seen.size(), pages.size());
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], static_cast<int>(i + 1));

    const std::string before = content(path);
    int calls = 0;
    EXPECT_EQ(write(CReportSwitches::all(), QPageSize(QPageSize::A4), [&](int done) {
                  ++calls;
                  return done < 2;
              }),
              Result::kCancelled);
    EXPECT_EQ(calls, 2) << "nothing more is laid out once cancelled";
    EXPECT_EQ(content(path), before);
}

TEST_F(CReportPdfTest, CancelledReportLeavesNoFile) {
    EXPECT_EQ(write(only(&S::loops), QPageSize(QPageSize::A4), [](int) { return false; }), Result::kCancelled);
    EXPECT_FALSE(ReportPdfText::exists(path));
}

TEST_F(CReportPdfTest, UnwritableFolderIsReportedAndWritesNothing) {
    path = "/proc/cairn-no-such/report.pdf";
    EXPECT_EQ(write(only(&S::loops)), Result::kNotSaved);
    EXPECT_FALSE(ReportPdfText::exists(path));
}

TEST_F(CReportPdfTest, PaperWithoutRoomForALinePrintsNothing) {
    const QPageSize sliver(QSizeF(100, 2), QPageSize::Millimeter);
    EXPECT_EQ(write(only(&S::loops), sliver), Result::kNoRoom);
    EXPECT_FALSE(ReportPdfText::exists(path));
}

TEST_F(CReportPdfTest, TitleIsTheFacilityFileName) {
    ASSERT_EQ(write(S{}), Result::kPrinted);
    FILE* pipe = ::popen(("pdfinfo '" + path + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512];
    std::string info;
    while (std::fgets(line, sizeof line, pipe)) info += line;
    ::pclose(pipe);
    EXPECT_TRUE(ReportPdfText::has(info, "Title: site.kvg")) << info;
    EXPECT_TRUE(ReportPdfText::has(info, "Pages: 1\n")) << info;
}

}  // namespace
