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
    // The whole sheet is the printable area; the page model keeps its own margins.
    return save(path, title, QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)),
                [&](QPagedPaintDevice& device) {
                    return CReportPrinter(manager, switches).print(device, std::move(onPageDone));
                });
}

CReportPrinter::Result CReportPdf::save(const QString& path, const QString& title, const QPageLayout& layout,
                                        const std::function<CReportPrinter::Result(QPagedPaintDevice&)>& print) {
    printk("\n CReportPdf::save");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CReportPrinter::Result result;
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setResolution(kResolution);
        pdf.setPageLayout(layout);
        result = print(pdf);
    }
    if (result != CReportPrinter::Result::kPrinted) return result;
    const QByteArray& data = buffer.data();
    const bool saved = KvSaveFileAtomic(reinterpret_cast<const char16_t*>(path.utf16()), data.constData(),
                                        static_cast<std::size_t>(data.size()));
    return saved ? result : CReportPrinter::Result::kNotSaved;
}
