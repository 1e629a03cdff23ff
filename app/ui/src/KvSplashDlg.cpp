#include "ui/KvSplashDlg.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "basalt/KvTrace.h"
#include "art/CArt.h"
#include "ui/UiText.h"

KvSplashDlg::KvSplashDlg(int displayMs, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_displayMs(displayMs),
      m_picture(CArt::splash()),
      m_subtitle(loadText(67)),
      m_product(loadText(68)),
      m_version(loadText(69)) {
    printk("\n KvSplashDlg::KvSplashDlg");
    setObjectName("KvSplashDlg");
    setWindowTitle(m_product);
    setWindowIcon(CArt::icon(128));
    setFixedSize(kWidth, kHeight);
    setAccessibleName(m_product + " " + m_version);
}

void KvSplashDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    if (m_displayMs > 0) QTimer::singleShot(m_displayMs, this, [this] { done(1); });
}

void KvSplashDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) done(1);
}

void KvSplashDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_picture.isNull()) painter.drawPixmap(QRect(0, 5, 410, 355), m_picture);
    painter.setPen(Qt::black);
    // The subtitle ends where a short one would; a long translation grows to the left, not off the window.
    drawText(painter, QRect(110, 312, kWidth - 114, 24), 15, QFont::DemiBold, m_subtitle, Qt::AlignRight);
    drawText(painter, QRect(15, 304, 90, 30), 25, QFont::Bold, m_product, Qt::AlignLeft);
    painter.setPen(Qt::white);
    drawText(painter, QRect(300, 337, 10, 22), 20, QFont::DemiBold, "v", Qt::AlignLeft);
    drawText(painter, QRect(310, 337, kWidth - 314, 22), 20, QFont::DemiBold, m_version, Qt::AlignLeft);
}

// Draws `text` at the top of `box`; a translation too long for the box gets a smaller font.
void KvSplashDlg::drawText(QPainter& painter, const QRect& box, int pixelSize, int weight, const QString& text,
                           Qt::Alignment alignment) {
    QFont font("Arial");
    font.setWeight(static_cast<QFont::Weight>(weight));
    for (int size = pixelSize; size >= 8; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= box.width()) break;
    }
    painter.setFont(font);
    painter.drawText(box, alignment | Qt::AlignTop | Qt::TextDontClip, text);
}
