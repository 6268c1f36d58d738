// The "Boîte aux lettres" page of the started console, worked through its widgets: the mailbox
// dialog with its number rules, its types and relay destinations, its report destination; the
// relay destination dialog; the warnings before a mailbox that holds documents on the device
// changes; a settings file and a device.
#include "dialogwidgets.h"
#include "settingspage_fixture.h"

#include "device/lib/dialstring.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/devicememory.h"
#include "device/lib/mailboxes.h"
#include "device/lib/phonebook.h"
#include "mailboxes/mailboxdlgs.h"
#include "mailboxes/mailboxpage.h"
#include "support/capacities.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>

using afx::testing::PromptScript;
using namespace dialogwidgets;

namespace {

using Work = std::function<void(CDialog&)>;

bool Visible(CWnd& window, int id)
{
    return window.GetDlgItem(id)->IsWindowVisible();
}
// Picks the item of a drop-down list with the keyboard.
void Choose(CWnd& window, int id, int index)
{
    QWidget* combo = Widget(window, id);
    QTest::keyClick(combo, Qt::Key_Home);
    for (int step = 0; step < index; ++step)
        QTest::keyClick(combo, Qt::Key_Down);
}
QStringList Items(CWnd& window, int id)
{
    auto* combo = qobject_cast<QComboBox*>(Widget(window, id));
    QStringList items;
    for (int item = 0; item < combo->count(); ++item)
        items.append(combo->itemText(item));
    return items;
}
QStringList Column(CListCtrl& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts.append(list.GetItemText(row, column));
    return texts;
}
// Clicks the rows, Ctrl held for every one after the first; double-clicks the last when asked.
void SelectRows(CListCtrl& list, const std::vector<int>& rows, bool doubleClickLast = false)
{
    auto* table = qobject_cast<QTableView*>(list.m_hWnd);
    const int firstColumn = table->horizontalHeader()->logicalIndexAt(5);
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    for (int row : rows) {
        const QPoint at = table->visualRect(table->model()->index(row, firstColumn)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, at);
        if (doubleClickLast && row == rows.back())
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, modifiers, at);
        modifiers = Qt::ControlModifier;
    }
}
CListCtrl& ListOf(CWnd& window, int id)
{
    return *static_cast<CListCtrl*>(window.GetDlgItem(id));
}

struct Box {
    QString number;
    int type = 0;
    QString password;
    QStringList destinations;
    int reportKind = -1;
    QString report;
    friend bool operator==(const Box&, const Box&) = default;
    friend void PrintTo(const Box& b, std::ostream* os)
    {
        *os << b.number.toStdString() << "/" << b.type << "/" << b.password.toStdString() << "/["
            << b.destinations.join(',').toStdString() << "]/" << b.reportKind << "/" << b.report.toStdString();
    }
};
using Boxes = std::vector<Box>;

Box Read(const CMailBox& m)
{
    QStringList destinations;
    for (int at = 0; at < m.destinations.GetSize(); ++at)
        destinations.append(m.destinations[at]);
    return {m.number, m.type, m.password, destinations, m.reportDestKind, m.reportDest};
}

// Relay destination dialog: the kind, the rows clicked, then OK (or a double click on the last).
Work PickDestinations(int kindIndex, std::vector<int> rows, bool doubleClick = false)
{
    return [=](CDialog& dialog) {
        Choose(dialog, IDC_RELAY_DEST_KIND, kindIndex);
        SelectRows(ListOf(dialog, IDC_ENTRY_LIST), rows, doubleClick);
        if (!doubleClick)
            Press(dialog, IDOK);
    };
}

class MailBoxes : public pagetest::PageOnShow<CMailBoxPage> {
protected:
    CMailBoxes& Record() { return Document()->config.mailBoxes; }
    CPhoneBook& Book() { return Document()->config.phoneBook; }

