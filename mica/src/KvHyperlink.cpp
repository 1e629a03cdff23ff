#include "mica/KvHyperlink.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

constexpr int kFocusMargin = 2;  // room for the focus frame around the text

}  // namespace

KvHyperlink::KvHyperlink(QWidget* parent) : KvHyperlink(QString(), parent) {}

KvHyperlink::KvHyperlink(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &KvHyperlink::openUrl);
}

QSize KvHyperlink::sizeHint() const {
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    return text + QSize(2 * kFocusMargin, 2 * kFocusMargin);
}

void KvHyperlink::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QFont underlined = font();
    underlined.setUnderline(true);
    painter.setFont(underlined);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor colour = isEnabled() ? palette().color(group, QPalette::Link) : palette().color(group, QPalette::Text);
    painter.setPen(isDown() ? colour.darker(130) : colour);
    const QRect area = rect().adjusted(kFocusMargin, kFocusMargin, -kFocusMargin, -kFocusMargin);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
    if (!hasFocus()) return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

// Space already clicks a button; a link also answers Enter, as links do elsewhere.
void KvHyperlink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void KvHyperlink::openUrl() {
    if (m_url.isValid()) QDesktopServices::openUrl(m_url);
}
