// Not a check: draws every picture at 1x and 2x on one sheet (and a pixel-zoomed copy) so people can look
// at the set together. Written beside the build's other screenshots.
#include "ArtTestApp.h"

#include "art/CArt.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kCellWidth = 120;
constexpr int kCellHeight = 78;
constexpr int kColumns = 10;

struct Entry {
    QString label;
    QIcon icon;
};

void drawCell(QPainter& painter, const QPoint& origin, const Entry& entry)
{
    painter.setPen(QColor(0x26, 0x35, 0x45));
    painter.drawText(QRect(origin + QPoint(4, 2), QSize(kCellWidth - 8, 14)), Qt::AlignLeft, entry.label);
    const int small = CArt::kImageListSize;
    painter.drawPixmap(origin + QPoint(6, 24), entry.icon.pixmap(QSize(small, small)));
    painter.drawPixmap(origin + QPoint(36, 24), entry.icon.pixmap(QSize(2 * small, 2 * small)));
    // The same 1x picture on a tree's selection colour, where it will also be seen.
    painter.fillRect(QRect(origin + QPoint(86, 22), QSize(small + 4, small + 4)), QColor(0x30, 0x8c, 0xc6));
    painter.drawPixmap(origin + QPoint(88, 24), entry.icon.pixmap(QSize(small, small)));
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

std::vector<Entry> allPictures()
{
    std::vector<Entry> entries;
    for (int id : {128, 142, 143, 144, 145, 164, 165, 166, 168, 169, 170, 175, 179, 182, 183, 184, 185, 186, 187})
        entries.push_back({QStringLiteral("picture %1").arg(id), CArt::icon(id)});
    entries.resize((entries.size() + kColumns - 1) / kColumns * kColumns);
    for (int offset : {0, CArt::kUsedInput, CArt::kUsedOutput}) {
        for (int i = 0; i < CArt::kImageListBase; ++i)
            entries.push_back({QStringLiteral("list %1").arg(offset + i), CArt::imageList(offset + i)});
    }
    return entries;
}

TEST(ArtContactSheet, WritesTheSheet)
{
    ensureGuiApplication();
    const QString dir = QStringLiteral(CAIRN_ART_SHEET_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    const QImage image = sheet(allPictures());
    EXPECT_TRUE(image.save(dir + QStringLiteral("/contact-sheet.png")));
    EXPECT_TRUE(image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(dir + QStringLiteral("/contact-sheet-zoom.png")));
    EXPECT_TRUE(CArt::splash().save(dir + QStringLiteral("/splash.png")));
    EXPECT_TRUE(CArt::icon(128).pixmap(QSize(256, 256)).save(dir + QStringLiteral("/icon-256.png")));
}

} // namespace
