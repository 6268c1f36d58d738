// The group dial entry dialog, opened from the group page of the started console as the user
// opens it: its number and the rules of OK and Apply, the entries that may join a group and
// the moves between the lists, and what OK, Apply and Cancel leave in the phone book, on the
// page and in a settings file.
#include "directory_fixture.h"

#include "support/capacities.h"
#include "support/pick.h"

#include <QTemporaryDir>

using namespace directory;
using afx::testing::PromptScript;

namespace {

enum Opening { byAdd, byModify, byDoubleClick };
enum Source { speedDialSource = 0, oneTouchSource = 1 };

CListCtrl& DialogList(CDialog& dialog, int id)
{
    return *static_cast<CListCtrl*>(dialog.GetDlgItem(id));
}

QString Text(CWnd& window, int id)
{
    CString text;
    window.GetDlgItemText(id, text);
    return text;
}

BOOL Usable(CDialog& dialog, int id)
{
    return dialog.GetDlgItem(id)->IsWindowEnabled();
}

// Types the text over the field's whole text, as the user does.
void Retype(CDialog& dialog, int id, const QString& text)
{
    static_cast<CEdit*>(dialog.GetDlgItem(id))->SetSel(0, -1);
    QTest::keyClick(Control(dialog, id), Qt::Key_Backspace);
    QTest::keyClicks(Control(dialog, id), text);
}

// The numbers of the selected rows, top to bottom.
QStringList SelectedRows(CListCtrl& list)
{
    QStringList numbers;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
        numbers << list.GetItemText(row, 0);
    return numbers;
}

// The shown number of the entries, in the list's order.
QStringList Numbers(const CObList& entries)
{
    QStringList numbers;
    for (POSITION pos = entries.GetHeadPosition(); pos;) {
        CStringArray texts;
        static_cast<const CIdObject*>(entries.GetNext(pos))->GetText(texts);
        numbers << texts[0];
    }
    return numbers;
}

// Shows the source list as the user picks it, then moves the selected rows with the arrow.
void AddMembers(CDialog& dialog, Source source, std::initializer_list<int> rows)
{
    PickComboItem(Control(dialog, IDC_ENTRY_SOURCE), source);
    SelectRows(DialogList(dialog, source == oneTouchSource ? IDC_ONE_TOUCH_SOURCE : IDC_SPEED_DIAL_SOURCE), rows);
    Click(dialog, IDC_ADD);
}

class GroupEntry : public Directory {
protected:
    void SetUp() override
    {
        Directory::SetUp();
        Restart();
    }

    // The directory of FillDirectory on the group page, nothing selected, nothing modified.
    void Restart()
    {
        Book().DeleteContents(4);
        FillDirectory();
        Show(groupTab);
        Document()->SetModifiedFlag(FALSE);
    }

    // Opens the dialog from the group page (on the group of `row` for Modify and a double
    // click) and works it; the dialog is cancelled if `work` leaves it open.
    std::vector<afx::Prompt> Open(Opening how, int row, const std::function<void(CDialog&)>& work,
                                  const std::function<void(PromptScript&)>& inside = {})
    {
        return RunModal(
            IDD_GROUP_ENTRY,
            [&] {
                switch (how) {
                case byAdd:
                    Click(Page(groupTab), IDC_ADD);
                    break;
                case byModify:
                    SelectRows(List(groupTab), {row});
                    Click(Page(groupTab), IDC_MODIFY);
                    break;
                case byDoubleClick:
                    DoubleClickRow(List(groupTab), row);
                    break;
                }
            },
            work, inside);
    }

    // Each group of the phone book as "number name: member numbers".
    QStringList Groups()
    {
        QStringList groups;
        CObList& list = Book().GetGroupDials();
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            auto* group = static_cast<CGroupDial*>(list.GetNext(pos));
            groups << FormatId(group->GetId(), CGroupDial::digits) + " " + group->name + ":"
                          + Numbers(group->members).join(' ');
        }
        return groups;
    }
};

