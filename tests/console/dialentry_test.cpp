// The speed-dial and one-touch entry dialog, opened from its page by Add, Modify or a double
// click: the number and its checks, the key's types and references, the fax numbers with the
// billing-code button, the delayed dial, the rows of the local and network modes, what OK,
// "Appli&quer" and Annuler leave in the phone book, and a full entry through a settings file.
#include "settingspage_fixture.h"
#include "settingswindows_fixture.h"

#include "device/lib/dialstring.h"
#include "device/lib/phonebook.h"
#include "phonebook_entries.h"
#include "directory/dialentrydlg.h"
#include "directory/directorypages.h"
#include "support/capacities.h"

#include <QDateTimeEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <functional>
#include <optional>

using afx::testing::PromptScript;

namespace {

QWidget* Widget(CWnd& window, int id)
{
    CWnd* control = window.GetDlgItem(id);
    return control ? control->m_hWnd : nullptr;
}
bool Enabled(CWnd& window, int id)
{
    return window.GetDlgItem(id)->IsWindowEnabled();
}
bool Shown(CWnd& window, int id)
{
    return (window.GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0;
}
CString FieldText(CWnd& window, int id)
{
    CString text;
    window.GetDlgItemText(id, text);
    return text;
}
// A click on the button, as the mouse gives it: nothing when the button is disabled. Near the
// left edge, where a check box has its box.
void Press(CWnd& window, int id)
{
    QWidget* button = Widget(window, id);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(button->width() / 2, 8), button->height() / 2));
}
// Replaces the edit's text as the user does: everything selected, then typed over (accented
// letters as a French keyboard gives them, with no key of their own).
void Retype(CWnd& window, int id, const QString& text)
{
    window.GetDlgItem(id)->SetFocus();
    window.GetDlgItem(id)->SendMessage(EM_SETSEL, 0, -1);
    QWidget* widget = Widget(window, id);
    if (text.isEmpty())
        QTest::keyClick(widget, Qt::Key_Backspace);
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
QStringList Items(CWnd& window, int id)
{
    auto* combo = static_cast<CComboBox*>(window.GetDlgItem(id));
    QStringList items;
    for (int index = 0; index < combo->GetCount(); ++index) {
        CString text;
        combo->GetLBText(index, text);
        items << QString(text);
    }
    return items;
}
// The row of the list, clicked as the user does (Ctrl held: toggled).
void ClickRow(CListCtrl& list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    auto* table = qobject_cast<QTableWidget*>(list.m_hWnd);
    const QModelIndex index = table->model()->index(row, 0);
    table->scrollTo(index);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, table->visualRect(index).center());
}

enum class Opening { Add, Modify, DoubleClick };

template <class Page>
class EntryDialog : public pagetest::PageOnShow<Page> {
protected:
    CPhoneBook& Book() { return this->Document()->config.phoneBook; }

    CSpeedDial* AddSpeedDial(int number, const CString& name) { return phonebooktest::AddSpeedDial(Book(), number, name); }
    COneTouch* AddKey(int number, CObject* ref) { return phonebooktest::AddKey(Book(), number, ref); }
    COneTouch* AddOwnKey(int number, const CString& name) { return phonebooktest::AddOwnKey(Book(), number, name); }
    CGroupDial* AddGroup(int number, const CString& name, std::initializer_list<CObject*> members)
    {
        return phonebooktest::AddGroup(Book(), number, name, members);
    }

    // Opens the dialog on the page as the user does (Modify and the double click on the row
    // of `entry`), lets `work` act on it, and cancels it if `work` left it open. `inside`
    // scripts what the dialog shows meanwhile.
    void Open(Opening opening, CObject* entry, const std::function<void(CDialEntryDlg&)>& work,
              const std::function<void(PromptScript&)>& inside = {})
    {
        this->Reload();
        PromptScript prompts;
        prompts.Dialog(IDD_DIAL_ENTRY, [&](CDialog& dialog) {
            dialog.m_hWnd->activateWindow();
            QApplication::processEvents();
            work(dynamic_cast<CDialEntryDlg&>(dialog));
            if (!dialog.IsEnded())
                Press(dialog, IDCANCEL);
        });
        if (inside)
            inside(prompts);
        CListCtrl& list = this->page->list;
        if (opening == Opening::Add) {
            Press(*this->page, IDC_ADD);
            return;
        }
        const int row = FindItemByData(list, entry);
        ASSERT_GE(row, 0);
        ClickRow(list, row);
        if (opening == Opening::Modify) {
            Press(*this->page, IDC_MODIFY);
        } else {
            auto* table = qobject_cast<QTableWidget*>(list.m_hWnd);
            const QModelIndex index = table->model()->index(row, 0);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
        }
    }

