#include "ui/CVerticalTextHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>
#include <algorithm>

#include "ui/UiWidgets.h"

namespace {

constexpr int kPad = 4;

}  // namespace

CVerticalTextHeader::CVerticalTextHeader(int height, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_height(height) {}

QSize CVerticalTextHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(m_height);
    return size;
}

int CVerticalTextHeader::fitToContents(int least, int most) {
    // The current section is drawn in bold; measuring in bold keeps it whole too.
    QFont bold = font();
    bold.setBold(true);
    QStringList lines;
    for (int section = 0; model() && section < count(); ++section) lines += linesOf(section);
    m_height = std::clamp(widestText(QFontMetrics(bold), lines) + 2 * kPad, least, most);
    updateGeometry();
    return m_height;
}

QStringList CVerticalTextHeader::linesOf(int section) const {
    const QVariant lines = model()->headerData(section, orientation(), kLinesRole);
    if (lines.isValid()) return lines.toStringList();
    return {model()->headerData(section, orientation(), Qt::DisplayRole).toString()};
}

void CVerticalTextHeader::paintSection(QPainter* painter, const QRect& rect, int section) const {
    if (!rect.isValid()) return;
    // The style draws the frame and the selected look; the text is ours, turned upwards.
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = section;
    const bool current = selectionModel() && selectionModel()->currentIndex().column() == section;
    if (selectionModel() && selectionModel()->columnIntersectsSelection(section, rootIndex()))
        option.state |= QStyle::State_On;
    // The style puts back the clip it found as a region, and an unclipped painter's region is
    // empty: without save and restore it would clip away everything drawn after it.
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();

    const QStringList lines = linesOf(section);
    if (lines.isEmpty()) return;
    painter->save();
    QFont font = painter->font();
    font.setBold(current);
    painter->setFont(font);
    painter->setPen(palette().color(QPalette::ButtonText));
    // Turned a quarter left about the bottom left corner: x runs up the column, y across it.
    painter->translate(rect.left(), rect.bottom() - kPad);
    painter->rotate(-90);
    const int length = rect.height() - 2 * kPad;
    const double across = static_cast<double>(rect.width()) / static_cast<double>(lines.size());
    const QFontMetrics metrics(font);
    for (int i = 0; i < lines.size(); ++i) {
        const QRectF box(0, across * i, length, across);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(lines[i], Qt::ElideRight, length));
    }
    painter->restore();
}
