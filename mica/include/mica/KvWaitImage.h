// KvWaitImage: a picture that shows work going on.
//
// Draws the picture in the middle of a ring of dots that turns, and fades
// between the two pictures when they differ. The animation runs only while
// the control is visible. Pictures keep their device pixel ratio, so a
// picture made for a HiDPI screen stays crisp.
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class KvWaitImage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDefaultPeriod = 1200;  // milliseconds of one turn

    explicit KvWaitImage(QWidget* parent = nullptr);

    // Animates `image`, and `second` as the other frame when it is not null.
    // `period` is the time of one turn in milliseconds; 0 or less takes kDefaultPeriod.
    void SetImage(const QPixmap& image, const QPixmap& second = QPixmap(), int period = 0);
    // The same from an icon (an SVG stays sharp at any scale), drawn `edge` pixels wide.
    void SetIcon(const QIcon& icon, int edge = 48, int period = 0);

    bool isAnimating() const { return m_timer.isActive(); }
    int period() const { return m_period; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QSize pictureSize() const;
    void drawRing(QPainter& painter, qreal phase) const;
    void drawPicture(QPainter& painter, qreal phase) const;

    QPixmap m_first;
    QPixmap m_second;
    QIcon m_icon;
    int m_edge = 0;
    int m_period = kDefaultPeriod;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