    QStringList Rows()
    {
        QStringList rows;
        for (int row = 0; row < this->page->list.GetItemCount(); ++row)
            rows << QString(this->page->list.GetItemText(row, 0));
        return rows;
    }
};

using SpeedDialEntry = EntryDialog<CSpeedDialPage>;
using KeyEntry = EntryDialog<COneTouchPage>;

// ---- The number ----

struct NumberCase {
    const char* name;
    int edited;            // the speed dial opened, 0 for Add
    const char* proposed;  // the number shown at the start
    const char* typed;     // then typed over it, if any
    bool free;             // OK and "Appli&quer" enabled
};

TEST_F(SpeedDialEntry, TheNumberProposedAndTypedDecidesWhetherOkAndApplyWork)
{
    for (int n : {1, 2, 5})
        AddSpeedDial(n, "Agence");
    const NumberCase cases[] = {
        {"new: the first free number", 0, "003", "", true},
        {"new: another's number", 0, "003", "005", false},
        {"new: a free number", 0, "003", "7", true},
        {"edited: its own number", 5, "005", "", true},
        {"edited: another's number", 5, "005", "2", false},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.edited ? Opening::Modify : Opening::Add, Book().GetSpeedDial(c.edited), [&](CDialEntryDlg& dialog) {
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), c.proposed);
            if (*c.typed)
                Retype(dialog, IDC_ENTRY_NUMBER, c.typed);
            EXPECT_EQ(Enabled(dialog, IDOK), c.free);
            EXPECT_EQ(Enabled(dialog, IDC_APPLY), c.free);
        });
    }
    Open(Opening::Modify, Book().GetSpeedDial(5), [](CDialEntryDlg& dialog) {
        Retype(dialog, IDC_ENTRY_NUMBER, "2");
        Retype(dialog, IDC_ENTRY_NUMBER, "5");
        EXPECT_TRUE(Enabled(dialog, IDOK));
    });
}

TEST_F(SpeedDialEntry, AnEmptyPhoneBookProposesTheFirstNumberUnderTheSpeedDialTitle)
{
    Open(Opening::Add, nullptr, [](CDialEntryDlg& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), "001");
        CString title;
        dialog.GetWindowText(title);
        EXPECT_EQ(title, "Entrée de composition abrégée");
        EXPECT_TRUE(Shown(dialog, IDC_SPEED_DIAL_NUMBER_LABEL));
        EXPECT_FALSE(Shown(dialog, IDC_ONE_TOUCH_NUMBER_LABEL));
        EXPECT_FALSE(Shown(dialog, IDC_ONE_TOUCH_TYPE));
        EXPECT_TRUE(Shown(dialog, IDC_DIAL_NAME));
        EXPECT_EQ(FieldText(dialog, IDC_USED_COUNT), "0");
        EXPECT_EQ(FieldText(dialog, IDC_CAPACITY), "999");
        EXPECT_FALSE(Enabled(dialog, IDC_ADD_BILLING_CODE));
    });
}

struct CapacityCase {
    const char* name;
    int keys;
    const char* label;
    int upper;
};

TEST_F(KeyEntry, TheKeyCountIsTheLabelsAndTheSpinsUpperBound)
{
    const CapacityCase cases[] = {
        {"38 keys", 38, "Comp. instantanée (01-&38) : ", 38},
        {"20 keys", 20, "Comp. instantanée (01-&20) : ", 20},
    };
    for (const CapacityCase& c : cases) {
        SCOPED_TRACE(c.name);
        CapacityGuard keys(COneTouch::max_count, c.keys);
        AddOwnKey(c.keys - 1, "Poste");
        Open(Opening::Add, nullptr, [&](CDialEntryDlg& dialog) {
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), "01");
            EXPECT_EQ(FieldText(dialog, IDC_ONE_TOUCH_NUMBER_LABEL), c.label);
            EXPECT_TRUE(Shown(dialog, IDC_ONE_TOUCH_NUMBER_LABEL));
            EXPECT_FALSE(Shown(dialog, IDC_SPEED_DIAL_NUMBER_LABEL));
            EXPECT_EQ(FieldText(dialog, IDC_CAPACITY), QString::number(c.keys));
            int lower = 0, upper = 0;
            dialog.numberSpin.GetRange(lower, upper);
            EXPECT_EQ(lower, 1);
            EXPECT_EQ(upper, c.upper);
            // Up from the key below the last one: nothing free above it within the range.
            Retype(dialog, IDC_ENTRY_NUMBER, QString::number(c.keys - 2));
            QTest::keyClick(Widget(dialog, IDC_ENTRY_NUMBER), Qt::Key_Up);
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), QString::number(c.keys));
            QTest::keyClick(Widget(dialog, IDC_ENTRY_NUMBER), Qt::Key_Up);
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), QString::number(c.keys));
        });
        {   // a number past the keys is refused with the standard message

            PromptScript prompts;
            prompts.Dialog(IDD_DIAL_ENTRY, [&](CDialog& dialog) {
                Retype(dialog, IDC_ENTRY_NUMBER, QString::number(c.keys + 1));
                Retype(dialog, IDC_FAX_NUMBER, "0140");
                Press(dialog, IDOK);
                EXPECT_FALSE(dialog.IsEnded());
                Press(dialog, IDCANCEL);
            }).MessageBox(IDOK, afx::DdxMessageIntRange(1, c.keys));
            Press(*page, IDC_ADD);
        }
        EXPECT_EQ(Book().GetCount(2), 1);
        Book().DeleteContents(4);
        Reload();
    }
}

