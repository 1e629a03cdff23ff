// CReportPage: the page model of the printed reports, laid out in character cells on any paged
// paint device (a printer or a PDF writer).
//
// Positions are device pixels. A character cell is the width of "A"; a line is the height of
// the font's tallest text. Text starts 5 cells from the left edge of the printable area, the
// first line of a page is line 4, and the page number stands on line 77 ("Pag. " and the
// number). A page breaks once the current line passes the last text line: lines per page - 10,
// and never below line 76, so text on tall paper cannot run into the page number.
//
// Every finished page is reported to the page callback, which may cancel the job: from then on
// nothing more is drawn and `cancelled()` is true.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <functional>

class QPagedPaintDevice;

class CReportPage {
public:
    static constexpr int kFirstLine = 4;
    static constexpr int kPageNumberLine = 77;
    static constexpr int kBottomLines = 10;
    static constexpr int kMarginCells = 5;
    static constexpr double kLineHeightMm = 3.48;  // 85 lines on A4, 80 on Letter
    // Before the page number of every printed sheet.
    static const QString kPagePrefix;

    // Control characters (tabs, stray line feeds) would draw as boxes; they read as spaces.
    static QString printable(const QString& text);

    // Called with the number of finished sheets; false cancels the job.
    using PageCallback = std::function<bool(int pagesDone)>;

    CReportPage() = default;
    CReportPage(const CReportPage&) = delete;
    CReportPage& operator=(const CReportPage&) = delete;

    // Measures the font on `device` and reads the page size. False when no line fits on the
    // page (lines per page not positive); the device is then left untouched.
    bool initCDC(QPagedPaintDevice& device);
    // Starts the document on the device given to initCDC; false when the device refuses.
    bool beginDocument(PageCallback onPageDone = {});
    // Ends the last page and the document; the last page counts as finished.
    void endDocument();

    // Starts a report on a page of its own: the next page number, line 4, the page number.
    void StartPage();
    // Moves n lines down; past the last text line, to the top of a new page.
    void newLine(int n);
    void newPage();
    void printPageNumber();
    // A rule of the pen's width across the page, half a line below the next line's top.
    void printLine();
    // Draws `text` at the current position; unless pad is -1, moves right by its length plus
    // pad cells (further when the drawn text is wider than its cells, so texts never overlap).
    void printWord(const QString& text, int pad);
    void printSpaces(int n);
    // Draws free text from the current x up to the right margin, breaking it at spaces (inside
    // a word only when the word alone is too long) onto the following lines at the same x.
    void printText(const QString& text);
    // Moves to `cells` from the left margin, or two cells on when the line is already past it.
    void column(int cells);

    bool cancelled() const { return m_cancelled; }
    int charWidth() const { return m_charWidth; }
    int lineHeight() const { return m_lineHeight; }
    int leftMargin() const { return m_leftMargin; }
    int pageWidth() const { return m_pageWidth; }
    int pageHeight() const { return m_pageHeight; }
    int linesPerPage() const { return m_linesPerPage; }
    int lastTextLine() const;
    int currentLine() const { return m_line; }
    int pageNumber() const { return m_pageNumber; }
    int x() const { return m_x; }
    int y() const { return m_y; }

private:
    void resetPosition();
    bool finishPage();
    int rightLimit() const { return m_pageWidth - m_leftMargin; }
    void drawAt(int x, const QString& text);
    QFont reportFont(QPagedPaintDevice& device) const;

    QPagedPaintDevice* m_device = nullptr;
    QPainter m_painter;
    QFont m_font;
    PageCallback m_onPageDone;
    bool m_cancelled = false;
    int m_ascent = 0;
    int m_charWidth = 0;
    int m_lineHeight = 0;
    int m_leftMargin = 0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    double m_pixelsPerMmX = 0;
    double m_pixelsPerMmY = 0;
    int m_linesPerPage = 0;
    int m_line = kFirstLine;
    int m_x = 0;
    int m_y = 0;
    int m_nextLineY = 0;
    int m_pageNumber = 0;
    int m_pagesDone = 0;  // sheets finished, the blank first one of an empty job included
};
