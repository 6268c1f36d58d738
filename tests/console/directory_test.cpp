// The directory category of the started console: its three list pages worked through their
// widgets (buttons, selection, keyboard deletion), the pages rebuilt when a removal takes
// entries of another page along, the list helpers' columns and order, the entry-number
// stepping, and phone-book files written and read with their failures.
#include "directory_fixture.h"

#include "device/lib/contacts.h"
#include "device/lib/mailboxes.h"
#include "device/lib/serialformat.h"
#include "dialogs/dialoghelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace directory;
using afx::testing::PromptScript;

namespace {

TEST_F(Directory, TheThreeTabsShowTheirEntriesSortedWithTheirCaptions)
{
    FillDirectory();
    EXPECT_EQ(Page(speedDialTab).GetTabTitle(), "Composition abrégée");
    EXPECT_EQ(Page(oneTouchTab).GetTabTitle(), "Composition instantanée");
    EXPECT_EQ(Page(groupTab).GetTabTitle(), "Composition de groupe");
    EXPECT_EQ(Column(List(speedDialTab), 0), (QStringList{"001", "002", "003", "004", "005"}));
    EXPECT_EQ(Column(List(oneTouchTab), 0), (QStringList{"01", "02", "03", "04"}));
    EXPECT_EQ(Column(List(groupTab), 0), (QStringList{"0001", "0002"}));
    EXPECT_EQ(Column(List(groupTab), 1), (QStringList{"Équipe jour", "Équipe nuit"}));
    ExpectListsShowTheBook();
}

struct ButtonCase {
    const char* name;
    int keys;                        // one-touch keys in the list
    std::initializer_list<int> selected;
    bool add, modify, remove, removeAll;
};

TEST_F(Directory, ButtonsFollowTheSelectionAndTheCapacity)
{
    const ButtonCase cases[] = {
        {"empty", 0, {}, true, false, false, false},
        {"none selected", 3, {}, true, false, false, true},
        {"one selected", 3, {1}, true, true, true, true},
        {"two selected", 3, {0, 2}, true, false, true, true},
        {"at capacity", COneTouch::max_count, {}, false, false, false, true},
        {"at capacity, one selected", COneTouch::max_count, {5}, false, true, true, true},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        for (int n = 1; n <= c.keys; ++n)
            AddOwnKey(n, CString("Poste ") + FormatId(n, 2));
        Show(speedDialTab);
        Show(oneTouchTab);
        SelectRows(List(oneTouchTab), c.selected);
        EXPECT_EQ(Enabled(oneTouchTab, IDC_ADD), c.add);
        EXPECT_EQ(Enabled(oneTouchTab, IDC_MODIFY), c.modify);
        EXPECT_EQ(Enabled(oneTouchTab, IDC_DELETE), c.remove);
        EXPECT_EQ(Enabled(oneTouchTab, IDC_DELETE_ALL), c.removeAll);
    }
    // Deleting one key of a full list lets Add work again.
    Click(Page(oneTouchTab), IDC_DELETE);
    EXPECT_EQ(List(oneTouchTab).GetItemCount(), COneTouch::max_count - 1);
    EXPECT_TRUE(Enabled(oneTouchTab, IDC_ADD));
    EXPECT_FALSE(Enabled(oneTouchTab, IDC_DELETE));
}

TEST_F(Directory, DeletingThreeSelectedEntriesRemovesThemWithoutAQuestion)
{
    FillDirectory();
    PromptScript prompts;   // no prompt expected
    SelectRows(List(speedDialTab), {0, 2, 3});
    Click(Page(speedDialTab), IDC_DELETE);
    EXPECT_EQ(Column(List(speedDialTab), 0), (QStringList{"002", "005"}));
    EXPECT_EQ(Book().GetCount(1), 2);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_FALSE(Enabled(speedDialTab, IDC_DELETE));
    ExpectListsShowTheBook();
}

struct RemovalCase {
    const char* name;
    int tab;
    int button;                        // IDC_DELETE (with the rows selected) or IDC_DELETE_ALL
    std::initializer_list<int> rows;
    QStringList speedDials, keys, groups;
    QStringList firstGroupMembers;     // by number
};

// A removal takes along what referred to the entries: the pages of those entries rebuild
// their lists at once, so that no row shows an entry the phone book destroyed.
TEST_F(Directory, RemovalsRebuildThePagesOfWhatTheyTookAlong)
{
    const RemovalCase cases[] = {
        {"all speed dials", speedDialTab, IDC_DELETE_ALL, {}, {}, {"02", "03", "04"}, {"0001", "0002"}, {"03"}},
        {"speed dial 5, behind a key and in a group", speedDialTab, IDC_DELETE, {4},
         {"001", "002", "003", "004"}, {"02", "03", "04"}, {"0001", "0002"}, {"002", "03"}},
        {"a key in a group", oneTouchTab, IDC_DELETE, {2},
         {"001", "002", "003", "004", "005"}, {"01", "02", "04"}, {"0001", "0002"}, {"002", "005"}},
        {"a group a key stands for", groupTab, IDC_DELETE, {1},
         {"001", "002", "003", "004", "005"}, {"01", "03", "04"}, {"0001"}, {"002", "005", "03"}},
        {"all groups", groupTab, IDC_DELETE_ALL, {},
         {"001", "002", "003", "004", "005"}, {"01", "03", "04"}, {}, {}},
    };
    for (const RemovalCase& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        FillDirectory();
        Show(c.tab);
        Document()->SetModifiedFlag(FALSE);
        SelectRows(List(c.tab), c.rows);
        Click(Page(c.tab), c.button);
        EXPECT_TRUE(Document()->IsModified());
        EXPECT_EQ(Column(List(speedDialTab), 0), c.speedDials);
        EXPECT_EQ(Column(List(oneTouchTab), 0), c.keys);
        EXPECT_EQ(Column(List(groupTab), 0), c.groups);
        ExpectListsShowTheBook();
        QStringList members;
        if (CGroupDial* first = Book().GetGroupDial(1)) {
            for (POSITION pos = first->members.GetHeadPosition(); pos;) {
                CStringArray texts;
                static_cast<CIdObject*>(first->members.GetNext(pos))->GetText(texts);
                members << texts[0];
            }
        }
        EXPECT_EQ(members, c.firstGroupMembers);
    }
}

struct KeyCase {
    const char* name;
    std::initializer_list<int> selected;
    Qt::KeyboardModifiers modifiers;
    QStringList left;
};

TEST_F(Directory, ControlAltShiftPeriodDeletesAsTheDeleteButtonDoes)
{
    const KeyCase cases[] = {
        {"two selected", {1, 3}, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, {"001", "003", "005"}},
        {"none selected: Delete is disabled", {}, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier,
         {"001", "002", "003", "004", "005"}},
        {"without Alt", {1}, Qt::ControlModifier | Qt::ShiftModifier, {"001", "002", "003", "004", "005"}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        FillDirectory();
        Document()->SetModifiedFlag(FALSE);
        SelectRows(List(speedDialTab), c.selected);
        Page(speedDialTab).SetFocus();
        QTest::keyClick(Page(speedDialTab).m_hWnd, '.', c.modifiers);
        EXPECT_EQ(Column(List(speedDialTab), 0), c.left);
        EXPECT_EQ(Document()->IsModified(), c.left.size() < 5);
        ExpectListsShowTheBook();
    }
}

struct HeadingCase {
    const char* name;
    bool network;
    int tab;
    QStringList headings;
};

TEST_F(Directory, ColumnHeadingsFollowTheNetworkMode)
{
    const HeadingCase cases[] = {
        {"speed dials, local", false, speedDialTab, {"Numéro", "Nom", "Comp. abrégée/de groupe/Fax"}},
        {"keys, local", false, oneTouchTab, {"Numéro", "Type", "Nom", "Comp. abrégée/de groupe/Fax"}},
        {"groups, local", false, groupTab, {"Numéro", "Nom"}},
        {"speed dials, network", true, speedDialTab, {"Numéro", "Nom", "Comp. abrégée/de groupe/Fax/Messagerie"}},
        {"keys, network", true, oneTouchTab, {"Numéro", "Type", "Name", "Comp. abrégée/de groupe/Fax/Messagerie"}},
        {"groups, network", true, groupTab, {"Numéro", "Nom"}},
    };
    // The command is not in the shipped menu; put back, it switches the mode.
    CMenu* viewMenu = Frame()->GetMenu()->GetSubMenu(1);
    ASSERT_TRUE(viewMenu->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_VIEW_NETWORK_MODE, "T&amsel réseau"));
    for (const HeadingCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (IsNetworkMode() != BOOL(c.network))
            Command(ID_VIEW_NETWORK_MODE);
        ASSERT_EQ(IsNetworkMode(), BOOL(c.network));
        Reload();
        EXPECT_EQ(Headings(List(c.tab)), c.headings);
    }
    QHeaderView* header = Table(List(speedDialTab))->horizontalHeader();
    EXPECT_EQ(header->sectionSize(0), 50);
    EXPECT_EQ(header->sectionSize(2), 250);
}

TEST_F(Directory, InsertedRowsGoAfterEqualNumbersAndMailboxesSortAsText)
{
    CListCtrl& list = List(speedDialTab);
    CSpeedDial three(3), five(5), nine(9), otherFive(5);
    for (CSpeedDial* entry : {&nine, &three, &five})
        InsertEntryItem(list, entry, FALSE);
    EXPECT_EQ(InsertEntryItem(list, &otherFive, TRUE), 2);
    EXPECT_EQ(FindItemByData(list, &otherFive), 2);
    EXPECT_EQ(FindItemByData(list, &five), 1);
    int index = -1;
    EXPECT_EQ(GetFirstSelectedData(list, &index), &otherFive);
    EXPECT_EQ(index, 2);

    CMailBox nineBox("9"), tenBox("10"), twentyBox("20");
    CObList boxes;
    for (CMailBox* box : {&nineBox, &twentyBox, &tenBox})
        boxes.AddTail(box);
    FillEntryList(list, IDS_GROUP_DIAL_COLUMNS, boxes, nullptr);
    EXPECT_EQ(Column(list, 0), (QStringList{"10", "20", "9"}));
    EXPECT_EQ(GetFirstSelectedData(list), nullptr);
    Reload();   // no row may outlive these objects
}

struct StepCase {
    const char* name;
    QString start;
    int delta;
    bool editing;      // the dialog edits speed dial `start`
    QString expected;
};

// The entry dialog's number field and its spin control, over speed dials 1, 2, 998 and 999.
TEST_F(Directory, StepEntryNumberFindsTheNextFreeNumberWithinTheRange)
{
    for (int n : {1, 2, 998, 999})
        AddSpeedDial(n, "Agence");
    Reload();
    CDialog dialog(IDD_DIAL_ENTRY);
    ASSERT_TRUE(dialog.Create(IDD_DIAL_ENTRY, Frame()));
    auto* field = static_cast<CEdit*>(dialog.GetDlgItem(IDC_ENTRY_NUMBER));
    auto* spin = static_cast<CSpinButtonCtrl*>(dialog.GetDlgItem(IDC_ENTRY_NUMBER_SPIN));
    field->SetLimitText(3);
    spin->SetRange(1, 999);

    const StepCase cases[] = {
        {"up from a free number", "010", +1, false, "011"},
        {"down over taken numbers", "003", -1, false, "003"},
        {"down to the low end from a new entry", "002", -1, false, "003"},
        {"down at the low end, own number", "001", -1, true, "001"},
        {"up at the high end from a new entry", "998", +1, false, "998"},
        {"up at the high end, own number", "999", +1, true, "999"},
        {"up from the bottom", "", +1, false, "003"},
        {"down from past the end", "1000", -1, false, "997"},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        field->SetWindowText(c.start);
        CIdObject* current = c.editing ? Book().GetSpeedDial(c.start.toInt()) : nullptr;
        StepEntryNumber(field, spin, Book().GetSpeedDials(), current, c.delta);
        CString text;
        field->GetWindowText(text);
        EXPECT_EQ(text, c.expected);
    }

    ShowUsage(&dialog, &Page(speedDialTab));
    CString used, capacity;
    dialog.GetDlgItemText(IDC_USED_COUNT, used);
    dialog.GetDlgItemText(IDC_CAPACITY, capacity);
    EXPECT_EQ(used, "4");
    EXPECT_EQ(capacity, "999");
    dialog.DestroyWindow();
}

// ---- Phone-book files ----

class PhoneBookFiles : public Directory {
protected:
    QString Path(const QString& name) const { return QDir(files.path()).filePath(name); }
    QByteArray Bytes() { return serialformat::StoreToBytes(Book()); }
    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    }
    // Another program holds the file open (and locked) until the result is closed.
    int Hold(const QString& name)
    {
        const int holder = ::open(QFile::encodeName(Path(name)).constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(0, ::flock(holder, LOCK_SH));
        return holder;
    }

    // Opens the file on the one-touch page, or saves to it on the group page; the message,
    // when given, must show as an error box.
    void UseFile(int tab, int button, const QString& path, const CString& message)
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, path);
        if (!message.IsEmpty())
            prompts.MessageBox(IDOK, message);
        Show(tab);
        Click(Page(tab), button);
        if (!message.IsEmpty()) {
            EXPECT_EQ(prompts.Shown().back().type, UINT(MB_OK | MB_ICONERROR));
        }
    }
    void Import(const QString& path, const CString& message = {})
    {
        UseFile(oneTouchTab, IDC_OPEN_PHONE_BOOK, path, message);
    }
    void Export(const QString& path, const CString& message = {})
    {
        UseFile(groupTab, IDC_SAVE_PHONE_BOOK, path, message);
    }

    QTemporaryDir files;
};

