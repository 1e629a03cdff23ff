// CVerticalTextHeader: a column header whose texts run upwards, so narrow columns can carry
// long names (the effects of the cause-and-effect matrix).
//
// A model may give a section's text as lines apart under kLinesRole (a QStringList, say the
// kind and then the place); they stand side by side in the column, each read from the bottom.
// Otherwise the display text is one line. Only the sections in view are drawn.
#pragma once

#include <QHeaderView>
#include <QStringList>

class CVerticalTextHeader : public QHeaderView {
    Q_OBJECT
public:
    static constexpr int kLinesRole = Qt::UserRole + 1;

    // `height` in pixels is the room the texts get until fitted; longer ones end in an ellipsis.
    explicit CVerticalTextHeader(int height, QWidget* parent = nullptr);

    // Takes the height the longest line of any section needs, between `least` and `most`
    // pixels (texts longer than `most` end in an ellipsis), and returns it.
    int fitToContents(int least, int most);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override;

private:
    QStringList linesOf(int section) const;

    int m_height;
};
