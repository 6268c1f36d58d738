// Documents and views: new, open, save, save as, the save prompt, the recent-file list, and
// what a failed open or save leaves behind.
#include "notesapp.h"
#include "support/helpers.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>

using namespace notes;
using afx::testing::PromptScript;

namespace {

const CString kFilter = CString("Paramètres (*.tms)|*.tms|Tous les fichiers (*.*)|*.*||");
const CString kAskToSaveNew = CString("Enregistrer les modifications apportées à Paramètres ?");

QStringList StoredRecentFiles()
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Corvane", AfxGetApp()->m_pszProfileName);
    settings.beginGroup("Recent File List");
    QStringList files;
    for (const QString& key : settings.childKeys())
        files.append(key + "=" + settings.value(key).toString());
    return files;
}

class DocViewTest : public NotesTest {};

TEST_F(DocViewTest, NewDocumentMakesTheFrameAndViewAndUpdatesTheView)
{
    NewDocument();
    EXPECT_EQ(app.m_pMainWnd, Frame());
    EXPECT_TRUE(Frame()->IsWindowVisible());
    EXPECT_EQ(Document()->GetTitle(), "Paramètres");
    EXPECT_TRUE(Document()->GetPathName().IsEmpty());
    EXPECT_FALSE(Document()->IsModified());
    EXPECT_EQ(View()->GetDocument(), Document());
    EXPECT_EQ(View()->hints, std::vector<LPARAM>{0});
}

TEST_F(DocViewTest, DocumentStringHasItsSevenParts)
{
    NewDocument();
    const std::vector<std::pair<CDocTemplate::DocStringIndex, CString>> parts = {
        {CDocTemplate::windowTitle, "Brevia Pro 40/45 Tamsel de Corvane"}, {CDocTemplate::docName, "Paramètres"},
        {CDocTemplate::fileNewName, "Tamsel"}, {CDocTemplate::filterName, "Paramètres (*.tms)"},
        {CDocTemplate::filterExt, ".tms"}, {CDocTemplate::regFileTypeId, "TMS.Document"},
        {CDocTemplate::regFileTypeName, "Document TMS"}};
    for (const auto& [index, expected] : parts) {
        SCOPED_TRACE(::testing::Message() << "part " << index);
        CString part;
        EXPECT_TRUE(Document()->GetDocTemplate()->GetDocString(part, index));
        EXPECT_EQ(part, expected) << index;
    }
}

TEST_F(DocViewTest, UpdateAllViewsPassesTheHintToEveryViewButTheSender)
{
    NewDocument();
    Document()->UpdateAllViews(nullptr, 107);
    Document()->UpdateAllViews(View(), 108);
    EXPECT_EQ(View()->hints, (std::vector<LPARAM>{0, 107}));
}

TEST_F(DocViewTest, FirstSaveAsksForAFileWithTheDocumentsFilterAndRemembersIt)
{
    NewDocument();
    Document()->lines = {"un", "deux"};
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.FileDialog(IDOK, Path("premier.tms"));
    Command(ID_FILE_SAVE);

    ASSERT_EQ(prompts.Shown().size(), 1u);
    const afx::Prompt& dialog = prompts.Shown()[0];
    EXPECT_EQ(dialog.type, UINT(FALSE));   // a save dialog
    EXPECT_EQ(dialog.text, "Enregistrer sous");
    EXPECT_EQ(dialog.filter, kFilter);
    EXPECT_EQ(dialog.defaultExt, "tms");
    EXPECT_EQ(dialog.fileName, "Paramètres.tms");   // the title proposed as the file's name
    EXPECT_TRUE(dialog.flags & OFN_OVERWRITEPROMPT);   // it asks before replacing a file
    EXPECT_EQ(Document()->GetPathName(), Path("premier.tms"));
    EXPECT_EQ(Document()->GetTitle(), "premier.tms");
    EXPECT_FALSE(Document()->IsModified());
    EXPECT_EQ(StoredRecentFiles(), QStringList{"File1=" + Path("premier.tms")});

    // The file holds what the document's Serialize wrote.
    EXPECT_EQ(FileBytes(Path("premier.tms")), FileBytes(WriteNotes("attendu.tms", {"un", "deux"})));
}

