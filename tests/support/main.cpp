// Test main: every test program runs offscreen, with its settings stores and data
// directories in a temporary folder, so no test touches the real user's files.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    const QString runtime = home.filePath("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.filePath("system"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("user"));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.filePath("system"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