const QStringList allSpeedDials{"001", "002", "003", "004", "005"};
// As FillDirectory made them; a save writes the members in the order the dialog lists them.
const QStringList untouchedGroups{"0001 Équipe jour:002 005 03", "0002 Équipe nuit:04"};

struct OpeningCase {
    const char* name;
    Opening how;
    int row;
    QString number, groupName;
    QStringList members, speedDials, keys;
    bool canSave;
};

TEST_F(GroupEntry, OpeningShowsTheGroupAndWhatMayJoinIt)
{
    const OpeningCase cases[] = {
        {"Add: the lowest free number, no name, no members", byAdd, -1, "0003", "", {}, allSpeedDials, {"03", "04"}, false},
        {"Modify", byModify, 0, "0001", "Équipe jour", {"002", "03", "005"}, {"001", "003", "004"}, {"04"}, true},
        {"double click", byDoubleClick, 1, "0002", "Équipe nuit", {"04"}, allSpeedDials, {"03"}, true},
    };
    for (const OpeningCase& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.how, c.row, [&](CDialog& dialog) {
            CString title;
            dialog.GetWindowText(title);
            EXPECT_EQ(title, "Entrée composition de groupe");
            EXPECT_EQ(Text(dialog, IDC_ENTRY_NUMBER), c.number);
            EXPECT_EQ(Text(dialog, IDC_ENTRY_NAME), c.groupName);
            EXPECT_EQ(Text(dialog, IDC_USED_COUNT), "2");
            EXPECT_EQ(Text(dialog, IDC_CAPACITY), "1999");
            EXPECT_EQ(Column(DialogList(dialog, IDC_GROUP_MEMBERS), 0), c.members);
            EXPECT_EQ(Column(DialogList(dialog, IDC_SPEED_DIAL_SOURCE), 0), c.speedDials);
            EXPECT_EQ(Column(DialogList(dialog, IDC_ONE_TOUCH_SOURCE), 0), c.keys);
            EXPECT_EQ(static_cast<CComboBox*>(dialog.GetDlgItem(IDC_ENTRY_SOURCE))->GetCurSel(), speedDialSource);
            EXPECT_TRUE(DialogList(dialog, IDC_SPEED_DIAL_SOURCE).IsWindowVisible());
            EXPECT_FALSE(DialogList(dialog, IDC_ONE_TOUCH_SOURCE).IsWindowVisible());
            EXPECT_EQ(Usable(dialog, IDOK), c.canSave);
            EXPECT_EQ(Usable(dialog, IDC_APPLY), c.canSave);
            EXPECT_FALSE(Usable(dialog, IDC_ADD));
            EXPECT_FALSE(Usable(dialog, IDC_REMOVE));
        });
    }
}

TEST_F(GroupEntry, MembersShareTheSpeedDialColumnsWithoutTheKeysType)
{
    Open(byModify, 0, [](CDialog& dialog) {
        const QStringList speedDialHeadings{"Numéro", "Nom", "Comp. abrégée/de groupe/Fax"};
        CListCtrl& members = DialogList(dialog, IDC_GROUP_MEMBERS);
        CListCtrl& keys = DialogList(dialog, IDC_ONE_TOUCH_SOURCE);
        EXPECT_EQ(Headings(members), speedDialHeadings);
        EXPECT_EQ(Headings(DialogList(dialog, IDC_SPEED_DIAL_SOURCE)), speedDialHeadings);
        EXPECT_EQ(Headings(keys), (QStringList{"Numéro", "Type", "Nom", "Comp. abrégée/de groupe/Fax"}));
        const auto row = [](CListCtrl& list, int index) {
            QStringList texts;
            for (int column = 0; column < list.GetColumnCount(); ++column)
                texts << list.GetItemText(index, column);
            return texts;
        };
        EXPECT_EQ(row(members, 0), (QStringList{"002", "Agence 2", "0140000002"}));
        EXPECT_EQ(row(members, 1), (QStringList{"03", "Hôtel Bellevue", "0299887766"}));
        EXPECT_EQ(row(keys, 0), (QStringList{"04", "Individuel", "Mairie", "0299887766"}));
    });
}

