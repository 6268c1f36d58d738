// The settings document: the record it owns, the state of the save command, and settings
// files through the framework's new, open, save and save as, with their failures.
#include "startup_fixture.h"

#include "device/lib/serialformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <sys/stat.h>

using namespace startup;
using afx::testing::PromptScript;

namespace {

const CString kSettingsFilter = "Paramètres (*.tms)|*.tms|Tous les fichiers (*.*)|*.*||";
const CString kSavePrompt = "Enregistrer les modifications apportées à Paramètres ?";

QByteArray Bytes(CConfig& record)
{
    return serialformat::StoreToBytes(record);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The save command's state as the menu and the toolbar get it.
class SaveCommandState : public CCmdUI {
public:
    explicit SaveCommandState(CCmdTarget* target)
    {
        m_nID = ID_FILE_SAVE;
        DoUpdate(target, TRUE);
    }
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        enabled = bOn;
    }
    BOOL enabled = -1;
};

class DocumentTest : public StartedConsole {
protected:
    CConfig& Record() { return Document()->config; }
    BOOL SaveEnabled() { return SaveCommandState(Frame()).enabled; }
    QString Path(const QString& name) const { return files.filePath(name); }

    // A record away from the factory values in a few sections and the directory, with a device
    // selected and read.
    void EditRecord(const CString& companyName)
    {
        Record().machine.companyName = companyName;
        Record().machine.resolution = 0;
        Record().phoneLine.line1Number = "0472000000";
        auto* entry = new CSpeedDial(12);
        entry->GetDialingData()->name = "Siège";
        entry->GetDialingData()->faxNumber = "0472111111";
        ASSERT_TRUE(Record().phoneBook.Add(entry));
        Document()->SetModifiedFlag();
    }
    void SelectDevice()
    {
        Document()->deviceName = "Brevia Pro 40 (LPT1)";
        Document()->connected = TRUE;
    }
    void ExpectDeviceStillSelected()
    {
        EXPECT_EQ(Document()->deviceName, "Brevia Pro 40 (LPT1)");
        EXPECT_TRUE(Document()->connected);
    }
    void SaveAs(const QString& path)
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, path);
        Command(ID_FILE_SAVE_AS);
    }
    void Open(const QString& path)
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, path);
        Command(ID_FILE_OPEN);
    }

    QTemporaryDir files;
};

TEST_F(DocumentTest, SaveIsEnabledExactlyWhileTheRecordHasUnsavedChanges)
{
    EXPECT_FALSE(SaveEnabled());
    Document()->SetModifiedFlag();
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_TRUE(SaveEnabled());
    SaveAs(Path("a.tms"));
    EXPECT_FALSE(SaveEnabled());
    {
        Document()->SetModifiedFlag();
        PromptScript prompts;
        prompts.MessageBox(IDNO, "Enregistrer les modifications apportées à a.tms ?");
        Command(ID_FILE_NEW);
        EXPECT_FALSE(SaveEnabled());
    }
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.FileDialog(IDOK, Path("a.tms")).MessageBox(IDNO, kSavePrompt);
    Command(ID_FILE_OPEN);
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(DocumentTest, TheFirstSaveAsksForASettingsFileNamedAfterTheTitle)
{
    EditRecord("Corvane Nord");
    PromptScript prompts;
    prompts.FileDialog(IDOK, Path("nord.tms"));
    Command(ID_FILE_SAVE);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    const afx::Prompt& dialog = prompts.Shown()[0];
    EXPECT_EQ(dialog.filter, kSettingsFilter);
    EXPECT_EQ(dialog.defaultExt, "tms");
    EXPECT_EQ(dialog.fileName, "Paramètres.tms");
    EXPECT_EQ(dialog.type, UINT(FALSE));
    // The file is the record's own serialised form and nothing else.
    EXPECT_EQ(FileBytes(Path("nord.tms")), Bytes(Record()));
    EXPECT_FALSE(Document()->IsModified());
    EXPECT_EQ(Document()->GetTitle(), "nord.tms");
    EXPECT_EQ((*app.GetRecentFileList())[0], Path("nord.tms"));
}

TEST_F(DocumentTest, ARecordGoesThroughAFileAndBackIntoTheSameRecordObject)
{
    CConfig* const record = &Record();
    SelectDevice();
    EditRecord("Corvane Sud");
    const QByteArray saved = Bytes(Record());
    SaveAs(Path("sud.tms"));

    Command(ID_FILE_NEW);   // not modified: no prompt
    EXPECT_EQ(Bytes(Record()), Bytes(*std::make_unique<CConfig>()));
    EXPECT_EQ(Document()->GetTitle(), "Paramètres");

    PromptScript prompts;
    prompts.FileDialog(IDOK, Path("sud.tms"));
    Command(ID_FILE_OPEN);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].filter, kSettingsFilter);
    EXPECT_EQ(prompts.Shown()[0].type, UINT(TRUE));
    EXPECT_EQ(Bytes(Record()), saved);
    EXPECT_EQ(&Record(), record);
    EXPECT_EQ(Record().phoneBook.GetSpeedDial(12)->GetName(), "Siège");
    EXPECT_FALSE(Document()->IsModified());
    EXPECT_EQ(Document()->GetTitle(), "sud.tms");
    ExpectDeviceStillSelected();
}

