#include "reports/CReportPdf.h"

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>

#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"

namespace {

constexpr int kResolution = 1200;

}  // namespace

QPageSize CReportPdf::defaultPageSize() {
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                         : QPageSize::A4);
}

CReportPrinter::Result CReportPdf::write(const CFacilityManager& manager, const CReportSwitches& switches,
                                         const QString& path, const QString& title, const QPageSize& pageSize,
                                         CReportPage::PageCallback onPageDone) {
    printk("\n CReportPdf::write");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CReportPrinter::Result result;
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setResolution(kResolution);
        // The whole sheet is the printable area; the page model keeps its own margins.
        pdf.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        result = CReportPrinter(manager, switches).print(pdf, std::move(onPageDone));
    }
    if (result != CReportPrinter::Result::kPrinted) return result;
    const QByteArray& data = buffer.data();
    const bool saved = KvSaveFileAtomic(reinterpret_cast<const char16_t*>(path.utf16()), data.constData(),
                                        static_cast<std::size_t>(data.size()));
    return saved ? result : CReportPrinter::Result::kNotSaved;
}
