#include "mica/KvWaitImage.h"

#include <QPainter>
#include <QtMath>

namespace {

constexpr int kDots = 12;
constexpr int kFrameMs = 40;  // 25 frames a second is smooth enough for a wait sign

}  // namespace

KvWaitImage::KvWaitImage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("KvWaitImage"));
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KvWaitImage::SetImage(const QPixmap& image, const QPixmap& second, int period) {
    m_first = image;
    m_second = second;
    m_icon = QIcon();
    m_period = period > 0 ? period : kDefaultPeriod;
    updateGeometry();
    update();
}

void KvWaitImage::SetIcon(const QIcon& icon, int edge, int period) {
    m_first = QPixmap();
    m_second = QPixmap();
    m_icon = icon;
    m_edge = edge;
    m_period = period > 0 ? period : kDefaultPeriod;
    updateGeometry();
    update();
}

QSize KvWaitImage::pictureSize() const {
    if (!m_icon.isNull()) return QSize(m_edge, m_edge);
    if (!m_first.isNull()) return m_first.deviceIndependentSize().toSize();
    return QSize(32, 32);
}

// The ring lies around the picture, clear of its corners.
QSize KvWaitImage::sizeHint() const {
    const QSize picture = pictureSize();
    const int side = qRound(qMax(picture.width(), picture.height()) * 1.6) + 8;
    return QSize(side, side);
}

void KvWaitImage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_clock.start();
    m_timer.start();
}

void KvWaitImage::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QWidget::hideEvent(event);
}

void KvWaitImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal phase = m_clock.isValid() ? qreal(m_clock.elapsed() % m_period) / m_period : 0.0;
    drawRing(painter, phase);
    drawPicture(painter, phase);
}

// Dots on a circle; the leading dot is darkest and the trail fades behind it.
void KvWaitImage::drawRing(QPainter& painter, qreal phase) const {
    const QRectF area = rect();
    const qreal radius = qMin(area.width(), area.height()) / 2.0 - 4.0;
    const qreal dot = qMax<qreal>(1.5, radius / 12.0);
    const int lead = int(phase * kDots) % kDots;
    QColor colour = palette().color(QPalette::Highlight);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kDots; ++i) {
        const int behind = (lead - i + kDots) % kDots;
        colour.setAlphaF(float(1.0 - 0.75 * behind / (kDots - 1)));
        painter.setBrush(colour);
        const qreal angle = 2.0 * M_PI * i / kDots - M_PI / 2.0;
        const QPointF centre = area.center() + QPointF(qCos(angle), qSin(angle)) * (radius - dot);
        painter.drawEllipse(centre, dot, dot);
    }
}

void KvWaitImage::drawPicture(QPainter& painter, qreal phase) const {
    const QSize size = pictureSize();
    const QRect target(rect().center() - QPoint(size.width() / 2, size.height() / 2), size);
    if (!m_icon.isNull()) {
        m_icon.paint(&painter, target);
        return;
    }
    if (m_first.isNull()) return;
    painter.drawPixmap(target, m_first);
    if (m_second.isNull() || m_second.cacheKey() == m_first.cacheKey()) return;
    // The second picture fades in over the first half of a turn and out over the second.
    painter.setOpacity(1.0 - qAbs(2.0 * phase - 1.0));
    painter.drawPixmap(target, m_second);
    painter.setOpacity(1.0);
}
