// Test main: every test program runs offscreen, with its settings stores and data
// directories in a temporary folder, so no test touches the real user's files.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_RUNTIME_DIR", home.filePath("runtime").toLocal8Bit());
    QDir().mkpath(home.filePath("runtime"));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.filePath("system"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("user"));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.filePath("system"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
