#include "SvgIconEngine.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {

void renderInto(QPainter& painter, const QString& path, const QRectF& rect)
{
    QSvgRenderer renderer(path);
    if (renderer.isValid())
        renderer.render(&painter, rect);
}

// Disabled pictures: grey, lighter and half transparent, as the desktop does for its own icons.
QImage disabledLook(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = qUnpremultiply(line[x]);
            const int grey = (qGray(c) + 2 * 200) / 3;
            line[x] = qPremultiply(qRgba(grey, grey, grey, qAlpha(c) / 2));
        }
    }
    return image;
}

} // namespace

SvgIconEngine::SvgIconEngine(QString basePath, QString overlayPath)
    : base_(std::move(basePath)), overlay_(std::move(overlayPath))
{
}

void SvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap((QSizeF(rect.size()) * dpr).toSize(), mode, state, dpr));
}

QPixmap SvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

// QIcon hands over the size in device pixels already; scale only tags the result.
QPixmap SvgIconEngine::scaledPixmap(const QSize& pixels, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    if (pixels.isEmpty())
        return {};
    const bool disabled = mode == QIcon::Disabled;
    const QString cacheKey = QStringLiteral("cairn-art:%1:%2:%3x%4:%5")
                                 .arg(base_, overlay_)
                                 .arg(pixels.width())
                                 .arg(pixels.height())
                                 .arg(disabled ? 1 : 0);
    QPixmap result;
    if (!QPixmapCache::find(cacheKey, &result)) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderInto(painter, base_, QRectF(QPointF(0, 0), QSizeF(pixels)));
            if (!overlay_.isEmpty())
                renderInto(painter, overlay_, QRectF(QPointF(0, 0), QSizeF(pixels)));
        }
        result = QPixmap::fromImage(disabled ? disabledLook(image) : image);
        QPixmapCache::insert(cacheKey, result);
    }
    result.setDevicePixelRatio(scale);
    (void)state;
    return result;
}

QSize SvgIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    return size;
}

QIconEngine* SvgIconEngine::clone() const
{
    return new SvgIconEngine(base_, overlay_);
}

QString SvgIconEngine::key() const
{
    return QStringLiteral("cairn-svg");
}

bool SvgIconEngine::isNull()
{
    return !QFile::exists(base_);
}