    Boxes Stored()
    {
        Boxes boxes;
        for (POSITION pos = Record().GetHeadPosition(); pos;)
            boxes.push_back(Read(*static_cast<CMailBox*>(Record().GetNext(pos))));
        std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.number < b.number; });
        return boxes;
    }
    void Store(const Boxes& boxes)
    {
        Record().DeleteContents();
        for (const Box& b : boxes) {
            CStringArray destinations;
            for (const QString& d : b.destinations)
                destinations.Add(d);
            ASSERT_TRUE(Record().Add(new CMailBox(b.number, b.password, b.type, &destinations, b.reportKind, b.report)));
        }
        Reload();
        Document()->SetModifiedFlag(FALSE);
    }
    void AddSpeedDial(int number, const QString& name)
    {
        auto* entry = new CSpeedDial(number);
        entry->GetDialingData()->name = name;
        entry->GetDialingData()->faxNumber = "0140506070";
        ASSERT_TRUE(Book().Add(entry));
    }
    void AddOneTouch(int number, const QString& name)
    {
        CDialingData* record = Book().NewDialingData();
        record->name = name;
        record->faxNumber = "0240506070";
        ASSERT_TRUE(Book().Add(new COneTouch(number, record)));
    }
    void AddGroup(int number, const QString& name) { ASSERT_TRUE(Book().Add(new CGroupDial(number, name))); }

    int RowOf(const QString& number) { return FindItemByData(page->list, Record().Get(number)); }
    void SelectBoxes(const QStringList& numbers)
    {
        std::vector<int> rows;
        for (const QString& n : numbers)
            rows.push_back(RowOf(n));
        SelectRows(page->list, rows);
    }
    // Opens the mailbox dialog of that number through its row and "&Modifier"; empty: a new
    // one through "Aj&outer".
    void Open(const QString& number)
    {
        if (number.isEmpty()) {
            Press(*page, IDC_ADD);
        } else {
            SelectBoxes({number});
            Press(*page, IDC_MODIFY);
        }
    }
    void WorkEntry(const QString& number, const Work& work)
    {
        PromptScript prompts;
        prompts.Dialog(IDD_MAILBOX_ENTRY, work);
        Open(number);
    }
    void DeletionKey()
    {
        QTest::keyClick(page->m_hWnd, '.', Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    }
};

const Box kTen{"10", 0, "1234", {}, -1, {}};
const Box kTwenty{"20", 1, "", {}, -1, {}};
const Box kThirty{"30", 0, "3333", {}, -1, {}};

// ---- The number ----

struct NumberCase {
    const char* name;
    QString opened;     // empty: a new mailbox
    QString typed;
    UINT message;       // 0: saved and closed
    int capacity;
    Boxes after;
};

TEST_F(MailBoxes, TheNumberIsRequiredFreeAndMakesANewMailboxWhenChanged)
{
    const Box renamed{"40", 0, "1234", {}, -1, ""};
    for (const NumberCase& c : std::vector<NumberCase>{
             {"new_mailbox_saved", "", "40", 0, 100, {kTen, kTwenty, {"40", 0, "", {}, 0, ""}}},
             {"blank_refused", "", "", IDP_MAILBOX_NUMBER_BLANK, 100, {kTen, kTwenty}},
             {"blank_of_existing_refused", "10", "", IDP_MAILBOX_NUMBER_BLANK, 100, {kTen, kTwenty}},
             {"changed_number_adds_a_second_mailbox", "10", "40", 0, 100, {kTen, kTwenty, renamed}},
             {"changed_number_at_capacity_refused", "10", "40", IDP_MAX_ENTRIES_REACHED, 2, {kTen, kTwenty}},
         }) {
        SCOPED_TRACE(c.name);
        Store({kTen, kTwenty});
        CapacityGuard capacity(CMailBox::max_count, c.capacity);
        bool focusOnNumber = false;
        PromptScript prompts;
        prompts.Dialog(IDD_MAILBOX_ENTRY, [&](CDialog& dialog) {
            Choose(dialog, IDC_MAILBOX_TYPE, 0);
            Retype(dialog, IDC_MAILBOX_NUMBER, c.typed);
            Press(dialog, IDOK);
            if (c.message) {
                focusOnNumber = dialog.m_hWnd->focusWidget() == Widget(dialog, IDC_MAILBOX_NUMBER);
                dialog.EndDialog(IDCANCEL);
            }
        });
        if (c.message)
            prompts.MessageBox(IDOK, LoadText(c.message));
        Open(c.opened);
        EXPECT_EQ(Stored(), c.after);
        EXPECT_EQ(focusOnNumber, c.message != 0);
        EXPECT_EQ(Document()->IsModified(), c.message == 0);
    }
}

