// Not a check: draws every picture at 1x and 2x on one sheet (and a pixel-zoomed copy) so people can look
// at the set together. Written beside the build's other screenshots.
#include "art/CArt.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kCellWidth = 150;
constexpr int kCellHeight = 92;
constexpr int kColumns = 8;

struct Entry {
    QString label;
    QIcon icon;
    int side = CArt::kImageListSize; // drawn at this size and twice it
};

void drawCell(QPainter& painter, const QPoint& origin, const Entry& entry)
{
    if (entry.icon.isNull())
        return;
    painter.setPen(QColor(0x26, 0x35, 0x45));
    painter.drawText(QRect(origin + QPoint(4, 2), QSize(kCellWidth - 8, 14)), Qt::AlignLeft, entry.label);
    const int small = entry.side;
    painter.drawPixmap(origin + QPoint(6, 20), entry.icon.pixmap(QSize(small, small)));
    painter.drawPixmap(origin + QPoint(12 + small, 20), entry.icon.pixmap(QSize(2 * small, 2 * small)));
    // The same 1x picture on a selection colour, where it will also be seen.
    const QPoint onSelection = origin + QPoint(18 + 3 * small, 18);
    painter.fillRect(QRect(onSelection, QSize(small + 4, small + 4)), QColor(0x30, 0x8c, 0xc6));
    painter.drawPixmap(onSelection + QPoint(2, 2), entry.icon.pixmap(QSize(small, small)));
}

QImage sheet(const std::vector<Entry>& entries)
{
    const int rows = (static_cast<int>(entries.size()) + kColumns - 1) / kColumns;
    QImage image(kColumns * kCellWidth, rows * kCellHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        drawCell(painter, QPoint(i % kColumns * kCellWidth, i / kColumns * kCellHeight), entries[static_cast<std::size_t>(i)]);
    return image;
}

std::vector<Entry> windowPictures()
{
    std::vector<Entry> entries;
    for (int id : {128, 142, 143, 144, 145, 164, 165, 166, 168, 169, 170, 175, 179, 182, 183, 184, 185, 186, 187})
        entries.push_back({QStringLiteral("picture %1").arg(id), CArt::icon(id), id < 164 ? 21 : 28});
    return entries;
}

std::vector<Entry> allPictures()
{
    std::vector<Entry> entries = windowPictures();
    entries.resize((entries.size() + kColumns - 1) / kColumns * kColumns);
    for (int offset : {0, CArt::kUsedInput, CArt::kUsedOutput}) {
        for (int i = 0; i < CArt::kImageListBase; ++i)
            entries.push_back({QStringLiteral("list %1").arg(offset + i), CArt::imageList(offset + i), CArt::kImageListSize});
    }
    return entries;
}

// The image list at a real size, each pixel magnified, to judge what a tree shows.
QImage pixelSheet(int scale, int zoom)
{
    const int side = CArt::kImageListSize * scale * zoom, gap = 8;
    QImage image(10 * (side + gap) + gap, 9 * (side + gap) + gap, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int variant = 0; variant < 3; ++variant)
        for (int i = 0; i < CArt::kImageListBase; ++i) {
            const QPixmap small = CArt::imageList(variant * CArt::kUsedInput + i)
                                      .pixmap(QSize(CArt::kImageListSize, CArt::kImageListSize) * scale);
            const int row = variant * 3 + i / 10, column = i % 10;
            painter.drawImage(QPoint(gap + column * (side + gap), gap + row * (side + gap)),
                              small.toImage().scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        }
    return image;
}

// The splash with texts where the program writes them, to check they stay readable.
QImage splashWithTexts()
{
    QImage image = CArt::splash().toImage();
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(270, 310, QStringLiteral("Fire panel configuration"));
    font.setPixelSize(25);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(15, 310, QStringLiteral("Cairn"));
    font.setPixelSize(20);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(300, 340, QStringLiteral("v0.1.0"));
    return image;
}

TEST(ArtContactSheet, WritesTheSheet)
{
    const QString dir = QStringLiteral(CAIRN_ART_SHEET_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    const QImage image = sheet(allPictures());
    EXPECT_TRUE(image.save(dir + QStringLiteral("/contact-sheet.png")));
    EXPECT_TRUE(sheet(windowPictures()).save(dir + QStringLiteral("/window-pictures.png")));
    EXPECT_TRUE(pixelSheet(1, 4).save(dir + QStringLiteral("/image-list-1x-pixels.png")));
    EXPECT_TRUE(pixelSheet(2, 2).save(dir + QStringLiteral("/image-list-2x-pixels.png")));
    EXPECT_TRUE(splashWithTexts().save(dir + QStringLiteral("/splash-with-texts.png")));
    EXPECT_TRUE(CArt::icon(128).pixmap(QSize(256, 256)).save(dir + QStringLiteral("/icon-256.png")));
}

} // namespace
