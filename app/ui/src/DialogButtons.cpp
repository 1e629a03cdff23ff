#include "ui/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "ui/UiWidgets.h"

QBoxLayout* makeOkCancelRow(QDialog* dialog) {
    QPushButton* ok = makeImageButton("1", 87, 142, dialog);
    QPushButton* cancel = makeImageButton("2", 37, 143, dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
