#include "mica/KvLayout.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPushButton>
#include <gtest/gtest.h>

#include "mica/EzCreateFont.h"

namespace {

class KvLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { KvLayout::SetupMetrics(QStringLiteral("MS Sans Serif"), 8.0, 0.0, 0.3, 2.0, 4.0, 10.0); }
    void TearDown() override { SetUp(); }
};

}  // namespace

TEST_F(KvLayoutTest, StartUpFontIsTheDesktopsAndGapsAreFontUnits) {
    EXPECT_EQ(KvLayout::font(), QApplication::font());
    const double unit = QFontMetricsF(QApplication::font()).height() / 4.0;
    EXPECT_DOUBLE_EQ(KvLayout::unit(KvLayout::font()), unit);
    EXPECT_EQ(KvLayout::spacing(KvLayout::None), 0);
    EXPECT_EQ(KvLayout::spacing(KvLayout::Tight), qRound(0.3 * unit));
    EXPECT_EQ(KvLayout::spacing(KvLayout::Normal), qRound(2.0 * unit));
    EXPECT_EQ(KvLayout::spacing(KvLayout::Border), qRound(4.0 * unit));
    EXPECT_EQ(KvLayout::spacing(KvLayout::Wide), qRound(10.0 * unit));
    EXPECT_EQ(KvLayout::spacing(-1), 0);
    EXPECT_EQ(KvLayout::spacing(KvLayout::kMetrics), 0);
}

TEST_F(KvLayoutTest, GapsGrowWithTheFont) {
    QWidget big;
    QFont font = big.font();
    font.setPointSizeF(font.pointSizeF() * 2);
    big.setFont(font);
    EXPECT_GT(KvLayout::spacing(KvLayout::Border, &big), KvLayout::spacing(KvLayout::Border));

    KvLayout::SetupMetrics(QStringLiteral("MS Sans Serif"), 8.0, 1.0, 1.0, 3.0, 5.0, 12.0);
    EXPECT_DOUBLE_EQ(KvLayout::metric(KvLayout::Normal), 3.0);
    QHBoxLayout* row = KvLayout::hbox(KvLayout::Normal, KvLayout::Border);
    EXPECT_EQ(row->spacing(), KvLayout::spacing(KvLayout::Normal));
    EXPECT_EQ(row->contentsMargins().left(), KvLayout::spacing(KvLayout::Border));
    delete row;
}

TEST_F(KvLayoutTest, ButtonRowMakesButtonsEquallyWideAndPushesThem) {
    QWidget dialog;
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto* apply = new QPushButton(QStringLiteral("Apply the changes to every panel"), &dialog);
    QHBoxLayout* row = KvLayout::buttonRow({ok, apply});
    dialog.setLayout(row);
    EXPECT_EQ(ok->minimumWidth(), apply->minimumWidth());
    EXPECT_GE(ok->minimumWidth(), apply->sizeHint().width());
    EXPECT_NE(row->itemAt(0)->spacerItem(), nullptr);  // the stretch comes first: buttons to the right

    auto* alone = new QPushButton(QStringLiteral("X"), &dialog);
    QHBoxLayout* left = KvLayout::buttonRow({alone}, Qt::AlignLeft);
    EXPECT_GE(alone->minimumWidth(), 2 * KvLayout::spacing(KvLayout::Wide));
    EXPECT_EQ(left->itemAt(0)->widget(), alone);
    EXPECT_NE(left->itemAt(1)->spacerItem(), nullptr);
    delete left;
}

TEST(EzCreateFont, UiFontNamesStandForTheDesktopsFont) {
    const QFont desktop = QApplication::font();
    for (const char* name : {"MS Sans Serif", "ms shell dlg", ""}) {
        const QFont font = EzCreateFont(QString::fromLatin1(name), 80);
        EXPECT_EQ(font.family(), desktop.family()) << name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), desktop.pointSizeF()) << name;
    }
    EXPECT_DOUBLE_EQ(EzCreateFont(QStringLiteral("MS Sans Serif"), 120).pointSizeF(), desktop.pointSizeF() * 1.5);
}

TEST(EzCreateFont, FacesSizesAndAttributes) {
    const QFont font = EzCreateFont(QStringLiteral("Arial"), 500, 0, EZ_ATTR_BOLD | EZ_ATTR_UNDERLINE);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 50.0);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.strikeOut());
    EXPECT_EQ(font.styleHint(), QFont::SansSerif);

    const QFont fixed = EzCreateFont(QStringLiteral("Courier New"), 100, 0, EZ_ATTR_ITALIC | EZ_ATTR_STRIKEOUT);
    EXPECT_EQ(fixed.family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_TRUE(fixed.italic());
    EXPECT_TRUE(fixed.strikeOut());

    EXPECT_EQ(EzCreateFont(QStringLiteral("Arial"), 100, 50).stretch(), 50);
    EXPECT_EQ(EzCreateFont(QStringLiteral("Arial"), 100).stretch(), QFont().stretch());
}
