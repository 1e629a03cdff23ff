#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include "UiTestKit.h"
#include "ui/CSelectPanels.h"

namespace {

class CSelectPanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int id = 1; id <= 3; ++id) facility.addPanel(id, id + 10, KvWString(u"Panel"));
    }
    void choose(CSelectPanels& dialog, std::initializer_list<int> rows) {
        auto* list = dialog.findChild<QListWidget*>("1177");
        ASSERT_NE(list, nullptr);
        for (int row : rows) list->item(row)->setSelected(true);
    }
    void press(CSelectPanels& dialog, const char* button) { dialog.findChild<QPushButton*>(button)->click(); }
    std::vector<int> marked() {
        std::vector<int> ids;
        for (int i = 0; i < facility.getNumberOfPanels(); ++i)
            if (facility.getPanelSelected(facility.getPanelId(i))) ids.push_back(facility.getPanelId(i));
        return ids;
    }

    CFacilityManager facility;
    ScriptedUiPrompt prompt;
};

}  // namespace

TEST_F(CSelectPanelsTest, TwoPanelsWhereOneIsAskedAreRefusedAndTheDialogStays) {
    CSelectPanels dialog(facility, false, prompt);
    dialog.show();
    choose(dialog, {0, 2});
    press(dialog, "1");
    EXPECT_EQ(prompt.messages(), std::vector<int>({261}));
    EXPECT_TRUE(dialog.isVisible());

    dialog.findChild<QListWidget*>("1177")->item(0)->setSelected(false);
    press(dialog, "1");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(marked(), std::vector<int>({3}));
}

TEST_F(CSelectPanelsTest, NothingChosenIsRefusedInBothModes) {
    for (bool several : {false, true}) {
        ScriptedUiPrompt local;
        CSelectPanels dialog(facility, several, local);
        dialog.show();
        press(dialog, "1");
        EXPECT_EQ(local.messages(), std::vector<int>({287}));
        EXPECT_TRUE(dialog.isVisible());
    }
}

TEST_F(CSelectPanelsTest, SeveralAllowedKeepsEveryChosenMarkInPanelOrder) {
    CSelectPanels dialog(facility, true, prompt);
    dialog.show();
    choose(dialog, {2, 0});
    press(dialog, "1");
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(marked(), std::vector<int>({1, 3}));
}

TEST_F(CSelectPanelsTest, CancelLeavesNoPanelMarked) {
    facility.setPanelSelected(2, true);
    CSelectPanels dialog(facility, true, prompt);
    dialog.show();
    choose(dialog, {0});
    press(dialog, "2");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(marked().empty());
    EXPECT_TRUE(prompt.messages().empty());
}
