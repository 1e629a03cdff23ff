#include "ui/CQtFileDialogs.h"

#include <QFileDialog>
#include <QStandardPaths>

#include "ui/UiText.h"

namespace {

QString filter(int nameId, const char* pattern) { return loadText(nameId) + " (" + pattern + ")"; }

QString documents() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

QString run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString save(QWidget* window, int titleId, int filterId, const char* pattern, const char* suffix,
             const QString& suggested) {
    QFileDialog dialog(window, loadText(titleId), suggested.isEmpty() ? documents() : suggested,
                       filter(filterId, pattern));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    return run(dialog);
}

QString open(QWidget* window, int titleId, int filterId, const char* pattern) {
    QFileDialog dialog(window, loadText(titleId), documents(), filter(filterId, pattern));
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

}  // namespace

QString CQtFileDialogs::openFacility() { return open(m_window, 86, 34, "*.kvg"); }

QString CQtFileDialogs::saveFacility(const QString& suggested) {
    return save(m_window, 86, 35, "*.kvg", "kvg", suggested);
}

QString CQtFileDialogs::openManifest() { return open(m_window, 265, 266, "*.xml"); }

QString CQtFileDialogs::saveCsv(const QString& suggested) {
    QFileDialog dialog(m_window, loadText(206), suggested.isEmpty() ? documents() : suggested, filter(35, "*.csv"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("csv");
    // The event-log dialog asks before replacing a file, when it is about to write it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return run(dialog);
}

QString CQtFileDialogs::savePdf(const QString& suggested) { return save(m_window, 324, 327, "*.pdf", "pdf", suggested); }
