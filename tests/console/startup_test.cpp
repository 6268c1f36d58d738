// Starting the console: the password prompt before anything else, the one document with its
// frame and view, the application's own commands, and, with the built program, the
// single-instance rule and a settings file named on the command line.
#include "startup_fixture.h"

#include "app/instancelock.h"
#include "app/passwordstore.h"
#include "device/lib/serialformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

using namespace startup;
using afx::testing::PromptScript;

namespace {

class StartupTest : public ConsoleStores {
protected:
    CConsoleApp app;
};

TEST_F(StartupTest, WithNoStoredPasswordAnEmptyEntryStartsOnANewDocument)
{
    PromptScript prompts;
    prompts.Dialog(IDD_PASSWORD, [](CDialog& dialog) {
        // The prompt comes first, with no window behind it.
        EXPECT_EQ(AfxGetMainWnd(), nullptr);
        EXPECT_EQ(dialog.m_hWnd->parentWidget(), nullptr);
        EnterPassword("")(dialog);
    });
    ASSERT_TRUE(app.InitInstance());

    auto* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());
    auto* document = dynamic_cast<CNtsMgr*>(frame->GetActiveDocument());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), "Paramètres");
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(document->connected);
    EXPECT_TRUE(document->deviceName.IsEmpty());
    EXPECT_EQ(app.m_pszRegistryKey, "Corvane");
    ASSERT_NE(app.GetRecentFileList(), nullptr);
    EXPECT_EQ(app.GetRecentFileList()->GetSize(), 4);
}

TEST_F(StartupTest, CancellingThePromptEndsTheProgramWithExitCodeOne)
{
    ASSERT_TRUE(WritePassword("Secret"));
    PromptScript prompts;
    prompts.Dialog(IDD_PASSWORD, [](CDialog& dialog) {
        Type(dialog, IDC_PASSWORD, "Secret");
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(StartupTest, AWrongEntryIsRefusedAndTheRightOneThenStarts)
{
    ASSERT_TRUE(WritePassword("Secret"));
    PromptScript prompts;
    prompts.Dialog(IDD_PASSWORD, [](CDialog& dialog) {
        EnterPassword("secret")(dialog);
        ASSERT_FALSE(dialog.IsEnded());
        // The refused entry is selected: typing replaces it.
        EnterPassword("Secret")(dialog);
    });
    prompts.MessageBox(IDOK, "Mot de passe incorrect. Réessayer.");
    EXPECT_TRUE(app.InitInstance());
    EXPECT_NE(app.m_pMainWnd, nullptr);
}

TEST_F(StartupTest, APasswordChangedFromThePromptIsStoredAndAcceptedAtOnce)
{
    ASSERT_TRUE(WritePassword("Ancien"));
    PromptScript prompts;
    prompts.Dialog(IDD_PASSWORD, [](CDialog& dialog) {
        Click(dialog, IDC_CHANGE_PASSWORD);
        EnterPassword("Nouveau")(dialog);
    });
    prompts.Dialog(IDD_CHANGE_PASSWORD, ChangePassword("Ancien", "Nouveau", "Nouveau"));
    EXPECT_TRUE(app.InitInstance());
    EXPECT_TRUE(CheckPassword("Nouveau"));
    EXPECT_FALSE(CheckPassword("Ancien"));
}

const QString kUnreadableStore = "Le mot de passe de Tamsel ne peut pas être lu : le fichier des paramètres du poste "
                                 "est illisible ou endommagé. Tamsel ne peut pas démarrer ; demandez à "
                                 "l'administrateur du poste de le vérifier.";

// Puts something the console cannot read where its password store belongs; FALSE when this
// way does not stop this process (no read permission does not stop the superuser).
using Spoiler = bool (*)(const QString& store);

bool FolderInItsPlace(const QString& store)
{
    return QDir().mkpath(store);
}
bool Malformed(const QString& store)
{
    QDir().mkpath(QFileInfo(store).absolutePath());
    QFile file(store);
    return file.open(QIODevice::WriteOnly) && file.write("[General\nProfile=\n") > 0;
}
bool NoReadPermission(const QString& store)
{
    if (!WritePassword(""))
        return false;
    QFile::setPermissions(store, QFileDevice::Permissions());
    return !QFile(store).open(QIODevice::ReadOnly);
}

TEST_F(StartupTest, AStoreThatCannotBeReadLetsNobodyIn)
{
    const std::vector<std::pair<const char*, Spoiler>> cases = {
        {"a folder in its place", FolderInItsPlace},
        {"malformed", Malformed},
        {"no read permission", NoReadPermission},
    };
    for (const auto& [name, spoil] : cases) {
        SCOPED_TRACE(name);
        Clear();
        if (!spoil(PasswordStorePath())) {
            std::printf("note: %s does not stop this user from reading; row not run\n", name);
            continue;
        }
        EXPECT_FALSE(PasswordStoreReadable());
        EXPECT_FALSE(CheckPassword(""));
        // Refused before the prompt: nobody can type a password that cannot be checked.
        PromptScript prompts;
        prompts.MessageBox(IDOK, kUnreadableStore);
        CConsoleApp console;
        EXPECT_FALSE(console.InitInstance());
        EXPECT_EQ(console.ExitInstance(), 1);
        EXPECT_EQ(console.m_pMainWnd, nullptr);
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_OK | MB_ICONERROR));
    }
    Clear();
}

class ApplicationCommandTest : public StartedConsole {};

TEST_F(ApplicationCommandTest, AboutBoxShowsTheConsolesPicture)
{
    PromptScript prompts;
    prompts.Dialog(IDD_ABOUTBOX, [](CDialog& dialog) {
        const QLabel* picture = dialog.m_hWnd->findChild<QLabel*>();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->pixmap().size(), QSize(364, 333));
        Click(dialog, IDOK);
    });
    Command(ID_APP_ABOUT);
}

