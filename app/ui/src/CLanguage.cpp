#include "ui/CLanguage.h"

#include <cstdlib>

#include "basalt/KvLanguage.h"
#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "ui/UiText.h"

QStringList CLanguage::supportedCodes() { return {"en", "ca", "es", "it", "fr"}; }

QString CLanguage::codeOf(const QString& localeValue) {
    if (localeValue == "C" || localeValue == "POSIX") return "en";
    const QString code = localeValue.left(2).toLower();
    return supportedCodes().contains(code) ? code : "en";
}

QString CLanguage::codeFromEnvironment() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return codeOf(QString::fromLocal8Bit(value));
    }
    return "en";
}

bool CLanguage::select(const QString& code, const QString& folder) {
    printk("\n CExtendedControlsApp::InitializeLanguage");
    const QByteArray own = (folder + "cairn." + code + ".stc").toLocal8Bit();
    const QByteArray english = (folder + "cairn.en.stc").toLocal8Bit();
    // The secondary table only fills single texts a translation leaves out.
    return SetKvLoadStringTableFile(own.constData(), english.constData());
}

QString CLanguage::shareFolder() { return toQString(GetSharePath()); }
