#include "mica/KvProgressDlg.h"

#include <QHBoxLayout>

#include "mica/KvLayout.h"
#include "mica/KvProgressCtrl.h"
#include "mica/KvWaitImage.h"

KvProgressDlg::KvProgressDlg(QWidget* parent)
    : KvWorkerDlg(parent), m_image(new KvWaitImage(this)), m_progress(new KvProgressCtrl(this)) {
    setObjectName(QStringLiteral("KvProgressDlg"));
    m_progress->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    QHBoxLayout* row = KvLayout::hbox(KvLayout::Border, KvLayout::Border);
    row->addWidget(m_image);
    row->addWidget(m_progress, 1);
    setLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void KvProgressDlg::SetWaitImage(const QPixmap& image, const QPixmap& second, int period) {
    m_image->SetImage(image, second, period);
}

void KvProgressDlg::showText(const QString& text) { m_progress->SetStage(text); }

void KvProgressDlg::showProgress(int position, int range) { m_progress->SetPos(position, range); }
