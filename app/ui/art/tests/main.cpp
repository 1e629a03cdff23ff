// The pictures need one GUI application for the whole test program.
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <memory>

// The font stack keeps a few allocations until exit (the contact sheet draws labels); not ours to free.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // ctest lists the tests without the test environment: no platform is needed for that.
    std::unique_ptr<QGuiApplication> app;
    if (!::testing::GTEST_FLAG(list_tests))
        app = std::make_unique<QGuiApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
