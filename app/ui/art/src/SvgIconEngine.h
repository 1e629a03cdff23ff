// SvgIconEngine: draws one SVG, optionally with a second SVG (a badge) on top, at whatever size is asked.
#pragma once

#include <QIconEngine>
#include <QString>

class SvgIconEngine : public QIconEngine {
public:
    // overlayPath may be empty: the picture is the base alone.
    explicit SvgIconEngine(QString basePath, QString overlayPath = {});

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& pixels, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    QString base_;
    QString overlay_;
};