TEST_F(ApplicationCommandTest, ChangePasswordFromTheMenuWithHelpOnF1)
{
    PromptScript prompts;
    prompts.Dialog(IDD_CHANGE_PASSWORD, [](CDialog& dialog) {
        QTest::keyClick(Control(dialog, IDC_OLD_PASSWORD), Qt::Key_F1);
        QCoreApplication::processEvents();   // the help button's click is posted
        ChangePassword("", "Neuf", "Neuf")(dialog);
    });
    prompts.Help(0x20092);
    Command(ID_CHANGE_PASSWORD);
    EXPECT_TRUE(CheckPassword("Neuf"));
    EXPECT_FALSE(CheckPassword(""));
}

// The console started as a user starts it, by the test host, in folders of the test's own: one
// runtime folder for the single-instance lock, and homes for the settings stores, "open" with
// no password, "locked" with one that the host's answers to its prompts never type, and
// "unreadable" with a folder where the password store belongs.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
    {
        QDir(folder.path()).mkpath("runtime");
        QFile::setPermissions(Runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Store("locked", "system")->setValue("Profile", "Secret");
        QDir().mkpath(MachineStorePath("unreadable"));
    }
    ~ProgramTest() override
    {
        for (QProcess* process : running) {
            process->kill();
            process->waitForFinished();
            delete process;
        }
    }

    QString Runtime() const { return folder.filePath("runtime"); }
    QString MachineStorePath(const QString& home) const
    {
        return folder.filePath(home + "/system/Corvane/Brevia Pro 40-45 Tamsel de CORVANE.conf");
    }
    // A settings store of a home, where the program finds it.
    std::unique_ptr<QSettings> Store(const QString& home, const QString& scope) const
    {
        return std::make_unique<QSettings>(
            scope == "system" ? MachineStorePath(home)
                              : folder.filePath(home + "/user/Corvane/" + afx::SettingsName(LoadText(AFX_IDS_APP_TITLE)) + ".conf"),
            QSettings::IniFormat);
    }

    // `logging`: Qt's logging rules for the program; `inChild` runs in the child before it starts.
    QProcess& Start(const QString& home, const QStringList& arguments = {}, const QString& program = TESTHOST_PATH,
                    const QString& logging = {}, const std::function<void()>& inChild = {})
    {
        auto* process = new QProcess;
        running.push_back(process);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TAMSEL_TEST_HOME", folder.filePath(home));
        environment.insert("XDG_RUNTIME_DIR", Runtime());
        environment.insert("HOME", folder.path());
        environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        environment.insert("XDG_DATA_HOME", folder.filePath("data"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        if (!logging.isEmpty())
            environment.insert("QT_LOGGING_RULES", logging);
        process->setProcessEnvironment(environment);
        if (inChild)
            process->setChildProcessModifier(inChild);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted());
        return *process;
    }
    // Runs the program to its end: its exit code, and what it wrote to standard error.
    std::pair<int, QString> Run(const QString& home, const QStringList& arguments = {})
    {
        QProcess& process = Start(home, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }
    // Waits until the program has written `text` to standard error `times` times; what it
    // wrote goes to `output`.
    static bool WaitForOutput(QProcess& process, const QRegularExpression& text, int times = 1,
                              QString* output = nullptr)
    {
        QString written;
        const bool seen = QTest::qWaitFor([&] {
            written += QString::fromUtf8(process.readAllStandardError());
            return written.count(text) >= times || process.state() == QProcess::NotRunning;
        }, 60000) && written.count(text) >= times;
        if (output)
            *output = written;
        return seen;
    }

    QTemporaryDir folder;
    std::vector<QProcess*> running;
};

const QString kRefusal = "prompt: message box 0x10 \"Tamsel s'exécute déjà.\"";
const QString kPasswordPrompt = "prompt: dialog 145";
const QString kWrongPassword = "\"Mot de passe incorrect. Réessayer.\"";

TEST_F(ProgramTest, ASecondInstanceIsRefusedBeforeThePasswordPrompt)
{
    CInstanceLock first;
    ASSERT_EQ(first.Acquire(Runtime() + "/MyTestMap"), CInstanceLock::acquired);
    const auto [exitCode, output] = Run("locked");
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(output.contains(kRefusal)) << output.toStdString();
    EXPECT_FALSE(output.contains(kPasswordPrompt)) << output.toStdString();
}

TEST_F(ProgramTest, AnInstanceThatWasKilledNoLongerBlocksTheNextStart)
{
    QProcess& first = Start("open");
    ASSERT_TRUE(WaitForOutput(first, QRegularExpression(QRegularExpression::escape(kPasswordPrompt))));
    ASSERT_EQ(first.state(), QProcess::Running);

    const auto [refusedCode, refused] = Run("locked");
    EXPECT_EQ(refusedCode, 1);
    EXPECT_TRUE(refused.contains(kRefusal)) << refused.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    // The next start gets as far as the password prompt, which refuses the entry and is given up.
    const auto [exitCode, output] = Run("locked");
    EXPECT_EQ(exitCode, 1);
    EXPECT_FALSE(output.contains(kRefusal)) << output.toStdString();
    EXPECT_TRUE(output.contains(kPasswordPrompt)) << output.toStdString();
    EXPECT_TRUE(output.contains(kWrongPassword)) << output.toStdString();
}

TEST_F(ProgramTest, AStoreThatCannotBeReadEndsTheStartBeforeThePrompt)
{
    const auto [exitCode, output] = Run("unreadable");
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(output.contains("prompt: message box 0x10 \"" + kUnreadableStore + "\"")) << output.toStdString();
    EXPECT_FALSE(output.contains(kPasswordPrompt)) << output.toStdString();
}

// The shipped program has no test mode: given a test's home, it still keeps its settings where
// the machine keeps them, and its password prompt waits for a user. Were the home taken, the
// prompts would be answered and the program would end at once.
TEST_F(ProgramTest, TheShippedProgramTakesNoTestHome)
{
    const QStringList before = QDir(folder.filePath("locked")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    // Qt's own painting log tells when a dialog reaches the screen: the prompt painted, then
    // painted again by its blinking caret, so its loop waits for the user.
    QProcess& program = Start("locked", {}, TAMSEL_PATH, "qt.widgets.painting=true");
    QString output;
    EXPECT_TRUE(WaitForOutput(program, QRegularExpression("Flushing QRegion\\(.*\\) of QDialog"), 2, &output));
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_FALSE(output.contains("prompt:"));
    EXPECT_EQ(QDir(folder.filePath("locked")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

TEST_F(ProgramTest, ASettingsFileNamedOnTheCommandLineIsOpened)
{
    CConfig record;
    record.machine.companyName = "Corvane Lyon";
    const QString path = folder.filePath("lyon.tms");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(serialformat::StoreToBytes(record));
    file.close();

    QProcess& program = Start("open", {path});
    // An opened file joins the recent files at once.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Store("open", "user")->value("Recent File List/File1").toString() == path
               || program.state() == QProcess::NotRunning;
    }, 60000));
    EXPECT_EQ(Store("open", "user")->value("Recent File List/File1").toString(), path);
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(ProgramTest, ASettingsFileThatCannotBeReadEndsTheStartAfterTheFrameworksMessage)
{
    const QString path = folder.filePath("abîmé.tms");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("pas un fichier de paramètres");
    file.close();

    const auto [exitCode, output] = Run("open", {path});
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(output.contains("\"Format de fichier inattendu.\"")) << output.toStdString();
    EXPECT_TRUE(Store("open", "user")->value("Recent File List/File1").isNull());
}

// What the started console offers: the host describes its menu and categories, with the
// network mode switched on where the menu offers it.
TEST_F(ProgramTest, TheNetworkModeIsOfferedOnlyWhenTheCommandLineAsksForIt)
{
    const QString local = "Général, Fax, Annuaire, Boîte aux lettres, Télécopie PC, Relevés";
    struct Case {
        const char* name;
        QStringList arguments;
        QString menu;
        QString categories;
    };
    const Case cases[] = {
        {"no option", {}, "absent", local},
        {"--network", {"--network"}, "offered",
         "Général, Fax, Annuaire, Boîte aux lettres, Télécopie PC, Réseau, Relevés, Options messagerie"},
    };
    struct Describe {
        Describe() { qputenv("TAMSEL_TEST_DESCRIBE", "1"); }
        ~Describe() { qunsetenv("TAMSEL_TEST_DESCRIBE"); }
    } describe;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [exitCode, output] = Run("open", c.arguments);
        EXPECT_EQ(exitCode, 0) << output.toStdString();
        EXPECT_TRUE(output.contains("menu: network mode " + c.menu)) << output.toStdString();
        QStringList categories;
        for (const QString& line : output.split('\n')) {
            if (line.startsWith("category: "))
                categories << line.mid(int(qstrlen("category: ")));
        }
        EXPECT_EQ(categories.join(", ").toStdString(), c.categories.toStdString());
    }
}

// Under a file-size limit (ulimit -f) a save fails with its message; the console goes on with
// its edits, and the file and its folder are as they were.
TEST_F(ProgramTest, ASaveOverTheFileSizeLimitIsAMessageNotTheEnd)
{
    CConfig record;
    record.machine.companyName = "Corvane Lyon";
    const QString path = folder.filePath("dossier/lyon.tms");
    ASSERT_TRUE(QDir(folder.path()).mkdir("dossier"));
    const QByteArray before = serialformat::StoreToBytes(record);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    struct Save {
        Save() { qputenv("TAMSEL_TEST_SAVE", "1"); }
        ~Save() { qunsetenv("TAMSEL_TEST_SAVE"); }
    } save;
    QProcess& program = Start("open", {path}, TESTHOST_PATH, QString(), [] {
        std::signal(SIGXFSZ, SIG_DFL);   // as a shell leaves it
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_EQ(program.exitStatus(), QProcess::NormalExit) << "ended by signal " << program.exitCode();
    const QString output = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(output.contains(
        "\"Impossible d'écrire lyon.tms : le fichier dépasse la taille de fichier permise.\""))
        << output.toStdString();
    EXPECT_TRUE(output.contains("unsaved: yes")) << output.toStdString();
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(QDir(folder.filePath("dossier")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"lyon.tms"});
}

TEST_F(ProgramTest, HelpPrintsTheOptionsAndStartsNothing)
{
    // The shipped program: a password prompt would wait for a user.
    QProcess& program = Start("locked", {"--help"}, TAMSEL_PATH);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString usage = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_EQ(usage, QString(LoadText(IDS_COMMAND_LINE_USAGE)));
    EXPECT_TRUE(usage.contains("--network")) << usage.toStdString();
}

} // namespace
