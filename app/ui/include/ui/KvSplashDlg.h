// KvSplashDlg: the splash window shown while the program starts.
//
// 408 x 365, centred on the screen: the splash picture with the product name
// (68), its subtitle (67) and "v" + the version (69) drawn over it. It ends
// itself after the display time (none when 0) or at a left click, with result 1.
#pragma once

#include <QDialog>
#include <QPixmap>

class KvSplashDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 408;
    static constexpr int kHeight = 365;

    explicit KvSplashDlg(int displayMs, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void drawText(QPainter& painter, const QRect& box, int pixelSize, int weight, const QString& text,
                  Qt::Alignment alignment);

    int m_displayMs;
    QPixmap m_picture;
    QString m_subtitle;
    QString m_product;
    QString m_version;
};
