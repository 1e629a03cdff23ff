#include "ui/CSysLogDlg.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

// Object names of a log's controls, by kind.
const char* const kLogNames[CEventLogForm::kLogKinds] = {"general", "alarm", "breakdown", "test"};

}  // namespace

CSysLogDlg::CSysLogDlg(CUsbHandler& handler, IUserPrompt& prompt, IFileDialogs& files, QWidget* parent)
    : QDialog(parent), m_form(handler, prompt), m_files(files) {
    printk("\n CSysLogDlg::OnInitDialog");
    setObjectName("CSysLogDlg");
    setWindowTitle(loadText(200));

    auto* hint = new QLabel(loadText(205), this);
    hint->setWordWrap(true);
    auto* ok = makeImageButton("1", 87, 142, this);
    auto* cancel = makeImageButton("2", 37, 143, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSysLogDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSysLogDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(logRows());
    layout->addLayout(buttons);
    setMinimumWidth(520);
}

QLayout* CSysLogDlg::logRows() {
    auto* grid = new QGridLayout;
    for (int kind = 0; kind < CEventLogForm::kLogKinds; ++kind) {
        const QString name = kLogNames[kind];
        m_checks[kind] = new QCheckBox(loadText(201 + kind), this);
        m_checks[kind]->setObjectName(name);
        m_paths[kind] = new QLineEdit(defaultFile(kind), this);
        m_paths[kind]->setObjectName(name + "File");
        m_paths[kind]->setAccessibleName(m_checks[kind]->text());
        m_paths[kind]->setEnabled(false);
        m_browse[kind] = new QPushButton(loadText(212), this);
        m_browse[kind]->setObjectName(name + "Browse");
        m_browse[kind]->setAccessibleDescription(m_checks[kind]->text());
        m_browse[kind]->setEnabled(false);
        connect(m_checks[kind], &QCheckBox::clicked, this, [this, kind] { OnBtCheck(kind); });
        connect(m_browse[kind], &QPushButton::clicked, this, [this, kind] { OnBtBrowse(kind); });
        grid->addWidget(m_checks[kind], kind, 0);
        grid->addWidget(m_paths[kind], kind, 1);
        grid->addWidget(m_browse[kind], kind, 2);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

QString CSysLogDlg::defaultFile(int kind) {
    const QString name = QFileInfo(toQString(CEventLogForm::defaultPath(kind))).fileName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(name);
}

void CSysLogDlg::OnBtCheck(int kind) {
    printk("\n CSysLogDlg::OnBtCheck");
    m_paths[kind]->setEnabled(!m_paths[kind]->isEnabled());
    m_browse[kind]->setEnabled(!m_browse[kind]->isEnabled());
}

void CSysLogDlg::OnBtBrowse(int kind) {
    printk("\n CSysLogDlg::fileNew");
    const QString path = m_files.saveCsv(m_paths[kind]->text());
    if (!path.isEmpty()) m_paths[kind]->setText(path);
}

void CSysLogDlg::accept() {
    printk("\n CSysLogDlg::OnOK");
    // A log is chosen when its Browse button is on.
    for (int kind = 0; kind < CEventLogForm::kLogKinds; ++kind) {
        m_form.choose(kind, m_browse[kind]->isEnabled());
        m_form.setPath(kind, toKvWString(m_paths[kind]->text()));
    }
    m_outcome = m_form.accept();
    if (m_outcome == CEventLogForm::Outcome::Cancelled) return;
    QDialog::accept();
}
