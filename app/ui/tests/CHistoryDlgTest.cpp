// The site history window: its entries as the folder holds them, and the differences between
// two of them or between one and the facility now.
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "ui/CHistoryDlg.h"
#include "ui/UiText.h"

namespace {

class CHistoryDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = toKvWString(dir.filePath("site.kvg"));
        FacilityBuilder(facility).panel(1, 4, u"Lobby").loop(1).element(1, 1, 1).element(2, 1, 2).zones(2);
    }
    // An upload of panel 1 as the facility is now.
    void addUpload() {
        CFacilityManager sent;
        std::string problem;
        ASSERT_TRUE(CPanelSnapshot::fromFacility(facility, 1, sent, problem)) << problem;
        CHistoryRecord record;
        record.panelId = 1;
        record.panelAddress = 4;
        record.label = u"Lobby";
        record.user = "installer";
        record.host = "laptop";
        ASSERT_TRUE(CSiteHistory(file).add(record, sent, problem)) << problem;
    }

    QTemporaryDir dir;
    KvWString file;
    CFacilityManager facility;
};

TEST_F(CHistoryDlgTest, ComparesTwoEntriesOrOneWithTheFacilityNow) {
    addUpload();
    facility.addElementToZone(1, 1, 2, 1);
    addUpload();
    CHistoryDlg dialog(file, facility);
    ASSERT_EQ(dialog.entries(), 2);
    auto* list = dialog.findChild<QTableWidget*>("entries");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), loadText(503));
    EXPECT_EQ(list->item(0, 1)->text(), loadText(508));
    EXPECT_EQ(list->item(1, 4)->text(), "Lobby");
    EXPECT_EQ(list->item(1, 5)->text(), "installer@laptop");
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kChooseTwoText));

    dialog.select(0, 1);
    dialog.findChild<QPushButton*>("compare")->click();
    EXPECT_EQ(dialog.differences(), "panel 1, loop 1, element 2 changed: zone 2 -> 1");
    // The latest upload holds the facility as it is; the first one does not.
    dialog.select(1);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kEqualText));
    dialog.select(0);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), "panel 1, loop 1, element 2 changed: zone 2 -> 1");
    dialog.select(-1);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kChooseTwoText));
}

TEST_F(CHistoryDlgTest, NoHistoryYetSaysSoAndComparesNothing) {
    CHistoryDlg dialog(file, facility);
    EXPECT_EQ(dialog.entries(), 0);
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kNoHistoryText));
    EXPECT_FALSE(dialog.findChild<QPushButton*>("compare")->isEnabled());
}

}  // namespace
