// CExtendedControlsDlg: the loops editor view: the facility's panels, loops, elements and
// zones as one tree-list, with Add, Delete, Modify, Expand, Collapse, Exit and Back, the
// in-place editing of elements, and the file and transfer commands the frame routes here.
//
// Every change goes through the facility manager, sets the unsaved flag and rebuilds the
// tree from the model; the selection is kept across rebuilds. The status line counts the
// facility's panels, loops, elements and rules.
#pragma once

#include <QWidget>
#include <functional>

#include "basalt/KvBasicString.h"
#include "check/CCheckFinding.h"
#include "history/CTransferHistory.h"
#include "ui/CTreeListModel.h"

class CElementEdits;
class CFacilityManager;
class CFileCommands;
class CTreeListCtrl;
class CTreeListDelegate;
class CUnsavedStatus;
class CUsbHandler;
struct CUploadResult;
class IUserPrompt;
class QLabel;

class CExtendedControlsDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNothingToAddToText = 17;
    static constexpr int kNothingToDeleteText = 19;
    static constexpr int kEightLoopsText = 41;
    static constexpr int kFullLoopText = 94;
    static constexpr int kMostPanelsText = 259;
    static constexpr int kPanelAddressTakenText = 260;
    static constexpr int kNoPanelText = 80;
    static constexpr int kDownloadFailedText = 81;
    static constexpr int kUploadFailedText = 92;
    static constexpr int kUploadDoneText = 263;
    static constexpr int kDownloadDoneText = 264;
    static constexpr int kStatusText = 423;
    static constexpr int kMostPanels = 128;
    static constexpr int kMostLoops = 8;
    static constexpr int kMostElements = 250;

    CExtendedControlsDlg(CFacilityManager& facility, CUnsavedStatus& status, IUserPrompt& prompt, CUsbHandler& usb,
                         CFileCommands& files, QWidget* parent = nullptr);
    ~CExtendedControlsDlg() override;

    // Rebuilds the tree from the model, keeping the selection where its rows still exist.
    void populate();
    // Rebuilds and selects `row` (or the nearest row above it that still exists).
    void populateAndSelect(const CTreeListModel::Key& row);
    // After an undo or redo: rebuilds and selects the rows that came back (a deleted panel's,
    // for instance); when none did, the selection stays where its rows still exist.
    void populateAfterStep();
    // The model asks for a rebuild (element types changed), unless this view changes them itself.
    void onLoopsChanged();
    // Selects `row` and shows it, after the facility changed without a rebuild of its rows.
    void select(const CTreeListModel::Key& row);
    CTreeListCtrl& tree() const { return *m_tree; }
    CTreeListModel& model() const { return *m_model; }

    // The buttons' commands.
    void OnBnClickedBtAdd();
    void OnBnClickedBtDelete();
    void OnBnClickedBtModify();
    void OnBnClickedBtExpand();
    void OnBnClickedBtCollapse();

    // File commands: a new facility (panel 1 with its first loop) and the frame's others.
    bool fileNew();
    bool fileOpen();
    bool fileSave();
    bool fileSaveAs();

    // Transfer commands with their outcome messages.
    bool usbUpload();
    bool usbDownload();
    // Sends panel `panelId` to the attached panel: the one place an upload of the
    // configuration starts, so whatever must happen before or after it belongs here.
    bool uploadPanel(int panelId);
    // Selects the row of the item a check finding names (a zone: its first element), or else
    // its panel's; false when the panel has no row either. Rules are the event-action editor's.
    bool showItem(const CCheckFinding& finding);
    // Before an upload: what it would change on the panel since its last upload (or that it is
    // the first), from the site history; false when the user says no.
    bool confirmUpload(int panelId);

signals:
    void backRequested();  // 2062
    void exitRequested();
    void titleChanged();
    // A row of the check's findings was chosen: its item is to be shown in its editor.
    void itemRequested(const CCheckFinding& finding);
    // Keyboard shortcuts of the file commands, carried out by the frame.
    void newRequested();
    void openRequested();
    void saveRequested();
    void saveAsRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The check's findings in their dialog; true when they let the upload go on.
    bool acceptFindings(const std::vector<CCheckFinding>& findings);
    // The upload's outcome: the handler's messages, and the differences in their table.
    void reportUpload(const CUploadResult& result);
    CTreeListModel::Key firstElementInZone(int panel, int zone) const;
    // The file the site history belongs to; empty for a facility without one.
    KvWString historyFile() const;
    // Keeps the transfer just made in the site history, with the check and read-back around an
    // upload; a failure there is reported once.
    void recordTransfer(CHistoryRecord::Kind kind, int panelId, const CTransferOutcome& outcome = {});
    QLayout* makeButtons();
    void addShortcuts();
    void updateStatus();
    void addPanel();
    void addLoop(int panel);
    void addElements(int panel, int loop, int start);
    bool checkLoopRoom(int panel, int loop);
    int freePanelId() const;
    bool panelAddressTaken(int address, int except) const;
    void deleteRow(const CTreeListModel::Key& row);
    void deletePanel(int id);
    CTreeListModel::Key rowBefore(const CTreeListModel::Key& row) const;
    CTreeListModel::Key firstRemoved(const CTreeListModel::Key& row) const;
    static KvWString deletionName(const QList<CTreeListModel::Key>& rows);
    void forEachRow(const std::function<void(const CTreeListModel::Key&)>& visit) const;
    void markChanged(const CTreeListModel::Key& select);
    CTreeListModel::Key chosenRow() const;

    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
    IUserPrompt& m_prompt;
    CUsbHandler& m_usb;
    CFileCommands& m_files;
    CTransferHistory m_history;
    CTreeListModel* m_model;
    CTreeListCtrl* m_tree;
    CTreeListDelegate* m_delegate;
    CElementEdits* m_edits;
    QLabel* m_statusLine;
    int m_lastStart = 1;
};
