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
#include "ui/CLanguage.h"
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
    EXPECT_EQ(dialog.differences(), "Panel 1, loop 1, element 2 changed: Zone 2 -> 1");
    // The latest upload holds the facility as it is; the first one does not.
    dialog.select(1);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kEqualText));
    dialog.select(0);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), "Panel 1, loop 1, element 2 changed: Zone 2 -> 1");
    dialog.select(-1);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kChooseTwoText));
}

// The differences are written in the words of the string table, rule sides and element types by
// their names.
TEST_F(CHistoryDlgTest, DifferencesInTheUsersLanguage) {
    FacilityBuilder(facility).rule(3, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 2, 0, 0, 4});
    addUpload();
    facility.addElementToZone(1, 1, 2, 1);
    facility.delEventActionItem(3);
    FacilityBuilder(facility).rule(3, 30, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 1, 1, 2, 0, 0, 0, 5});
    facility.setElementType(1, 1, 1, 4);
    addUpload();
    ASSERT_TRUE(CLanguage::select("es", CLanguage::shareFolder()));
    CHistoryDlg dialog(file, facility);
    dialog.select(0, 1);
    dialog.compare();
    const QStringList lines = dialog.differences().split('\n');
    ASSERT_TRUE(CLanguage::select("en", CLanguage::shareFolder()));
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("Cambió Central 1, lazo 1, elemento 1: Tipo Detector óptico -> Pulsador, ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "Cambió Central 1, lazo 1, elemento 2: Zona 2 -> 1");
    // Rules are numbered afresh in each entry's snapshot.
    EXPECT_EQ(lines[2], "Cambió Regla 1: Acción Activar todas las salidas de la zona (Central 1, zona 2) -> "
                        "Activar salida (Central 1, lazo 1, elemento 2), Retardo 0 -> 30");
}

TEST_F(CHistoryDlgTest, NoHistoryYetSaysSoAndComparesNothing) {
    CHistoryDlg dialog(file, facility);
    EXPECT_EQ(dialog.entries(), 0);
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kNoHistoryText));
    EXPECT_FALSE(dialog.findChild<QPushButton*>("compare")->isEnabled());
}

}  // namespace
