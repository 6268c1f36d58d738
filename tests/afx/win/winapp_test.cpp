// The application object: the command line, its name and settings, help requests and the help
// window, and the French texts of Qt's own dialogs.
#include "notesapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QDate>
#include <QLocale>
#include <QTextBrowser>

using namespace notes;
using afx::testing::PromptScript;

namespace {

class WinAppTest : public NotesTest {};

TEST_F(WinAppTest, NameAndSettingsComeFromTheApplicationTitle)
{
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(app.m_pszAppName, "Brevia Pro 40/45 Tamsel de CORVANE");
    EXPECT_EQ(app.m_pszRegistryKey, "Corvane");
    // The title's "/" would make a folder of the settings' file.
    EXPECT_EQ(app.m_pszProfileName, "Brevia Pro 40-45 Tamsel de CORVANE");
    const QFileInfo settings(
        QSettings(QSettings::NativeFormat, QSettings::UserScope, app.m_pszRegistryKey, app.m_pszProfileName).fileName());
    EXPECT_EQ(settings.fileName(), "Brevia Pro 40-45 Tamsel de CORVANE.conf");
    EXPECT_EQ(settings.dir().dirName(), "Corvane");
    ASSERT_NE(app.GetRecentFileList(), nullptr);
    EXPECT_EQ(app.GetRecentFileList()->GetSize(), 4);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

TEST_F(WinAppTest, CommandLineParametersOpenTheFirstFileAndIgnoreOptions)
{
    struct Case {
        std::vector<std::pair<const char*, BOOL>> parameters;   // text, is an option
        int command;
        CString file;
    };
    const std::vector<Case> cases = {
        {{}, CCommandLineInfo::FileNew, ""},
        {{{"verbeux", TRUE}}, CCommandLineInfo::FileNew, ""},
        {{{"/home/anne/réglages.tms", FALSE}}, CCommandLineInfo::FileOpen, "/home/anne/réglages.tms"},
        {{{"x", TRUE}, {"a.tms", FALSE}, {"b.tms", FALSE}}, CCommandLineInfo::FileOpen, "a.tms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.parameters.size() << " parameters, the first \""
                                          << (c.parameters.empty() ? "" : c.parameters.front().first) << '"');
        CCommandLineInfo info;
        for (size_t index = 0; index < c.parameters.size(); ++index)
            info.ParseParam(c.parameters[index].first, c.parameters[index].second, index + 1 == c.parameters.size());
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_EQ(info.m_strFileName, c.file);
    }
    // This test program is started without a file.
    CCommandLineInfo own;
    app.ParseCommandLine(own);
    EXPECT_EQ(own.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST_F(WinAppTest, ShellCommandNewMakesTheMainWindow)
{
    CCommandLineInfo info;
    EXPECT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(Frame(), nullptr);
    EXPECT_EQ(Document()->GetTitle(), "Paramètres");
}

TEST_F(WinAppTest, ShellCommandOpenReadsTheFile)
{
    CCommandLineInfo info;
    info.ParseParam(WriteNotes("départ.tms", {"ligne"}), FALSE, TRUE);
    EXPECT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(Document(), nullptr);
    EXPECT_EQ(Document()->lines, std::vector<CString>{"ligne"});
    EXPECT_EQ(Document()->GetPathName(), Path("départ.tms"));
}

TEST_F(WinAppTest, ShellCommandOnAFileThatCannotBeReadFailsWithTheFrameworksMessage)
{
    CCommandLineInfo info;
    info.ParseParam(Path("absent.tms"), FALSE, TRUE);
    PromptScript prompts;
    prompts.MessageBox(IDOK, "absent.tms\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de "
                             "fichier sont corrects.");
    EXPECT_FALSE(app.ProcessShellCommand(info));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(WinAppTest, OpeningTheFileAlreadyOpenDoesNotReadItAgain)
{
    const CString path = WriteNotes("ouvert.tms", {"disque"});
    CCommandLineInfo info;
    info.ParseParam(path, FALSE, TRUE);
    ASSERT_TRUE(app.ProcessShellCommand(info));
    Document()->lines = {"modifié"};
    Document()->SetModifiedFlag();
    EXPECT_EQ(app.OpenDocumentFile(path), Document());
    EXPECT_EQ(Document()->lines, std::vector<CString>{"modifié"});
}

TEST_F(WinAppTest, ExitClosesTheMainWindowAfterTheSavePrompt)
{
    NewDocument();
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.MessageBox(IDNO, "Enregistrer les modifications apportées à Paramètres ?");
    Command(ID_APP_EXIT);
    ASSERT_NE(app.m_pMainWnd, nullptr) << "the frame outlives the command that closes it";
    afx::testing::RunPostedWork();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(WinAppTest, HelpRequestsGoThroughTheGateway)
{
    NewDocument();
    PromptScript prompts;
    prompts.Help(0x20082).Help(0);
    app.WinHelp(0x20082);
    Command(ID_HELP_FINDER);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0].helpCommand, UINT(afx::HELP_CONTEXT));
    EXPECT_EQ(prompts.Shown()[1].helpCommand, UINT(afx::HELP_FINDER));
}

struct HelpCase {
    DWORD context;
    UINT command;
    const char* source;
    const char* title;    // "": the page of a missing topic
};

TEST(HelpWindowTest, ShowsTheTopicOfAContextOrTheContents)
{
    const std::vector<HelpCase> cases = {{0x20082, afx::HELP_CONTEXT, "qrc:/help/20082.html", "Paramètres machine"},
                                         {0, afx::HELP_FINDER, "qrc:/help/index.html", "Sommaire"},
                                         {0x2ffff, afx::HELP_CONTEXT, "qrc:/help/2ffff.html", ""}};
    for (const HelpCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "context " << std::hex << c.context);
        afx::ShowHelpWindow(c.context, c.command);
        QTextBrowser* browser = afx::HelpBrowser();
        ASSERT_NE(browser, nullptr);
        EXPECT_TRUE(browser->isVisible());
        EXPECT_EQ(browser->source().toString(), c.source);
        EXPECT_EQ(browser->documentTitle(), c.title);
        if (!*c.title) {
            EXPECT_TRUE(browser->toPlainText().contains("Aucune rubrique d'aide")) << browser->toPlainText().toStdString();
            EXPECT_TRUE(browser->toPlainText().contains("2ffff"));
        }
    }
    afx::ShowHelpWindow(0, afx::HELP_QUIT);
    EXPECT_EQ(afx::HelpBrowser(), nullptr);
}

// Whatever the system's language: Qt's texts, those its translation lacks, and the locale.
TEST(QtTextsTest, QtsOwnDialogsSpeakFrench)
{
    QLocale::setDefault(QLocale::c());
    {
        const afx::FrenchLanguage french;
        EXPECT_TRUE(french.QtTextsInstalled());
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
        EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"), "Dossier");
        EXPECT_EQ(QLocale().name(), "fr_FR");
        EXPECT_EQ(QLocale().toString(QDate(2026, 12, 11), QLocale::ShortFormat), "11/12/2026");
    }
    EXPECT_EQ(QLocale().name(), "C");   // the locale it found, back
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

} // namespace