TEST_F(DocumentTest, NewOnAModifiedDocumentAsksWithItsTitleBeforeEmptyingTheRecord)
{
    SelectDevice();
    EditRecord("Corvane Est");
    const QByteArray edited = Bytes(Record());
    {
        PromptScript prompts;
        prompts.MessageBox(IDCANCEL, kSavePrompt);
        Command(ID_FILE_NEW);
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
    }
    EXPECT_EQ(Bytes(Record()), edited);
    EXPECT_TRUE(Document()->IsModified());
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO, kSavePrompt);
        Command(ID_FILE_NEW);
    }
    EXPECT_EQ(Bytes(Record()), Bytes(*std::make_unique<CConfig>()));
    EXPECT_FALSE(Document()->IsModified());
    ExpectDeviceStillSelected();
}

TEST_F(DocumentTest, ClosingTheMainWindowAsksTheSavePromptFirst)
{
    EditRecord("Corvane Ouest");
    {
        PromptScript prompts;
        prompts.MessageBox(IDCANCEL, kSavePrompt);
        app.m_pMainWnd->SendMessage(WM_CLOSE);
    }
    ASSERT_NE(app.m_pMainWnd, nullptr);
    PromptScript prompts;
    prompts.MessageBox(IDNO, kSavePrompt);
    app.m_pMainWnd->SendMessage(WM_CLOSE);
    afx::testing::RunPostedWork();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

struct BadFileCase {
    const char* name;
    std::function<void(const QString& path)> make;   // puts the file in place; none: nothing to make
    const char* message;
};

TEST_F(DocumentTest, AFileThatCannotBeReadLeavesTheDocumentAsItWas)
{
    CConfig good;
    good.machine.companyName = "Bon";
    const QByteArray goodBytes = Bytes(good);
    const auto withBytes = [](const QByteArray& bytes) { return [bytes](const QString& path) { WriteFile(path, bytes); }; };
    const std::vector<BadFileCase> cases = {
        {"coupé.tms", withBytes(goodBytes.left(goodBytes.size() / 2)), "Format de fichier inattendu."},
        {"texte.tms", withBytes("pas un fichier de paramètres"), "Format de fichier inattendu."},
        {"vide.tms", withBytes(""), "Format de fichier inattendu."},
        {"absent.tms", {},
         "absent.tms\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de fichier sont corrects."},
        // Refused at once: a FIFO would block or read as factory values, /dev/zero too.
        {"fifo.tms", {}, "Impossible d'ouvrir le document."},
        {"zéros.tms", [](const QString& path) { ASSERT_TRUE(QFile::link("/dev/zero", path)); },
         "Impossible d'ouvrir le document."},
        {"énorme.tms",
         [](const QString& path) {
             QFile file(path);   // sparse: no disk used
             ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(serialformat::maxFileBytes + 1));
         },
         "Format de fichier inattendu."},
    };
    SelectDevice();
    EditRecord("Corvane Centre");
    SaveAs(Path("centre.tms"));
    Record().machine.companyName = "Corvane Centre modifié";
    Document()->SetModifiedFlag();
    const QByteArray before = Bytes(Record());
    // Held open at both ends, so that opening it never waits, even where it is not refused.
    ASSERT_EQ(0, ::mkfifo(QFile::encodeName(Path("fifo.tms")).constData(), 0644));
    const int fifo = ::open(QFile::encodeName(Path("fifo.tms")).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fifo, 0);
    for (const BadFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.make)
            c.make(Path(c.name));
        PromptScript prompts;
        prompts.FileDialog(IDOK, Path(c.name))
            .MessageBox(IDNO, "Enregistrer les modifications apportées à centre.tms ?")
            .MessageBox(IDOK, c.message);
        Command(ID_FILE_OPEN);
        EXPECT_EQ(Bytes(Record()), before);
        EXPECT_TRUE(Document()->IsModified());
        EXPECT_EQ(Document()->GetPathName(), Path("centre.tms"));
        EXPECT_EQ(Document()->GetTitle(), "centre.tms");
        EXPECT_EQ((*app.GetRecentFileList())[0], Path("centre.tms"));
        EXPECT_EQ(app.GetRecentFileList()->GetCount(), 1);
        ExpectDeviceStillSelected();
    }
    ::close(fifo);
}

