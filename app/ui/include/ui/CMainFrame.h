// CMainFrame: the program's one top-level window.
//
// Owns the facility manager, the file handler, the USB handler and the
// unsaved status; holds the three views (home, loops editor, event-action
// editor) of which one shows; builds the menu of the visible view; turns every
// command and every request of a view into a call on the right view or
// dialog (connectViews is the whole routing table); and asks about unsaved
// changes exactly once when it closes.
//
// Geometry: the home view is a fixed 700 x 565 window that cannot be
// maximised; the editors get a resizable window, 800 x 600 the first time,
// then the size and maximised state they were left with (kept across runs in
// the settings).
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <memory>

#include "ui/CFrameServices.h"
#include "check/CCheckFinding.h"
#include "ui/CUnsavedStatus.h"

class CDragNDropDlg;
class CExtendedControlsDlg;
class CFacilityEvents;
class CFacilityManager;
class CFileCommands;
class CMainDlg;
class CUndoCommands;
class CUsbHandler;
class CXmlHandler;
class QMenu;
class QStackedWidget;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static const QSize kHomeSize;
    static const QSize kFirstEditorSize;
    static constexpr int kNoPanelForInfoText = 197;

    enum class View { Home, Loops, Events };

    explicit CMainFrame(const CFrameServices& services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    View view() const;
    CFacilityManager& facility() { return *m_facility; }
    CUnsavedStatus& unsavedStatus() { return m_unsaved; }
    CUsbHandler& usbHandler() { return *m_usb; }
    CFileCommands& fileCommands() { return *m_files; }
    CUndoCommands& undoCommands() { return *m_undo; }
    // The size the editors get when next shown, and whether maximised.
    QSize editorSize() const { return m_editorSize; }
    bool editorMaximized() const { return m_maximized; }

public slots:
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    void fileEditSysInfo();
    void fileSetSysHour();
    void fileEventLog();
    void fileSysReports();
    void fileAbout();
    void switchToLoops();
    void switchToEvents();
    void onBack();
    void usbUpload();
    void usbDownload();
    void usbUpdate();
    // The site history of the open file (of the user's data folder for a facility without one).
    void usbHistory();
    void updateLists();
    // Shows the item a row of the check's findings names, in its editor.
    void showCheckedItem(const CCheckFinding& finding);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createViews();
    void connectViews();
    void loadOptionsMenu();
    void buildHomeMenu();
    void buildEditorMenu();
    QMenu* addMenu(int textId);
    QAction* addCommand(QMenu* menu, int textId, int command, void (CMainFrame::*handler)());
    void showEditor(QWidget* editor);
    void mainFrameResize();
    void setResizable(bool resizable);
    void rememberEditorGeometry();
    void refreshViews();
    void updateTitle();
    bool fileExit();
    void loadSettings();
    void saveSettings() const;

    CFrameServices m_services;
    // Declared in the reverse of the order they are torn down: the manager goes last.
    std::unique_ptr<CFacilityManager> m_facility;
    std::unique_ptr<CXmlHandler> m_xml;
    std::unique_ptr<CUsbHandler> m_usb;
    CUnsavedStatus m_unsaved;
    std::unique_ptr<CFileCommands> m_files;
    std::unique_ptr<CFacilityEvents> m_modelEvents;
    std::unique_ptr<CUndoCommands> m_undo;

    QStackedWidget* m_stack = nullptr;
    CMainDlg* m_home = nullptr;
    CExtendedControlsDlg* m_loops = nullptr;
    CDragNDropDlg* m_events = nullptr;

    QSize m_editorSize;
    bool m_maximized = false;
    bool m_closed = false;
};