struct OfferCase {
    const char* name;
    std::function<void()> prepare;
    QStringList keys, members;
    QString saved;   // the first group after OK
};

// Only keys that dial a record of their own can be members.
TEST_F(GroupEntry, OnlyIndividualKeysAreOfferedOrKept)
{
    const OfferCase cases[] = {
        {"keys for a speed dial or a group are never offered", [] {}, {"04"}, {"002", "03", "005"},
         "0001 Équipe jour:002 03 005"},
        {"a key for a speed dial found among the members leaves the group",
         [this] {
             CGroupDial* first = Book().GetGroupDial(1);
             first->members.AddTail(Book().GetOneTouch(1));
             first->members.AddTail(Book().GetOneTouch(2));
         },
         {"04"}, {"002", "03", "005"}, "0001 Équipe jour:002 03 005"},
        {"a key not set up yet is offered", [this] { AddKey(6, nullptr); }, {"04", "06"},
         {"002", "03", "005"}, "0001 Équipe jour:002 03 005"},
    };
    for (const OfferCase& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        c.prepare();
        Reload();
        Open(byModify, 0, [&](CDialog& dialog) {
            EXPECT_EQ(Column(DialogList(dialog, IDC_ONE_TOUCH_SOURCE), 0), c.keys);
            EXPECT_EQ(Column(DialogList(dialog, IDC_GROUP_MEMBERS), 0), c.members);
            Click(dialog, IDOK);
            EXPECT_TRUE(dialog.IsEnded());
        });
        EXPECT_EQ(Groups().first(), c.saved);
    }
}

struct NumberCase {
    const char* name;
    Opening how;
    int row;
    QString typed;
    bool canSave;
};

TEST_F(GroupEntry, OkAndApplyNeedANumberNoOtherGroupHolds)
{
    const NumberCase cases[] = {
        {"own number", byModify, 0, "0001", true},
        {"another group's number", byModify, 0, "0002", false},
        {"a free number", byModify, 0, "0009", true},
        {"new group, a taken number", byAdd, -1, "0001", false},
        {"new group, the number it proposed", byAdd, -1, "0003", true},
        {"new group, another free number", byAdd, -1, "1999", true},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.how, c.row, [&](CDialog& dialog) {
            if (c.how == byAdd)
                AddMembers(dialog, speedDialSource, {0});
            Retype(dialog, IDC_ENTRY_NUMBER, c.typed);
            EXPECT_EQ(Text(dialog, IDC_ENTRY_NUMBER), c.typed);
            EXPECT_EQ(Usable(dialog, IDOK), c.canSave);
            EXPECT_EQ(Usable(dialog, IDC_APPLY), c.canSave);
        });
    }
    EXPECT_EQ(Groups(), untouchedGroups);
}

struct StepCase {
    const char* name;
    Opening how;
    int row;
    QString typed;   // typed first when not empty
    Qt::Key key;
    QString expected;
};

// The arrows of the number field go to the nearest free number, over groups 1, 2 and 1999.
TEST_F(GroupEntry, TheArrowsStepToTheNextFreeNumberWithinTheRange)
{
    AddGroup(1999, "Direction", {Book().GetSpeedDial(1)});
    Reload();
    const StepCase cases[] = {
        {"up from a new group's number", byAdd, -1, "", Qt::Key_Up, "0004"},
        {"down from a new group's number, every number below taken", byAdd, -1, "", Qt::Key_Down, "0003"},
        {"down at the low end, own number", byModify, 0, "", Qt::Key_Down, "0001"},
        {"up at the high end, own number", byModify, 2, "", Qt::Key_Up, "1999"},
        {"down from the high end, own number", byModify, 2, "", Qt::Key_Down, "1998"},
        {"up toward the taken high end, new group", byAdd, -1, "1998", Qt::Key_Up, "1998"},
        {"up from below the first number", byModify, 2, "0000", Qt::Key_Up, "0003"},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.how, c.row, [&](CDialog& dialog) {
            if (!c.typed.isEmpty())
                Retype(dialog, IDC_ENTRY_NUMBER, c.typed);
            QTest::keyClick(Control(dialog, IDC_ENTRY_NUMBER), c.key);
            EXPECT_EQ(Text(dialog, IDC_ENTRY_NUMBER), c.expected);
        });
    }
}