TEST_F(SpeedDialEntry, ANewNumberLeavesTheEntryAndAddsACopyEachTime)
{
    CSpeedDial* five = AddSpeedDial(5, "Agence Sud");
    five->GetDialingData()->faxNumber = "0140506070$123";
    Open(Opening::DoubleClick, five, [](CDialEntryDlg& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_DIAL_NAME), "Agence Sud");
        Retype(dialog, IDC_ENTRY_NUMBER, "007");
        Press(dialog, IDC_APPLY);
        Retype(dialog, IDC_ENTRY_NUMBER, "009");
        Press(dialog, IDOK);
        EXPECT_TRUE(dialog.IsEnded());
    });
    EXPECT_EQ(Rows(), (QStringList{"005", "007", "009"}));
    EXPECT_EQ(five->GetId(), 5);
    for (int n : {5, 7, 9}) {
        SCOPED_TRACE(n);
        ASSERT_NE(Book().GetSpeedDial(n), nullptr);
        EXPECT_EQ(Book().GetSpeedDial(n)->GetDialingData()->name, "Agence Sud");
        EXPECT_EQ(Book().GetSpeedDial(n)->GetDialingData()->faxNumber, "0140506070$123");
    }
    EXPECT_TRUE(Document()->IsModified());
}

// ---- What a save refuses ----

struct RefusalCase {
    const char* name;
    const char* faxNumber;      // as stored
    const char* secondNumber;
    UINT message;               // 0: accepted
};

TEST_F(SpeedDialEntry, ASaveRefusesABlankNumberAndKeepsTheDialogOpen)
{
    const RefusalCase cases[] = {
        {"no fax number", "", "", IDP_FAX_NUMBER_BLANK},
        {"only spaces", "   ", "", IDP_FAX_NUMBER_BLANK},
        {"nothing before the +", "+33140", "", IDP_FAX_NUMBER_BLANK},
        {"only a billing code", "$123", "", IDP_FAX_NUMBER_BLANK},
        {"second number with nothing before the +", "0140", "+1", IDP_SECOND_NUMBER_BLANK},
        {"second number only a billing code", "0140", "$9", IDP_SECOND_NUMBER_BLANK},
        {"no second number", "0140", "", 0},
        {"both numbers with codes", "0140$1", "01 212$9", 0},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        CSpeedDial* entry = AddSpeedDial(1, "Agence");
        entry->GetDialingData()->faxNumber = c.faxNumber;
        entry->GetDialingData()->secondNumber = c.secondNumber;
        Open(
            Opening::Modify, entry,
            [&](CDialEntryDlg& dialog) {
                Retype(dialog, IDC_DIAL_NAME, "Mairie");
                Press(dialog, IDOK);
                EXPECT_EQ(dialog.IsEnded(), c.message == 0);
                if (c.message) {
                    EXPECT_EQ(CWnd::GetFocus()->m_hWnd,
                              Widget(dialog, c.message == IDP_FAX_NUMBER_BLANK ? IDC_FAX_NUMBER : IDC_SECOND_NUMBER));
                }
            },
            [&](PromptScript& prompts) {
                if (c.message)
                    prompts.MessageBox(IDOK, LoadText(c.message));
            });
        EXPECT_EQ(entry->GetDialingData()->name, CString(c.message ? "Agence" : "Mairie"));
        EXPECT_EQ(entry->GetDialingData()->faxNumber, c.message ? CString(c.faxNumber) : CString(c.faxNumber).Trim());
    }
}

