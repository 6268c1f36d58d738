// The console's password: its machine-wide store, the start-up prompt and the change dialog,
// worked through their real controls.
#include "startup_fixture.h"

#include "app/passwordstore.h"
#include "dialogs/passworddlgs.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

using namespace startup;
using afx::testing::PromptScript;

namespace {

QLineEdit* Edit(CDialog& dialog, int id)
{
    return qobject_cast<QLineEdit*>(Control(dialog, id));
}

QByteArray StoreFile()
{
    QFile file(MachineStore()->fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PasswordStoreTest : public ConsoleStores {};

TEST_F(PasswordStoreTest, ReadsBackWhatWasWrittenAndEmptyWhenNothingWas)
{
    EXPECT_EQ(ReadPassword(), "");
    // A stored value far longer than anyone types is read whole: cut or dropped, it would open
    // the console to a shorter entry.
    const QString longValue(300, u'x');
    for (const CString& password : {CString("Secret"), CString("mot de passe à l'été"), CString(longValue), CString("")}) {
        EXPECT_TRUE(WritePassword(password));
        EXPECT_EQ(ReadPassword(), password);
        EXPECT_EQ(MachineStore()->value("Profile").toString(), QString(password));
    }
}

TEST_F(PasswordStoreTest, AStoreThatCannotBeWrittenReportsItAndKeepsTheOldPassword)
{
    ASSERT_TRUE(WritePassword("Ancien"));
    const QByteArray stored = StoreFile();
    BOOL written;
    {
        FileSizeLimit nothingWritten(0);
        written = WritePassword("Nouveau");
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadPassword(), "Ancien");
    EXPECT_EQ(StoreFile(), stored);
    // Nor does the new password reach the store at a later write.
    MachineStore()->sync();
    EXPECT_TRUE(StoreFile().contains("Profile=Ancien")) << StoreFile().toStdString();
}

struct PromptCase {
    const char* expected;
    const char* typed;
    bool accepted;
};

TEST(PasswordPromptTest, AcceptsExactlyTheExpectedPasswordAndKeepsAskingOtherwise)
{
    const std::vector<PromptCase> cases = {
        {"", "", true},           {"", "x", false},
        {"Secret", "Secret", true}, {"Secret", "secret", false}, {"Secret", "SECRET", false},
        {"Secret", "", false},    {"Secret", "Secret ", false},
    };
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(std::string(c.expected) + " / " + c.typed);
        PromptScript prompts;
        prompts.Dialog(IDD_PASSWORD, [&](CDialog& dialog) {
            QLineEdit* edit = Edit(dialog, IDC_PASSWORD);
            EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
            Type(dialog, IDC_PASSWORD, QString::fromUtf8(c.typed));
            Click(dialog, IDOK);
            if (c.accepted)
                return;
            // Still open, with the whole entry selected for typing it again.
            EXPECT_FALSE(dialog.IsEnded());
            EXPECT_EQ(edit->text(), QString::fromUtf8(c.typed));
            EXPECT_EQ(edit->selectedText(), edit->text());
            EXPECT_EQ(dialog.m_hWnd->focusWidget(), edit);
            Click(dialog, IDCANCEL);
        });
        if (!c.accepted)
            prompts.MessageBox(IDOK, "Mot de passe incorrect. Réessayer.");
        CPasswordDlg prompt(QString::fromUtf8(c.expected), nullptr);
        EXPECT_EQ(prompt.DoModal(), c.accepted ? IDOK : IDCANCEL);
        if (!c.accepted) {
            EXPECT_EQ(prompts.Shown().at(1).type, UINT(MB_OK | MB_ICONEXCLAMATION));
        }
    }
}

TEST(PasswordPromptTest, ATwentyFirstCharacterCannotBeTyped)
{
    const QString typed = "abcdefghijklmnopqrstuvwxyz";
    PromptScript prompts;
    prompts.Dialog(IDD_PASSWORD, [&](CDialog& dialog) {
        Type(dialog, IDC_PASSWORD, typed);
        EXPECT_EQ(Edit(dialog, IDC_PASSWORD)->text(), typed.left(20));
        Click(dialog, IDCANCEL);
    });
    prompts.Dialog(IDD_CHANGE_PASSWORD, [&](CDialog& dialog) {
        for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD}) {
            EXPECT_EQ(Edit(dialog, id)->echoMode(), QLineEdit::Password);
            Type(dialog, id, typed);
            EXPECT_EQ(Edit(dialog, id)->text(), typed.left(20)) << id;
        }
        Click(dialog, IDCANCEL);
    });
    CPasswordDlg("", nullptr).DoModal();
    CChangePasswordDlg("", nullptr).DoModal();
}

