// Running the console without a display and without touching the user's files: the offscreen
// platform, settings stores and runtime folder in a temporary folder, and the start-up
// password prompt answered. Shared by the snapshot tool and the start-up benchmark.
#pragma once

#include "afx/afxwin.h"
#include "afx/win/testing.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace offscreen {

// Set up before the QApplication is made; the folder lasts as long as the object.
class Sandbox {
public:
    Sandbox()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString runtime = home.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("user")));
        afx::testing::SetMachineSettingsFolder(home.filePath(QStringLiteral("system")));
    }

    // A QApplication made outside the framework's entry: give it only the program name.
    int applicationArgc = 1;

private:
    QTemporaryDir home;
};

// The password prompt of a fresh settings store, answered with the empty password; any other
// dialog is cancelled and any box answered with its safe choice.
class StartAnswers : public afx::PromptAnswerer {
public:
    int Answer(afx::Prompt& prompt) override
    {
        if (prompt.kind != afx::PromptKind::Dialog)
            return IDCANCEL;
        if (prompt.templateId == IDD_PASSWORD)
            prompt.dialog->GetDlgItem(IDOK)->SendMessage(BM_CLICK);
        if (!prompt.dialog->IsEnded())
            prompt.dialog->EndDialog(IDCANCEL);
        return prompt.dialog->GetResult();
    }
};

} // namespace offscreen
