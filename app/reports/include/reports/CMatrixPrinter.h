// CMatrixPrinter: the cause-and-effect matrix on a paged paint device (a printer or a PDF
// writer).
//
// Causes run down the left, effects across the top, each cell holds the delays of the rules
// joining its cause and effect. A matrix larger than a sheet is cut into sheets down and
// across (all columns of the first rows first); every sheet repeats the words of its rows and
// columns and the panels they belong to, so each reads on its own. The footer says which
// causes and effects the sheet holds, and its page number. Thicker lines part the panels.
#pragma once

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include "model/CCauseEffectMatrix.h"
#include "reports/CReportPage.h"
#include "reports/CReportPrinter.h"

class CFacilityManager;
class QPagedPaintDevice;

class CMatrixPrinter {
public:
    using Result = CReportPrinter::Result;

    // Both are only read, and must outlive the printer.
    CMatrixPrinter(const CFacilityManager& manager, const CCauseEffectMatrix& matrix)
        : m_manager(manager), m_matrix(matrix) {}

    // Prints the matrix under `title` (the facility file's name, say). kNoRoom when not one
    // row and one column fit on the sheet; an empty matrix prints one sheet that says so.
    Result print(QPagedPaintDevice& device, const QString& title, CReportPage::PageCallback onPageDone = {});
    // The same as a PDF file on landscape sheets of `pageSize`, replaced whole or not at all;
    // kNotSaved when it cannot be written.
    Result pdf(const QString& path, const QString& title, const QPageSize& pageSize,
               CReportPage::PageCallback onPageDone = {});

    // "Panel 3 Lobby": the panel of a group by its address and label; "Panel ?" for a panel
    // the facility does not have, a dash for sides that name no panel.
    static QString panelWords(const CFacilityManager& manager, int panelId);

    // The cut of the last job.
    int rowsPerPage() const { return m_rowsPerPage; }
    int columnsPerPage() const { return m_columnsPerPage; }
    int pagesDown() const { return m_pagesDown; }
    int pagesAcross() const { return m_pagesAcross; }

private:
    bool measure(QPagedPaintDevice& device);
    void printPage(int down, int across, int pageNumber, const QString& title);
    void printHeading(const QString& title);
    void printCorner();
    void printColumnHeads(std::size_t first, std::size_t last);
    void printRowHeads(std::size_t first, std::size_t last);
    void printCells(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn, std::size_t lastColumn);
    void printGrid(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn, std::size_t lastColumn);
    void printFooter(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn, std::size_t lastColumn,
                     int pageNumber);
    QString bandWords(int panelId, double width) const;
    void text(const QRectF& box, const QString& words, int flags);
    void fittedText(const QRectF& box, const QString& words);
    double mm(double millimetres) const { return millimetres * m_pixelsPerMm; }
    double columnX(std::size_t onPage) const;
    double rowY(std::size_t onPage) const;

    const CFacilityManager& m_manager;
    const CCauseEffectMatrix& m_matrix;
    QPainter m_painter;
    QFont m_font;
    double m_pixelsPerMm = 1;
    double m_width = 0, m_height = 0;
    int m_rowsPerPage = 0;
    int m_columnsPerPage = 0;
    int m_pagesDown = 0;
    int m_pagesAcross = 0;
};