TEST_F(PhoneBookFiles, ExportChangeImportGivesBackTheSameDirectory)
{
    FillDirectory();
    Show(groupTab);
    const QByteArray saved = Bytes();
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, Path("annuaire.phb"));
        // A phone book holds no password: made as any document, under the umask.
        const mode_t umask = ::umask(027);
        Click(Page(groupTab), IDC_SAVE_PHONE_BOOK);
        ::umask(umask);
        EXPECT_EQ(QFileInfo(Path("annuaire.phb")).permissions(),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
        ASSERT_EQ(prompts.Shown().size(), 1u);
        EXPECT_EQ(prompts.Shown()[0].text, "Enregistrer annuaire");
        EXPECT_EQ(prompts.Shown()[0].filter, "Annuaires (*.phb)|*.phb|Contacts CSV (*.csv)|*.csv|Contacts vCard (*.vcf)|*.vcf|"
                                             "Contacts LDIF (*.ldif)|*.ldif|Tous fichiers (*.*)|*.*||");
        EXPECT_EQ(prompts.Shown()[0].defaultExt, "phb");
    }
    EXPECT_FALSE(Document()->IsModified());
    EXPECT_EQ(FileBytes(Path("annuaire.phb")), saved);

    Click(Page(groupTab), IDC_DELETE_ALL);
    Show(speedDialTab);
    Click(Page(speedDialTab), IDC_DELETE_ALL);
    AddSpeedDial(7, "Nouvelle agence");
    Reload();
    Show(oneTouchTab);
    Document()->SetModifiedFlag(FALSE);
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, Path("annuaire.phb"));
        Click(Page(oneTouchTab), IDC_OPEN_PHONE_BOOK);
        EXPECT_EQ(prompts.Shown()[0].text, "Ouvrir annuaire");
    }
    EXPECT_EQ(Bytes(), saved);
    EXPECT_TRUE(Document()->IsModified());
    ExpectListsShowTheBook();
    // Writing onto the file again, through the live dialog, replaces it without a question.
    AddSpeedDial(8, "Agence Sud");
    {
        QString question;
        PromptScript prompts;
        prompts.FileDialog([&](QFileDialog& dialog) {
            dialog.setDirectory(files.path());
            question = ConfirmFileName(dialog, "annuaire.phb");
        });
        Show(groupTab);
        Click(Page(groupTab), IDC_SAVE_PHONE_BOOK);
        EXPECT_EQ(question, QString());
    }
    EXPECT_EQ(FileBytes(Path("annuaire.phb")), Bytes());
    EXPECT_EQ(QDir(files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"annuaire.phb"});
}

