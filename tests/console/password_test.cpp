// The console's password: its machine-wide store, the start-up prompt and the change dialog,
// worked through their real controls.
#include "startup_fixture.h"

#include "app/passwordstore.h"
#include "dialogs/passworddlgs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <optional>
#include <sys/stat.h>

using namespace startup;
using afx::testing::PromptScript;

namespace {

QLineEdit* Edit(CDialog& dialog, int id)
{
    return qobject_cast<QLineEdit*>(Control(dialog, id));
}

// The dialogs' question, answered as a store holding `password` answers it.
PasswordCheck Is(const char* password)
{
    return [expected = CString(password)](const CString& typed) { return typed == expected; };
}

QByteArray StoreFile()
{
    QFile file(MachineStore()->fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PasswordStoreTest : public ConsoleStores {};

struct CheckCase {
    const char* name;
    const char* stored;   // nullptr: nothing stored
    const char* typed;
    bool accepted;
};

TEST_F(PasswordStoreTest, AcceptsExactlyTheStoredPassword)
{
    // A stored value far longer than anyone types is checked whole: cut, it would open the
    // console to a shorter entry.
    const std::string longPassword(300, 'x');
    const std::vector<CheckCase> cases = {
        {"nothing stored, empty entry", nullptr, "", true},
        {"nothing stored, some entry", nullptr, "x", false},
        {"right", "Secret", "Secret", true},
        {"other case", "Secret", "secret", false},
        {"trailing space", "Secret", "Secret ", false},
        {"empty entry", "Secret", "", false},
        {"accents", "mot de passe à l'été", "mot de passe à l'été", true},
        {"accents left out", "mot de passe à l'été", "mot de passe a l'ete", false},
        {"long, whole", longPassword.c_str(), longPassword.c_str(), true},
        {"long, cut", longPassword.c_str(), "xxxxxxxxxxxxxxxxxxxx", false},
        {"empty password set", "", "", true},
        {"empty password set, some entry", "", "x", false},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        if (c.stored) {
            ASSERT_TRUE(WritePassword(QString::fromUtf8(c.stored)));
        }
        EXPECT_TRUE(PasswordStoreReadable());
        EXPECT_EQ(CheckPassword(QString::fromUtf8(c.typed)), c.accepted);
    }
}

TEST_F(PasswordStoreTest, KeepsASaltedHashNeverThePassword)
{
    ASSERT_TRUE(WritePassword("Secret"));
    const QString first = MachineStore()->value("Profile").toString();
    EXPECT_TRUE(first.startsWith("$y$")) << first.toStdString();
    EXPECT_FALSE(StoreFile().contains("Secret")) << StoreFile().toStdString();
    // The same password stored again gets another salt.
    ASSERT_TRUE(WritePassword("Secret"));
    EXPECT_NE(MachineStore()->value("Profile").toString(), first);
    EXPECT_TRUE(CheckPassword("Secret"));
}

struct TakeOverCase {
    const char* name;
    const char* typed;
    bool writable;
    bool accepted;
    bool hashed;   // the plain text gave way to a hash
};

TEST_F(PasswordStoreTest, APlainTextPasswordOfAnEarlierConsoleGivesWayToItsHashOnceTypedRight)
{
    const std::vector<TakeOverCase> cases = {
        {"wrong entry", "secret", true, false, false},
        {"right entry", "Secret", true, true, true},
        {"right entry, store not writable", "Secret", false, true, false},
    };
    for (const TakeOverCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        MachineStore()->setValue("Profile", "Secret");
        MachineStore()->sync();
        {
            std::optional<FileSizeLimit> nothingWritten;
            if (!c.writable)
                nothingWritten.emplace(0);
            EXPECT_EQ(CheckPassword(c.typed), c.accepted);
        }
        EXPECT_EQ(StoreFile().contains("Profile=Secret"), !c.hashed) << StoreFile().toStdString();
        EXPECT_EQ(MachineStore()->value("Profile").toString().startsWith("$y$"), c.hashed);
        // Either way the same password opens, and only it.
        EXPECT_TRUE(CheckPassword("Secret"));
        EXPECT_FALSE(CheckPassword("secret"));
    }
}

TEST_F(PasswordStoreTest, EveryUserCanReadTheStoreAndOnlyItsOwnerChangeIt)
{
    const QFileDevice::Permissions expected = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
                                              | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
    struct ModeCase {
        const char* name;
        mode_t umask;
        std::optional<QFileDevice::Permissions> before;   // the mode of a file already there
    };
    const std::vector<ModeCase> cases = {
        {"new file, open umask", 0, std::nullopt},
        {"new file, closed umask", 077, std::nullopt},
        {"file writable by all", 022, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup
                                          | QFile::ReadOther | QFile::WriteOther},
        {"file readable by its owner only", 022, QFile::ReadOwner | QFile::WriteOwner},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        if (c.before) {
            ASSERT_TRUE(WritePassword("Ancien"));
            ASSERT_TRUE(QFile::setPermissions(PasswordStorePath(), *c.before));
        }
        const mode_t previous = ::umask(c.umask);
        const BOOL written = WritePassword("Secret");
        ::umask(previous);
        ASSERT_TRUE(written);
        EXPECT_EQ(QFile::permissions(PasswordStorePath()), expected);
    }
}

TEST_F(PasswordStoreTest, TheTitlesSlashMakesNoFolder)
{
    ASSERT_TRUE(WritePassword("Secret"));
    const QFileInfo store(PasswordStorePath());
    EXPECT_TRUE(store.isFile());
    EXPECT_EQ(store.fileName(), "Brevia Pro 40-45 Tamsel de CORVANE.conf");
    EXPECT_EQ(store.dir().dirName(), "Corvane");
    EXPECT_EQ(store.dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{store.fileName()});
}

// The store guards the console: it stays where the build was installed for, whatever the
// user's environment says (an empty store would let anyone in).
TEST(PasswordStorePlaceTest, NoVariableOfTheEnvironmentMovesTheStore)
{
    const QString expected =
        QStringLiteral(TAMSEL_MACHINE_SETTINGS_DIR "/Corvane/") + afx::SettingsName(LoadText(AFX_IDS_APP_TITLE)) + ".conf";
    afx::testing::SetMachineSettingsFolder(QString());
    const QByteArray previous = qgetenv("XDG_CONFIG_DIRS");
    for (const char* dirs : {"", "/empty", "/tmp/ailleurs:/etc/xdg"}) {
        SCOPED_TRACE(dirs);
        qputenv("XDG_CONFIG_DIRS", dirs);
        EXPECT_EQ(PasswordStorePath(), expected);
    }
    qputenv("XDG_CONFIG_DIRS", previous);
    afx::testing::SetMachineSettingsFolder(QDir::home().filePath("system"));
}

// A newcomer learns from the README and the manual page that the password is empty until an
// administrator sets one, and where it is kept: the store's own file.
TEST_F(PasswordStoreTest, TheReadmeAndTheManualPageSayWhereThePasswordIsAndThatItStartsEmpty)
{
    const QFileInfo store(PasswordStorePath());
    const QString path = TAMSEL_MACHINE_SETTINGS_DIR "/" + store.dir().dirName() + "/" + store.fileName();
    struct Document {
        const char* file;
        QString emptyUntilSet;
    };
    const Document documents[] = {
        {"/../README.md", "Until an\nadministrator sets one it is empty"},
        {"/../dist/man/tamsel.1", "Tant qu'un administrateur n'en a pas défini, le mot de passe est vide"},
    };
    for (const Document& d : documents) {
        SCOPED_TRACE(d.file);
        QFile file(TAMSEL_TESTS_DIR + QString(d.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        // The manual page is given the build's folder when it is installed.
        const QString text = QString::fromUtf8(file.readAll()).replace("@TAMSEL_MACHINE_SETTINGS_DIR@",
                                                                       TAMSEL_MACHINE_SETTINGS_DIR);
        EXPECT_TRUE(text.contains(path)) << path.toStdString();
        EXPECT_TRUE(text.contains(d.emptyUntilSet));
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
    EXPECT_TRUE(CheckPassword("Ancien"));
    EXPECT_FALSE(CheckPassword("Nouveau"));
    EXPECT_EQ(StoreFile(), stored);
    // Nor does the new password reach the store at a later write.
    MachineStore()->sync();
    EXPECT_EQ(StoreFile(), stored);
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
        CPasswordDlg prompt(Is(c.expected), nullptr);
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
    CPasswordDlg(Is(""), nullptr).DoModal();
    CChangePasswordDlg(Is(""), nullptr).DoModal();
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
        CChangePasswordDlg change(Is("Ancien"), nullptr);
        EXPECT_EQ(change.DoModal(), c.accepted ? IDOK : IDCANCEL);
        if (c.accepted) {
            EXPECT_EQ(change.password, CString(c.newPassword));
        }
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
    CChangePasswordDlg(Is(""), nullptr).DoModal();
}

// The application's change of password.
class PasswordCommandTest : public ConsoleStores {
protected:
    CConsoleApp app;
};

TEST_F(PasswordCommandTest, ACancelledChangeStoresNothing)
{
    ASSERT_TRUE(WritePassword("Ancien"));
    const QByteArray stored = StoreFile();
    PromptScript prompts;
    prompts.Dialog(IDD_CHANGE_PASSWORD, IDCANCEL);
    app.OnChangePassword();
    EXPECT_EQ(StoreFile(), stored);
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
    EXPECT_TRUE(CheckPassword("Ancien"));
    EXPECT_FALSE(CheckPassword("Nouveau"));
}

} // namespace
