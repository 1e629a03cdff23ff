// KvWaitDlg: the modal wait dialog shown while a transfer runs.
//
// Created without a parent; shows an animated picture, one line of text and,
// once the worker reports steps, a progress bar. The thread rules are those of
// KvWorkerDlg: SetText, SetProgress, IsOK and Done from the worker, RunModal on
// the user-interface thread.
#pragma once

#include <QPixmap>

#include "mica/KvWorkerDlg.h"

class QLabel;
class QProgressBar;
class KvWaitImage;

class KvWaitDlg : public KvWorkerDlg {
    Q_OBJECT

public:
    explicit KvWaitDlg(QWidget* parent = nullptr);

    // User-interface thread: the animation (see KvWaitImage::SetImage).
    void SetWaitImage(const QPixmap& image, const QPixmap& second, int period);
    KvWaitImage* waitImage() const { return m_image; }

protected:
    void showText(const QString& text) override;
    void showProgress(int position, int range) override;

private:
    KvWaitImage* m_image;
    QLabel* m_text;
    QProgressBar* m_bar;
};