// The open and save-as dialogs start where the document's file is; without one, in the user's
// documents folder, or the home folder when there is none.
TEST_F(DocViewTest, FileDialogsOpenInTheCurrentFilesFolderElseTheDocumentsFolder)
{
    QTemporaryDir home;
    struct HomeBack {
        const QByteArray real = qgetenv("HOME");
        ~HomeBack() { qputenv("HOME", real); }
    } homeBack;
    qputenv("HOME", home.path().toLocal8Bit());
    auto folders = [&] {
        PromptScript prompts;
        prompts.FileDialog(IDCANCEL).FileDialog(IDCANCEL);
        Command(ID_FILE_OPEN);
        Command(ID_FILE_SAVE_AS);
        QStringList shown;
        for (const afx::Prompt& prompt : prompts.Shown())
            shown.append(prompt.folder);
        return shown;
    };
    NewDocument();
    EXPECT_EQ(folders(), QStringList(2, home.path()));   // no documents folder
    ASSERT_TRUE(QDir(home.path()).mkdir("Documents"));
    EXPECT_EQ(folders(), QStringList(2, home.filePath("Documents")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("sous"));
    ASSERT_NE(app.OpenDocumentFile(WriteNotes("sous/lu.tms", {"x"})), nullptr);
    EXPECT_EQ(folders(), QStringList(2, Path("sous")));
}

// The framework's dialogs: the open one takes only an existing file, the save-as one asks
// before replacing one.
TEST_F(DocViewTest, FrameworkFileDialogsAskWhatTheFrameworkAsks)
{
    NewDocument();
    PromptScript prompts;
    prompts.FileDialog(IDCANCEL).FileDialog(IDCANCEL);
    Command(ID_FILE_OPEN);
    Command(ID_FILE_SAVE_AS);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_TRUE(prompts.Shown()[0].flags & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(prompts.Shown()[1].flags & OFN_OVERWRITEPROMPT);
}

TEST_F(DocViewTest, SaveOfADocumentWithAFileWritesItWithoutAsking)
{
    NewDocument();
    ASSERT_NE(app.OpenDocumentFile(WriteNotes("a.tms", {"vieux"})), nullptr);
    Document()->lines = {"neuf"};
    Document()->SetModifiedFlag();
    Command(ID_FILE_SAVE);   // no prompt: the strict answerer would fail the test
    EXPECT_EQ(FileBytes(Path("a.tms")), FileBytes(WriteNotes("attendu.tms", {"neuf"})));
    EXPECT_FALSE(Document()->IsModified());
}

TEST_F(DocViewTest, OpenReadsTheFileIntoTheSameDocumentAndUpdatesTheView)
{
    const CString path = WriteNotes("lu.tms", {"x", "y"});
    NewDocument();
    CNotesDoc* const document = Document();
    PromptScript prompts;
    prompts.FileDialog(IDOK, path);
    Command(ID_FILE_OPEN);

    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].type, UINT(TRUE));   // an open dialog
    EXPECT_EQ(prompts.Shown()[0].text, "Ouvrir");
    EXPECT_EQ(prompts.Shown()[0].filter, kFilter);
    EXPECT_EQ(Document(), document);
    EXPECT_EQ(document->lines, (std::vector<CString>{"x", "y"}));
    EXPECT_EQ(document->GetTitle(), "lu.tms");
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(View()->hints, (std::vector<LPARAM>{0, 0}));
    EXPECT_EQ(StoredRecentFiles(), QStringList{"File1=" + path});
}

struct SavePromptCase {
    const char* name;
    int answer;                  // to the save prompt
    int fileAnswer;              // to the save dialog that Yes opens; 0: none shown
    bool documentRenewed;
    bool fileWritten;
};

void PrintTo(const SavePromptCase& c, std::ostream* os)
{
    *os << c.name;
}

class SavePromptTest : public NotesTest, public ::testing::WithParamInterface<SavePromptCase> {};

TEST_P(SavePromptTest, NewOnAModifiedDocumentAsksToSaveItFirst)
{
    const SavePromptCase& c = GetParam();
    NewDocument();
    Document()->lines = {"modifié"};
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.MessageBox(c.answer, kAskToSaveNew);
    if (c.fileAnswer)
        prompts.FileDialog(c.fileAnswer, Path("sauve.tms"));
    Command(ID_FILE_NEW);

    EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(prompts.Shown()[0].caption, "Brevia Pro 40/45 Tamsel de CORVANE");
    EXPECT_EQ(Document()->lines.empty(), c.documentRenewed);
    EXPECT_EQ(Document()->IsModified(), !c.documentRenewed);
    EXPECT_EQ(QFile::exists(Path("sauve.tms")), c.fileWritten);
}