struct MoveCase {
    const char* name;
    Opening how;
    int row;
    Source source;
    std::initializer_list<int> sourceRows, memberRows;
    int button;
    QStringList members, selectedMembers, speedDials, keys;
    QStringList selectedSources;   // speed dials, then keys
    QString saved;                 // the group after OK; empty: OK is disabled
};

TEST_F(GroupEntry, ArrowsMoveEverySelectedRowToItsSortedPlace)
{
    const MoveCase cases[] = {
        {"three speed dials into a new group", byAdd, -1, speedDialSource, {0, 2, 4}, {}, IDC_ADD,
         {"001", "003", "005"}, {"001", "003", "005"}, {"002", "004"}, {"03", "04"}, {}, "0003 :001 003 005"},
        {"speed dials among the members, by number", byModify, 0, speedDialSource, {0, 2}, {}, IDC_ADD,
         {"001", "002", "03", "004", "005"}, {"001", "004"}, {"003"}, {"04"}, {},
         "0001 Équipe jour:001 002 03 004 005"},
        {"a key from the one-touch source", byModify, 0, oneTouchSource, {0}, {}, IDC_ADD,
         {"002", "03", "04", "005"}, {"04"}, {"001", "003", "004"}, {}, {}, "0001 Équipe jour:002 03 04 005"},
        {"members back while the speed dials are shown: the key to its hidden list", byModify, 0,
         speedDialSource, {}, {1, 2}, IDC_REMOVE, {"002"}, {}, {"001", "003", "004", "005"}, {"03", "04"},
         {"005", "03"}, "0001 Équipe jour:002"},
        {"every member back: nothing left to save", byModify, 0, speedDialSource, {}, {0, 1, 2}, IDC_REMOVE, {},
         {}, allSpeedDials, {"03", "04"}, {"002", "005", "03"}, ""},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        Open(c.how, c.row, [&](CDialog& dialog) {
            CListCtrl& members = DialogList(dialog, IDC_GROUP_MEMBERS);
            CListCtrl& speedDials = DialogList(dialog, IDC_SPEED_DIAL_SOURCE);
            CListCtrl& keys = DialogList(dialog, IDC_ONE_TOUCH_SOURCE);
            CListCtrl& shown = c.source == oneTouchSource ? keys : speedDials;
            PickComboItem(Control(dialog, IDC_ENTRY_SOURCE), c.source);
            EXPECT_EQ(keys.IsWindowVisible(), c.source == oneTouchSource);
            EXPECT_EQ(speedDials.IsWindowVisible(), c.source == speedDialSource);
            if (c.sourceRows.size() != 0)
                SelectRows(shown, c.sourceRows);
            if (c.memberRows.size() != 0)
                SelectRows(members, c.memberRows);
            ASSERT_TRUE(Usable(dialog, c.button));
            Click(dialog, c.button);

            EXPECT_EQ(Column(members, 0), c.members);
            EXPECT_EQ(SelectedRows(members), c.selectedMembers);
            EXPECT_EQ(Column(speedDials, 0), c.speedDials);
            EXPECT_EQ(Column(keys, 0), c.keys);
            EXPECT_EQ(SelectedRows(speedDials) + SelectedRows(keys), c.selectedSources);
            EXPECT_EQ(Usable(dialog, IDC_REMOVE), !c.selectedMembers.isEmpty());
            EXPECT_EQ(Usable(dialog, IDC_ADD), shown.GetSelectedCount() > 0);
            EXPECT_EQ(Usable(dialog, IDOK), !c.saved.isEmpty());
            EXPECT_EQ(Usable(dialog, IDC_APPLY), !c.saved.isEmpty());
            // Nothing reaches the phone book before a save.
            EXPECT_EQ(Groups(), untouchedGroups);
            if (!c.saved.isEmpty())
                Click(dialog, IDOK);
        });
        if (c.saved.isEmpty()) {
            EXPECT_EQ(Groups(), untouchedGroups);
        } else {
            const int number = c.saved.left(4).toInt();
            EXPECT_TRUE(Groups().contains(c.saved)) << Groups().join(" | ").toStdString();
            EXPECT_EQ(Groups().size(), number == 3 ? 3 : 2);
        }
    }
}

