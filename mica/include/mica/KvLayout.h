// KvLayout: the gaps and borders of every window, in units of the UI font.
//
// Start-up names a font and five metrics; a metric is a length in font units,
// one unit being a quarter of the font's line height, so windows keep their
// proportions at any font size and scale. "MS Sans Serif" (and "MS Shell Dlg")
// stand for the desktop's own UI font, whatever size they are given with.
// Until SetupMetrics is called the metrics are 0, 0.3, 2, 4 and 10 on the
// desktop font. User-interface thread only.
#pragma once

#include <QFont>
#include <QList>
#include <QString>

class QAbstractButton;
class QBoxLayout;
class QHBoxLayout;
class QVBoxLayout;
class QWidget;

class KvLayout {
public:
    // What the five metrics are used for.
    enum Gap {
        None = 0,    // touching
        Tight = 1,   // a hairline, between a control and what belongs to it
        Normal = 2,  // between controls
        Border = 3,  // window borders and between groups
        Wide = 4,    // half the least width of a push button in a button row
    };
    static constexpr int kMetrics = 5;

    static void SetupMetrics(const QString& fontName, double pointSize, double m0, double m1, double m2, double m3,
                             double m4);

    // The UI font SetupMetrics chose (the desktop's for "MS Sans Serif").
    static QFont font();
    // Metric `index` in font units; 0 for an index out of range.
    static double metric(int index);
    // Metric `index` in pixels for `widget`'s font, or font() when null.
    static int spacing(int index, const QWidget* widget = nullptr);
    // Pixels of one font unit for `font`.
    static double unit(const QFont& font);

    // Layouts with metric `gap` between items and metric `border` around them.
    static QHBoxLayout* hbox(int gap = Normal, int border = None);
    static QVBoxLayout* vbox(int gap = Normal, int border = None);
    // A row of push buttons as at the foot of a dialog: pushed to `alignment`
    // (left, right or centre), all as wide as the widest and at least twice metric Wide.
    static QHBoxLayout* buttonRow(const QList<QAbstractButton*>& buttons, Qt::Alignment alignment = Qt::AlignRight);

private:
    static void setGaps(QBoxLayout* layout, int gap, int border);
};
