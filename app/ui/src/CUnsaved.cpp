#include "ui/CUnsaved.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

CUnsaved::CUnsaved(QWidget* parent) : QDialog(parent) {
    printk("\n CUnsaved::CUnsaved");
    setObjectName("CUnsaved");
    setWindowTitle(loadText(32));

    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(side, side));
    auto* message = new QLabel(loadText(33), this);
    message->setObjectName("message");
    message->setWordWrap(true);
    message->setMinimumWidth(260);

    auto* save = makeImageButton("1", 38, 145, this);
    auto* dontSave = makeImageButton("2", 39, 144, this);
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] { done(kSave); });
    connect(dontSave, &QPushButton::clicked, this, [this] { done(kDontSave); });

    auto* text = new QHBoxLayout;
    text->addWidget(icon, 0, Qt::AlignTop);
    text->addWidget(message, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(dontSave);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addLayout(buttons);
}
