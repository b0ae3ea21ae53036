#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never touch the user's real settings or folders.
    QStandardPaths::setTestModeEnabled(true);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", LIRRA_SOURCE_ROOT "/fonts/fonts.conf");
    if (qEnvironmentVariableIsEmpty("LIRRA_SOURCE_DIR"))
        qputenv("LIRRA_SOURCE_DIR", LIRRA_SOURCE_ROOT);
    if (qEnvironmentVariableIsEmpty("LIRRA_TEST_DATA"))
        qputenv("LIRRA_TEST_DATA", LIRRA_SOURCE_ROOT "/tests/data");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
