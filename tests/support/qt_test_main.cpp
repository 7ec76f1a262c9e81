// GoogleTest main for tests that need a QApplication. The platform is chosen
// here, not in the environment, because ctest lists the tests by running the
// binary without the tests' environment.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "media/diagnostics.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef PELLOX_TEST_SCREENS
    // A test of a desktop of several screens, as the offscreen platform's
    // configuration file lays them out.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PELLOX_TEST_SCREENS);
#endif
#ifdef PELLOX_TEST_SCALE_FACTOR
    // A test of a scaled screen: Qt reads the factor when the application is made.
    qputenv("QT_SCALE_FACTOR", PELLOX_TEST_SCALE_FACTOR);
#endif
    QTemporaryDir runtime_dir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime_dir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_dir.path()));
    // What the game tells reads as the program writes it.
    pellox::UsePelloxMessagePattern();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
