#include "ui/CMainFrame.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>

#include "basalt/KvTrace.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"
#include "panel_link/CUsbHandler.h"
#include "ui/CAboutBox.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CFacilityEvents.h"
#include "ui/CFileCommands.h"
#include "ui/CFirmwareUpdateCommand.h"
#include "ui/CHistoryDlg.h"
#include "ui/CMainDlg.h"
#include "art/CArt.h"
#include "ui/CSysHourDlg.h"
#include "ui/CSysInfoDlg.h"
#include "ui/CSysLogDlg.h"
#include "ui/CSysReports.h"
#include "ui/CUndoCommands.h"
#include "ui/CWaitDialogs.h"
#include "ui/UiText.h"

const QSize CMainFrame::kHomeSize(700, 565);
const QSize CMainFrame::kFirstEditorSize(800, 600);

namespace {

// The smallest editor window that still shows its buttons.
const QSize kLeastEditorSize(480, 360);

}  // namespace

CMainFrame::CMainFrame(const CFrameServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_editorSize(kFirstEditorSize) {
    printk("\n CMainFrame::OnCreate");
    setObjectName("CMainFrame");
    if (!m_services.waitDialogs) m_services.waitDialogs = &CWaitDialogs::waitDialog;
    if (!m_services.progressDialogs) m_services.progressDialogs = &CWaitDialogs::progressDialog;

    m_facility = std::make_unique<CFacilityManager>();
    m_xml = std::make_unique<CXmlHandler>(*m_facility);
    m_modelEvents = std::make_unique<CFacilityEvents>();
    m_facility->setPrompt(&m_services.prompt);
    m_facility->setObserver(m_modelEvents.get());
    m_usb = std::make_unique<CUsbHandler>(*m_facility, m_services.prompt, m_services.waitDialogs, m_services.backend);
    m_files = std::make_unique<CFileCommands>(*m_facility, *m_xml, m_unsaved, m_services.prompt, m_services.files, this);
    m_undo = std::make_unique<CUndoCommands>(*m_facility, m_unsaved);

    createViews();
    connectViews();
    loadSettings();
    setWindowIcon(CArt::icon(128));
    mainFrameResize();
    if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    updateTitle();
}

CMainFrame::~CMainFrame() {
    printk("\n CMainFrame::~CMainFrame");
    m_facility->setObserver(nullptr);
    m_facility->setPrompt(nullptr);
    // The views hold references to the model: they go before it.
    delete m_stack;
}

void CMainFrame::createViews() {
    m_stack = new QStackedWidget(this);
    m_events = new CDragNDropDlg(*m_facility, m_unsaved, m_services.prompt, m_stack);
    m_loops = new CExtendedControlsDlg(*m_facility, m_unsaved, m_services.prompt, *m_usb, *m_files, m_stack);
    m_home = new CMainDlg(*m_facility, m_unsaved, m_stack);
    for (QWidget* view : {static_cast<QWidget*>(m_events), static_cast<QWidget*>(m_loops),
                          static_cast<QWidget*>(m_home)})
        m_stack->addWidget(view);
    m_stack->setCurrentWidget(m_home);
    setCentralWidget(m_stack);
    m_undo->attach(m_loops);
    m_undo->attach(m_events);
}

// Every request of a view, and what the frame does with it.
void CMainFrame::connectViews() {
    connect(m_home, &CMainDlg::systemInfoRequested, this, &CMainFrame::fileEditSysInfo);
    connect(m_home, &CMainDlg::loopsRequested, this, &CMainFrame::switchToLoops);
    connect(m_home, &CMainDlg::eventsRequested, this, &CMainFrame::switchToEvents);
    connect(m_home, &CMainDlg::reportsRequested, this, &CMainFrame::fileSysReports);
    connect(m_home, &CMainDlg::eventLogRequested, this, &CMainFrame::fileEventLog);
    connect(m_home, &CMainDlg::clockRequested, this, &CMainFrame::fileSetSysHour);
    connect(m_home, &CMainDlg::exitRequested, this, &CMainFrame::close);
    connect(m_home, &CMainDlg::aboutRequested, this, &CMainFrame::fileAbout);
    connect(m_home, &CMainDlg::downloadRequested, this, &CMainFrame::usbDownload);
    connect(m_home, &CMainDlg::uploadRequested, this, &CMainFrame::usbUpload);
    connect(m_home, &CMainDlg::newRequested, this, &CMainFrame::fileNew);
    connect(m_home, &CMainDlg::openRequested, this, &CMainFrame::fileOpen);
    connect(m_home, &CMainDlg::saveRequested, this, &CMainFrame::fileSave);
    connect(m_home, &CMainDlg::saveAsRequested, this, &CMainFrame::fileSaveAs);
    connect(m_loops, &CExtendedControlsDlg::backRequested, this, &CMainFrame::onBack);
    connect(m_loops, &CExtendedControlsDlg::exitRequested, this, &CMainFrame::close);
    connect(m_loops, &CExtendedControlsDlg::titleChanged, this, &CMainFrame::updateTitle);
    connect(m_loops, &CExtendedControlsDlg::itemRequested, this, &CMainFrame::showCheckedItem);
    connect(m_loops, &CExtendedControlsDlg::newRequested, this, &CMainFrame::fileNew);
    connect(m_loops, &CExtendedControlsDlg::openRequested, this, &CMainFrame::fileOpen);
    connect(m_loops, &CExtendedControlsDlg::saveRequested, this, &CMainFrame::fileSave);
    connect(m_loops, &CExtendedControlsDlg::saveAsRequested, this, &CMainFrame::fileSaveAs);
    connect(m_events, &CDragNDropDlg::backRequested, this, &CMainFrame::onBack);
    connect(m_events, &CDragNDropDlg::listsChanged, this, &CMainFrame::updateLists);
    connect(m_modelEvents.get(), &CFacilityEvents::groupImageLowered, m_events, &CDragNDropDlg::lowerGroupImage);
    connect(m_modelEvents.get(), &CFacilityEvents::loopsRebuildRequested, m_loops, &CExtendedControlsDlg::onLoopsChanged);
    connect(m_files.get(), &CFileCommands::facilityReplaced, this, &CMainFrame::refreshViews);
    connect(m_files.get(), &CFileCommands::titleChanged, this, &CMainFrame::updateTitle);
    connect(m_modelEvents.get(), &CFacilityEvents::undoHistoryChanged, m_undo.get(), &CUndoCommands::refresh);
    connect(m_undo.get(), &CUndoCommands::facilityChanged, this, [this] {
        m_loops->populateAfterStep();
        m_events->populate();
        updateTitle();
    });
}

CMainFrame::View CMainFrame::view() const {
    if (m_stack->currentWidget() == m_loops) return View::Loops;
    if (m_stack->currentWidget() == m_events) return View::Events;
    return View::Home;
}

// ---- Menus ----

void CMainFrame::loadOptionsMenu() {
    menuBar()->clear();
    if (view() == View::Home)
        buildHomeMenu();
    else
        buildEditorMenu();
}

void CMainFrame::buildHomeMenu() {
    QMenu* file = addMenu(8);
    addCommand(file, 4, 32787, &CMainFrame::fileNew)->setShortcut(QKeySequence::New);
    addCommand(file, 3, 32788, &CMainFrame::fileOpen)->setShortcut(QKeySequence::Open);
    addCommand(file, 5, 32789, &CMainFrame::fileSave)->setShortcut(QKeySequence::Save);
    // By its keys: the standard Save As is empty on desktops without a key scheme of their own.
    addCommand(file, 6, 32790, &CMainFrame::fileSaveAs)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    QAction* exit = file->addAction(loadText(7), this, &CMainFrame::close);
    exit->setObjectName("32791");
    exit->setShortcut(QKeySequence::Quit);
    QMenu* system = addMenu(179);
    addCommand(system, 173, 32804, &CMainFrame::fileEditSysInfo);
    addCommand(system, 174, 32805, &CMainFrame::switchToLoops);
    addCommand(system, 175, 32806, &CMainFrame::switchToEvents);
    addCommand(system, 177, 32808, &CMainFrame::fileSysReports);
    addCommand(system, 178, 32809, &CMainFrame::fileEventLog);
    addCommand(system, 188, 32814, &CMainFrame::fileSetSysHour);
    QMenu* usb = menuBar()->addMenu("&USB");
    usb->setObjectName("USB");
    addCommand(usb, 1, 32792, &CMainFrame::usbUpload);
    addCommand(usb, 2, 32793, &CMainFrame::usbDownload);
    addCommand(usb, CHistoryDlg::kTitleText, 32850, &CMainFrame::usbHistory);
    usb->addSeparator();
    addCommand(usb, 277, 32818, &CMainFrame::usbUpdate);
    addCommand(addMenu(181), 180, 32812, &CMainFrame::fileAbout);
}

void CMainFrame::buildEditorMenu() {
    QMenu* views = addMenu(83);
    QAction* loops = addCommand(views, 84, 32796, &CMainFrame::switchToLoops);
    QAction* events = addCommand(views, 85, 32797, &CMainFrame::switchToEvents);
    loops->setCheckable(true);
    events->setCheckable(true);
    connect(views, &QMenu::aboutToShow, this, [this, loops, events] {
        loops->setChecked(view() == View::Loops);
        events->setChecked(view() != View::Loops);
    });
    addCommand(addMenu(181), 180, 32812, &CMainFrame::fileAbout);
}

// A menu titled by text `textId`, reachable with Alt and its first letter.
QMenu* CMainFrame::addMenu(int textId) {
    QMenu* menu = menuBar()->addMenu("&" + loadText(textId));
    menu->setObjectName(QString::number(textId));
    return menu;
}

QAction* CMainFrame::addCommand(QMenu* menu, int textId, int command, void (CMainFrame::*handler)()) {
    QAction* action = menu->addAction(loadText(textId), this, handler);
    action->setObjectName(QString::number(command));
    return action;
}

// ---- Views and geometry ----

void CMainFrame::switchToLoops() {
    printk("\n CMainFrame::switchToLoops");
    showEditor(m_loops);
}

void CMainFrame::switchToEvents() {
    printk("\n CMainFrame::switchToEvents");
    showEditor(m_events);
}

void CMainFrame::showEditor(QWidget* editor) {
    if (view() != View::Home) rememberEditorGeometry();
    setUpdatesEnabled(false);
    m_stack->setCurrentWidget(editor);
    loadOptionsMenu();
    setResizable(true);
    resize(m_editorSize);
    if (m_maximized) setWindowState(windowState() | Qt::WindowMaximized);
    setUpdatesEnabled(true);
}

void CMainFrame::onBack() {
    printk("\n CMainFrame::OnBack");
    rememberEditorGeometry();
    saveSettings();
    setUpdatesEnabled(false);
    setWindowState(windowState() & ~Qt::WindowMaximized);
    m_stack->setCurrentWidget(m_home);
    mainFrameResize();
    setUpdatesEnabled(true);
}

void CMainFrame::rememberEditorGeometry() {
    m_maximized = isMaximized();
    if (!m_maximized) m_editorSize = size();
}

// The home view's window: fixed size, no maximise box.
void CMainFrame::mainFrameResize() {
    setResizable(false);
    loadOptionsMenu();
}

void CMainFrame::setResizable(bool resizable) {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowMaximizeButtonHint, resizable);
    if (resizable) {
        setMinimumSize(kLeastEditorSize);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(kHomeSize);
    }
    // Changing the window's flags hides it.
    if (visible && !isVisible()) show();
}

