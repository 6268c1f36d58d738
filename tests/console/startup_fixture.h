// What the tests of the start-up, the password and the settings document share: the console's
// settings stores empty for each test, dialogs worked as the user works them, and a console
// started through its password prompt.
#pragma once

#include "afx/afxwin.h"
#include "afx/win/testing.h"
#include "app/consoleapp.h"
#include "app/passwordstore.h"
#include "document/ntsmgr.h"
#include "res/resource.h"
#include "support/filesizelimit.h"
#include "support/helpers.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace startup {

// The console's settings stores, as the program opens them.
inline std::unique_ptr<QSettings> MachineStore()
{
    return std::make_unique<QSettings>(PasswordStorePath(), QSettings::IniFormat);
}
inline std::unique_ptr<QSettings> UserStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Corvane",
                                       afx::SettingsName(LoadText(AFX_IDS_APP_TITLE)));
}

inline QWidget* Control(CDialog& dialog, int id)
{
    CWnd* control = dialog.GetDlgItem(id);
    return control ? control->m_hWnd : nullptr;
}
inline void Type(CDialog& dialog, int id, const QString& text)
{
    QTest::keyClicks(Control(dialog, id), text);
}
// Works a dialog: types the texts into their edits, then clicks the button.
inline std::function<void(CDialog&)> TypeAndClick(std::vector<std::pair<int, QString>> texts, int button)
{
    return [texts, button](CDialog& dialog) {
        for (const auto& [id, text] : texts)
            Type(dialog, id, text);
        Click(dialog, button);
    };
}
// The start-up prompt answered with this password.
inline std::function<void(CDialog&)> EnterPassword(const QString& password)
{
    return TypeAndClick({{IDC_PASSWORD, password}}, IDOK);
}
// The change dialog filled in and confirmed.
inline std::function<void(CDialog&)> ChangePassword(const QString& oldPassword, const QString& newPassword,
                                                     const QString& confirmation)
{
    return TypeAndClick({{IDC_OLD_PASSWORD, oldPassword}, {IDC_NEW_PASSWORD, newPassword},
                         {IDC_CONFIRM_PASSWORD, confirmation}},
                        IDOK);
}

// The password store and the recent-file list are empty before and after each test.
class ConsoleStores : public ::testing::Test {
protected:
    ConsoleStores() { Clear(); }
    ~ConsoleStores() override { Clear(); }

    static void Clear()
    {
        // Whatever a test left in the password store's place, a file or a folder, goes.
        const QString store = PasswordStorePath();
        QFile::setPermissions(store, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(store);
        QDir(store).removeRecursively();
        UserStore()->clear();
    }
};

// A console started as a user starts it for the first time: no password stored, so an empty
// entry in the prompt lets it start.
class StartedConsole : public ConsoleStores {
protected:
    void SetUp() override
    {
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_PASSWORD, EnterPassword(""));
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(Document(), nullptr);
    }

    CFrameWnd* Frame() const { return dynamic_cast<CFrameWnd*>(app.m_pMainWnd); }
    CNtsMgr* Document() const { return Frame() ? dynamic_cast<CNtsMgr*>(Frame()->GetActiveDocument()) : nullptr; }
    LRESULT Command(UINT id) { return app.m_pMainWnd->SendMessage(WM_COMMAND, id); }

    CConsoleApp app;
};

} // namespace startup
