#include "reports/CMatrixPrinter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "reports/CReportPdf.h"
#include "reports/CReportWords.h"

namespace {

constexpr int kTitleText = 520;
constexpr int kCausesText = 521;
constexpr int kEffectsText = 522;
constexpr int kNoRulesText = 523;
constexpr int kFooterText = 529;
constexpr int kPanelWord = 151;

// Sheet geometry in millimetres.
constexpr double kMargin = 10;
constexpr double kHeading = 8;       // title line
constexpr double kPanelBand = 5;     // the panels above the columns
constexpr double kColumnHead = 42;   // the effects, written upwards
constexpr double kRowPanel = 26;     // the panels beside the rows
constexpr double kRowWords = 72;     // the causes
constexpr double kCellWidth = 8;
constexpr double kCellHeight = 4.5;
constexpr double kFooter = 7;
constexpr double kTextHeight = 2.6;  // of a line of text, ascent to descent
constexpr double kPad = 0.8;         // between a line and the text beside it
constexpr double kThin = 0.1;
constexpr double kThick = 0.45;

QString formatted(int id, const QString& a, const QString& b, const QString& c, const QString& d) {
    KvWString format;
    KvLoadString(id, format);
    const auto wide = [](const QString& s) {
        return KvWString(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<int>(s.size()));
    };
    KvWString out;
    out.Format(format.c_str(), wide(a).c_str(), wide(b).c_str(), wide(c).c_str(), wide(d).c_str());
    return QString::fromUtf16(out.c_str(), out.Length());
}

// "1-40" (as people count) of the lines [first, last).
QString span(std::size_t first, std::size_t last) {
    return QString::number(first + 1) + u'-' + QString::number(last);
}

}  // namespace

CMatrixPrinter::Result CMatrixPrinter::pdf(const QString& path, const QString& title, const QPageSize& pageSize,
                                           CReportPage::PageCallback onPageDone) {
    printk("\n CMatrixPrinter::pdf");
    return CReportPdf::save(path, title, QPageLayout(pageSize, QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)),
                            [&](QPagedPaintDevice& device) { return print(device, title, std::move(onPageDone)); });
}

CMatrixPrinter::Result CMatrixPrinter::print(QPagedPaintDevice& device, const QString& title,
                                             CReportPage::PageCallback onPageDone) {
    printk("\n CMatrixPrinter::print");
    if (!measure(device)) return Result::kNoRoom;
    if (!m_painter.begin(&device)) return Result::kFailed;
    m_painter.setFont(m_font);
    int page = 0;
    for (int down = 0; down < m_pagesDown; ++down)
        for (int across = 0; across < m_pagesAcross; ++across) {
            if (page > 0) device.newPage();
            printPage(down, across, ++page, title);
            if (onPageDone && !onPageDone(page)) {
                m_painter.end();
                return Result::kCancelled;
            }
        }
    m_painter.end();
    return Result::kPrinted;
}

bool CMatrixPrinter::measure(QPagedPaintDevice& device) {
    m_pixelsPerMm = device.logicalDpiY() / 25.4;
    m_width = device.width();
    m_height = device.height();
    m_font = QFont();
    m_font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPixelSize(1000);
    const double tall = QFontMetricsF(m_font, &device).height();
    m_font.setPixelSize(std::max(1, static_cast<int>(std::floor(1000.0 * mm(kTextHeight) / tall))));
    const double across = m_width - mm(kMargin) - columnX(0);
    const double down = m_height - mm(kMargin + kFooter) - rowY(0);
    m_columnsPerPage = across > 0 ? static_cast<int>(across / mm(kCellWidth)) : 0;
    m_rowsPerPage = down > 0 ? static_cast<int>(down / mm(kCellHeight)) : 0;
    if (m_columnsPerPage <= 0 || m_rowsPerPage <= 0) return false;
    const auto pages = [](std::size_t lines, int perPage) {
        return std::max(1, static_cast<int>((lines + perPage - 1) / perPage));
    };
    m_pagesDown = pages(m_matrix.rows().size(), m_rowsPerPage);
    m_pagesAcross = pages(m_matrix.columns().size(), m_columnsPerPage);
    return true;
}

double CMatrixPrinter::columnX(std::size_t onPage) const {
    return mm(kMargin + kRowPanel + kRowWords + kCellWidth * static_cast<double>(onPage));
}

double CMatrixPrinter::rowY(std::size_t onPage) const {
    return mm(kMargin + kHeading + kPanelBand + kColumnHead + kCellHeight * static_cast<double>(onPage));
}

