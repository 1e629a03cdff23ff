#include "ui/CCheckFindingsDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "check/CFacilityCheck.h"
#include "ui/CCheckFindingsModel.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kCancelText = 37;
constexpr int kCloseText = 512;
constexpr int kOkPicture = 142;
constexpr int kCancelPicture = 143;

}  // namespace

CCheckFindingsDlg::CCheckFindingsDlg(std::vector<CCheckFinding> findings, QWidget* parent)
    : QDialog(parent),
      m_blocking(CFacilityCheck::hasErrors(findings)),
      m_model(new CCheckFindingsModel(std::move(findings), this)),
      m_list(makeRowTable("findings", this)) {
    printk("\n CCheckFindingsDlg::CCheckFindingsDlg");
    setObjectName("CCheckFindingsDlg");
    setWindowTitle(loadText(kTitleText));
    m_list->setModel(m_model);
    stretchAndWrap(m_list, {CCheckFindingsModel::kText});
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = m_list->selectionModel()->selectedRows();
        if (!rows.isEmpty()) emit itemChosen(m_model->finding(rows.first().row()));
    });

    auto* heading = makeHeading(m_blocking ? kErrorsText : kWarningsText, this);
    auto* hint = makeHeading(kChooseRowText, this);
    hint->setObjectName("hint");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(hint);
    layout->addLayout(makeButtons());
    resize(820, 420);
}

QLayout* CCheckFindingsDlg::makeButtons() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    if (!m_blocking) {
        auto* send = makeImageButton("send", kSendAnywayText, kOkPicture, this);
        connect(send, &QPushButton::clicked, this, &QDialog::accept);
        row->addWidget(send);
    }
    auto* close = makeImageButton("2", m_blocking ? kCloseText : kCancelText, kCancelPicture, this);
    close->setDefault(true);  // Enter never sends
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(close);
    return row;
}

void CCheckFindingsDlg::selectRow(int row) { m_list->selectRow(row); }