void CMainFrame::refreshViews() {
    m_loops->populate();
    m_events->populate();
}

// 2058: rules changed; the event-action editor shows them unless the loops editor is up.
void CMainFrame::updateLists() {
    printk("\n CMainFrame::updateLists");
    if (view() != View::Loops) m_events->updateEventActionLists();
    updateTitle();
}

void CMainFrame::updateTitle() { setWindowTitle(m_files->title()); }

void CMainFrame::loadSettings() {
    QSettings settings;
    m_editorSize = settings.value("editor/size", kFirstEditorSize).toSize().expandedTo(kLeastEditorSize);
    m_maximized = settings.value("editor/maximized", false).toBool();
}

void CMainFrame::saveSettings() const {
    QSettings settings;
    settings.setValue("editor/size", m_editorSize);
    settings.setValue("editor/maximized", m_maximized);
}

// ---- File commands (carried out for the loops editor) ----

void CMainFrame::fileNew() {
    switchToLoops();
    m_loops->fileNew();
}

void CMainFrame::fileOpen() { m_files->fileOpen(); }
void CMainFrame::fileSave() { m_files->fileSave(); }
void CMainFrame::fileSaveAs() { m_files->fileSaveAs(); }

// ---- Dialogs ----

void CMainFrame::fileAbout() {
    printk("\n CMainFrame::fileAbout");
    CAboutBox about(this);
    about.exec();
}

