#include "mica/CImageButton.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPixmap>

namespace {

double g_pictureLines = 1.5;

constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr int kLargestScale = 4;  // pixel-doubled copies for screens up to 400 %

}  // namespace

void CImageButton::SetupMetrics(double pictureLines) {
    if (pictureLines > 0) g_pictureLines = pictureLines;
}

double CImageButton::pictureLines() { return g_pictureLines; }

CImageButton::CImageButton(QWidget* parent) : QPushButton(parent) { applyPictureSize(); }

CImageButton::CImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent) { applyPictureSize(); }

QImage CImageButton::KeyOutMagenta(const QImage& bitmap) {
    QImage out = bitmap.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == kMagenta) line[x] = 0;
    }
    return out;
}

void CImageButton::SetBitmap(const QImage& bitmap) {
    const QImage keyed = KeyOutMagenta(bitmap);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(keyed));
    // Nearest-neighbour copies: a smooth enlargement would blur a small bitmap.
    for (int scale = 2; scale <= kLargestScale; ++scale) {
        QPixmap big = QPixmap::fromImage(keyed.scaled(keyed.size() * scale, Qt::IgnoreAspectRatio,
                                                      Qt::FastTransformation));
        big.setDevicePixelRatio(scale);
        icon.addPixmap(big);
    }
    m_bitmapSize = bitmap.size();
    setIcon(icon);
    applyPictureSize();
    updateAccessibleName();
}

void CImageButton::SetPicture(const QIcon& picture) {
    m_bitmapSize = QSize();
    setIcon(picture);
    applyPictureSize();
    updateAccessibleName();
}

void CImageButton::SetPictureSize(const QSize& size) {
    m_pictureSize = size;
    applyPictureSize();
}

void CImageButton::applyPictureSize() {
    // A bitmap keeps its own size unless told otherwise: scaling it by a fraction blurs it.
    const QSize fixed = m_pictureSize.isEmpty() ? m_bitmapSize : m_pictureSize;
    if (!fixed.isEmpty()) {
        setIconSize(fixed);
        return;
    }
    const int edge = qRound(QFontMetrics(font()).height() * g_pictureLines);
    setIconSize(QSize(edge, edge));
}

bool CImageButton::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    switch (event->type()) {
        case QEvent::FontChange:
            applyPictureSize();
            break;
        case QEvent::ToolTipChange:
        case QEvent::Polish:
            updateAccessibleName();
            break;
        default:
            break;
    }
    return handled;
}

// A name given by the program stays; one taken from the tool tip follows it, and
// gives way once the button has a text of its own.
void CImageButton::updateAccessibleName() {
    if (!text().isEmpty()) {
        if (m_nameFromToolTip) setAccessibleName(QString());
        m_nameFromToolTip = false;
        return;
    }
    if (!accessibleName().isEmpty() && !m_nameFromToolTip) return;
    setAccessibleName(toolTip());
    m_nameFromToolTip = true;
}
