#include "mica/KvWaitDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "mica/KvLayout.h"
#include "mica/KvWaitImage.h"

KvWaitDlg::KvWaitDlg(QWidget* parent)
    : KvWorkerDlg(parent), m_image(new KvWaitImage(this)), m_text(new QLabel(this)), m_bar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("KvWaitDlg"));
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setTextVisible(false);
    m_bar->hide();

    QVBoxLayout* column = KvLayout::vbox(KvLayout::Normal);
    column->addStretch();
    column->addWidget(m_text);
    column->addWidget(m_bar);
    column->addStretch();
    QHBoxLayout* row = KvLayout::hbox(KvLayout::Border, KvLayout::Border);
    row->addWidget(m_image);
    row->addLayout(column, 1);
    setLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void KvWaitDlg::SetWaitImage(const QPixmap& image, const QPixmap& second, int period) {
    m_image->SetImage(image, second, period);
}

void KvWaitDlg::showText(const QString& text) { m_text->setText(text); }

void KvWaitDlg::showProgress(int position, int range) {
    if (range <= 0) {
        m_bar->hide();
        return;
    }
    m_bar->setRange(0, range);
    m_bar->setValue(qBound(0, position, range));
    m_bar->show();
}
