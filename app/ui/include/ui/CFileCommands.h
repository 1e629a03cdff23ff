// CFileCommands: New, Open, Save, Save As and the unsaved-changes question.
//
// Each command goes through the facility manager and the file handler and
// keeps the unsaved status true to what is on disk. A facility that was
// changed is never dropped without the user's word: every command that
// replaces it asks first (CUnsaved), and a save that was asked for but did
// not happen stops the command.
#pragma once

#include <QObject>
#include <QString>

#include "seams/IUpdatePrompt.h"

class CFacilityManager;
class CUnsavedStatus;
class CXmlHandler;
class IFileDialogs;
class QWidget;

class CFileCommands : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstPanelWithoutLoopText = 15;
    static constexpr int kSavedText = 79;
    static constexpr int kOpenFailedText = 403;
    static constexpr int kSaveFailedText = 404;

    CFileCommands(CFacilityManager& facility, CXmlHandler& xml, CUnsavedStatus& status, IUpdatePrompt& prompt,
                  IFileDialogs& files, QWidget* window);

    // Unsaved changes: asks whether to save them. True when the caller may go
    // on (saved, or the user chose not to); false when it must stop.
    bool askToSave();
    // An empty facility.
    bool fileNew();
    // Asks for a file, then opens it.
    bool fileOpen();
    // Opens `path` in place of the facility (no question asked; message 403 with the reason on failure).
    bool openFile(const QString& path);
    bool fileSave();
    bool fileSaveAs();

    // "Cairn" or "Cairn - name.kvg".
    QString title() const;

signals:
    // The facility was replaced: views rebuild from the model.
    void facilityReplaced();
    // The file name or the unsaved state changed.
    void titleChanged();

private:
    bool firstPanelHasLoop();
    bool saveTo(const QString& path);

    CFacilityManager& m_facility;
    CXmlHandler& m_xml;
    CUnsavedStatus& m_status;
    IUpdatePrompt& m_prompt;
    IFileDialogs& m_files;
    QWidget* m_window;
};