struct SaveCase {
    const char* name;
    Opening how;
    int row;
    QString number;      // typed when not empty
    const char* typedName;   // typed when given
    bool addMember;      // the first speed dial joins
    bool apply;          // Apply before the last button
    int button;          // IDOK or IDCANCEL
    CString message;     // the box the button brings; the dialog then stays open
    UINT boxType;
    QStringList groups;
    QStringList pageSelection;
    int capacity;        // of the group page; 0: the device's
};

TEST_F(GroupEntry, OkAndApplyWriteTheGroupCancelKeepsWhatWasApplied)
{
    const CString range = "Entrez un entier compris entre 1 et 1999.";
    const CString full = "Limite maximum d'entrées atteinte.";
    const SaveCase cases[] = {
        {"new group, OK", byAdd, -1, "", "  Ventes  ", true, false, IDOK, "", 0,
         {"0001 Équipe jour:002 005 03", "0002 Équipe nuit:04", "0003 Ventes:001"}, {"0003"}, 0},
        {"new group, Apply then Cancel", byAdd, -1, "", "Ventes", true, true, IDCANCEL, "", 0,
         {"0001 Équipe jour:002 005 03", "0002 Équipe nuit:04", "0003 Ventes:001"}, {"0003"}, 0},
        {"new group, Cancel", byAdd, -1, "", "Ventes", true, false, IDCANCEL, "", 0, untouchedGroups, {}, 0},
        {"renamed", byModify, 0, "", "Équipe matin", false, false, IDOK, "", 0,
         {"0001 Équipe matin:002 03 005", "0002 Équipe nuit:04"}, {"0001"}, 0},
        {"a name of more than 20 characters is cut", byModify, 0, "", "Service clients Lyon Nord", false, false, IDOK,
         "", 0, {"0001 Service clients Lyon:002 03 005", "0002 Équipe nuit:04"}, {"0001"}, 0},
        {"renumbered: the old group stays, a copy joins", byModify, 0, "0007", "Équipe soir", false, false, IDOK, "", 0,
         {"0001 Équipe jour:002 005 03", "0002 Équipe nuit:04", "0007 Équipe soir:002 03 005"}, {"0001", "0007"}, 0},
        {"renumbered and applied, then Cancel", byModify, 1, "0005", nullptr, true, true, IDCANCEL, "", 0,
         {"0001 Équipe jour:002 005 03", "0002 Équipe nuit:04", "0005 Équipe nuit:001 04"}, {"0002", "0005"}, 0},
        {"number out of range", byModify, 0, "0000", nullptr, false, false, IDOK, range, MB_OK | MB_ICONEXCLAMATION,
         untouchedGroups, {"0001"}, 0},
        {"renumbered while the page is full", byModify, 0, "0007", nullptr, false, false, IDOK, full,
         MB_OK | MB_ICONERROR, untouchedGroups, {"0001"}, 2},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        CapacityGuard capacity(CGroupDial::max_count, c.capacity != 0 ? c.capacity : CGroupDial::max_count);
        const std::vector<afx::Prompt> shown = Open(
            c.how, c.row,
            [&](CDialog& dialog) {
                if (!c.number.isEmpty())
                    Retype(dialog, IDC_ENTRY_NUMBER, c.number);
                if (c.typedName)
                    Retype(dialog, IDC_ENTRY_NAME, c.typedName);
                if (c.addMember)
                    AddMembers(dialog, speedDialSource, {0});
                if (c.apply) {
                    Click(dialog, IDC_APPLY);
                    EXPECT_FALSE(dialog.IsEnded());
                    EXPECT_EQ(Text(dialog, IDC_USED_COUNT), QString::number(List(groupTab).GetItemCount()));
                }
                Click(dialog, c.button);
                EXPECT_EQ(dialog.IsEnded(), c.message.IsEmpty());
            },
            [&](PromptScript& prompts) {
                if (!c.message.IsEmpty())
                    prompts.MessageBox(IDOK, c.message);
            });
        if (!c.message.IsEmpty()) {
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[1].type, c.boxType);
        }
        EXPECT_EQ(Groups(), c.groups);
        EXPECT_EQ(SelectedRows(List(groupTab)), c.pageSelection);
        EXPECT_EQ(Document()->IsModified(), c.groups != untouchedGroups);
        ExpectListsShowTheBook();
    }
}

