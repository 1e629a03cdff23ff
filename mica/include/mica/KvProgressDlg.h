// KvProgressDlg: the modal progress dialog of work in stages (the firmware update).
//
// An animated picture beside a KvProgressCtrl. From the worker, SetText starts
// a stage (the bar goes back to empty) and SetProgress moves the bar; the
// thread rules are those of KvWorkerDlg.
#pragma once

#include <QPixmap>

#include "mica/KvWorkerDlg.h"

class KvProgressCtrl;
class KvWaitImage;

class KvProgressDlg : public KvWorkerDlg {
    Q_OBJECT

public:
    explicit KvProgressDlg(QWidget* parent = nullptr);

    // User-interface thread: the animation (see KvWaitImage::SetImage).
    void SetWaitImage(const QPixmap& image, const QPixmap& second, int period);
    KvWaitImage* waitImage() const { return m_image; }
    KvProgressCtrl* progressCtrl() const { return m_progress; }

protected:
    void showText(const QString& text) override;
    void showProgress(int position, int range) override;

private:
    KvWaitImage* m_image;
    KvProgressCtrl* m_progress;
};