struct ChangeCase {
    const char* oldPassword;
    const char* newPassword;
    const char* confirmation;
    bool accepted;
};

TEST(ChangePasswordTest, TakesTheNewPasswordOnlyAfterTheRightOldOneAndTheSameNewOneTwice)
{
    const std::vector<ChangeCase> cases = {
        {"Ancien", "Nouveau", "Nouveau", true},
        {"Ancien", "", "", true},                  // an empty password may be set
        {"ancien", "Nouveau", "Nouveau", false},   // the old one with another case
        {"", "Nouveau", "Nouveau", false},
        {"Ancien", "Nouveau", "nouveau", false},
        {"Ancien", "Nouveau", "", false},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(std::string(c.oldPassword) + " / " + c.newPassword + " / " + c.confirmation);
        PromptScript prompts;
        prompts.Dialog(IDD_CHANGE_PASSWORD, [&](CDialog& dialog) {
            ChangePassword(c.oldPassword, c.newPassword, c.confirmation)(dialog);
            if (c.accepted)
                return;
            // Still open, every field as typed.
            EXPECT_FALSE(dialog.IsEnded());
            EXPECT_EQ(Edit(dialog, IDC_OLD_PASSWORD)->text(), QString::fromUtf8(c.oldPassword));
            EXPECT_EQ(Edit(dialog, IDC_NEW_PASSWORD)->text(), QString::fromUtf8(c.newPassword));
            EXPECT_EQ(Edit(dialog, IDC_CONFIRM_PASSWORD)->text(), QString::fromUtf8(c.confirmation));
            Click(dialog, IDCANCEL);
        });
        if (!c.accepted)
            prompts.MessageBox(IDOK, "Mot de passe n'a pas été changé. Vérifier l'information et réessayer.");
        CChangePasswordDlg change("Ancien", nullptr);
        EXPECT_EQ(change.DoModal(), c.accepted ? IDOK : IDCANCEL);
        EXPECT_EQ(change.password, c.accepted ? CString(c.newPassword) : CString("Ancien"));
    }
}

TEST(ChangePasswordTest, HelpButtonOpensItsTopic)
{
    PromptScript prompts;
    prompts.Dialog(IDD_CHANGE_PASSWORD, [](CDialog& dialog) {
        Click(dialog, IDHELP);
        Click(dialog, IDCANCEL);
    });
    prompts.Help(0x20092);
    CChangePasswordDlg("", nullptr).DoModal();
}

// The application's change of password.
class PasswordCommandTest : public ConsoleStores {
protected:
    CConsoleApp app;
};

TEST_F(PasswordCommandTest, ACancelledChangeStoresNothing)
{
    ASSERT_TRUE(WritePassword("Ancien"));
    PromptScript prompts;
    prompts.Dialog(IDD_CHANGE_PASSWORD, IDCANCEL);
    app.OnChangePassword();
    EXPECT_EQ(ReadPassword(), "Ancien");
}

TEST_F(PasswordCommandTest, ANewPasswordThatCannotBeStoredIsReported)
{
    ASSERT_TRUE(WritePassword("Ancien"));
    PromptScript prompts;
    prompts.Dialog(IDD_CHANGE_PASSWORD, ChangePassword("Ancien", "Nouveau", "Nouveau"))
        .MessageBox(IDOK, "Le nouveau mot de passe n'a pas pu être enregistré. L'ancien mot de passe reste en vigueur.");
    {
        FileSizeLimit nothingWritten(0);
        app.OnChangePassword();
    }
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[1].type, UINT(MB_OK | MB_ICONERROR));
    EXPECT_EQ(ReadPassword(), "Ancien");
}

} // namespace