// Saving over a FIFO or a device would replace it with a regular file.
TEST_F(DocumentTest, SavingOntoAFifoOrADeviceIsRefused)
{
    EditRecord("Corvane Ouest");
    ASSERT_EQ(0, ::mkfifo(QFile::encodeName(Path("fifo.tms")).constData(), 0644));
    ASSERT_TRUE(QFile::link("/dev/null", Path("nul.tms")));
    for (const char* name : {"fifo.tms", "nul.tms"}) {
        SCOPED_TRACE(name);
        PromptScript prompts;
        prompts.FileDialog(IDOK, Path(name)).MessageBox(IDOK, "Impossible d'enregistrer le document.");
        Command(ID_FILE_SAVE_AS);
        EXPECT_TRUE(Document()->IsModified());
        EXPECT_TRUE(Document()->GetPathName().IsEmpty());
    }
    struct stat info;
    ASSERT_EQ(0, ::lstat(QFile::encodeName(Path("fifo.tms")).constData(), &info));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(QFileInfo(Path("nul.tms")).symLinkTarget(), "/dev/null");
    EXPECT_EQ(QDir(files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"fifo.tms", "nul.tms"}));
}

TEST_F(DocumentTest, ASaveThatFailsKeepsThePreviousFile)
{
    EditRecord("Corvane Nord");
    SaveAs(Path("nord.tms"));
    const QByteArray previous = FileBytes(Path("nord.tms"));
    ASSERT_GT(previous.size(), 16);

    Record().machine.companyName = "Corvane Nord-Est";
    Document()->SetModifiedFlag();
    PromptScript prompts;
    prompts.MessageBox(IDOK, "Impossible d'écrire nord.tms : le fichier dépasse la taille de fichier permise.");
    {
        FileSizeLimit limit(16);
        Command(ID_FILE_SAVE);
    }
    EXPECT_EQ(FileBytes(Path("nord.tms")), previous);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(QDir(files.path()).entryList(QDir::Files), QStringList{"nord.tms"});
}

// A settings file holds passwords: a new one is its owner's alone whatever the umask, and a
// file saved over keeps the mode it had.
TEST_F(DocumentTest, ASavedRecordIsItsOwnersAlone)
{
    struct Row {
        const char* name;
        mode_t umask;
        mode_t existing;   // 0: a new file
        mode_t expected;
    };
    const Row rows[] = {
        {"umask 022", 022, 0, 0600},
        {"umask 077", 077, 0, 0600},
        {"over a 0640 file", 022, 0640, 0640},
    };
    EditRecord("Corvane Sud");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = Path("sud.tms");
        QFile::remove(path);
        if (row.existing != 0) {
            WriteFile(path, "ancien");
            ASSERT_EQ(0, ::chmod(QFile::encodeName(path).constData(), row.existing));
        }
        const mode_t previous = ::umask(row.umask);
        SaveAs(path);
        ::umask(previous);
        struct stat info;
        ASSERT_EQ(0, ::stat(QFile::encodeName(path).constData(), &info));
        EXPECT_EQ(row.expected, info.st_mode & 07777);
        EXPECT_EQ(FileBytes(path), Bytes(Record()));
    }
}

} // namespace
