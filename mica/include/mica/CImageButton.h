// CImageButton: a push button with a picture beside or instead of its text.
//
// A bitmap picture keeps magenta (red 255, green 0, blue 255) transparent and
// is enlarged pixel for pixel on HiDPI screens, so its edges stay sharp; an
// icon (an SVG picture) is drawn as it is, at the screen's resolution. A
// button with a picture and no text takes its tool tip as its accessible
// name, so screen readers can name it: give such a button a tool tip.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPushButton>

class CImageButton : public QPushButton {
    Q_OBJECT

public:
    // The picture's edge, in lines of the button's font, of buttons that are
    // given no picture size of their own (start-up sets 1.5).
    static void SetupMetrics(double pictureLines);
    static double pictureLines();

    explicit CImageButton(QWidget* parent = nullptr);
    CImageButton(const QString& text, QWidget* parent = nullptr);

    // A bitmap; its exact magenta pixels become transparent.
    void SetBitmap(const QImage& bitmap);
    // An icon, drawn as it is.
    void SetPicture(const QIcon& picture);
    // Fixes the picture's size in device-independent pixels. With an empty size a
    // bitmap takes its own size and an icon the size from the metrics.
    void SetPictureSize(const QSize& size);

    // `bitmap` with every pixel of exactly (255, 0, 255) made transparent.
    static QImage KeyOutMagenta(const QImage& bitmap);

protected:
    bool event(QEvent* event) override;

private:
    void applyPictureSize();
    void updateAccessibleName();

    QSize m_pictureSize;
    QSize m_bitmapSize;
    bool m_nameFromToolTip = false;
};