void CMatrixPrinter::printPage(int down, int across, int pageNumber, const QString& title) {
    const std::size_t firstRow = static_cast<std::size_t>(down) * m_rowsPerPage;
    const std::size_t lastRow = std::min(m_matrix.rows().size(), firstRow + m_rowsPerPage);
    const std::size_t firstColumn = static_cast<std::size_t>(across) * m_columnsPerPage;
    const std::size_t lastColumn = std::min(m_matrix.columns().size(), firstColumn + m_columnsPerPage);
    printHeading(title);
    if (m_matrix.cells().empty()) {
        text(QRectF(mm(kMargin), rowY(0), m_width - mm(2 * kMargin), mm(kCellHeight)),
             CReportWords::text(kNoRulesText), Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        printCorner();
        printColumnHeads(firstColumn, lastColumn);
        printRowHeads(firstRow, lastRow);
        printCells(firstRow, lastRow, firstColumn, lastColumn);
        printGrid(firstRow, lastRow, firstColumn, lastColumn);
    }
    printFooter(firstRow, lastRow, firstColumn, lastColumn, pageNumber);
}

void CMatrixPrinter::printHeading(const QString& title) {
    QString words = CReportWords::text(kTitleText);
    if (!title.isEmpty()) words += QStringLiteral(" \u2013 ") + title;
    QFont bold = m_font;
    bold.setBold(true);
    m_painter.setFont(bold);
    text(QRectF(mm(kMargin), mm(kMargin), m_width - mm(2 * kMargin), mm(kHeading)), words,
         Qt::AlignLeft | Qt::AlignTop);
    m_painter.setFont(m_font);
}

void CMatrixPrinter::printCorner() {
    const QRectF corner(mm(kMargin), mm(kMargin + kHeading), mm(kRowPanel + kRowWords), mm(kPanelBand + kColumnHead));
    text(corner.adjusted(mm(kPad), mm(kPad), -mm(kPad), -mm(kPad)), CReportWords::text(kEffectsText) + QStringLiteral(" \u2192"),
         Qt::AlignRight | Qt::AlignTop);
    text(corner.adjusted(mm(kPad), mm(kPad), -mm(kPad), -mm(kPad)), CReportWords::text(kCausesText) + QStringLiteral(" \u2193"),
         Qt::AlignLeft | Qt::AlignBottom);
}

void CMatrixPrinter::printColumnHeads(std::size_t first, std::size_t last) {
    const double bandTop = mm(kMargin + kHeading);
    for (std::size_t c = first; c < last;) {
        const CCauseEffectMatrix::Group* group = m_matrix.columnGroup(c);
        const std::size_t end = std::min(last, group->first + group->count);
        const QRectF band(columnX(c - first), bandTop, columnX(end - first) - columnX(c - first), mm(kPanelBand));
        text(band.adjusted(mm(kPad), 0, -mm(kPad), 0), bandWords(group->panel, band.width() - 2 * mm(kPad)),
             Qt::AlignCenter);
        c = end;
    }
    for (std::size_t c = first; c < last; ++c) {
        const QStringList lines = CReportWords::sideLines(m_manager, m_matrix.columns()[c].side, false);
        m_painter.save();
        // Written upwards from the top of the grid, the kind and then what it names side by side.
        m_painter.translate(columnX(c - first), rowY(0));
        m_painter.rotate(-90);
        const double across = mm(kCellWidth) / static_cast<double>(lines.size());
        for (int i = 0; i < lines.size(); ++i)
            text(QRectF(mm(kPad), across * i, mm(kColumnHead) - 2 * mm(kPad), across), lines[i],
                 Qt::AlignLeft | Qt::AlignVCenter);
        m_painter.restore();
    }
}

void CMatrixPrinter::printRowHeads(std::size_t first, std::size_t last) {
    const double panelX = mm(kMargin);
    const double wordsX = mm(kMargin + kRowPanel);
    for (std::size_t r = first; r < last;) {
        const CCauseEffectMatrix::Group* group = m_matrix.rowGroup(r);
        const std::size_t end = std::min(last, group->first + group->count);
        text(QRectF(panelX + mm(kPad), rowY(r - first), mm(kRowPanel) - 2 * mm(kPad), mm(kCellHeight)),
             panelWords(m_manager, group->panel), Qt::AlignLeft | Qt::AlignVCenter);
        r = end;
    }
    for (std::size_t r = first; r < last; ++r)
        text(QRectF(wordsX + mm(kPad), rowY(r - first), mm(kRowWords) - 2 * mm(kPad), mm(kCellHeight)),
             CReportWords::side(m_manager, m_matrix.rows()[r].side, true), Qt::AlignLeft | Qt::AlignVCenter);
}

void CMatrixPrinter::printCells(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn,
                                std::size_t lastColumn) {
    for (std::size_t r = firstRow; r < lastRow; ++r)
        for (auto rest = m_matrix.effectsOf(r); !rest.empty();) {
            const auto place = CCauseEffectMatrix::samePlace(rest);
            rest = {rest.first + place.count, rest.count - place.count};
            const std::size_t c = place.first->column;
            if (c < firstColumn || c >= lastColumn) continue;
            const QRectF cell(columnX(c - firstColumn), rowY(r - firstRow), mm(kCellWidth), mm(kCellHeight));
            fittedText(cell.adjusted(mm(kPad / 2), 0, -mm(kPad / 2), 0),
                       QString::fromStdString(CCauseEffectMatrix::delays(place)));
        }
}

void CMatrixPrinter::printGrid(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn,
                               std::size_t lastColumn) {
    const double left = mm(kMargin), right = columnX(lastColumn - firstColumn);
    const double top = mm(kMargin + kHeading), bottom = rowY(lastRow - firstRow);
    const auto pen = [&](bool thick) {
        QPen p(Qt::black);
        p.setWidthF(mm(thick ? kThick : kThin));
        m_painter.setPen(p);
    };
    for (std::size_t r = firstRow; r <= lastRow; ++r) {
        const CCauseEffectMatrix::Group* g = m_matrix.rowGroup(r);
        pen(r == firstRow || r == lastRow || (g && g->first == r));
        m_painter.drawLine(QPointF(left, rowY(r - firstRow)), QPointF(right, rowY(r - firstRow)));
    }
    for (std::size_t c = firstColumn; c <= lastColumn; ++c) {
        const CCauseEffectMatrix::Group* g = m_matrix.columnGroup(c);
        const bool thick = c == firstColumn || c == lastColumn || (g && g->first == c);
        pen(thick);
        m_painter.drawLine(QPointF(columnX(c - firstColumn), thick ? top : top + mm(kPanelBand)),
                           QPointF(columnX(c - firstColumn), bottom));
    }
    pen(true);
    m_painter.drawLine(QPointF(left, top), QPointF(right, top));
    m_painter.drawLine(QPointF(columnX(0), top + mm(kPanelBand)), QPointF(right, top + mm(kPanelBand)));
    m_painter.drawLine(QPointF(left, top), QPointF(left, bottom));
    pen(false);
    m_painter.drawLine(QPointF(left + mm(kRowPanel), rowY(0)), QPointF(left + mm(kRowPanel), bottom));
}

void CMatrixPrinter::printFooter(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn,
                                 std::size_t lastColumn, int pageNumber) {
    const QRectF footer(mm(kMargin), m_height - mm(kMargin + kFooter), m_width - mm(2 * kMargin), mm(kFooter));
    if (!m_matrix.cells().empty())
        text(footer,
             formatted(kFooterText, span(firstRow, lastRow), QString::number(m_matrix.rows().size()),
                       span(firstColumn, lastColumn), QString::number(m_matrix.columns().size())),
             Qt::AlignLeft | Qt::AlignBottom);
    text(footer, CReportPage::kPagePrefix + QString::number(pageNumber), Qt::AlignRight | Qt::AlignBottom);
}

// Over a few columns the panel's label, then the word "Panel", give way: its address is
// shown whole rather than a cut name.
QString CMatrixPrinter::bandWords(int panelId, double width) const {
    const QString words = panelWords(m_manager, panelId);
    const QFontMetricsF fm = m_painter.fontMetrics();
    if (fm.horizontalAdvance(words) <= width || !m_manager.getPanelLabel(panelId)) return words;
    const QString address = QString::number(m_manager.getPanelAddress(panelId));
    const QString shorter = CReportWords::text(kPanelWord) + u' ' + address;
    return fm.horizontalAdvance(shorter) <= width ? shorter : address;
}

QString CMatrixPrinter::panelWords(const CFacilityManager& manager, int panelId) {
    if (panelId == 0) return QStringLiteral("\u2013");
    const QString panel = CReportWords::text(kPanelWord) + u' ';
    const KvWString* label = manager.getPanelLabel(panelId);
    if (!label) return panel + u'?';
    QString words = panel + QString::number(manager.getPanelAddress(panelId));
    if (label->Length()) words += u' ' + QString::fromUtf16(label->c_str(), label->Length());
    return words;
}

// Draws `words` in `box`, cut with an ellipsis when they do not fit.
void CMatrixPrinter::text(const QRectF& box, const QString& words, int flags) {
    const QFontMetricsF fm = m_painter.fontMetrics();
    m_painter.drawText(box, flags, fm.elidedText(CReportPage::printable(words), Qt::ElideRight, box.width()));
}

// Several delays in one cell: a smaller type before an ellipsis.
void CMatrixPrinter::fittedText(const QRectF& box, const QString& words) {
    const double wide = m_painter.fontMetrics().horizontalAdvance(words);
    if (wide <= box.width()) return text(box, words, Qt::AlignCenter);
    QFont small = m_font;
    small.setPixelSize(std::max(1, static_cast<int>(m_font.pixelSize() * std::max(0.6, box.width() / wide))));
    m_painter.setFont(small);
    text(box, words, Qt::AlignCenter);
    m_painter.setFont(m_font);
}
