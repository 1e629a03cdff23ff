// The matrix window on its own: cells, words, filters, and what clicks ask of the editor.
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "FacilityBuilder.h"
#include "ui/CCauseEffectView.h"
#include "ui/CMatrixTableModel.h"
#include "ui/CVerticalTextHeader.h"

namespace {

// Detector 1/1/1 drives an output and a zone of panel 2; detector 2/1/1 drives the same
// output; zones 3-9 of panel 1 drive panel 2 as a whole.
class CCauseEffectViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        FacilityBuilder b(facility);
        b.panel(1, 1, u"Lobby").loop(1).element(1).element(10, 10).zones(9);
        b.panel(2, 2, u"Annex").loop(1).element(1).zones(3);
        b.rule(1, 0, {0, 1, 1, 1, 0, 0, 0, 5}, {0, 1, 1, 10, 0, 0, 0, 5});
        b.rule(2, 30, {0, 1, 1, 1, 0, 0, 0, 5}, {0, 2, 0, 0, 3, 0, 0, 4});
        b.rule(3, 5, {0, 2, 1, 1, 0, 0, 0, 5}, {0, 1, 1, 10, 0, 0, 0, 5});
        b.rule(4, 10, {0, 1, 0, 0, 0, 3, 9, 6}, {0, 2, 0, 0, 0, 0, 0, 1});
        view = std::make_unique<CCauseEffectView>(facility);
        view->show();
    }
    QTableView& table() { return view->table(); }
    CMatrixTableModel& model() { return view->model(); }
    QString cell(int rule) { return model().indexOfRule(rule).data().toString(); }
    void filter(int panelRow, const QString& text) {
        view->findChild<QComboBox*>("panelFilter")->setCurrentIndex(panelRow);
        view->findChild<QLineEdit*>("textFilter")->setText(text);
    }

    CFacilityManager facility;
    std::unique_ptr<CCauseEffectView> view;
};

TEST_F(CCauseEffectViewTest, CellsHoldDelaysAndTheRulesInWords) {
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_EQ(model().columnCount(), 3);
    EXPECT_EQ(cell(2), "30");
    EXPECT_EQ(cell(4), "10");
    EXPECT_EQ(cell(1), "0");
    // A zone range is one cause, named as a range.
    const QModelIndex range = model().indexOfRule(4);
    EXPECT_TRUE(model().headerData(range.row(), Qt::Vertical, Qt::DisplayRole).toString().contains("3 - 9"));
    const QString tip = range.data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith("Rule 4, delay 10\n")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral(" \u2192 "))) << tip.toStdString();
    // Where no rule joins a cause and an effect the cell is empty and carries no rule.
    const QModelIndex none = model().index(range.row(), model().indexOfRule(1).column());
    EXPECT_FALSE(none.data().isValid());
    EXPECT_EQ(none.data(CMatrixTableModel::kRuleRole).toInt(), 0);
    EXPECT_TRUE(model().headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString().startsWith("Panel 1 Lobby"));
}

// The effects stand upwards in their headers, kind and place side by side, whole: the header
// is as tall as the longest of them needs, and every column's header carries ink.
TEST_F(CCauseEffectViewTest, EffectHeadersAreWrittenUpwardsWhole) {
    QHeaderView& head = *table().horizontalHeader();
    QFont bold = head.font();
    bold.setBold(true);
    int longest = 0;
    for (int c = 0; c < model().columnCount(); ++c) {
        const QStringList lines = model().headerData(c, Qt::Horizontal, CVerticalTextHeader::kLinesRole).toStringList();
        ASSERT_EQ(lines.size(), 2) << c;
        EXPECT_EQ(lines.join(" - "), model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        for (const QString& line : lines) longest = std::max(longest, QFontMetrics(bold).horizontalAdvance(line));
    }
    EXPECT_GE(head.height(), longest);
    const QImage picture = head.grab().toImage();
    for (int c = 0; c < model().columnCount(); ++c) {
        int ink = 0;
        for (int x = head.sectionViewportPosition(c) + 2; x < head.sectionViewportPosition(c) + head.sectionSize(c) - 2; ++x)
            for (int y = 0; y < picture.height(); ++y) ink += qGray(picture.pixel(x, y)) < 96;
        EXPECT_GT(ink, 100) << "column " << c << " has no words";
    }
}

TEST_F(CCauseEffectViewTest, FiltersByPanelAndByText) {
    filter(2, {});  // panel 2: rules 2, 3 and 4 touch it
    EXPECT_EQ(model().matrix().cells().size(), 3u);
    EXPECT_FALSE(model().indexOfRule(1).isValid());
    EXPECT_TRUE(model().indexOfRule(3).isValid());
    filter(0, "3 - 9");
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(model().columnCount(), 1);
    EXPECT_EQ(cell(4), "10");
    filter(0, "no such words");
    EXPECT_EQ(model().rowCount(), 0);
    filter(0, {});
    EXPECT_EQ(model().rowCount(), 3);
    EXPECT_TRUE(table().isVisible());
}

TEST_F(CCauseEffectViewTest, AFacilityWithoutRulesSaysSo) {
    CFacilityManager empty;
    CCauseEffectView window(empty);
    window.show();
    EXPECT_FALSE(window.table().isVisible());
    const auto labels = window.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
        return l->isVisible() && l->text() == "No rule joins a cause to an effect.";
    }));
}

TEST_F(CCauseEffectViewTest, DoubleClickAsksForTheEditAndMovingSelectsThePair) {
    std::vector<int> edits, pairs;
    QObject::connect(view.get(), &CCauseEffectView::editRequested, [&](int rule) { edits.push_back(rule); });
    QObject::connect(view.get(), &CCauseEffectView::pairSelected, [&](int rule) { pairs.push_back(rule); });
    const QModelIndex index = model().indexOfRule(2);
    const QPoint at = table().visualRect(index).center();
    QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(edits, std::vector<int>{2});
    EXPECT_EQ(pairs, std::vector<int>{2});
    // An empty cell is no rule.
    const QModelIndex none = model().index(model().indexOfRule(4).row(), model().indexOfRule(1).column());
    QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, table().visualRect(none).center());
    EXPECT_EQ(edits, std::vector<int>{2});
    // The editor's choice comes back the other way.
    EXPECT_TRUE(view->selectRule(3));
    EXPECT_EQ(table().currentIndex(), model().indexOfRule(3));
    EXPECT_FALSE(view->selectRule(99));
}

TEST_F(CCauseEffectViewTest, RefreshFollowsTheRulesAndKeepsTheFilter) {
    filter(2, {});
    FacilityBuilder(facility).rule(5, 60, {0, 2, 1, 1, 0, 0, 0, 5}, {0, 2, 0, 0, 3, 0, 0, 4});
    facility.delEventActionItem(3);
    view->refresh();
    EXPECT_EQ(view->findChild<QComboBox*>("panelFilter")->currentIndex(), 2);
    EXPECT_EQ(cell(5), "60");
    EXPECT_FALSE(model().indexOfRule(3).isValid());
}

}  // namespace
