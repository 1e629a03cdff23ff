#include "ui/CMainDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "art/CArt.h"
#include "ui/UiText.h"

namespace {

constexpr int kTaskPicture = 56;
constexpr int kSmallPicture = 28;

}  // namespace

CMainDlg::CMainDlg(CFacilityManager& facility, CUnsavedStatus& status, QWidget* parent)
    : QWidget(parent), m_facility(facility), m_status(status) {
    printk("\n CMainDlg::CMainDlg");
    setObjectName("CMainDlg");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleRow());
    layout->addWidget(taskGrid(), 1);
}

QWidget* CMainDlg::titleRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    auto* title = new QLabel(loadText(68), row);
    title->setObjectName("title");
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 2.0);
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title);
    layout->addStretch();
    layout->addWidget(smallButton(1143, 4, 182, &CMainDlg::newRequested));
    layout->addWidget(smallButton(1140, 3, 183, &CMainDlg::openRequested));
    layout->addWidget(smallButton(1141, 5, 184, &CMainDlg::saveRequested));
    layout->addWidget(smallButton(1142, 6, 185, &CMainDlg::saveAsRequested));
    layout->addSpacing(12);
    layout->addWidget(smallButton(1114, 180, 175, &CMainDlg::aboutRequested));
    return row;
}

QWidget* CMainDlg::taskGrid() {
    auto* grid = new QWidget(this);
    auto* layout = new QGridLayout(grid);
    layout->addWidget(taskButton(1098, 174, 165, &CMainDlg::loopsRequested), 0, 0);
    layout->addWidget(taskButton(1099, 175, 166, &CMainDlg::eventsRequested), 0, 1);
    layout->addWidget(taskButton(1096, 173, 164, &CMainDlg::systemInfoRequested), 0, 2);
    layout->addWidget(taskButton(1144, 198, 187, &CMainDlg::downloadRequested), 1, 0);
    layout->addWidget(taskButton(1145, 199, 186, &CMainDlg::uploadRequested), 1, 1);
    layout->addWidget(taskButton(1127, 188, 179, &CMainDlg::clockRequested), 1, 2);
    layout->addWidget(taskButton(1102, 178, 169, &CMainDlg::eventLogRequested), 2, 0);
    layout->addWidget(taskButton(1101, 177, 168, &CMainDlg::reportsRequested), 2, 1);
    layout->addWidget(taskButton(1105, 7, 170, &CMainDlg::exitRequested), 2, 2);
    return grid;
}

// A task: a large picture with its label under it.
QToolButton* CMainDlg::taskButton(int control, int textId, int pictureId, void (CMainDlg::*request)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::number(control));
    button->setText(loadText(textId));
    button->setIcon(CArt::icon(pictureId));
    button->setIconSize(QSize(kTaskPicture, kTaskPicture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(button, &QToolButton::clicked, this, request);
    return button;
}

// A picture-only button; its text names it for the keyboard, tool tips and screen readers.
QToolButton* CMainDlg::smallButton(int control, int nameId, int pictureId, void (CMainDlg::*request)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::number(control));
    const QString name = loadText(nameId);
    button->setIcon(CArt::icon(pictureId));
    button->setIconSize(QSize(kSmallPicture, kSmallPicture));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setText(name);
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, request);
    return button;
}
