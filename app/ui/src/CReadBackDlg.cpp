#include "ui/CReadBackDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/CReadBackModel.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kCloseText = 512;
constexpr int kClosePicture = 143;

}  // namespace

CReadBackDlg::CReadBackDlg(std::vector<CPanelDifference> differences, QWidget* parent)
    : QDialog(parent), m_model(new CReadBackModel(std::move(differences), this)) {
    printk("\n CReadBackDlg::CReadBackDlg");
    setObjectName("CReadBackDlg");
    setWindowTitle(loadText(kTitleText));
    auto* heading = makeHeading(kDiffersText, this);
    auto* table = makeRowTable("differences", this);
    table->setModel(m_model);
    stretchAndWrap(table, {CReadBackModel::kSent, CReadBackModel::kHeld});
    auto* close = makeImageButton("2", kCloseText, kClosePicture, this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(table, 1);
    layout->addLayout(buttons);
    resize(820, 420);
}