TEST_F(PhoneBookFiles, CancellingChangesNothingButTheListIsRebuilt)
{
    FillDirectory();
    Export(Path("annuaire.phb"));
    const QByteArray directory = Bytes();
    const QByteArray file = FileBytes(Path("annuaire.phb"));
    for (BOOL save : {FALSE, TRUE}) {
        SCOPED_TRACE(save ? "save" : "open");
        PromptScript prompts;
        prompts.FileDialog(IDCANCEL);
        Click(Page(oneTouchTab), save ? IDC_SAVE_PHONE_BOOK : IDC_OPEN_PHONE_BOOK);
        EXPECT_EQ(Bytes(), directory);
        EXPECT_EQ(FileBytes(Path("annuaire.phb")), file);
        EXPECT_EQ(Document()->IsModified(), !save);
        ExpectListsShowTheBook();
        Document()->SetModifiedFlag(FALSE);
    }
}

struct FileFault {
    const char* name;
    std::function<QString()> prepare;   // the file to choose
    CString message;
};

TEST_F(PhoneBookFiles, AFileThatCannotBeReadLeavesTheDirectoryAsItWas)
{
    FillDirectory();
    Export(Path("bon.phb"));
    const QByteArray good = FileBytes(Path("bon.phb"));
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 7919 + 13) % 251));
    int holder = -1;
    const FileFault cases[] = {
        {"truncated", [&] { return WriteFile("coupé.phb", good.left(good.size() - 7)); }, "Format de fichier inattendu."},
        {"random bytes", [&] { return WriteFile("bruit.phb", noise); }, "Format de fichier inattendu."},
        {"held by another program",
         [&] {
             holder = Hold("bon.phb");
             return Path("bon.phb");
         },
         "Erreur inconnue."},
        {"missing", [this] { return Path("absent.phb"); },
         CString("absent.phb\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de fichier sont "
                 "corrects.")},
        {"a folder",
         [this] {
             QDir(files.path()).mkdir("dossier.phb");
             return Path("dossier.phb");
         },
         "Erreur inconnue."},
    };
    Book().DeleteContents(2);
    AddSpeedDial(9, "Agence Île-de-France");
    Reload();
    const QByteArray before = Bytes();
    for (const FileFault& c : cases) {
        SCOPED_TRACE(c.name);
        Import(c.prepare(), c.message);
        EXPECT_EQ(Bytes(), before);
        ExpectListsShowTheBook();
    }
    ::close(holder);
}

