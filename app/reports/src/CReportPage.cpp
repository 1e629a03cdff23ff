#include "reports/CReportPage.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPen>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "basalt/KvTrace.h"

namespace {

// Its capitals, accents and descenders reach the full height of the font.
const QString kTallestText = QStringLiteral(u"ApI,ñ?¿!áÉ");
constexpr int kPageTextCells = 40;
constexpr int kPageNumberCells = 5;
constexpr double kRuleOverhangMm = 4.0;
constexpr int kMinWrapCells = 8;

double textHeight(const QFontMetricsF& fm) { return std::max(fm.height(), fm.boundingRect(kTallestText).height()); }

}  // namespace

const QString CReportPage::kPagePrefix = QStringLiteral("Pag. ");

QString CReportPage::printable(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control) c = u' ';
    return out;
}

// Arial where it is installed, else a metric twin or the system sans. Whatever face answers,
// it is sized so that one line is kLineHeightMm, so the lines per page (and with them the
// place of every page break) do not depend on which font the system substitutes.
QFont CReportPage::reportFont(QPagedPaintDevice& device) const {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(1000);
    const double tall = textHeight(QFontMetricsF(font, &device));
    const double wanted = kLineHeightMm * m_pixelsPerMmY;
    font.setPixelSize(std::max(1, static_cast<int>(std::floor(1000.0 * wanted / tall))));
    return font;
}

bool CReportPage::initCDC(QPagedPaintDevice& device) {
    printk("\n CReportPage::initCDC");
    m_pixelsPerMmX = device.logicalDpiX() / 25.4;
    m_pixelsPerMmY = device.logicalDpiY() / 25.4;
    m_font = reportFont(device);
    const QFontMetricsF fm(m_font, &device);
    m_charWidth = std::max(1, static_cast<int>(std::lround(fm.horizontalAdvance(u'A'))));
    m_lineHeight = std::max(1, static_cast<int>(std::ceil(textHeight(fm))));
    m_ascent = static_cast<int>(std::lround(fm.ascent()));
    m_leftMargin = kMarginCells * m_charWidth;
    m_pageWidth = device.width();
    m_pageHeight = device.height();
    m_linesPerPage = m_pageHeight / m_lineHeight;
    if (m_linesPerPage <= 0) return false;
    m_device = &device;
    return true;
}

bool CReportPage::beginDocument(PageCallback onPageDone) {
    printk("\n CReportPage::beginDocument");
    if (!m_device || !m_painter.begin(m_device)) return false;
    m_onPageDone = std::move(onPageDone);
    m_cancelled = false;
    m_painter.setFont(m_font);
    QPen pen(Qt::black);
    pen.setWidth(std::max(1, static_cast<int>(std::lround(m_pixelsPerMmY))));
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    m_pageNumber = 0;
    m_pagesDone = 0;
    resetPosition();
    return true;
}

void CReportPage::endDocument() {
    printk("\n CReportPage::endDocument");
    if (!m_painter.isActive()) return;
    finishPage();
    m_painter.end();
}

int CReportPage::lastTextLine() const { return std::min(m_linesPerPage - kBottomLines, kPageNumberLine - 1); }

void CReportPage::resetPosition() {
    m_line = kFirstLine;
    m_y = kFirstLine * m_lineHeight;
    m_nextLineY = (kFirstLine + 1) * m_lineHeight;
    m_x = m_leftMargin;
}

bool CReportPage::finishPage() {
    if (m_cancelled) return false;
    ++m_pagesDone;
    if (m_onPageDone && !m_onPageDone(m_pagesDone)) m_cancelled = true;
    return !m_cancelled;
}

void CReportPage::StartPage() {
    printk("\n CReportPage::StartPage");
    if (m_cancelled) return;
    // The document begins on a blank page; only later reports need a fresh one.
    if (m_pageNumber > 0) {
        if (!finishPage()) return;
        m_device->newPage();
    }
    ++m_pageNumber;
    resetPosition();
    printPageNumber();
}

void CReportPage::newLine(int n) {
    if (m_cancelled) return;
    m_line += n;
    if (m_line > lastTextLine()) {
        newPage();
        return;
    }
    m_y += n * m_lineHeight;
    m_nextLineY = m_y + m_lineHeight;
    m_x = m_leftMargin;
}

void CReportPage::newPage() {
    printk("\n CReportPage::newPage");
    if (!finishPage()) return;
    m_device->newPage();
    ++m_pageNumber;
    printPageNumber();
    resetPosition();
}

void CReportPage::printPageNumber() {
    const int y = kPageNumberLine * m_lineHeight;
    const int x = kPageTextCells * m_charWidth;
    if (m_cancelled) return;
    m_painter.drawText(QPointF(x, y + m_ascent), kPagePrefix);
    m_painter.drawText(QPointF(x + kPageNumberCells * m_charWidth, y + m_ascent), QString::number(m_pageNumber));
}

void CReportPage::printLine() {
    if (m_cancelled) return;
    const double overhang = kRuleOverhangMm * m_pixelsPerMmX;
    const double y = m_nextLineY + m_lineHeight / 2.0;
    m_painter.drawLine(QPointF(m_leftMargin - overhang, y), QPointF(m_pageWidth + overhang - m_leftMargin, y));
}

void CReportPage::drawAt(int x, const QString& text) {
    if (m_cancelled || text.isEmpty()) return;
    m_painter.drawText(QPointF(x, m_y + m_ascent), text);
}

void CReportPage::printWord(const QString& text, int pad) {
    const QString shown = printable(text);
    drawAt(m_x, shown);
    if (pad == -1) return;
    const int cells = (static_cast<int>(shown.size()) + pad) * m_charWidth;
    const int drawn = static_cast<int>(std::ceil(m_painter.fontMetrics().horizontalAdvance(shown))) + pad * m_charWidth;
    m_x += std::max(cells, drawn);
}

void CReportPage::printSpaces(int n) { m_x += n * m_charWidth; }

void CReportPage::column(int cells) {
    const int at = m_leftMargin + cells * m_charWidth;
    m_x = m_x <= at ? at : m_x + 2 * m_charWidth;
}

void CReportPage::printText(const QString& text) {
    if (m_cancelled) return;
    const QFontMetrics fm = m_painter.fontMetrics();
    if (rightLimit() - m_x < kMinWrapCells * m_charWidth) newLine(1);
    const int start = m_x;
    const int room = rightLimit() - start;
    bool first = true;
    auto put = [&](const QString& piece) {
        if (!first) {
            newLine(1);
            m_x = start;
        }
        first = false;
        drawAt(m_x, piece);
        m_x = start + fm.horizontalAdvance(piece);
    };
    const QStringList paragraphs = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    for (const QString& paragraph : paragraphs) {
        QString line;
        for (QString word : printable(paragraph).split(u' ', Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + u' ' + word;
            if (fm.horizontalAdvance(joined) <= room) {
                line = joined;
                continue;
            }
            if (!line.isEmpty()) put(line);
            while (word.size() > 1 && fm.horizontalAdvance(word) > room) {
                qsizetype fits = 1;
                while (fits < word.size() && fm.horizontalAdvance(word.left(fits + 1)) <= room) ++fits;
                put(word.left(fits));
                word = word.mid(fits);
            }
            line = word;
        }
        put(line);
        if (m_cancelled) return;
    }
}
