// CQtFileDialogs: the desktop's file dialogs, titled and filtered by string-table texts.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/IFileDialogs.h"

class CQtFileDialogs : public IFileDialogs {
public:
    explicit CQtFileDialogs(QWidget* window = nullptr) : m_window(window) {}
    void setWindow(QWidget* window) { m_window = window; }

    QString openFacility() override;
    QString saveFacility(const QString& suggested) override;
    QString openManifest() override;
    QString saveCsv(const QString& suggested) override;
    QString savePdf(const QString& suggested) override;

private:
    QPointer<QWidget> m_window;
};