void CMainFrame::fileEditSysInfo() {
    printk("\n CMainFrame::fileEditSysInfo");
    if (m_facility->getNumberOfPanels() == 0) {
        m_services.prompt.showMessage(kNoPanelForInfoText);
        return;
    }
    CFacilityAction action(*m_facility, KvWString());
    CSysInfoDlg dialog(*m_facility, m_unsaved, m_services.prompt, this);
    if (dialog.run() == QDialog::Accepted)
        action.commit(CUndoCommands::describe(CUndoCommands::kModifyPanelText, dialog.panel()));
    updateTitle();
}

void CMainFrame::fileSetSysHour() {
    printk("\n CMainFrame::fileSetSysHour");
    CSysHourDlg dialog(*m_usb, m_services.prompt, this);
    dialog.exec();
}

void CMainFrame::fileEventLog() {
    printk("\n CMainFrame::fileEventLog");
    CSysLogDlg dialog(*m_usb, m_services.prompt, m_services.files, this);
    dialog.exec();
}

void CMainFrame::fileSysReports() {
    printk("\n CMainFrame::fileSysReports");
    CSysReports dialog(*m_facility, m_services.prompt, m_services.files,
                       m_unsaved.named ? toQString(m_unsaved.filePath) : QString(), this);
    dialog.run();
}