// A page whose list was filled before the phone book filled up: a new entry is made, the
// phone book refuses it, and neither that refusal nor Annuler leaves anything behind.
TEST_F(SpeedDialEntry, AFullPageAndARefusedEntryLeaveThePhoneBookAsItWas)
{
    CapacityGuard speedDials(CSpeedDial::max_count, 2);
    AddSpeedDial(1, "Agence");
    Reload();
    AddSpeedDial(4, "Agence Est");   // not on the page yet
    {
        PromptScript prompts;
        prompts.Dialog(IDD_DIAL_ENTRY, [](CDialog& dialog) {
            Retype(dialog, IDC_FAX_NUMBER, "0140");
            Press(dialog, IDC_APPLY);
            Press(dialog, IDC_APPLY);
            Press(dialog, IDCANCEL);
        })
            .MessageBox(IDOK, LoadText(IDP_SPEED_DIAL_EXISTS))
            .MessageBox(IDOK, LoadText(IDP_SPEED_DIAL_EXISTS));
        Press(*page, IDC_ADD);
        EXPECT_EQ(prompts.Shown()[1].type, UINT(MB_OK | MB_ICONERROR));
    }
    EXPECT_EQ(Book().GetCount(1), 2);
    EXPECT_EQ(Book().GetSpeedDial(2), nullptr);
    Reload();
    {
        PromptScript prompts;   // a page that shows itself full makes no entry at all
        prompts.Dialog(IDD_DIAL_ENTRY, [](CDialog& dialog) {
            Retype(dialog, IDC_ENTRY_NUMBER, "3");
            Retype(dialog, IDC_FAX_NUMBER, "0140");
            Press(dialog, IDOK);
            EXPECT_FALSE(dialog.IsEnded());
            Press(dialog, IDCANCEL);
        }).MessageBox(IDOK, LoadText(IDP_MAX_ENTRIES_REACHED));
        page->OpenEntryDialog(nullptr);
    }
    EXPECT_EQ(Book().GetCount(1), 2);
}

// ---- Apply and Cancel ----

