// CScreenshots: renders every window of the program, offscreen, to PNG files.
//
// For each language: <folder>/<language>/<window>.png, with the sample
// facility loaded, so the pictures show the windows as a user meets them; and
// <folder>/<language>-contact-sheet.png with all of them on one page.
#pragma once

#include <QString>
#include <QStringList>

class CFacilityManager;
class QWidget;

class CScreenshots {
public:
    CScreenshots(const QString& folder, const QString& sampleFacility);
    // Every window in every language; false when a file could not be written.
    bool renderAll();
    // Every window in one language (its string table must be loadable).
    bool renderLanguage(const QString& code);
    // The names of the files written so far.
    const QStringList& written() const { return m_written; }

private:
    bool save(QWidget& window, const QString& code, const QString& name);
    bool renderFrame(const QString& code);
    bool renderDialogs(const QString& code);
    bool renderLoopsDialogs(CFacilityManager& facility, const QString& code);
    bool renderFullPanel(const QString& code);
    bool renderRuleDialogs(CFacilityManager& facility, const QString& code);
    bool renderUploadDialogs(CFacilityManager& facility, const QString& code);
    bool renderWorkerDialogs(const QString& code);
    bool contactSheet(const QString& code);
    // The site history window with two entries compared (CScreenshotsHistory.cpp).
    bool renderHistory(const QString& code);

    QString m_folder;
    QString m_sample;
    QStringList m_written;
};
