#include "art/CArt.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Every picture number the windows ask for: program icon, dialog buttons, home view.
const std::vector<int> kWindowPictures = {128, 142, 143, 144, 145, 164, 165, 166, 168, 169,
                                          170, 175, 179, 182, 183, 184, 185, 186, 187};

QImage render(const QIcon& icon, int side)
{
    return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return count;
}

// Pixels whose colour differs clearly, so anti-aliasing noise does not count.
int differentPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q)) +
                          qAbs(qAlpha(p) - qAlpha(q));
            count += d > 96 ? 1 : 0;
        }
    return count;
}

double meanLightness(const QImage& image, const QRect& area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (area.width() * area.height());
}

std::vector<int> imageListIndexes()
{
    std::vector<int> indexes;
    for (int offset : {0, CArt::kUsedInput, CArt::kUsedOutput})
        for (int i = 0; i < CArt::kImageListBase; ++i)
            indexes.push_back(offset + i);
    return indexes;
}

TEST(CArtTest, EveryWindowPictureDrawsAtListAndDoubleSize)
{
    for (int id : kWindowPictures) {
        const QIcon icon = CArt::icon(id);
        ASSERT_FALSE(icon.isNull()) << "picture " << id;
        for (int side : {CArt::kImageListSize, 2 * CArt::kImageListSize, 48}) {
            const QImage image = render(icon, side);
            ASSERT_EQ(image.size(), QSize(side, side)) << "picture " << id;
            EXPECT_GT(opaquePixels(image), side * side / 8) << "picture " << id << " at " << side;
        }
    }
}

TEST(CArtTest, EveryImageListIndexDrawsAtListAndDoubleSize)
{
    for (int index : imageListIndexes()) {
        const QIcon icon = CArt::imageList(index);
        ASSERT_FALSE(icon.isNull()) << "index " << index;
        for (int side : {CArt::kImageListSize, 2 * CArt::kImageListSize})
            EXPECT_GT(opaquePixels(render(icon, side)), side * side / 8) << "index " << index << " at " << side;
    }
}

TEST(CArtTest, UnknownNumbersGiveNullIcons)
{
    for (int id : {-1, 0, 127, 129, 141, 146, 163, 167, 171, 188, 190})
        EXPECT_TRUE(CArt::icon(id).isNull()) << "picture " << id;
    for (int index : {-1, 30, 61, 92, 93, 1000})
        EXPECT_TRUE(CArt::imageList(index).isNull()) << "index " << index;
}

// A used item must stand out in a tree at 1x; input and output use must not look alike either.
TEST(CArtTest, UsedVariantsDifferFromTheirBaseAndFromEachOther)
{
    const int side = CArt::kImageListSize;
    for (int i = 0; i < CArt::kImageListBase; ++i) {
        const QImage base = render(CArt::imageList(i), side);
        const QImage input = render(CArt::imageList(i + CArt::kUsedInput), side);
        const QImage output = render(CArt::imageList(i + CArt::kUsedOutput), side);
        EXPECT_GE(differentPixels(base, input), 20) << "input variant of " << i;
        EXPECT_GE(differentPixels(base, output), 20) << "output variant of " << i;
        EXPECT_GE(differentPixels(input, output), 20) << "variants of " << i;
    }
}

// Two list entries drawing the same picture would mean a wrong file in the table.
TEST(CArtTest, NoTwoBasePicturesAreAlike)
{
    std::vector<QImage> images;
    for (int i = 0; i < CArt::kImageListBase; ++i)
        images.push_back(render(CArt::imageList(i), 2 * CArt::kImageListSize));
    for (int i = 0; i < CArt::kImageListBase; ++i)
        for (int j = i + 1; j < CArt::kImageListBase; ++j)
            EXPECT_GE(differentPixels(images[i], images[j]), 8) << i << " and " << j;
}

// On a high-density screen the picture is drawn once at device resolution, not scaled up.
TEST(CArtTest, HighDensityPixmapsHaveDevicePixels)
{
    const QPixmap pixmap = CArt::imageList(0).pixmap(QSize(CArt::kImageListSize, CArt::kImageListSize), 2.0);
    EXPECT_EQ(pixmap.size(), QSize(42, 42));
    EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), 2.0);
    const QImage sharp = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(differentPixels(sharp, render(CArt::imageList(0), 42)), 0);
}

TEST(CArtTest, DisabledPicturesAreDrawnAndLookDifferent)
{
    const QIcon icon = CArt::icon(165);
    const QImage normal = icon.pixmap(QSize(42, 42), QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage disabled =
        icon.pixmap(QSize(42, 42), QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_GT(opaquePixels(normal), 0);
    EXPECT_GT(differentPixels(normal, disabled), 20);
}

// The program writes its title in black near y 310 and the version in white near y 340.
TEST(CArtTest, SplashKeepsRoomForTheProgramsTexts)
{
    const QPixmap splash = CArt::splash();
    ASSERT_EQ(splash.size(), QSize(410, 355));
    const QImage image = splash.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_GT(meanLightness(image, QRect(15, 290, 220, 24)), 170.0);
    EXPECT_GT(meanLightness(image, QRect(270, 298, 130, 14)), 170.0);
    EXPECT_LT(meanLightness(image, QRect(300, 324, 100, 20)), 110.0);
}

TEST(CArtTest, IconPathNamesTheProgramIcon)
{
    EXPECT_TRUE(QFile::exists(CArt::iconPath()));
    EXPECT_GT(opaquePixels(render(CArt::icon(128), 64)), 64 * 64 / 8);
}

} // namespace