TEST_F(MailBoxes, AnotherMailboxsNumberCannotBeConfirmed)
{
    struct Case {
        const char* name;
        QString typed;
        bool confirmable;
    };
    Store({kTen, kTwenty});
    for (const Case& c : std::vector<Case>{
             {"another_mailboxs_number", "20", false},
             {"its_own_number", "10", true},
             {"a_free_number", "30", true},
         }) {
        SCOPED_TRACE(c.name);
        WorkEntry("10", [&](CDialog& dialog) {
            Retype(dialog, IDC_MAILBOX_NUMBER, c.typed);
            EXPECT_EQ(Enabled(dialog, IDOK), c.confirmable);
            EXPECT_EQ(Enabled(dialog, IDC_APPLY), c.confirmable);
            dialog.EndDialog(IDCANCEL);
        });
    }
    EXPECT_EQ(Stored(), Boxes({kTen, kTwenty}));
}

// ---- Types and relay destinations ----

TEST_F(MailBoxes, TheRelayTypeOpensTheDestinationArea)
{
    struct Case {
        const char* name;
        int type;
        bool directory;
        bool add, destinations, reportKind;
    };
    for (const Case& c : std::vector<Case>{
             {"confidential", 0, true, false, false, false},
             {"bulletin_board", 1, true, false, false, false},
             {"relay_with_a_directory", 2, true, true, true, true},
             {"relay_without_a_directory", 2, false, false, true, false},
         }) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        if (c.directory) {
            AddSpeedDial(3, "Dupont");
            AddGroup(7, "Ventes");
        }
        WorkEntry("", [&](CDialog& dialog) {
            EXPECT_EQ(Items(dialog, IDC_MAILBOX_TYPE), QStringList({"Confidentiel", "Babillard", "Relais"}));
            Choose(dialog, IDC_MAILBOX_TYPE, c.type);
            EXPECT_EQ(Enabled(dialog, IDC_ADD), c.add);
            EXPECT_EQ(Enabled(dialog, IDC_RELAY_DESTINATIONS), c.destinations);
            EXPECT_EQ(Enabled(dialog, IDC_REPORT_DEST_KIND), c.reportKind);
            EXPECT_FALSE(Enabled(dialog, IDC_REMOVE));
            EXPECT_FALSE(Enabled(dialog, IDC_CLEAR_DESTINATIONS));
            dialog.EndDialog(IDCANCEL);
        });
    }
}

TEST_F(MailBoxes, ARelayMailboxWithoutDestinationsIsRefused)
{
    AddSpeedDial(3, "Dupont");
    PromptScript prompts;
    prompts.Dialog(IDD_MAILBOX_ENTRY, [&](CDialog& dialog) {
        Choose(dialog, IDC_MAILBOX_TYPE, 2);
        Retype(dialog, IDC_MAILBOX_NUMBER, "50");
        Press(dialog, IDOK);
        dialog.EndDialog(IDCANCEL);
    });
    prompts.MessageBox(IDOK, LoadText(IDP_DESTINATION_LIST_EMPTY));
    Open("");
    EXPECT_EQ(Stored(), Boxes());
}

class RelayDestinations : public MailBoxes {
protected:
    void SetUp() override
    {
        MailBoxes::SetUp();
        AddSpeedDial(12, "Douze");
        AddSpeedDial(3, "Trois");
        AddSpeedDial(100, "Cent");
        AddOneTouch(5, "Cinq");
        AddGroup(7, "Sept");
    }
};

