// CUndoCommands: Undo and Redo for both editors.
//
// The two commands with their shortcuts (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y), the buttons the
// editors put beside their others, tooltips that name the action ("Undo: delete loop 3 of
// panel 2"), and what follows a step through the history: `unsaved` set from the history, so
// that undoing back to the last save clears it, and the views rebuilt from the model.
#pragma once

#include <QObject>

#include "basalt/KvBasicString.h"

class CFacilityManager;
class CUnsavedStatus;
class QAction;
class QToolButton;
class QWidget;

class CUndoCommands : public QObject {
    Q_OBJECT
public:
    static constexpr int kUndoText = 540;
    static constexpr int kRedoText = 541;
    static constexpr int kUndoTipText = 542;        // "Undo: %s"
    static constexpr int kRedoTipText = 543;        // "Redo: %s"
    static constexpr int kNothingToUndoText = 544;
    static constexpr int kNothingToRedoText = 545;
    // Names of the actions (the numbers they take in brackets).
    static constexpr int kAddPanelText = 546;        // (panel)
    static constexpr int kAddLoopText = 547;         // (loop, panel)
    static constexpr int kAddElementsText = 548;     // (loop, panel)
    static constexpr int kDeletePanelText = 549;     // (panel)
    static constexpr int kDeleteLoopText = 550;      // (loop, panel)
    static constexpr int kDeleteElementText = 551;   // (element, loop, panel)
    static constexpr int kDeleteRowsText = 552;      // (rows)
    static constexpr int kModifyPanelText = 553;     // (panel)
    static constexpr int kChangeElementText = 554;   // (element, loop, panel)
    static constexpr int kRenameZoneText = 555;      // (zone)
    static constexpr int kMakeRuleText = 556;        // (rule)
    static constexpr int kEditRuleText = 557;        // (rule)
    static constexpr int kDeleteRuleText = 558;      // (rule)
    static constexpr int kReceivePanelText = 559;    // (panel)

    CUndoCommands(CFacilityManager& facility, CUnsavedStatus& status, QObject* parent = nullptr);

    // The shortcuts work while the focus is anywhere inside `view`, and its button row (the one
    // with its Back button) gets Undo and Redo before Back.
    void attach(QWidget* view);
    // The Undo (object name "undo") or Redo ("redo") button of a view's button row.
    QToolButton* makeButton(bool undo, QWidget* parent) const;
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

    // What a history entry is called: text `textId` formatted with up to three numbers.
    static KvWString describe(int textId, int a = 0, int b = 0, int c = 0);

public slots:
    void undo();
    void redo();
    // Enabled states and tooltips from the history.
    void refresh();

signals:
    // The model changed under the views: they rebuild.
    void facilityChanged();

private:
    void stepped();

    CFacilityManager& m_facility;
    CUnsavedStatus& m_status;
    QAction* m_undo;
    QAction* m_redo;
};