INSTANTIATE_TEST_SUITE_P(Answers, SavePromptTest,
                         ::testing::Values(SavePromptCase{"Cancel", IDCANCEL, 0, false, false},
                                           SavePromptCase{"No", IDNO, 0, true, false},
                                           SavePromptCase{"YesThenCancelledSave", IDYES, IDCANCEL, false, false},
                                           SavePromptCase{"YesThenSaved", IDYES, IDOK, true, true}),
                         RowName);

TEST_F(DocViewTest, SavePromptNamesTheDocumentsFile)
{
    NewDocument();
    ASSERT_NE(app.OpenDocumentFile(WriteNotes("nommé.tms", {"a"})), nullptr);
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.MessageBox(IDNO, "Enregistrer les modifications apportées à nommé.tms ?");
    Command(ID_FILE_NEW);
    EXPECT_EQ(Document()->GetTitle(), "Paramètres");
}

struct FailedOpenCase {
    const char* name;
    QByteArray content;          // of the file; null: no file at all
    const char* message;
};

void PrintTo(const FailedOpenCase& c, std::ostream* os)
{
    *os << c.name;
}

class FailedOpenTest : public NotesTest, public ::testing::WithParamInterface<FailedOpenCase> {};

TEST_P(FailedOpenTest, LeavesTheDocumentAsItWas)
{
    const FailedOpenCase& c = GetParam();
    const CString path = Path("mauvais.tms");
    if (!c.content.isNull()) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
    }
    NewDocument();
    Document()->lines = {"garde", "tout"};
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.MessageBox(IDNO, kAskToSaveNew).MessageBox(IDOK, CString(c.message));

    EXPECT_EQ(app.OpenDocumentFile(path), nullptr);
    EXPECT_EQ(prompts.Shown().back().type, UINT(MB_ICONEXCLAMATION));
    ASSERT_NE(Document(), nullptr);
    EXPECT_EQ(Document()->lines, (std::vector<CString>{"garde", "tout"}));
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(Document()->GetTitle(), "Paramètres");
    EXPECT_TRUE(Document()->GetPathName().IsEmpty());
    EXPECT_EQ(View()->hints, std::vector<LPARAM>{0});
    EXPECT_TRUE(StoredRecentFiles().isEmpty());
}

// A file that begins well and is cut in its second line: reading it fills the document partly.
QByteArray CutFile()
{
    QByteArray bytes;
    bytes.append("NOTE", 4);                        // the magic, little-endian
    bytes.append("\x03\x00\x00\x00", 4);            // three lines
    bytes.append("\x05\x00\x00\x00" "perdu", 9);    // the first
    bytes.append("\x09\x00\x00\x00" "co", 6);       // the second, cut
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailedOpenTest,
    ::testing::Values(
        FailedOpenCase{"Missing", QByteArray(),
                       "mauvais.tms\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de "
                       "fichier sont corrects."},
        FailedOpenCase{"NotThisKindOfFile", QByteArray("ceci n'est pas un fichier de notes"),
                       "Format de fichier inattendu."},
        FailedOpenCase{"CutShort", CutFile(), "Format de fichier inattendu."}),
    RowName);

TEST_F(DocViewTest, AFailedWriteLeavesTheOldFileAsItWas)
{
    NewDocument();
    const CString path = WriteNotes("gardé.tms", {"ancien"});
    ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    const QByteArray before = FileBytes(path);
    Document()->lines = {"nouveau", "texte"};
    Document()->SetModifiedFlag();
    Document()->failStoring = true;
    PromptScript prompts;
    prompts.MessageBox(IDOK, "Impossible d'enregistrer le document.");
    Command(ID_FILE_SAVE);

    EXPECT_EQ(FileBytes(path), before);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"gardé.tms"});
}

TEST_F(DocViewTest, SaveAsIntoAMissingFolderKeepsTheDocumentsFile)
{
    NewDocument();
    const CString path = WriteNotes("gardé.tms", {"ancien"});
    ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.FileDialog(IDOK, Path("absent/copie.tms"))
        .MessageBox(IDOK, "copie.tms\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de "
                          "fichier sont corrects.");
    Command(ID_FILE_SAVE_AS);

    EXPECT_EQ(prompts.Shown()[0].fileName, path);   // the dialog proposes the document's file
    EXPECT_EQ(Document()->GetPathName(), path);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_FALSE(QDir(Path("absent")).exists());
}

