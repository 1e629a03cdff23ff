#include "UiTestKit.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "ui/CLanguage.h"

std::function<void(QWidget*)> clickButton(const QString& button) {
    return [button](QWidget* window) {
        auto* target = window->findChild<QAbstractButton*>(button);
        ASSERT_NE(target, nullptr) << "no button " << button.toStdString() << " in " << window->objectName().toStdString();
        QTimer::singleShot(0, target, &QAbstractButton::click);
    };
}

VirtualPanel::VirtualPanel(const QString& options, const QString& fault) {
    const QString value = "virtual:" + statePath() + options;
    ::setenv("CAIRN_PANEL", value.toLocal8Bit().constData(), 1);
    if (fault.isEmpty())
        ::unsetenv("CAIRN_PANEL_FAULT");
    else
        ::setenv("CAIRN_PANEL_FAULT", fault.toLocal8Bit().constData(), 1);
}

VirtualPanel::~VirtualPanel() {
    ::unsetenv("CAIRN_PANEL");
    ::unsetenv("CAIRN_PANEL_FAULT");
}

// A fresh copy in a folder of its own at each call: transfers keep their history beside the
// facility file, which must neither reach the source tree nor carry over between tests.
QString sampleFacility() {
    static QTemporaryDir copies;
    static int made = 0;
    const QString folder = copies.filePath(QString::number(++made));
    QDir().mkpath(folder);
    const QString copy = folder + "/sample.kvg";
    QFile::copy(CAIRN_SOURCE_DIR "/tools/cairnctl/samples/sample.kvg", copy);
    return copy;
}

QString sampleManifest() { return CAIRN_SOURCE_DIR "/app/panel_link/virtual/samples/update/update.xml"; }

ScopedLanguage::ScopedLanguage(const char* code) : m_selected(CLanguage::select(code, CLanguage::shareFolder())) {}

ScopedLanguage::~ScopedLanguage() { CLanguage::select("en", CLanguage::shareFolder()); }
