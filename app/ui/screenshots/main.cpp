// cairn_screenshots FOLDER: every window of the program in every language, as PNG files.
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

#include "CScreenshots.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cairn_screenshots FOLDER\n");
        return 2;
    }
    // The user's own settings (remembered window sizes) must not change the pictures.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QTemporaryDir panel;
    qputenv("CAIRN_PANEL", ("virtual:" + panel.filePath("panel.state")).toLocal8Bit());
    CScreenshots shots(QString::fromLocal8Bit(argv[1]), CAIRN_SAMPLE);
    const bool ok = shots.renderAll();
    std::printf("%lld screenshots in %s\n", static_cast<long long>(shots.written().size()), argv[1]);
    return ok ? 0 : 1;
}
