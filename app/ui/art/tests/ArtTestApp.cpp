#include "ArtTestApp.h"

#include <QGuiApplication>

// The font stack keeps a few allocations until exit; those are not ours to free.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

void ensureGuiApplication()
{
    // Kept for the whole run and reachable from here, so it is never reported as a leak.
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "cairn_art_tests";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}
