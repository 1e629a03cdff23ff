// KvHyperlink: text that acts like a link.
//
// Drawn in the theme's link colour and underlined; a click, or Space or Enter
// while it has the keyboard focus (Tab reaches it), emits clicked(). With a
// URL set, a click also opens the URL with the desktop's handler.
#pragma once

#include <QAbstractButton>
#include <QUrl>

class KvHyperlink : public QAbstractButton {
    Q_OBJECT

public:
    explicit KvHyperlink(QWidget* parent = nullptr);
    KvHyperlink(const QString& text, QWidget* parent = nullptr);

    void SetUrl(const QUrl& url) { m_url = url; }
    QUrl Url() const { return m_url; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openUrl();

    QUrl m_url;
};