TEST_F(PhoneBookFiles, AFailedExportKeepsTheOldFileAndSaysWhy)
{
    FillDirectory();
    Export(Path("annuaire.phb"));
    const QByteArray old = FileBytes(Path("annuaire.phb"));
    AddSpeedDial(9, "Agence Île-de-France");
    Reload();
    int holder = -1;
    // Root may write anywhere it has permissions for; a folder of the kernel's refuses it too.
    QDir(files.path()).mkdir("lecture");
    const QString readOnlyFolder = ::geteuid() == 0 ? QString("/sys") : Path("lecture");
    QFile::setPermissions(Path("lecture"), QFile::ReadOwner | QFile::ExeOwner);
    const FileFault cases[] = {
        {"held by another program",
         [&] {
             holder = Hold("annuaire.phb");
             return Path("annuaire.phb");
         },
         "Erreur inconnue."},
        {"read-only folder", [&] { return readOnlyFolder + "/annuaire.phb"; },
         "Impossible d'écrire dans annuaire.phb : il est en lecture seule ou ouvert par un autre utilisateur."},
        {"missing folder", [this] { return Path("absent/annuaire.phb"); },
         CString("annuaire.phb\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de fichier "
                 "sont corrects.")},
    };
    for (const FileFault& c : cases) {
        SCOPED_TRACE(c.name);
        Export(c.prepare(), c.message);
        ::close(std::exchange(holder, -1));
        EXPECT_EQ(FileBytes(Path("annuaire.phb")), old);
    }
    {
        SCOPED_TRACE("file-size limit");
        PromptScript prompts;
        prompts.FileDialog(IDOK, Path("annuaire.phb"))
            .MessageBox(IDOK, "Impossible d'écrire annuaire.phb : le fichier dépasse la taille de fichier permise.");
        FileSizeLimit limit(16);
        Click(Page(groupTab), IDC_SAVE_PHONE_BOOK);
    }
    EXPECT_EQ(FileBytes(Path("annuaire.phb")), old);
    QFile::setPermissions(Path("lecture"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(QDir(files.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"annuaire.phb"});
}

// ---- Contact files ----

// The preview shows the file's lines; Importer takes them all, Annuler none, and the lists
// of every page show the result.
TEST_F(PhoneBookFiles, AContactImportIsShownThenTakenWhole)
{
    FillDirectory();
    const QString csv = WriteFile("contacts.csv", "Nom;Fax;Touche;Groupes\r\nNouvelle agence;01 40 00 00 06;06;Équipe jour (0001)\r\n"
                                                  "Sans numéro;;;\r\n");
    const QByteArray before = Bytes();
    for (const int answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer == IDOK ? "Importer" : "Annuler");
        PromptScript prompts;
        prompts.FileDialog(IDOK, csv).Dialog(IDD_CONTACT_IMPORT, [&](CDialog& dialog) {
            CString summary;
            dialog.GetDlgItemText(IDC_IMPORT_SUMMARY, summary);
            EXPECT_EQ(summary, "contacts.csv : 2 ajoutées, 1 remplacée, 1 refusée, 0 inchangée.");
            auto& rows = *static_cast<CListCtrl*>(dialog.GetDlgItem(IDC_IMPORT_CHANGES));
            EXPECT_EQ(Column(rows, 0), (QStringList{"2", "2", "2", "3"}));
            EXPECT_EQ(Column(rows, 1), (QStringList{"Ajoutée", "Ajoutée", "Remplacée", "Refusée"}));
            EXPECT_EQ(Column(rows, 2).value(2), "groupe 0001 « Équipe jour » : de nouveaux membres");
            EXPECT_EQ(Column(rows, 2).value(3), "aucun numéro de fax.");
            EXPECT_TRUE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
            // The directory is still the old one while the preview shows.
            EXPECT_EQ(Bytes(), before);
            dialog.EndDialog(answer);
        });
        Click(Page(speedDialTab), IDC_OPEN_PHONE_BOOK);
        EXPECT_EQ(prompts.Shown().size(), 2u);
        if (answer == IDCANCEL) {
            EXPECT_EQ(Bytes(), before);
        }
    }
    ASSERT_NE(Book().GetSpeedDial(6), nullptr);
    EXPECT_EQ(Book().GetSpeedDial(6)->GetName(), CString("Nouvelle agence"));
    EXPECT_EQ(Book().GetOneTouch(6)->GetRef(), Book().GetSpeedDial(6));
    EXPECT_NE(Book().GetGroupDial(1)->members.Find(Book().GetSpeedDial(6)), nullptr);
    EXPECT_EQ(Book().GetCount(1), 6);
    Show(oneTouchTab);
    Show(groupTab);
    ExpectListsShowTheBook();
}

TEST_F(PhoneBookFiles, AContactFileThatCannotBeImportedChangesNothing)
{
    FillDirectory();
    const QByteArray before = Bytes();
    {
        // Nothing to take: the preview still tells why, and Importer is disabled.
        PromptScript prompts;
        prompts.FileDialog(IDOK, WriteFile("vide.vcf", "BEGIN:VCARD\nFN:Sans fax\nEND:VCARD\n"))
            .Dialog(IDD_CONTACT_IMPORT, [](CDialog& dialog) {
                EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
                dialog.EndDialog(IDCANCEL);
            });
        Click(Page(speedDialTab), IDC_OPEN_PHONE_BOOK);
    }
    Import(WriteFile("cassé.ldif", "\x89PNG\r\n"), "Impossible d'importer cassé.ldif : le fichier ne contient aucune entrée LDIF (dn:).");
    Import(WriteFile("guillemets.csv", "Nom,Fax\n\"Dupont,01\n"),
           "Impossible d'importer guillemets.csv : ligne 2 : des guillemets ouverts ne sont jamais fermés.");
    Import(Path("absent.csv"), CString("absent.csv\nCe fichier est introuvable.\nVérifiez que le chemin d'accès et le nom de fichier sont "
                                       "corrects."));
    EXPECT_EQ(Bytes(), before);
}

TEST_F(PhoneBookFiles, EachContactFormatIsWrittenByItsExtension)
{
    FillDirectory();
    const std::pair<const char*, contacts::Format> formats[] = {
        {"annuaire.csv", contacts::Format::csv}, {"annuaire.vcf", contacts::Format::vcard}, {"annuaire.ldif", contacts::Format::ldif}};
    for (const auto& [name, format] : formats) {
        SCOPED_TRACE(name);
        Export(Path(name));
        EXPECT_EQ(FileBytes(Path(name)), contacts::Write(format, Book()));
    }
}

} // namespace
