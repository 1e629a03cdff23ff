#include "mica/KvProgressCtrl.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "mica/KvLayout.h"

namespace {

constexpr int kFullBar = 1000;  // the bar counts in tenths of a percent, whatever a stage's range

}  // namespace

KvProgressCtrl::KvProgressCtrl(QWidget* parent)
    : QWidget(parent), m_stage(new QLabel(this)), m_bar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("KvProgressCtrl"));
    m_stage->setObjectName(QStringLiteral("stage"));
    m_stage->setWordWrap(true);
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, kFullBar);
    m_bar->setValue(0);
    m_bar->setFormat(QStringLiteral("%p %"));
    QVBoxLayout* column = KvLayout::vbox(KvLayout::Normal, KvLayout::None);
    column->addWidget(m_stage);
    column->addWidget(m_bar);
    setLayout(column);
}

void KvProgressCtrl::SetStage(const QString& text) {
    m_stage->setText(text);
    m_bar->setValue(0);
}

void KvProgressCtrl::SetPos(int position, int range) {
    if (range <= 0) {
        m_bar->setValue(0);
        return;
    }
    const qint64 done = qBound(0, position, range);
    m_bar->setValue(static_cast<int>(done * kFullBar / range));
}

QString KvProgressCtrl::stage() const { return m_stage->text(); }

int KvProgressCtrl::percent() const { return m_bar->value() * 100 / kFullBar; }