struct Pick {
    int kind;               // 0 speed dials, 1 one-touch keys, 2 groups
    std::vector<int> rows;  // rows of that list, clicked in this order
    bool doubleClick = false;
};

TEST_F(RelayDestinations, DestinationsStandInNumberOrderWithoutRepeats)
{
    struct Case {
        const char* name;
        std::vector<Pick> picks;
        QStringList numbers;
        QStringList kinds;
    };
    const QString speed = "Composition abrégée";
    const QString key = "Composition instantanée";
    const QString group = "Composition de groupe";
    for (const Case& c : std::vector<Case>{
             {"added_in_any_order", {{0, {2, 0}}, {0, {1}}}, {"003", "012", "100"}, {speed, speed, speed}},
             {"added_again_changes_nothing", {{0, {1}}, {0, {1}}}, {"012"}, {speed}},
             {"shorter_numbers_first", {{2, {0}}, {0, {0}}, {1, {0}}}, {"05", "003", "0007"}, {key, speed, group}},
             {"double_click_takes_the_whole_selection", {{0, {0, 2}, true}}, {"003", "100"}, {speed, speed}},
         }) {
        SCOPED_TRACE(c.name);
        Store({});
        PromptScript prompts;
        prompts.Dialog(IDD_MAILBOX_ENTRY, [&](CDialog& dialog) {
            Choose(dialog, IDC_MAILBOX_TYPE, 2);
            Retype(dialog, IDC_MAILBOX_NUMBER, "50");
            for (const Pick& pick : c.picks) {
                PromptScript relay;
                relay.Dialog(IDD_RELAY_DEST, PickDestinations(pick.kind, pick.rows, pick.doubleClick));
                Press(dialog, IDC_ADD);
            }
            CListCtrl& list = ListOf(dialog, IDC_RELAY_DESTINATIONS);
            EXPECT_EQ(Column(list, 0), c.numbers);
            EXPECT_EQ(Column(list, 1), c.kinds);
            EXPECT_TRUE(Enabled(dialog, IDC_CLEAR_DESTINATIONS));
            Press(dialog, IDOK);
        });
        Open("");
        ASSERT_EQ(Stored().size(), 1u);
        EXPECT_EQ(Stored()[0].destinations, c.numbers);
        EXPECT_EQ(Stored()[0].type, 2);
    }
}

