#include "ui/CAboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "art/CArt.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
    printk("\n CAboutBox::CAboutBox");
    setObjectName("CAboutBox");
    setWindowTitle(loadText(180));

    auto* icon = new QLabel(this);
    icon->setPixmap(CArt::icon(128).pixmap(64, 64));
    auto* product = new QLabel(loadText(68), this);
    product->setObjectName("product");
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(loadText(69), this);
    version->setObjectName("version");
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* close = makeImageButton("1", 87, 142, this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(300);
}
