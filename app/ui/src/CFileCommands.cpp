#include "ui/CFileCommands.h"

#include <QFileInfo>

#include "basalt/KvTrace.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"
#include "ui/CUnsaved.h"
#include "ui/CUnsavedStatus.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"

CFileCommands::CFileCommands(CFacilityManager& facility, CXmlHandler& xml, CUnsavedStatus& status,
                             IUpdatePrompt& prompt, IFileDialogs& files, QWidget* window)
    : m_facility(facility), m_xml(xml), m_status(status), m_prompt(prompt), m_files(files), m_window(window) {}

bool CFileCommands::askToSave() {
    if (!m_status.unsaved) return true;
    CUnsaved dialog(m_window);
    switch (dialog.exec()) {
        case CUnsaved::kSave: return fileSaveAs();
        case CUnsaved::kDontSave: return true;
        default: return false;
    }
}

bool CFileCommands::fileNew() {
    printk("\n CExtendedControlsDlg::fileNew");
    if (!askToSave()) return false;
    m_facility.flushFacility();
    m_status.reset();
    emit facilityReplaced();
    emit titleChanged();
    return true;
}

bool CFileCommands::fileOpen() {
    printk("\n CExtendedControlsDlg::fileOpen");
    if (!askToSave()) return false;
    const QString path = m_files.openFacility();
    return !path.isEmpty() && openFile(path);
}

bool CFileCommands::openFile(const QString& path) {
    m_facility.flushFacility();
    const bool loaded = m_xml.load(toKvWString(path));
    if (loaded) {
        m_facility.markSaved();
        m_status.markSaved(toKvWString(QFileInfo(path).absoluteFilePath()));
    } else {
        m_status.reset();
        const QString reason = toQString(m_xml.lastError().text());
        m_prompt.showText(toKvWString(loadTextWith(kOpenFailedText, QFileInfo(path).fileName(), reason)));
    }
    emit facilityReplaced();
    emit titleChanged();
    return loaded;
}

bool CFileCommands::fileSave() {
    printk("\n CExtendedControlsDlg::fileSave");
    if (!m_status.named) return fileSaveAs();
    if (!firstPanelHasLoop()) return false;
    return saveTo(toQString(m_status.filePath));
}

bool CFileCommands::fileSaveAs() {
    printk("\n CExtendedControlsDlg::fileSaveAs");
    if (!firstPanelHasLoop()) return false;
    const QString path = m_files.saveFacility(m_status.named ? toQString(m_status.filePath) : QString());
    return !path.isEmpty() && saveTo(path);
}

bool CFileCommands::firstPanelHasLoop() {
    if (m_facility.getNumOfLoops(m_facility.getPanelId(0)) > 0) return true;
    m_prompt.showMessage(kFirstPanelWithoutLoopText);
    return false;
}

bool CFileCommands::saveTo(const QString& path) {
    if (!m_xml.save(toKvWString(path))) {
        m_prompt.showMessageWith(kSaveFailedText, toKvWString(QFileInfo(path).fileName()));
        return false;
    }
    m_facility.markSaved();
    m_status.markSaved(toKvWString(QFileInfo(path).absoluteFilePath()));
    m_prompt.showMessage(kSavedText);
    emit titleChanged();
    return true;
}

QString CFileCommands::title() const {
    if (!m_status.named) return loadText(68);
    return loadText(68) + " - " + QFileInfo(toQString(m_status.filePath)).fileName();
}