TEST_F(SpeedDialEntry, ApplySavesAtOnceAndCancelKeepsWhatWasApplied)
{
    Open(Opening::Add, nullptr, [this](CDialEntryDlg& dialog) {
        Retype(dialog, IDC_DIAL_NAME, "  Hôtel Bellevue ");
        Retype(dialog, IDC_FAX_NUMBER, "0140 50");
        Press(dialog, IDC_APPLY);
        EXPECT_FALSE(dialog.IsEnded());
        EXPECT_EQ(Rows(), QStringList{"001"});
        EXPECT_EQ(FieldText(dialog, IDC_USED_COUNT), "1");
        // Later changes go to the same entry until the dialog is cancelled.
        Retype(dialog, IDC_DIAL_NAME, "Hôtel du Parc");
        Press(dialog, IDC_APPLY);
        Retype(dialog, IDC_DIAL_NAME, "Jamais enregistré");
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(Book().GetCount(1), 1);
    EXPECT_EQ(Book().GetSpeedDial(1)->GetDialingData()->name, "Hôtel du Parc");
    EXPECT_EQ(Book().GetSpeedDial(1)->GetDialingData()->faxNumber, "0140 50");
    EXPECT_EQ(Rows(), QStringList{"001"});
    EXPECT_EQ(page->list.GetItemText(0, 1), "Hôtel du Parc");
}

// ---- The key's types and references ----

struct TypeCase {
    const char* name;
    bool speedDials, groups;
    int keyRef;              // the edited key 1 stands for: 0 own record, 1 speed dial 2, 2 group 3
    QStringList offered;
    int selected;            // index in the type list
    int speedDialRow, groupRow;   // selected rows of the two lists (-1 none)
};

TEST_F(KeyEntry, TheTypeListOffersWhatThePhoneBookHoldsAndShowsTheKeysReference)
{
    const TypeCase cases[] = {
        {"empty book", false, false, 0, {"Individuel"}, 0, -1, -1},
        {"speed dials only", true, false, 0, {"Individuel", "Composition abrégée"}, 0, 0, -1},
        {"groups only", false, true, 0, {"Individuel", "Composition de groupe"}, 0, -1, 0},
        {"for speed dial 2", true, true, 1, {"Individuel", "Composition abrégée", "Composition de groupe"}, 1, 1, 0},
        {"for group 3", true, true, 2, {"Individuel", "Composition abrégée", "Composition de groupe"}, 2, 0, 1},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        if (c.speedDials) {
            AddSpeedDial(1, "Agence");
            AddSpeedDial(2, "Mairie");
        }
        if (c.groups) {
            AddGroup(1, "Équipe jour", {});
            AddGroup(3, "Équipe nuit", {});
        }
        CObject* ref = c.keyRef == 1 ? static_cast<CObject*>(Book().GetSpeedDial(2))
                     : c.keyRef == 2 ? static_cast<CObject*>(Book().GetGroupDial(3))
                                     : Book().NewDialingData();
        COneTouch* key = AddKey(1, ref);
        Open(Opening::Modify, key, [&](CDialEntryDlg& dialog) {
            EXPECT_EQ(Items(dialog, IDC_ONE_TOUCH_TYPE), c.offered);
            EXPECT_EQ(dialog.typeList.GetCurSel(), c.selected);
            EXPECT_EQ(dialog.speedDialList.GetNextItem(-1, LVNI_SELECTED), c.speedDialRow);
            EXPECT_EQ(dialog.groupDialList.GetNextItem(-1, LVNI_SELECTED), c.groupRow);
            EXPECT_TRUE(Shown(dialog, IDC_ONE_TOUCH_TYPE));
            EXPECT_EQ(Shown(dialog, IDC_DIAL_NAME), c.keyRef == 0);
            EXPECT_EQ(Shown(dialog, IDC_FAX_NUMBER), c.keyRef == 0);
            EXPECT_EQ(Shown(dialog, IDC_SPEED_DIAL_LIST), c.keyRef == 1);
            EXPECT_EQ(Shown(dialog, IDC_GROUP_DIAL_LIST), c.keyRef == 2);
        });
    }
}

struct RetypeCase {
    const char* name;
    int type;                // chosen in the type list
    int row;                 // row clicked in the shown list; -1: the selection removed
    UINT message;            // 0: saved
    int refNumber;           // the number of the entry the key then stands for
};

// Key 3 dials its own record and is a member of both groups; saved under another type it
// stands for the chosen entry, loses its record and leaves every group.
TEST_F(KeyEntry, ARetypedKeyStandsForTheChosenEntryAndLeavesEveryGroup)
{
    const RetypeCase cases[] = {
        {"speed dial 2", 1, 1, 0, 2},
        {"group 1", 2, 0, 0, 1},
        {"no speed dial selected", 1, -1, IDP_SELECT_SPEED_DIAL, 0},
        {"no group selected", 2, -1, IDP_SELECT_GROUP_DIAL, 0},
    };
    for (const RetypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        CSpeedDial* one = AddSpeedDial(1, "Agence");
        AddSpeedDial(2, "Mairie");
        COneTouch* key = AddOwnKey(3, "Hôtel Bellevue");
        CDialingData* record = key->GetDialingData();
        CGroupDial* day = AddGroup(1, "Équipe jour", {one, key});
        CGroupDial* night = AddGroup(2, "Équipe nuit", {key});
        Open(
            Opening::DoubleClick, key,
            [&](CDialEntryDlg& dialog) {
                PickComboItem(Widget(dialog, IDC_ONE_TOUCH_TYPE), c.type);
                CListCtrl& list = c.type == 1 ? dialog.speedDialList : dialog.groupDialList;
                EXPECT_TRUE(Shown(dialog, list.GetDlgCtrlID()));
                EXPECT_FALSE(Shown(dialog, IDC_FAX_NUMBER));
                if (c.row >= 0)
                    ClickRow(list, c.row);
                else
                    ClickRow(list, list.GetNextItem(-1, LVNI_SELECTED), Qt::ControlModifier);
                Press(dialog, IDOK);
                EXPECT_EQ(dialog.IsEnded(), c.message == 0);
            },
            [&](PromptScript& prompts) {
                if (c.message)
                    prompts.MessageBox(IDOK, LoadText(c.message));
            });
        if (c.message) {
            EXPECT_EQ(key->GetDialingData(), record);
            EXPECT_EQ(day->members.GetCount(), 2);
            continue;
        }
        const auto* ref = dynamic_cast<CIdObject*>(key->GetRef());
        ASSERT_NE(ref, nullptr);
        EXPECT_EQ(ref->GetId(), c.refNumber);
        EXPECT_EQ(key->GetDialingData(), nullptr);
        EXPECT_EQ(day->members.Find(key), nullptr);
        EXPECT_EQ(night->members.Find(key), nullptr);
        EXPECT_EQ(day->members.GetCount(), 1);
        // The type column of the key's row says what it became.
        EXPECT_EQ(page->list.GetItemText(FindItemByData(page->list, key), 1),
                  c.type == 1 ? "Composition abrégée" : "Composition de groupe");
    }
}

TEST_F(KeyEntry, AKeyRetypedToIndividualStartsFromABlankRecordWithItsDelayAtMidnight)
{
    CSpeedDial* one = AddSpeedDial(1, "Agence");
    COneTouch* key = AddKey(4, one);
    Open(Opening::Modify, key, [](CDialEntryDlg& dialog) {
        PickComboItem(Widget(dialog, IDC_ONE_TOUCH_TYPE), 0);
        EXPECT_TRUE(Shown(dialog, IDC_FAX_NUMBER));
        EXPECT_EQ(FieldText(dialog, IDC_DIAL_NAME), "");
        EXPECT_EQ(qobject_cast<QDateTimeEdit*>(Widget(dialog, IDC_DELAY_TIME))->time(), QTime(0, 0));
        Retype(dialog, IDC_FAX_NUMBER, "0140");
        Press(dialog, IDOK);
    });
    ASSERT_NE(key->GetDialingData(), nullptr);
    EXPECT_EQ(key->GetDialingData()->faxNumber, "0140");
    EXPECT_EQ(key->GetDialingData()->delayHour, 0);
    EXPECT_EQ(key->GetDialingData()->delayMinute, 0);
    EXPECT_EQ(Book().GetCount(1), 1);
}

// ---- The fax numbers and the billing-code button ----

struct ButtonCase {
    const char* name;
    int field;               // the field given the focus
    std::optional<QString> text;   // typed over its text; none: the text loaded
    int then;                // the control the focus moves to afterwards, 0 none
    bool enabled;
};

TEST_F(SpeedDialEntry, TheBillingCodeButtonFollowsTheFocusedNumberAndItsRoom)
{
    const QString crowded(126, u'1');
    // 128 characters at most, spaces and a "+" not counted; a code takes three at least.
    const ButtonCase cases[] = {
        {"a + with no room left", IDC_FAX_NUMBER, std::nullopt, 0, true},
        {"empty", IDC_FAX_NUMBER, "", 0, false},
        {"spaces", IDC_FAX_NUMBER, "   ", 0, false},
        {"a number", IDC_FAX_NUMBER, "0140", 0, true},
        {"the second number", IDC_SECOND_NUMBER, "0150", 0, true},
        {"room for three more", IDC_FAX_NUMBER, QString(125, u'1'), 0, true},
        {"no room for three more", IDC_FAX_NUMBER, crowded, 0, false},
        {"focus moved to the name", IDC_FAX_NUMBER, "0140", IDC_DIAL_NAME, false},
        {"focus moved to the button", IDC_FAX_NUMBER, "0140", IDC_ADD_BILLING_CODE, true},
    };
    CSpeedDial* entry = AddSpeedDial(1, "Agence");
    entry->GetDialingData()->faxNumber = "+" + crowded;
    Open(Opening::Modify, entry, [&](CDialEntryDlg& dialog) {
        EXPECT_FALSE(Enabled(dialog, IDC_ADD_BILLING_CODE));
        for (const ButtonCase& c : cases) {
            SCOPED_TRACE(c.name);
            dialog.GetDlgItem(c.field)->SetFocus();
            if (c.text)
                Retype(dialog, c.field, *c.text);
            if (c.then)
                dialog.GetDlgItem(c.then)->SetFocus();
            EXPECT_EQ(Enabled(dialog, IDC_ADD_BILLING_CODE), c.enabled);
        }
    });
}

TEST_F(SpeedDialEntry, TheButtonGivesTheFocusedNumberItsCodeAndTheEntryStoresIt)
{
    Open(
        Opening::Add, nullptr,
        [](CDialEntryDlg& dialog) {
            Retype(dialog, IDC_FAX_NUMBER, "0140");
            Retype(dialog, IDC_SECOND_NUMBER, "0150");
            Press(dialog, IDC_ADD_BILLING_CODE);
            EXPECT_EQ(FieldText(dialog, IDC_SECOND_NUMBER), "0150$$$$");
            EXPECT_EQ(dialog.secondNumberEdit.billingCode, "*12");
            EXPECT_EQ(CWnd::GetFocus()->m_hWnd, Widget(dialog, IDC_SECOND_NUMBER));
            Press(dialog, IDOK);
        },
        [](PromptScript& prompts) {
            prompts.Dialog(IDD_BILLING_CODE, [](CDialog& codeDialog) {
                QTest::keyClicks(Widget(codeDialog, IDC_BILLING_CODE), "*12");
                Press(codeDialog, IDOK);
            });
        });
    ASSERT_EQ(Book().GetCount(1), 1);
    EXPECT_EQ(Book().GetSpeedDial(1)->GetDialingData()->faxNumber, "0140");
    EXPECT_EQ(Book().GetSpeedDial(1)->GetDialingData()->secondNumber, "0150$*12");
}

// ---- The rows that come and go ----

TEST_F(SpeedDialEntry, DelayedDialAndMailboxEnableTheirRows)
{
    Open(Opening::Add, nullptr, [](CDialEntryDlg& dialog) {
        EXPECT_EQ(qobject_cast<QDateTimeEdit*>(Widget(dialog, IDC_DELAY_TIME))->time(), QTime(0, 0));
        for (const bool on : {true, false}) {
            SCOPED_TRACE(on ? "checked" : "unchecked");
            Press(dialog, IDC_DELAYED_DIAL);
            Press(dialog, IDC_ITU_MAILBOX);
            EXPECT_EQ(Enabled(dialog, IDC_DELAY_TIME), on);
            EXPECT_EQ(dialog.GetDlgItem(IDC_DELAY_TIME)->GetWindow(GW_HWNDPREV)->IsWindowEnabled(), on);
            for (int id : {IDC_SUB_ADDRESS, IDC_POLLING_SUB_ADDRESS, IDC_ITU_MAILBOX_PASSWORD})
                EXPECT_EQ(Enabled(dialog, id), on) << id;
            EXPECT_TRUE(Enabled(dialog, IDC_ITU_MAILBOX));
        }
    });
}

struct ModeCase {
    const char* name;
    bool network;
    bool emailRows;
};

TEST_F(SpeedDialEntry, TheEmailRowsShowOnlyInNetworkModeWhereTheDialogIsTaller)
{
    const ModeCase cases[] = {{"local", false, false}, {"network", true, true}};
    int heights[2] = {};
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.network)
            settingswindows::EnterNetworkMode(Frame());
        ASSERT_EQ(IsNetworkMode(), BOOL(c.network));
        Open(Opening::Add, nullptr, [&](CDialEntryDlg& dialog) {
            heights[c.network] = WindowRect(dialog).Height();
            for (int id : {IDC_EMAIL_ADDRESS, IDC_RECIPIENT_RESOLUTION, IDC_RECIPIENT_COMPRESSION})
                EXPECT_EQ(Shown(dialog, id), c.emailRows) << id;
            EXPECT_FALSE(Shown(dialog, IDC_DIAL_LINE));
            // The buttons stay inside the dialog, below the mailbox rows.
            EXPECT_LT(WindowRect(*dialog.GetDlgItem(IDOK)).bottom, WindowRect(dialog).bottom);
            EXPECT_GT(WindowRect(*dialog.GetDlgItem(IDOK)).top,
                      WindowRect(*dialog.GetDlgItem(IDC_ITU_MAILBOX_PASSWORD)).bottom);
            if (!c.network)
                return;
            EXPECT_FALSE(Enabled(dialog, IDC_RECIPIENT_RESOLUTION));
            Retype(dialog, IDC_EMAIL_ADDRESS, "fax@mairie.fr");
            EXPECT_TRUE(Enabled(dialog, IDC_RECIPIENT_RESOLUTION));
            EXPECT_TRUE(Enabled(dialog, IDC_RECIPIENT_COMPRESSION));
            Retype(dialog, IDC_EMAIL_ADDRESS, "");
            EXPECT_FALSE(Enabled(dialog, IDC_RECIPIENT_COMPRESSION));
        });
    }
    EXPECT_GT(heights[1], heights[0]);
}

