// ReportFixture: a facility, the test string table ("T<n>" for text n) and a PDF of its reports
// read back as a reader sees it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FacilityBuilder.h"
#include "ReportPdfText.h"
#include "TestStrings.h"
#include "model/CFacilityManager.h"
#include "reports/CReportPdf.h"

class ReportFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TestStrings::install());
        ReportPdfText::ensureApplication();
        path = ReportPdfText::tempPath(::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                       std::string(".pdf"));
        std::remove(path.c_str());
    }
    void TearDown() override { std::filesystem::remove_all(std::filesystem::path(ReportPdfText::tempPath("")).parent_path()); }

    void select(std::initializer_list<int> ids) {
        for (int id : ids) m.setPanelSelected(id, true);
    }
    CReportPrinter::Result write(const CReportSwitches& switches,
                                 const QPageSize& size = QPageSize(QPageSize::A4),
                                 CReportPage::PageCallback onPageDone = {}) {
        return CReportPdf::write(m, switches, QString::fromStdString(path), QStringLiteral("site.kvg"), size,
                                 std::move(onPageDone));
    }
    // The pages of the reports as `pdftotext -layout` gives them.
    std::vector<std::string> pages(const CReportSwitches& switches,
                                   const QPageSize& size = QPageSize(QPageSize::A4)) {
        EXPECT_EQ(write(switches, size), CReportPrinter::Result::kPrinted);
        return ReportPdfText::layoutPages(path);
    }
    static std::string joined(const std::vector<std::string>& pages) {
        std::string all;
        for (const std::string& p : pages) all += p;
        return all;
    }
    static CReportSwitches only(bool CReportSwitches::*which) {
        CReportSwitches s;
        s.*which = true;
        return s;
    }

    CFacilityManager m;
    FacilityBuilder b{m};
    std::string path;
};
