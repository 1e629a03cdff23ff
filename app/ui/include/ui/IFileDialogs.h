// IFileDialogs: the file choices of the program, behind one seam so tests can answer them.
//
// Each returns the chosen path, or an empty text when the user cancelled.
#pragma once

#include <QString>

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // An existing facility file (*.kvg).
    virtual QString openFacility() = 0;
    // Where to save the facility; `suggested` is the current file, if any. Overwriting is confirmed.
    virtual QString saveFacility(const QString& suggested) = 0;
    // An existing firmware update manifest (*.xml).
    virtual QString openManifest() = 0;
    // Where to write an event log (*.csv); overwriting is asked about later, when the log is saved.
    virtual QString saveCsv(const QString& suggested) = 0;
    // Where to write the printed reports as PDF (*.pdf); overwriting is confirmed. One that does
    // not offer the choice cancels it.
    virtual QString savePdf(const QString& suggested) {
        (void)suggested;
        return QString();
    }
};