TEST_F(SpeedDialEntry, HelpOpensTheTopicOfTheEntrysKind)
{
    Open(
        Opening::Add, nullptr, [](CDialEntryDlg& dialog) { Press(dialog, IDHELP); },
        [](PromptScript& prompts) { prompts.Help(0x200F1); });
}

TEST_F(KeyEntry, HelpOpensTheTopicOfTheEntrysKind)
{
    Open(
        Opening::Add, nullptr, [](CDialEntryDlg& dialog) { Press(dialog, IDHELP); },
        [](PromptScript& prompts) { prompts.Help(0x200F0); });
}

// ---- A full entry through a settings file ----

TEST_F(KeyEntry, AFullEntryKeepsEveryFieldThroughASettingsFile)
{
    settingswindows::EnterNetworkMode(Frame());
    Open(
        Opening::Add, nullptr,
        [](CDialEntryDlg& dialog) {
            Retype(dialog, IDC_ENTRY_NUMBER, "12");
            Retype(dialog, IDC_DIAL_NAME, "Étude Lefèvre");
            Retype(dialog, IDC_FAX_NUMBER, "0140 506070");
            Press(dialog, IDC_ADD_BILLING_CODE);
            Retype(dialog, IDC_SECOND_NUMBER, "01,2#3*4");
            Press(dialog, IDC_ADD_BILLING_CODE);
            Retype(dialog, IDC_EMAIL_ADDRESS, "fax@etude.fr");
            Press(dialog, IDC_MONITOR_TONE);
            PickComboItem(Widget(dialog, IDC_RECIPIENT_RESOLUTION), 3);
            PickComboItem(Widget(dialog, IDC_RECIPIENT_COMPRESSION), 2);
            PickComboItem(Widget(dialog, IDC_MAX_SPEED), 2);
            Press(dialog, IDC_PRINT_CONFIRMATION);
            Press(dialog, IDC_DELAYED_DIAL);
            qobject_cast<QDateTimeEdit*>(Widget(dialog, IDC_DELAY_TIME))->setTime(QTime(21, 45));
            Press(dialog, IDC_ITU_MAILBOX);
            Retype(dialog, IDC_SUB_ADDRESS, " 12 ");
            Retype(dialog, IDC_POLLING_SUB_ADDRESS, "34");
            Retype(dialog, IDC_ITU_MAILBOX_PASSWORD, "secret");
            Press(dialog, IDOK);
        },
        [](PromptScript& prompts) {
            for (const char* code : {"4711", "#9"}) {
                prompts.Dialog(IDD_BILLING_CODE, [code](CDialog& codeDialog) {
                    QTest::keyClicks(Widget(codeDialog, IDC_BILLING_CODE), code);
                    Press(codeDialog, IDOK);
                });
            }
        });
    ASSERT_NE(Book().GetOneTouch(12), nullptr);

    QTemporaryDir folder;
    const CString path = folder.filePath("annuaire.tms");
    ASSERT_TRUE(Document()->OnSaveDocument(path));
    Book().DeleteContents(4);
    Reload();
    Document()->SetModifiedFlag(TRUE);
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO);   // the emptied directory is not saved
        ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    }
    COneTouch* key = Book().GetOneTouch(12);
    ASSERT_NE(key, nullptr);
    const CDialingData* data = key->GetDialingData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->name, "Étude Lefèvre");
    EXPECT_EQ(data->faxNumber, "0140 506070$4711");
    EXPECT_EQ(data->secondNumber, "01,2#3*4$#9");
    EXPECT_EQ(data->emailAddress, "fax@etude.fr");
    EXPECT_EQ(data->resolution, 3);
    EXPECT_EQ(data->compression, 2);
    EXPECT_EQ(data->maxSpeed, 2);
    EXPECT_EQ(data->monitorTone, 1);
    EXPECT_EQ(data->printConfirmation, 1);
    EXPECT_EQ(data->delayedDial, 1);
    EXPECT_EQ(data->delayHour, 21);
    EXPECT_EQ(data->delayMinute, 45);
    EXPECT_EQ(data->ituMailbox, 1);
    EXPECT_EQ(data->subAddress, " 12 ");
    EXPECT_EQ(data->pollingSubAddress, "34");
    EXPECT_EQ(data->mailboxPassword, "secret");
    EXPECT_EQ(data->dialLine, 0);

    // Opened again, the dialog shows it all, the codes masked.
    Show();
    Open(Opening::Modify, key, [](CDialEntryDlg& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_FAX_NUMBER), "0140 506070$$$$$");
        EXPECT_EQ(dialog.faxNumberEdit.billingCode, "4711");
        EXPECT_EQ(FieldText(dialog, IDC_SECOND_NUMBER), "01,2#3*4$$$");
        EXPECT_EQ(FieldText(dialog, IDC_SUB_ADDRESS), " 12 ");
        EXPECT_EQ(qobject_cast<QDateTimeEdit*>(Widget(dialog, IDC_DELAY_TIME))->time(), QTime(21, 45));
        EXPECT_TRUE(Enabled(dialog, IDC_DELAY_TIME));
        EXPECT_EQ(dialog.typeList.GetCurSel(), 0);
    });
}

} // namespace
