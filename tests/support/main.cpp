// Test main: every test program runs offscreen (those of x11/ under an X server of their own), with its home, settings stores, data and
// runtime directories in a temporary folder of its own, so no test touches the real user's
// files and test processes run side by side (ctest -j) without sharing a file or a lock.
// Every prompt goes to a PromptScript or fails the test; no real dialog can block it.
#include "afx/win/gdi.h"
#include "afx/win/mnemonics.h"
#include "afx/win/testing.h"
#include "afx/win/winapp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PromptEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        afx::testing::SetFailureReporter([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        afx::SetPromptAnswerer(&strict);
    }
    void TearDown() override { afx::SetPromptAnswerer(nullptr); }

private:
    afx::testing::StrictPrompts strict;
};

} // namespace

int main(int argc, char** argv)
{
    // Offscreen, unless x11/under-x.sh started an X server and a window manager for it.
    if (!qEnvironmentVariableIsSet("TAMSEL_TEST_UNDER_X"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    const QString runtime = home.filePath("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    // The standard paths' test mode still lies under the home folder; the programs a test
    // starts read the same variables.
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(".local/share").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", home.filePath(".cache").toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, home.filePath("system"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("user"));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.filePath("system"));
    afx::testing::SetMachineSettingsFolder(home.filePath("system"));
    QApplication app(argc, argv);
    afx::SetSystemFont();
    // As the programs do, whatever the system's language.
    const afx::FrenchLanguage french;
    afx::InstallDialogMnemonics();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PromptEnvironment);
    return RUN_ALL_TESTS();
}