TEST_F(RelayDestinations, RemovingAndClearingDestinations)
{
    Store({{"50", 2, "", {"003", "012", "100"}, 0, ""}});
    WorkEntry("50", [&](CDialog& dialog) {
        CListCtrl& list = ListOf(dialog, IDC_RELAY_DESTINATIONS);
        EXPECT_EQ(Column(list, 2), QStringList({"Trois", "Douze", "Cent"}));
        EXPECT_FALSE(Enabled(dialog, IDC_REMOVE));
        SelectRows(list, {0, 2});
        Press(dialog, IDC_REMOVE);
        EXPECT_EQ(Column(list, 0), QStringList({"012"}));
        EXPECT_FALSE(Enabled(dialog, IDC_REMOVE));
        Press(dialog, IDC_APPLY);
        Press(dialog, IDC_CLEAR_DESTINATIONS);
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(list.GetColumnCount(), 3);
        EXPECT_FALSE(Enabled(dialog, IDC_CLEAR_DESTINATIONS));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Stored(), Boxes({{"50", 2, "", {"012"}, 0, ""}}));
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(RelayDestinations, NoMoreDestinationsThanTheMailboxTakes)
{
    struct Case {
        const char* name;
        QStringList listed;
        std::vector<int> rows;
        bool refused;
        QStringList after;
    };
    CapacityGuard relayCapacity(CMailBox::max_relay_dest_count, 3);
    for (const Case& c : std::vector<Case>{
             {"two_of_two_remaining", {"05"}, {0, 1}, false, {"05", "003", "012"}},
             {"three_of_two_remaining", {"05"}, {0, 1, 2}, true, {"05"}},
             {"full_list_cannot_add", {"05", "003", "012"}, {}, false, {"05", "003", "012"}},
         }) {
        SCOPED_TRACE(c.name);
        Store({{"50", 2, "", c.listed, 0, ""}});
        WorkEntry("50", [&](CDialog& dialog) {
            if (c.rows.empty()) {
                EXPECT_FALSE(Enabled(dialog, IDC_ADD));
            } else {
                PromptScript relay;
                relay.Dialog(IDD_RELAY_DEST, [&](CDialog& picker) {
                    PickDestinations(0, c.rows)(picker);
                    if (c.refused) {
                        EXPECT_EQ(ListOf(picker, IDC_ENTRY_LIST).GetSelectedCount(), UINT(c.rows.size()));
                        picker.EndDialog(IDCANCEL);
                    }
                });
                if (c.refused)
                    relay.MessageBox(IDOK, LoadText(IDP_RELAY_DEST_LIMIT));
                Press(dialog, IDC_ADD);
            }
            EXPECT_EQ(Column(ListOf(dialog, IDC_RELAY_DESTINATIONS), 0), c.after);
            Press(dialog, IDCANCEL);
        });
    }
}

TEST_F(MailBoxes, TheRelayDialogOffersTheDirectorysKindsAndReopensOnTheLastOne)
{
    AddSpeedDial(3, "Trois");
    AddGroup(7, "Sept");
    AddGroup(8, "Huit");
    const auto kinds = [&](int choose, const QString& shownFirst, QStringList& items, QStringList& rows) {
        return [&, choose, shownFirst](CDialog& picker) {
            items = Items(picker, IDC_RELAY_DEST_KIND);
            EXPECT_EQ(qobject_cast<QComboBox*>(Widget(picker, IDC_RELAY_DEST_KIND))->currentText(), shownFirst);
            Choose(picker, IDC_RELAY_DEST_KIND, choose);
            rows = Column(ListOf(picker, IDC_ENTRY_LIST), 0);
            picker.EndDialog(IDCANCEL);
        };
    };
    QStringList items, speedRows, groupRows;
    WorkEntry("", [&](CDialog& dialog) {
        Choose(dialog, IDC_MAILBOX_TYPE, 2);
        {
            PromptScript relay;
            relay.Dialog(IDD_RELAY_DEST, kinds(0, "Composition abrégée", items, speedRows));
            Press(dialog, IDC_ADD);
        }
        {
            PromptScript relay;
            relay.Dialog(IDD_RELAY_DEST, kinds(1, "Composition abrégée", items, groupRows));
            Press(dialog, IDC_ADD);
        }
        {
            PromptScript relay;
            relay.Dialog(IDD_RELAY_DEST, kinds(0, "Composition de groupe", items, speedRows));
            Press(dialog, IDC_ADD);
        }
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(items, QStringList({"Composition abrégée", "Composition de groupe"}));
    EXPECT_EQ(speedRows, QStringList({"003"}));
    EXPECT_EQ(groupRows, QStringList({"0007", "0008"}));
}

// ---- The report destination ----

TEST_F(MailBoxes, TheReportDestinationKindsFollowTheDirectory)
{
    struct Case {
        const char* name;
        bool speed, key, group;
        QStringList items;
    };
    for (const Case& c : std::vector<Case>{
             {"empty_directory", false, false, false, {"Numéro fax"}},
             {"speed_dials_only", true, false, false, {"Numéro fax", "Composition abrégée"}},
             {"every_kind", true, true, true,
              {"Numéro fax", "Composition abrégée", "Composition instantanée", "Composition de groupe"}},
             {"keys_and_groups", false, true, true, {"Numéro fax", "Composition instantanée", "Composition de groupe"}},
         }) {
        SCOPED_TRACE(c.name);
        Book().DeleteContents(4);
        if (c.speed)
            AddSpeedDial(3, "Trois");
        if (c.key)
            AddOneTouch(5, "Cinq");
        if (c.group)
            AddGroup(7, "Sept");
        WorkEntry("", [&](CDialog& dialog) {
            EXPECT_EQ(Items(dialog, IDC_REPORT_DEST_KIND), c.items);
            EXPECT_TRUE(Visible(dialog, IDC_REPORT_FAX_NUMBER));
            EXPECT_FALSE(Visible(dialog, IDC_CHOOSE_REPORT_ENTRY));
            dialog.EndDialog(IDCANCEL);
        });
    }
}

TEST_F(RelayDestinations, AChosenSpeedDialBecomesTheReportDestination)
{
    AddSpeedDial(7, "Sept");
    Store({{"50", 2, "", {"003"}, 0, "0140"}});
    WorkEntry("50", [&](CDialog& dialog) {
        Choose(dialog, IDC_REPORT_DEST_KIND, 1);
        EXPECT_TRUE(Visible(dialog, IDC_REPORT_SPEED_DIAL));
        EXPECT_FALSE(Visible(dialog, IDC_REPORT_FAX_NUMBER));
        EXPECT_TRUE(Visible(dialog, IDC_CHOOSE_REPORT_ENTRY));
        PromptScript select;
        select.Dialog(IDD_SELECT_ENTRY, [](CDialog& picker) {
            CListCtrl& list = ListOf(picker, IDC_ENTRY_LIST);
            SelectRows(list, {int(Column(list, 0).indexOf("007"))});
            Press(picker, IDOK);
        });
        Press(dialog, IDC_CHOOSE_REPORT_ENTRY);
        EXPECT_EQ(FieldText(dialog, IDC_REPORT_SPEED_DIAL), CString("007"));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), Boxes({{"50", 2, "", {"003"}, 2, "007"}}));
}

TEST_F(RelayDestinations, AChoiceTheListsNoLongerOfferIsKept)
{
    struct Case {
        const char* name;
        Box stored;
    };
    for (const Case& c : std::vector<Case>{
             {"mail_report_outside_network_mode", {"50", 2, "", {"003"}, 1, "relais@atelier.fr"}},
             {"type_outside_the_list", {"50", 5, "", {"003"}, 0, "0140"}},
             {"kind_without_entries", {"50", 2, "", {"003"}, 4, "0009"}},
         }) {
        SCOPED_TRACE(c.name);
        Book().Delete(Book().GetGroupDial(7));
        Store({c.stored});
        WorkEntry("50", [&](CDialog& dialog) {
            Retype(dialog, IDC_MAILBOX_PASSWORD, "77");
            Press(dialog, IDOK);
        });
        Box changed = c.stored;
        changed.password = "77";
        EXPECT_EQ(Stored(), Boxes({changed}));

        // The next new mailbox starts with a type and a kind of the lists.
        WorkEntry("", [&](CDialog& dialog) {
            EXPECT_GE(qobject_cast<QComboBox*>(Widget(dialog, IDC_MAILBOX_TYPE))->currentIndex(), 0);
            Choose(dialog, IDC_MAILBOX_TYPE, 1);
            Retype(dialog, IDC_MAILBOX_NUMBER, "60");
            Press(dialog, IDOK);
        });
        const Boxes after = Stored();
        ASSERT_EQ(after.size(), 2u);
        EXPECT_EQ(after[1].type, 1);
        EXPECT_EQ(after[1].reportKind, 0);
        AddGroup(7, "Sept");
    }
}

TEST_F(RelayDestinations, TheReportFaxNumberKeepsItsBillingCode)
{
    struct Case {
        const char* name;
        QString stored;
        QByteArray pasted;   // a "FaxNum" item; empty: nothing pasted
        QString shown;
        QString after;
    };
    for (const Case& c : std::vector<Case>{
             {"stored_code_shown_masked_and_kept", "0140$12", {}, "0140$$$", "0140$12"},
             {"pasted_item_brings_its_code", "", QByteArray("0299$4321\0", 10), "0299$$$$$", "0299$4321"},
             {"pasted_item_replaces_the_code", "0140$12", QByteArray("0299$4321\0", 10), "0299$$$$$", "0299$4321"},
         }) {
        SCOPED_TRACE(c.name);
        Store({{"50", 2, "", {"003"}, 0, c.stored}});
        WorkEntry("50", [&](CDialog& dialog) {
            if (!c.pasted.isEmpty()) {
                auto* item = new QMimeData;
                item->setData("application/x-qt-windows-mime;value=\"FaxNum\"", c.pasted);
                QGuiApplication::clipboard()->setMimeData(item);
                dialog.GetDlgItem(IDC_REPORT_FAX_NUMBER)->SendMessage(EM_SETSEL, 0, -1);
                QTest::keyClick(Widget(dialog, IDC_REPORT_FAX_NUMBER), Qt::Key_V, Qt::ControlModifier);
            }
            EXPECT_EQ(FieldText(dialog, IDC_REPORT_FAX_NUMBER), CString(c.shown));
            Press(dialog, IDOK);
        });
        ASSERT_EQ(Stored().size(), 1u);
        EXPECT_EQ(Stored()[0].report, c.after);
    }
}

// ---- Mailboxes that hold documents on the device ----

enum class Path { DeleteButton, DeletionKey, DeleteAll, Modify, DoubleClick };

TEST_F(MailBoxes, AMailboxHoldingDocumentsIsChangedOnlyAfterTheWarning)
{
    struct Case {
        const char* name;
        Path path;
        QStringList selected;
        int answer;   // 0: no question
        QStringList after;
        bool dialogOpened = false;
    };
    const QStringList all{"10", "20", "30"};
    Connect(DeviceFolder::LocalDevice());
    for (const Case& c : std::vector<Case>{
             {"button_busy_no", Path::DeleteButton, {"10"}, IDNO, all},
             {"button_busy_yes", Path::DeleteButton, {"10"}, IDYES, {"20", "30"}},
             {"button_one_busy_of_two_no_keeps_both", Path::DeleteButton, {"10", "30"}, IDNO, all},
             {"button_free_asks_nothing", Path::DeleteButton, {"30"}, 0, {"10", "20"}},
             {"key_busy_no", Path::DeletionKey, {"20"}, IDNO, all},
             {"key_busy_yes", Path::DeletionKey, {"20"}, IDYES, {"10", "30"}},
             {"key_free_asks_nothing", Path::DeletionKey, {"30"}, 0, {"10", "20"}},
             {"all_with_busy_unselected_no", Path::DeleteAll, {"30"}, IDNO, all},
             {"all_with_busy_unselected_yes", Path::DeleteAll, {"30"}, IDYES, {}},
             {"modify_busy_no", Path::Modify, {"10"}, IDNO, all, false},
             {"modify_busy_yes", Path::Modify, {"10"}, IDYES, all, true},
             {"modify_free_asks_nothing", Path::Modify, {"30"}, 0, all, true},
             {"double_click_busy_no", Path::DoubleClick, {"20"}, IDNO, all, false},
         }) {
        SCOPED_TRACE(c.name);
        Store({kTen, kTwenty, kThirty});
        ASSERT_TRUE(Record().IsBusy("10") && Record().IsBusy("20") && !Record().IsBusy("30"));
        bool opened = false;
        PromptScript prompts;
        const UINT question = c.path == Path::Modify || c.path == Path::DoubleClick ? IDP_MAILBOX_MODIFY_NOT_EMPTY
                                                                                    : IDP_MAILBOX_DELETE_NOT_EMPTY;
        if (c.answer)
            prompts.MessageBox(c.answer, LoadText(question));
        if (c.answer != IDNO && (c.path == Path::Modify || c.path == Path::DoubleClick))
            prompts.Dialog(IDD_MAILBOX_ENTRY, [&](CDialog& dialog) {
                opened = true;
                dialog.EndDialog(IDCANCEL);
            });
        SelectBoxes(c.selected);
        switch (c.path) {
        case Path::DeleteButton:
            Press(*page, IDC_DELETE);
            break;
        case Path::DeletionKey:
            DeletionKey();
            break;
        case Path::DeleteAll:
            Press(*page, IDC_DELETE_ALL);
            break;
        case Path::Modify:
            Press(*page, IDC_MODIFY);
            break;
        case Path::DoubleClick:
            SelectRows(page->list, {RowOf(c.selected[0])}, true);
            break;
        }
        QStringList numbers;
        for (const Box& b : Stored())
            numbers.append(b.number);
        EXPECT_EQ(numbers, c.after);
        EXPECT_EQ(Column(page->list, 0), c.after);
        EXPECT_EQ(opened, c.dialogOpened);
        if (c.answer) {
            ASSERT_EQ(prompts.Shown().size(), 1u + (opened ? 1u : 0u));
            EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
        }
    }
}

TEST_F(MailBoxes, NumbersAreListedInNumberTextOrder)
{
    Boxes twelve;
    for (const char* n : {"7", "12", "3", "100", "45", "2", "9", "31", "18", "6", "64", "1"})
        twelve.push_back({n, 0, "", {}, -1, {}});
    Store(twelve);
    EXPECT_EQ(Column(page->list, 0),
              QStringList({"1", "100", "12", "18", "2", "3", "31", "45", "6", "64", "7", "9"}));
    CapacityGuard capacity(CMailBox::max_count, 12);
    Reload();
    EXPECT_FALSE(Enabled(*page, IDC_ADD));
}

// ---- Settings file and device ----

TEST_F(RelayDestinations, AMailboxGoesThroughASettingsFile)
{
    const Boxes made{{"50", 2, "9", {"003", "0007"}, 0, "0140$12"}};
    Store(made);
    QTemporaryDir folder;
    const CString path = folder.filePath("boites.tms");
    ASSERT_TRUE(Document()->OnSaveDocument(path));
    Store({});
    ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    EXPECT_EQ(Stored(), made);
    ASSERT_NO_FATAL_FAILURE(Show());
    EXPECT_EQ(Column(page->list, 0), QStringList({"50"}));
}

TEST_F(RelayDestinations, AMailboxMadeInTheDialogGoesToTheDeviceAndBack)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    AddSpeedDial(12, "Douze");
    AddSpeedDial(3, "Trois");
    WorkEntry("", [&](CDialog& dialog) {
        Choose(dialog, IDC_MAILBOX_TYPE, 2);
        Retype(dialog, IDC_MAILBOX_NUMBER, "50");
        Retype(dialog, IDC_MAILBOX_PASSWORD, "4321");
        PromptScript relay;
        relay.Dialog(IDD_RELAY_DEST, PickDestinations(0, {0, 1}));
        Press(dialog, IDC_ADD);
        Retype(dialog, IDC_REPORT_FAX_NUMBER, "0140");
        Press(dialog, IDOK);
    });
    const Box made{"50", 2, "4321", {"003", "012"}, 0, "0140"};
    {
        PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        ClickToolbar(ID_DEVICE_APPLY);
    }
    const std::unique_ptr<DeviceMemory> memory = EmulatedDevice::Inspect(device);
    const CMailBox* stored = memory->config.mailBoxes.Get("50");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(Read(*stored), made);

    ClickToolbar(ID_DEVICE_DISCONNECT);
    Store({});
    Connect(device);
    const Boxes read = Stored();
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2], made);
}

} // namespace

namespace {

TEST_F(RelayDestinations, BothDialogsOpenTheirHelp)
{
    PromptScript prompts;
    prompts.Dialog(IDD_MAILBOX_ENTRY, [](CDialog& dialog) {
        Choose(dialog, IDC_MAILBOX_TYPE, 2);
        {
            PromptScript relay;
            relay.Dialog(IDD_RELAY_DEST, [](CDialog& picker) {
                Press(picker, IDHELP);
                picker.EndDialog(IDCANCEL);
            });
            relay.Help(HID_BASE_RESOURCE + IDD_RELAY_DEST);
            Press(dialog, IDC_ADD);
        }
        Press(dialog, IDHELP);
        dialog.EndDialog(IDCANCEL);
    });
    prompts.Help(HID_BASE_RESOURCE + IDD_MAILBOX_ENTRY);
    Open("");
}

} // namespace
