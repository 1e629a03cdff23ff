#include "mica/KvLayout.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>
#include <array>

#include "mica/EzCreateFont.h"

namespace {

struct Metrics {
    QString fontName;  // empty: the desktop's UI font
    double pointSize = 8.0;
    std::array<double, KvLayout::kMetrics> values{0.0, 0.3, 2.0, 4.0, 10.0};
};

Metrics& metrics() {
    static Metrics m;
    return m;
}

}  // namespace

void KvLayout::SetupMetrics(const QString& fontName, double pointSize, double m0, double m1, double m2, double m3,
                            double m4) {
    Metrics& m = metrics();
    m.fontName = EzIsUiFontName(fontName) ? QString() : fontName;
    m.pointSize = pointSize;
    m.values = {m0, m1, m2, m3, m4};
}

QFont KvLayout::font() {
    const Metrics& m = metrics();
    return EzCreateFont(m.fontName, qRound(m.pointSize * 10.0));
}

double KvLayout::metric(int index) {
    if (index < 0 || index >= kMetrics) return 0.0;
    return metrics().values[static_cast<std::size_t>(index)];
}

double KvLayout::unit(const QFont& font) { return QFontMetricsF(font).height() / 4.0; }

int KvLayout::spacing(int index, const QWidget* widget) {
    return qRound(metric(index) * unit(widget ? widget->font() : font()));
}

void KvLayout::setGaps(QBoxLayout* layout, int gap, int border) {
    layout->setSpacing(spacing(gap));
    const int margin = spacing(border);
    layout->setContentsMargins(margin, margin, margin, margin);
}

QHBoxLayout* KvLayout::hbox(int gap, int border) {
    auto* layout = new QHBoxLayout;
    setGaps(layout, gap, border);
    return layout;
}

QVBoxLayout* KvLayout::vbox(int gap, int border) {
    auto* layout = new QVBoxLayout;
    setGaps(layout, gap, border);
    return layout;
}

QHBoxLayout* KvLayout::buttonRow(const QList<QAbstractButton*>& buttons, Qt::Alignment alignment) {
    QHBoxLayout* row = hbox(Normal, None);
    int width = 2 * spacing(Wide);
    for (const QAbstractButton* button : buttons) width = qMax(width, button->sizeHint().width());
    if (alignment & (Qt::AlignRight | Qt::AlignHCenter)) row->addStretch();
    for (QAbstractButton* button : buttons) {
        button->setMinimumWidth(width);
        row->addWidget(button);
    }
    if (alignment & (Qt::AlignLeft | Qt::AlignHCenter)) row->addStretch();
    return row;
}