TEST_F(DocViewTest, RecentFilesAreKeptMostRecentFirstWithoutRepeats)
{
    NewDocument();
    for (const char* name : {"a", "b", "c", "d", "e"})
        ASSERT_NE(app.OpenDocumentFile(WriteNotes(QString(name) + ".tms", {name})), nullptr);
    EXPECT_EQ(StoredRecentFiles(), (QStringList{"File1=" + Path("e.tms"), "File2=" + Path("d.tms"),
                                                "File3=" + Path("c.tms"), "File4=" + Path("b.tms")}));

    ASSERT_NE(app.OpenDocumentFile(Path("c.tms")), nullptr);
    EXPECT_EQ(StoredRecentFiles(), (QStringList{"File1=" + Path("c.tms"), "File2=" + Path("e.tms"),
                                                "File3=" + Path("d.tms"), "File4=" + Path("b.tms")}));

    // What another run of the program reads.
    CRecentFileList stored(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    stored.ReadList();
    ASSERT_EQ(stored.GetCount(), 4);
    EXPECT_EQ(stored[0], Path("c.tms"));
    EXPECT_EQ(stored[3], Path("b.tms"));
}

// The texts and ids of the recent-file items of the "&Fichier" menu after it is opened.
std::vector<std::pair<UINT, QString>> RecentFileItems(CFrameWnd* frame)
{
    CMenu* file = frame->GetMenu()->GetSubMenu(0);
    frame->OnInitMenuPopup(file, 0, FALSE);
    std::vector<std::pair<UINT, QString>> items;
    for (QAction* action : file->m_hMenu->actions()) {
        const UINT id = afx::CommandIdOf(action);
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16)
            items.emplace_back(id, action->isEnabled() ? action->text() : "(" + action->text() + ")");
    }
    return items;
}

TEST_F(DocViewTest, RecentFilesStandInTheFileMenuInPlaceOfItsPlaceholder)
{
    NewDocument();
    EXPECT_EQ(RecentFileItems(Frame()), (std::vector<std::pair<UINT, QString>>{{ID_FILE_MRU_FILE1, "(Fichier récent)"}}));

    for (const char* name : {"un & deux", "trois"})
        ASSERT_NE(app.OpenDocumentFile(WriteNotes(QString(name) + ".tms", {name})), nullptr);
    const auto items = RecentFileItems(Frame());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].first, UINT(ID_FILE_MRU_FILE1));
    EXPECT_TRUE(items[0].second.startsWith("&1 ") && items[0].second.endsWith("trois.tms")) << items[0].second.toStdString();
    EXPECT_EQ(items[1].first, UINT(ID_FILE_MRU_FILE1 + 1));
    EXPECT_TRUE(items[1].second.startsWith("&2 ") && items[1].second.endsWith("un && deux.tms")) << items[1].second.toStdString();
    // Opening the menu again does not repeat them.
    EXPECT_EQ(RecentFileItems(Frame()).size(), 2u);
}

TEST_F(DocViewTest, ChoosingARecentFileOpensItAndAFileGoneLeavesTheList)
{
    NewDocument();
    for (const char* name : {"gone", "here", "last"})
        ASSERT_NE(app.OpenDocumentFile(WriteNotes(QString(name) + ".tms", {name})), nullptr);
    Command(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(Document()->lines, std::vector<CString>{"here"});

    ASSERT_TRUE(QFile::remove(Path("gone.tms")));
    PromptScript prompts;
    prompts.MessageBox(IDOK, "gone.tms\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de "
                             "fichier sont corrects.");
    Command(ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(Document()->lines, std::vector<CString>{"here"});
    EXPECT_EQ(StoredRecentFiles(), (QStringList{"File1=" + Path("here.tms"), "File2=" + Path("last.tms")}));
}

TEST_F(DocViewTest, ClosingTheFrameAsksToSaveAndCancelKeepsIt)
{
    NewDocument();
    Document()->SetModifiedFlag();
    QPointer<QWidget> window = Frame()->m_hWnd;
    {
        PromptScript prompts;
        prompts.MessageBox(IDCANCEL, kAskToSaveNew);
        window->close();
    }
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO, kAskToSaveNew);
        window->close();
    }
    afx::testing::RunPostedWork();
    EXPECT_FALSE(window);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

// A second close that comes before the first has taken the window down (a double click on the
// close box) asks nothing more: the user has answered.
TEST_F(DocViewTest, ASecondCloseBeforeTheFirstEndsAsksNothing)
{
    NewDocument();
    Document()->SetModifiedFlag();
    QPointer<QWidget> window = Frame()->m_hWnd;
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO, kAskToSaveNew);
        window->close();
        window->close();
    }
    afx::testing::RunPostedWork();
    EXPECT_FALSE(window);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

} // namespace
