#include "cairnctl/GuiApplication.h"

#include <QGuiApplication>

#include "basalt/KvTrace.h"

namespace {

// Qt's own notes (a missing runtime folder, say) go to the trace, not into the command's output.
void traceQtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    printk("\n Qt: %s", message.toUtf8().constData());
}

}  // namespace

// Made once and kept, as Qt wants a single one per process.
bool cairnctlGuiApplication() {
    if (QCoreApplication::instance()) return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    qInstallMessageHandler(traceQtMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "cairnctl";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    return app != nullptr;
}
