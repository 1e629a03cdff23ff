#include "art/CArt.h"

#include "SvgIconEngine.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <array>

namespace {

const QString kPrefix = QStringLiteral(":/cairn/art/");

struct NamedPicture {
    int id;
    const char* file;
};

// Program icon, dialog buttons and the home view, by the picture numbers the windows use.
constexpr NamedPicture kIcons[] = {
    {128, "icon.svg"},
    {142, "button-ok.svg"},
    {143, "button-cancel.svg"},
    {144, "button-dont-save.svg"},
    {145, "button-save.svg"},
    {164, "home-system-information.svg"},
    {165, "home-loops-editor.svg"},
    {166, "home-event-action-editor.svg"},
    {168, "home-reports.svg"},
    {169, "home-event-log.svg"},
    {170, "home-exit.svg"},
    {175, "home-about.svg"},
    {179, "home-clock.svg"},
    {182, "home-new.svg"},
    {183, "home-open.svg"},
    {184, "home-save.svg"},
    {185, "home-save-as.svg"},
    {186, "home-upload.svg"},
    {187, "home-download.svg"},
};

// The editors' image list in index order: one picture per part of each element type
// (a device of several addresses has one per address), then facility, panel and loop.
constexpr std::array<const char*, CArt::kImageListBase> kImageList = {
    "element-optical-detector.svg",
    "element-heat-detector.svg",
    "element-multisensor-detector.svg",
    "element-manual-call-point.svg",
    "element-loop-sounder.svg",
    "element-zone-module.svg",
    "element-dual-zone-module-1.svg",
    "element-dual-zone-module-2.svg",
    "element-input-module.svg",
    "element-dual-input-module-1.svg",
    "element-dual-input-module-2.svg",
    "element-output-module.svg",
    "element-dual-output-module-1.svg",
    "element-dual-output-module-2.svg",
    "element-io-module-1.svg",
    "element-io-module-2.svg",
    "element-dual-io-module-1.svg",
    "element-dual-io-module-2.svg",
    "element-dual-io-module-3.svg",
    "element-dual-io-module-4.svg",
    "element-supervised-output.svg",
    "element-dual-supervised-output-1.svg",
    "element-dual-supervised-output-2.svg",
    "element-sounder-beacon.svg",
    "element-dual-sounder-module-1.svg",
    "element-dual-sounder-module-2.svg",
    "element-power-relay-module.svg",
    "facility.svg",
    "panel.svg",
    "loop.svg",
};

QIcon svgIcon(const QString& file, const QString& overlay = {})
{
    return QIcon(new SvgIconEngine(kPrefix + file, overlay.isEmpty() ? QString() : kPrefix + overlay));
}

} // namespace

QIcon CArt::icon(int pictureId)
{
    for (const auto& picture : kIcons) {
        if (picture.id == pictureId)
            return svgIcon(QString::fromLatin1(picture.file));
    }
    return {};
}

QPixmap CArt::splash()
{
    QImage image(410, 355, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer renderer(kPrefix + QStringLiteral("splash.svg"));
    renderer.render(&painter, QRectF(image.rect()));
    painter.end();
    return QPixmap::fromImage(image);
}

QIcon CArt::imageList(int index)
{
    if (index < 0)
        return {};
    const int base = index % kUsedInput;
    if (base >= kImageListBase || index >= 3 * kUsedInput)
        return {};
    const QString file = QString::fromLatin1(kImageList[static_cast<std::size_t>(base)]);
    switch (index / kUsedInput) {
    case 0:
        return svgIcon(file);
    case 1:
        return svgIcon(file, QStringLiteral("used-input.svg"));
    default:
        return svgIcon(file, QStringLiteral("used-output.svg"));
    }
}

QString CArt::iconPath()
{
    return kPrefix + QStringLiteral("icon.svg");
}