// A new number on a full page is refused; the dialog still edits its group, which its own
// number then saves.
TEST_F(GroupEntry, AFailedSaveKeepsTheDialogOnItsGroup)
{
    CapacityGuard full(CGroupDial::max_count, 2);
    Open(
        byModify, 0,
        [](CDialog& dialog) {
            Retype(dialog, IDC_ENTRY_NUMBER, "0007");
            Retype(dialog, IDC_ENTRY_NAME, "Équipe matin");
            Click(dialog, IDOK);
            ASSERT_FALSE(dialog.IsEnded());
            Retype(dialog, IDC_ENTRY_NUMBER, "0001");
            EXPECT_TRUE(Usable(dialog, IDOK));
            Click(dialog, IDOK);
            EXPECT_TRUE(dialog.IsEnded());
        },
        [](PromptScript& prompts) { prompts.MessageBox(IDOK, "Limite maximum d'entrées atteinte."); });
    EXPECT_EQ(Groups(), (QStringList{"0001 Équipe matin:002 03 005", "0002 Équipe nuit:04"}));
}

TEST_F(GroupEntry, HelpShowsTheGroupTopic)
{
    const std::pair<const char*, std::function<void(CDialog&)>> cases[] = {
        {"the button", [](CDialog& dialog) { Click(dialog, IDHELP); }},
        {"F1",
         [](CDialog& dialog) {
             QTest::keyClick(Control(dialog, IDC_ENTRY_NAME), Qt::Key_F1);
             afx::testing::RunPostedWork();
         }},
    };
    for (const auto& [name, ask] : cases) {
        SCOPED_TRACE(name);
        Open(byModify, 0, ask, [](PromptScript& prompts) { prompts.Help(0x200C2); });
    }
}

TEST_F(GroupEntry, ASettingsFileKeepsTheGroupAndItsMembers)
{
    Open(byAdd, -1, [](CDialog& dialog) {
        Retype(dialog, IDC_ENTRY_NAME, "Ventes");
        AddMembers(dialog, speedDialSource, {0, 2});
        AddMembers(dialog, oneTouchSource, {1});
        Click(dialog, IDOK);
    });
    const QStringList groups = Groups();
    ASSERT_EQ(groups.last(), "0003 Ventes:001 003 04");

    QTemporaryDir folder;
    const CString path = folder.filePath("annuaire.tms");
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, path);
        Command(ID_FILE_SAVE_AS);
    }
    Command(ID_FILE_NEW);
    ASSERT_EQ(Book().GetCount(4), 0);
    {
        PromptScript prompts;
        prompts.FileDialog(IDOK, path);
        Command(ID_FILE_OPEN);
    }
    EXPECT_EQ(Groups(), groups);
    Show(groupTab);
    Open(byModify, 2, [](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, IDC_ENTRY_NAME), "Ventes");
        EXPECT_EQ(Column(DialogList(dialog, IDC_GROUP_MEMBERS), 0), (QStringList{"001", "003", "04"}));
        EXPECT_EQ(Column(DialogList(dialog, IDC_SPEED_DIAL_SOURCE), 0), (QStringList{"002", "004", "005"}));
        EXPECT_EQ(Column(DialogList(dialog, IDC_ONE_TOUCH_SOURCE), 0), QStringList{"03"});
    });
}

} // namespace
