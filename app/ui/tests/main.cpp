// The window tests share one QApplication, the English string table and settings of their own.
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "ui/CLanguage.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // ctest lists the tests without the test environment (no platform set): no widgets needed for that.
    std::unique_ptr<QApplication> app;
    // The site history of a facility without a file goes to the user's data folder: not the
    // tester's own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    // ctest runs each test in a process of its own, two at a time: settings under a home of
    // their own, or one test clears what the other has just written.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    if (!::testing::GTEST_FLAG(list_tests)) {
        QStandardPaths::setTestModeEnabled(true);
        app = std::make_unique<QApplication>(argc, argv);
        if (!CLanguage::select("en", CLanguage::shareFolder())) return 1;
    }
    return RUN_ALL_TESTS();
}