// ---- USB ----

// A row of the check's findings: a rule in the event-action editor, anything else in the loops editor.
void CMainFrame::showCheckedItem(const CCheckFinding& finding) {
    printk("\n CMainFrame::showCheckedItem");
    if (finding.item == CCheckFinding::Item::Rule) {
        if (view() != View::Events) switchToEvents();
        m_events->selectEventActionPair(finding.rule);
        return;
    }
    if (view() != View::Loops) switchToLoops();
    m_loops->showItem(finding);
}

// The transfers are the loops editor's: it shows what they did to the facility.
void CMainFrame::usbUpload() { m_loops->usbUpload(); }

void CMainFrame::usbDownload() {
    // The panel read in is one step of the history; a failed download leaves nothing behind.
    CFacilityAction action(*m_facility, KvWString());
    if (m_loops->usbDownload()) {
        action.commit(CUndoCommands::describe(CUndoCommands::kReceivePanelText, m_usb->panel()));
    } else {
        action.cancel();
        m_loops->populate();
    }
    m_events->populate();
}

void CMainFrame::usbUpdate() {
    printk("\n CMainFrame::usbUpdate");
    CFirmwareUpdateCommand update(m_services.prompt, m_services.files, m_services.backend,
                                  m_services.progressDialogs);
    update.run();
}

void CMainFrame::usbHistory() {
    printk("\n CMainFrame::usbHistory");
    CHistoryDlg dialog(m_unsaved.named ? m_unsaved.filePath : KvWString(), *m_facility, m_services.prompt,
                       m_services.files, this);
    dialog.exec();
}

// ---- Exit ----

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_closed && !fileExit()) {
        event->ignore();
        return;
    }
    m_closed = true;
    event->accept();
}

bool CMainFrame::fileExit() {
    printk("\n CMainFrame::fileExit");
    if (!m_files->askToSave()) return false;
    if (view() != View::Home) rememberEditorGeometry();
    saveSettings();
    return true;
}
