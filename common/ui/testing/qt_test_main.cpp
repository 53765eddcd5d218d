// One QApplication for every test of the binary, on the platform the test run names (offscreen
// when none is named), with Qt's runtime folder in the build folder rather than the temporary
// folder, which tests leave empty.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        ::mkdir(BRIGHTLINE_QT_RUNTIME_DIR, 0700);
        qputenv("XDG_RUNTIME_DIR", BRIGHTLINE_QT_RUNTIME_DIR);
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
