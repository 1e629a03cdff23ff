#include "mica/CImageButton.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A 2 x 2 bitmap: magenta, red / blue, a magenta one step off.
QImage checker() {
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 255));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(254, 0, 255));
    return image;
}

}  // namespace

TEST(CImageButton, OnlyExactMagentaBecomesTransparent) {
    const QImage keyed = CImageButton::KeyOutMagenta(checker());
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(keyed.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(keyed.pixel(1, 1), qRgb(254, 0, 255));

    QImage indexed = checker().convertToFormat(QImage::Format_Indexed8);
    EXPECT_EQ(qAlpha(CImageButton::KeyOutMagenta(indexed).pixel(0, 0)), 0);
}

TEST(CImageButton, BitmapStaysSharpOnHiDpi) {
    CImageButton button;
    button.SetBitmap(checker());
    EXPECT_EQ(button.iconSize(), QSize(2, 2));
    const QImage big = button.icon().pixmap(QSize(2, 2), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(big.size(), QSize(4, 4));
    // Each source pixel became a 2 x 2 block: no blend of neighbours, magenta still clear.
    EXPECT_EQ(big.pixel(2, 0), qRgb(255, 0, 0));
    EXPECT_EQ(big.pixel(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(big.pixel(1, 3), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(big.pixel(1, 1)), 0);
}

TEST(CImageButton, SvgPictureDrawsAsItIs) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("square.svg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
               R"(<rect width="16" height="16" fill="#ff00ff"/></svg>)");
    file.close();

    CImageButton button;
    button.SetPicture(QIcon(path));
    const QImage picture = button.icon().pixmap(QSize(16, 16), 2.0).toImage();
    ASSERT_EQ(picture.size(), QSize(32, 32));  // drawn at the screen's resolution, not enlarged
    EXPECT_EQ(picture.pixel(16, 16), qRgb(255, 0, 255));  // magenta is a colour like any other here
}

TEST(CImageButton, PictureSizeFollowsTheMetricsUnlessSet) {
    const double saved = CImageButton::pictureLines();
    CImageButton::SetupMetrics(2.0);
    CImageButton button(QStringLiteral("Add"));
    const int line = QFontMetrics(button.font()).height();
    EXPECT_EQ(button.iconSize(), QSize(2 * line, 2 * line));
    button.SetPictureSize(QSize(40, 30));
    EXPECT_EQ(button.iconSize(), QSize(40, 30));
    CImageButton::SetupMetrics(0);  // ignored
    EXPECT_EQ(CImageButton::pictureLines(), 2.0);
    CImageButton::SetupMetrics(saved);
}

TEST(CImageButton, PictureOnlyButtonIsNamedByItsToolTip) {
    CImageButton bare;
    bare.setToolTip(QStringLiteral("Delete loop"));
    bare.SetPicture(QIcon());
    EXPECT_EQ(bare.accessibleName(), QStringLiteral("Delete loop"));
    bare.setToolTip(QStringLiteral("Remove loop"));
    EXPECT_EQ(bare.accessibleName(), QStringLiteral("Remove loop"));
    bare.setText(QStringLiteral("Remove"));
    bare.show();  // polished: its text names it now
    EXPECT_TRUE(bare.accessibleName().isEmpty());

    CImageButton named;
    named.setAccessibleName(QStringLiteral("Chosen name"));
    named.setToolTip(QStringLiteral("Tip"));
    EXPECT_EQ(named.accessibleName(), QStringLiteral("Chosen name"));

    CImageButton labelled(QStringLiteral("Open"));
    labelled.setToolTip(QStringLiteral("Opens a facility"));
    EXPECT_TRUE(labelled.accessibleName().isEmpty());  // its text names it
}
