// The "Code client" tab of the started console, worked through its widgets: the master code
// asked each time the page shows, the code dialog with its counters and its refusals, the
// master code's row, switching client codes off, a settings file and a device.
#include "device_console.h"
#include "dialogwidgets.h"
#include "startup_fixture.h"

#include "clientcodes/clientcodepage.h"
#include "device/lib/departmentcodes.h"
#include "device/lib/devicememory.h"
#include "device/lib/emulateddevice.h"
#include "support/capacities.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <optional>

using afx::testing::PromptScript;
using namespace dialogwidgets;

namespace {

struct Code {
    int id;
    int code;
    QString name;
    friend bool operator==(const Code&, const Code&) = default;
    friend void PrintTo(const Code& c, std::ostream* os) { *os << c.id << "/" << c.code << "/" << c.name.toStdString(); }
};
using Codes = std::vector<Code>;

const Code kMaster{1, 12345, "Principal"};
const Code kCompta{2, 222, "Compta"};
const Code kAchats{3, 3003, "Achats"};

// The message box of the string, answered with OK.
CString Message(UINT id)
{
    return LoadText(id);
}

// The master-code dialog: the text typed (or pasted), then OK.
std::function<void(CDialog&)> EnterMaster(const QString& text)
{
    return [text](CDialog& dialog) {
        Retype(dialog, IDC_MASTER_CODE, text);
        Press(dialog, IDOK);
    };
}

// The typed fields of the code dialog, then a button.
struct EntryInput {
    std::optional<QString> id;
    std::optional<QString> code;
    std::optional<QString> name;
};
void Fill(CDialog& dialog, const EntryInput& input)
{
    if (input.id)
        Retype(dialog, IDC_ENTRY_NUMBER, *input.id);
    if (input.code)
        Retype(dialog, IDC_CLIENT_CODE, *input.code);
    if (input.name)
        Retype(dialog, IDC_ENTRY_NAME, *input.name);
}

class ClientCodes : public startup::StartedConsole {
protected:
    void SetUp() override
    {
        StartedConsole::SetUp();
        view = dynamic_cast<CNtsView*>(Frame()->GetActiveView());
        ASSERT_NE(view, nullptr);
        sheet = view->SheetOf(0);
        ASSERT_NE(sheet, nullptr);
        for (int index = 0; index < sheet->GetPageCount() && !page; ++index)
            page = dynamic_cast<CClientCodePage*>(sheet->GetPage(index));
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->clientCodes, &Record());
        Frame()->m_hWnd->activateWindow();
        QApplication::processEvents();
    }

    CDepartmentCodes& Record() { return Document()->config.clientCodes; }
    // The codes in the record, in their order.
    Codes Stored()
    {
        Codes codes;
        for (POSITION pos = Record().GetHeadPosition(); pos;) {
            const auto* code = static_cast<CDepartmentCode*>(Record().GetNext(pos));
            codes.push_back({code->GetId(), code->code, code->name});
        }
        return codes;
    }
    // Puts the codes into the record, as a device or a file brings them.
    void Store(const Codes& codes)
    {
        Record().DeleteContents();
        for (const Code& c : codes)
            ASSERT_TRUE(Record().Add(new CDepartmentCode(c.id, c.code, c.name)));
        Document()->UpdateAllViews(nullptr, 0, nullptr);
        Document()->SetModifiedFlag(FALSE);
    }

    // Shows the tab; the master-code dialog it asks for is worked by `work`.
    void ShowPage(const std::function<void(CDialog&)>& work)
    {
        PromptScript prompts;
        prompts.Dialog(IDD_MASTER_CODE, work);
        ASSERT_TRUE(sheet->SetActivePage(page));
    }
    void OpenWith(const Codes& codes)
    {
        Store(codes);
        ShowPage(EnterMaster(QString::number(codes.front().code).rightJustified(5, u'0')));
        ASSERT_TRUE(Checked());
        Document()->SetModifiedFlag(FALSE);
    }
    void LeavePage() { ASSERT_TRUE(sheet->SetActivePage(0)); }

    bool Checked() { return page->IsDlgButtonChecked(IDC_ENABLE_CLIENT_CODES) == BST_CHECKED; }
    // The rows as shown, cells joined by "|".
    QStringList Rows()
    {
        QStringList rows;
        for (int row = 0; row < page->list.GetItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < page->list.GetColumnCount(); ++column)
                cells.append(page->list.GetItemText(row, column));
            rows.append(cells.join(u'|'));
        }
        return rows;
    }
    int RowOf(int id)
    {
        return FindItemByData(page->list, Record().Get(id));
    }
    // Where the row of the code stands in the list's viewport.
    QPoint RowCenter(int id)
    {
        auto* table = qobject_cast<QTableView*>(page->list.m_hWnd);
        const int firstColumn = table->horizontalHeader()->logicalIndexAt(5);
        return table->visualRect(table->model()->index(RowOf(id), firstColumn)).center();
    }
    // Clicks the rows of the codes, Ctrl held for every one after the first.
    void SelectRows(const std::vector<int>& ids)
    {
        QWidget* viewport = qobject_cast<QTableView*>(page->list.m_hWnd)->viewport();
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        for (int id : ids) {
            QTest::mouseClick(viewport, Qt::LeftButton, modifiers, RowCenter(id));
            modifiers = Qt::ControlModifier;
        }
    }
    // The page's own deletion key: Ctrl+Alt+Shift+".".
    void DeletionKey()
    {
        QTest::keyClick(page->m_hWnd, '.', Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    }
    // Runs the code dialog that the button (or a double click) opens.
    void WorkEntryDialog(const std::function<void()>& open, const std::function<void(CDialog&)>& work)
    {
        PromptScript prompts;
        prompts.Dialog(IDD_CLIENT_CODE_ENTRY, work);
        open();
    }
    // The code dialog of the code with that ID, through its row and "&Modifier"; 0: a new
    // code, through "Ajo&uter".
    void WorkCodeDialog(int id, const std::function<void(CDialog&)>& work)
    {
        WorkEntryDialog(
            [&] {
                if (id) {
                    SelectRows({id});
                    Press(*page, IDC_MODIFY);
                } else {
                    Press(*page, IDC_ADD);
                }
            },
            work);
    }
    // The run of the list and its four buttons.
    std::vector<bool> ListRunEnabled()
    {
        std::vector<bool> states;
        for (int id : {IDC_ENTRY_LIST, IDC_ADD, IDC_MODIFY, IDC_DELETE, IDC_DELETE_ALL})
            states.push_back(Enabled(*page, id));
        return states;
    }

    // The ways the page is shown again once it showed.
    struct ShowAgainCase {
        const char* name;
        std::function<void()> showAgain;
    };
    std::vector<ShowAgainCase> ShowAgainCases()
    {
        return {
            {"another_tab_and_back",
             [this] {
                 LeavePage();
                 sheet->SetActivePage(page);
             }},
            {"another_category_and_back",
             [this] {
                 view->SelectCategory(1);
                 view->SelectCategory(0);
             }},
            {"settings_reloaded", [this] { Document()->UpdateAllViews(nullptr, 0, nullptr); }},
        };
    }

    CNtsView* view = nullptr;
    CCategorySheet* sheet = nullptr;
    CClientCodePage* page = nullptr;
};

// ---- Switching client codes on with the master code ----

struct Attempt {
    QString text;
    bool pasted;
    UINT message;   // 0: the dialog closes with OK
};

struct MasterCase {
    const char* name;
    Codes stored;
    std::vector<Attempt> attempts;   // the last one refused: the dialog is then cancelled
    bool checked;
    Codes after;
    bool modified;
};

TEST_F(ClientCodes, SwitchingOnTakesTheMasterCode)
{
    const Code orphan{2, 55555, "Compta"};
    const Code createdMaster{1, 24680, "Principal"};
    for (const MasterCase& c : std::vector<MasterCase>{
             {"first_master_created", {}, {{"24680", false, 0}}, true, {createdMaster}, true},
             {"four_digits_refused", {}, {{"1234", false, IDP_MASTER_CODE_FIVE_DIGITS}}, false, {}, false},
             {"letters_pasted_refused", {}, {{"12a45", true, IDP_MASTER_CODE_FIVE_DIGITS}}, false, {}, false},
             {"wrong_code_refused_then_right", {kMaster, kCompta},
              {{"54321", false, IDP_INVALID_MASTER_CODE}, {"12345", false, 0}}, true, {kMaster, kCompta}, false},
             {"short_code_refused_when_one_exists", {kMaster}, {{"123", false, IDP_MASTER_CODE_FIVE_DIGITS}}, false,
              {kMaster}, false},
             {"leading_zeros_match", {{1, 123, "Principal"}}, {{"00123", false, 0}}, true, {{1, 123, "Principal"}}, false},
             {"leading_zeros_differ", {{1, 123, "Principal"}}, {{"01230", false, IDP_INVALID_MASTER_CODE}}, false,
              {{1, 123, "Principal"}}, false},
             {"cancel_keeps_the_codes", {kMaster, kCompta}, {}, false, {kMaster, kCompta}, false},
             {"code_held_by_another_refused", {orphan}, {{"55555", false, IDP_CLIENT_CODE_EXISTS}}, false, {orphan}, false},
             {"master_beside_other_codes", {orphan}, {{"24680", false, 0}}, true, {createdMaster, orphan}, true},
         }) {
        SCOPED_TRACE(c.name);
        Store(c.stored);
        const bool closes = !c.attempts.empty() && c.attempts.back().message == 0;
        PromptScript prompts;
        prompts.Dialog(IDD_MASTER_CODE, [&](CDialog& dialog) {
            EXPECT_EQ(FieldText(dialog, IDC_MASTER_CODE), CString());
            for (const Attempt& attempt : c.attempts) {
                if (attempt.pasted) {
                    QGuiApplication::clipboard()->setText(attempt.text);
                    Retype(dialog, IDC_MASTER_CODE, QString());
                    QTest::keyClick(Widget(dialog, IDC_MASTER_CODE), Qt::Key_V, Qt::ControlModifier);
                } else {
                    Retype(dialog, IDC_MASTER_CODE, attempt.text);
                }
                Press(dialog, IDOK);
                EXPECT_EQ(dialog.IsEnded(), attempt.message == 0) << attempt.text.toStdString();
            }
            if (!closes)
                Press(dialog, IDCANCEL);
        });
        for (const Attempt& attempt : c.attempts) {
            if (attempt.message)
                prompts.MessageBox(IDOK, Message(attempt.message));
        }
        ASSERT_TRUE(sheet->SetActivePage(page));
        for (const afx::Prompt& shown : prompts.Shown()) {
            if (shown.kind == afx::PromptKind::MessageBox) {
                EXPECT_EQ(shown.type, UINT(MB_OK | MB_ICONERROR));
            }
        }
        EXPECT_EQ(Checked(), c.checked);
        EXPECT_EQ(Stored(), c.after);
        EXPECT_EQ(Document()->IsModified(), c.modified);
        // Locked, the list is empty and nothing can be done; open, it shows the codes.
        EXPECT_EQ(size_t(Rows().size()), c.checked ? c.after.size() : 0u);
        EXPECT_EQ(Enabled(*page, IDC_ENTRY_LIST), c.checked);
        EXPECT_EQ(Enabled(*page, IDC_ADD), c.checked);
        LeavePage();
    }
}

TEST_F(ClientCodes, TheNewMasterCodeIsListed)
{
    Store({});
    ShowPage(EnterMaster("24680"));
    EXPECT_EQ(Rows(), QStringList{"01|24680|Principal|0|0|0"});
    EXPECT_EQ(page->list.GetColumnCount(), 6);
    EXPECT_EQ(ListRunEnabled(), (std::vector<bool>{true, true, false, false, true}));
}


TEST_F(ClientCodes, ThePageAsksForTheMasterCodeEachTimeItShows)
{
    for (const ShowAgainCase& c : ShowAgainCases()) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta});
        {
            // Cancelled this time: the page locks, the codes stay.
            PromptScript prompts;
            prompts.Dialog(IDD_MASTER_CODE, IDCANCEL);
            c.showAgain();
        }
        EXPECT_FALSE(Checked());
        EXPECT_TRUE(Rows().isEmpty());
        EXPECT_EQ(ListRunEnabled(), (std::vector<bool>{false, false, false, false, false}));
        EXPECT_EQ(Stored(), (Codes{kMaster, kCompta}));
        LeavePage();
    }
    // A reload while another tab shows asks nothing.
    PromptScript nothing;
    Document()->UpdateAllViews(nullptr, 0, nullptr);
}

// Counts the paints of a window that happened while its list held no row.
class EmptyListPaints : public QObject {
public:
    EmptyListPaints(QWidget* page, CListCtrl& list) : page(page), list(list) { page->installEventFilter(this); }
    ~EmptyListPaints() override { page->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == page && event->type() == QEvent::Paint && list.GetItemCount() == 0)
            ++count;
        return false;
    }

private:
    QWidget* page;
    CListCtrl& list;
};

TEST_F(ClientCodes, BehindTheMasterCodePromptThePageShowsNoCode)
{
    for (const ShowAgainCase& c : ShowAgainCases()) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta});
        ASSERT_EQ(Rows().size(), 2);
        EmptyListPaints paints(page->m_hWnd, page->list);
        PromptScript prompts;
        prompts.Dialog(IDD_MASTER_CODE, [&](CDialog& dialog) {
            // The page's own picture, painted before the prompt, without a code.
            EXPECT_TRUE(page->IsWindowVisible());
            EXPECT_GE(paints.count, 1);
            EXPECT_TRUE(Rows().isEmpty());
            EXPECT_EQ(ListRunEnabled(), (std::vector<bool>{false, false, false, false, false}));
            EnterMaster("12345")(dialog);
        });
        c.showAgain();
        EXPECT_EQ(Rows().size(), 2);
        LeavePage();
    }
}

// ---- The code dialog ----

TEST_F(ClientCodes, ANewCodeTakesTheNextFreeIdAndShowsTheCounts)
{
    OpenWith({kMaster, kCompta, {4, 4004, "Direction"}});
    WorkCodeDialog(0, [](CDialog& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), CString("03"));
        EXPECT_EQ(FieldText(dialog, IDC_CLIENT_CODE), CString());
        EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NAME), CString());
        EXPECT_EQ(FieldText(dialog, IDC_USED_COUNT), CString("3"));
        EXPECT_EQ(FieldText(dialog, IDC_CAPACITY), CString("99"));
        EXPECT_TRUE(Enabled(dialog, IDC_ENTRY_NUMBER));
        Fill(dialog, {{}, "3003", "  Achats "});
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), (Codes{kMaster, kCompta, kAchats, {4, 4004, "Direction"}}));
    EXPECT_EQ(Rows()[2], QString("03|03003|Achats|0|0|0"));
    EXPECT_EQ(page->list.GetSelectedCount(), 1u);
    EXPECT_EQ(page->list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(ClientCodes, TheArrowsStepToTheNextFreeId)
{
    struct Case {
        const char* name;
        int opened;
        std::vector<Qt::Key> keys;
        CString shown;
    };
    for (const Case& c : std::vector<Case>{
             {"new_up_skips_a_taken_id", 0, {Qt::Key_Up}, "05"},
             {"new_up_and_back_down", 0, {Qt::Key_Up, Qt::Key_Down}, "03"},
             {"new_down_below_the_lowest_free_goes_up_again", 0, {Qt::Key_Down}, "03"},
             {"edited_down_with_nothing_free_keeps_its_id", 2, {Qt::Key_Down}, "02"},
             {"edited_up_skips_a_taken_id", 2, {Qt::Key_Up}, "03"},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta, {4, 4004, "Direction"}});
        WorkCodeDialog(c.opened, [&](CDialog& dialog) {
            for (Qt::Key key : c.keys)
                QTest::keyClick(Widget(dialog, IDC_ENTRY_NUMBER), key);
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), c.shown);
            Press(dialog, IDCANCEL);
        });
        LeavePage();
    }
}

TEST_F(ClientCodes, BothDialogsOpenTheirHelpWithTheButtonAndF1)
{
    for (const Qt::Key key : {Qt::Key_unknown, Qt::Key_F1}) {
        SCOPED_TRACE(key == Qt::Key_F1 ? "F1" : "button");
        // Ai&de, or F1 in a field.
        const auto help = [key](CDialog& dialog, int field) {
            if (key == Qt::Key_F1) {
                dialog.m_hWnd->activateWindow();   // as a shown modal dialog is
                QCoreApplication::processEvents();
                QTest::keyClick(Widget(dialog, field), Qt::Key_F1);
                QCoreApplication::processEvents();   // the help button's click is posted
            } else {
                Press(dialog, IDHELP);
            }
            EXPECT_FALSE(dialog.IsEnded());
            Press(dialog, IDCANCEL);
        };
        Store({kMaster});
        {
            PromptScript prompts;
            prompts.Dialog(IDD_MASTER_CODE, [&](CDialog& dialog) { help(dialog, IDC_MASTER_CODE); })
                .Help(HID_BASE_RESOURCE + IDD_MASTER_CODE);
            ASSERT_TRUE(sheet->SetActivePage(page));
        }
        LeavePage();
        OpenWith({kMaster});
        {
            PromptScript prompts;
            prompts.Dialog(IDD_CLIENT_CODE_ENTRY, [&](CDialog& dialog) { help(dialog, IDC_CLIENT_CODE); })
                .Help(HID_BASE_RESOURCE + IDD_CLIENT_CODE_ENTRY);
            Press(*page, IDC_ADD);
        }
        LeavePage();
    }
}

TEST_F(ClientCodes, ApplyKeepsTheDialogOpenAndLaterSavesGoToTheSameCode)
{
    OpenWith({kMaster, kCompta});
    WorkCodeDialog(0, [&](CDialog& dialog) {
        Fill(dialog, {"07", "777", "Atelier"});
        Press(dialog, IDC_APPLY);
        EXPECT_FALSE(dialog.IsEnded());
        EXPECT_EQ(Rows().size(), 3);
        EXPECT_EQ(FieldText(dialog, IDC_USED_COUNT), CString("3"));
        Fill(dialog, {{}, "778", "Atelier B"});
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), (Codes{kMaster, kCompta, {7, 778, "Atelier B"}}));
    EXPECT_EQ(Rows().size(), 3);
}

TEST_F(ClientCodes, ModifyingACodeBySelectionOrDoubleClick)
{
    struct Case {
        const char* name;
        std::function<void()> open;
    };
    for (const Case& c : std::vector<Case>{
             {"modify_button",
              [this] {
                  SelectRows({2});
                  Press(*page, IDC_MODIFY);
              }},
             {"double_click",
              [this] {
                  auto* table = qobject_cast<QTableView*>(page->list.m_hWnd);
                  QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, RowCenter(2));
              }},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta, kAchats});
        WorkEntryDialog([&] { c.open(); }, [](CDialog& dialog) {
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), CString("02"));
            EXPECT_EQ(FieldText(dialog, IDC_CLIENT_CODE), CString("222"));
            EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NAME), CString("Compta"));
            Fill(dialog, {{}, "2020", "Comptabilite"});
            Press(dialog, IDOK);
        });
        EXPECT_EQ(Stored(), (Codes{kMaster, {2, 2020, "Comptabilite"}, kAchats}));
        EXPECT_EQ(Rows()[1], QString("02|02020|Comptabilite|0|0|0"));
        EXPECT_EQ(Rows().size(), 3);
        LeavePage();
    }
}

struct UniquenessCase {
    const char* name;
    int opened;   // 0: a new code
    EntryInput input;
    bool free;
};

TEST_F(ClientCodes, ATakenIdOrCodeDisablesOkAndApply)
{
    for (const UniquenessCase& c : std::vector<UniquenessCase>{
             {"new_code_free", 0, {"05", "5005", {}}, true},
             {"new_code_with_a_taken_code", 0, {"05", "222", {}}, false},
             {"new_code_with_a_taken_id", 0, {"02", "5005", {}}, false},
             {"new_code_with_the_master_code_written_short", 0, {"05", "12345", {}}, false},
             {"edited_keeps_its_own_code", 2, {{}, "222", "Autre"}, true},
             {"edited_takes_another_code", 2, {{}, "3003", {}}, false},
             {"edited_moves_to_a_free_id_with_its_code", 2, {"08", {}, {}}, false},
             {"edited_moves_to_a_free_id_with_a_free_code", 2, {"08", "888", {}}, true},
             {"edited_moves_to_a_taken_id", 2, {"03", "888", {}}, false},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta, kAchats});
        const Codes before = Stored();
        WorkCodeDialog(c.opened, [&](CDialog& dialog) {
                Fill(dialog, c.input);
                EXPECT_EQ(Enabled(dialog, IDOK), c.free);
                EXPECT_EQ(Enabled(dialog, IDC_APPLY), c.free);
                Press(dialog, IDCANCEL);
            });
        EXPECT_EQ(Stored(), before);
        LeavePage();
    }
}

TEST_F(ClientCodes, AnIdChangedToAFreeOneMakesANewCodeAndKeepsTheOpenedOne)
{
    OpenWith({kMaster, kCompta});
    WorkCodeDialog(2, [](CDialog& dialog) {
        Fill(dialog, {"08", "888", "Copie"});
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), (Codes{kMaster, kCompta, {8, 888, "Copie"}}));
    EXPECT_EQ(Rows().size(), 3);
}

// The buttons are off for a taken code; the command itself must still leave everything as it was.
TEST_F(ClientCodes, ARefusedSaveLeavesTheCodeAsItWas)
{
    struct Case {
        const char* name;
        int opened;
        EntryInput input;
    };
    for (const Case& c : std::vector<Case>{
             {"edited_code_taken", 2, {{}, "3003", "Autre"}},
             {"edited_id_and_code_taken", 2, {"03", "3003", "Autre"}},
             {"new_code_taken", 0, {"05", "222", "Autre"}},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta, kAchats});
        const QStringList rows = Rows();
        WorkCodeDialog(c.opened, [&](CDialog& dialog) {
                Fill(dialog, c.input);
                ASSERT_FALSE(Enabled(dialog, IDC_APPLY));
                PromptScript refusal;
                refusal.MessageBox(IDOK, Message(IDP_CLIENT_CODE_EXISTS));
                dialog.SendMessage(WM_COMMAND, IDC_APPLY);
                EXPECT_FALSE(dialog.IsEnded());
                Press(dialog, IDCANCEL);
            });
        EXPECT_EQ(Stored(), (Codes{kMaster, kCompta, kAchats}));
        EXPECT_EQ(Rows(), rows);
        EXPECT_FALSE(Document()->IsModified());
        LeavePage();
    }
}

TEST_F(ClientCodes, TheStandardChecksRefuseWhatIsNoNumberOrOutOfRange)
{
    struct Case {
        const char* name;
        EntryInput input;
        CString message;
        int focused;
    };
    for (const Case& c : std::vector<Case>{
             {"empty_code", {{}, "", "Vide"}, afx::DdxMessageBadInt(), IDC_CLIENT_CODE},
             {"empty_id", {"", "5005", {}}, afx::DdxMessageBadInt(), IDC_ENTRY_NUMBER},
             {"id_zero", {"0", "5005", {}}, afx::DdxMessageIntRange(1, 99), IDC_ENTRY_NUMBER},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta});
        WorkCodeDialog(0, [&](CDialog& dialog) {
            Fill(dialog, c.input);
            PromptScript refusal;
            refusal.MessageBox(IDOK, c.message);
            Press(dialog, IDOK);
            EXPECT_FALSE(dialog.IsEnded());
            EXPECT_EQ(dialog.m_hWnd->focusWidget(), Widget(dialog, c.focused));
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(Stored(), (Codes{kMaster, kCompta}));
        EXPECT_FALSE(Document()->IsModified());
        LeavePage();
    }
}

TEST_F(ClientCodes, TheCapacityStopsAddingCodes)
{
    CapacityGuard capacity(CDepartmentCode::max_count, 3);
    OpenWith({kMaster, kCompta});
    WorkCodeDialog(0, [&](CDialog& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_USED_COUNT), CString("2"));
        EXPECT_EQ(FieldText(dialog, IDC_CAPACITY), CString("3"));
        Fill(dialog, {{}, "3003", "Achats"});
        Press(dialog, IDC_APPLY);
        EXPECT_EQ(FieldText(dialog, IDC_USED_COUNT), CString("3"));
        // Another ID makes another code: there is no room for it.
        Fill(dialog, {"04", "4004", "Direction"});
        PromptScript refusal;
        refusal.MessageBox(IDOK, Message(IDP_MAX_ENTRIES_REACHED));
        Press(dialog, IDOK);
        EXPECT_FALSE(dialog.IsEnded());
        EXPECT_EQ(dialog.m_hWnd->focusWidget(), Widget(dialog, IDC_ENTRY_NAME));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Stored(), (Codes{kMaster, kCompta, kAchats}));
    EXPECT_FALSE(Enabled(*page, IDC_ADD));

    SelectRows({3});
    Press(*page, IDC_DELETE);
    EXPECT_EQ(Stored(), (Codes{kMaster, kCompta}));
    EXPECT_TRUE(Enabled(*page, IDC_ADD));
}

TEST_F(ClientCodes, DeleteRemovesTheSelectedCodes)
{
    OpenWith({kMaster, kCompta, kAchats, {4, 4004, "Direction"}});
    SelectRows({2, 4});
    Press(*page, IDC_DELETE);
    EXPECT_EQ(Stored(), (Codes{kMaster, kAchats}));
    EXPECT_EQ(Rows().size(), 2);
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(ClientCodes, DeleteAllKeepsTheMasterCode)
{
    for (const Codes& stored : {Codes{kMaster, kCompta, kAchats}, Codes{kMaster}}) {
        SCOPED_TRACE(stored.size());
        OpenWith(stored);
        SelectRows({1});
        Press(*page, IDC_DELETE_ALL);
        EXPECT_EQ(Stored(), Codes{kMaster});
        EXPECT_EQ(Rows(), QStringList{"01|12345|Principal|0|0|0"});
        EXPECT_TRUE(Document()->IsModified());
        LeavePage();
    }
}

// ---- The master code's row ----

struct MasterRowCase {
    const char* name;
    std::vector<int> selected;
    bool byKeyboard;
    bool deleteEnabled;
    Codes after;
};

TEST_F(ClientCodes, TheMasterCodeIsNeverDeletedWithTheOthers)
{
    for (const MasterRowCase& c : std::vector<MasterRowCase>{
             {"other_by_button", {2}, false, true, {kMaster, kAchats}},
             {"other_by_keyboard", {2}, true, true, {kMaster, kAchats}},
             {"master_by_button", {1}, false, false, {kMaster, kCompta, kAchats}},
             {"master_by_keyboard", {1}, true, false, {kMaster, kCompta, kAchats}},
             {"master_and_other_by_button", {1, 2}, false, false, {kMaster, kCompta, kAchats}},
             {"master_and_other_by_keyboard", {2, 1}, true, false, {kMaster, kCompta, kAchats}},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta, kAchats});
        SelectRows(c.selected);
        EXPECT_EQ(Enabled(*page, IDC_DELETE), c.deleteEnabled);
        if (c.byKeyboard)
            DeletionKey();
        else
            Press(*page, IDC_DELETE);
        EXPECT_EQ(Stored(), c.after);
        EXPECT_EQ(size_t(Rows().size()), c.after.size());
        LeavePage();
    }
}

TEST_F(ClientCodes, TheMasterCodeKeepsItsIdAndItsNewCodeIsAskedNextTime)
{
    OpenWith({kMaster, kCompta});
    WorkCodeDialog(1, [](CDialog& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_ENTRY_NUMBER), CString("01"));
        CWnd* id = dialog.GetDlgItem(IDC_ENTRY_NUMBER);
        EXPECT_FALSE(id->IsWindowEnabled());
        EXPECT_FALSE(id->GetWindow(GW_HWNDPREV)->IsWindowEnabled());   // its label
        EXPECT_FALSE(dialog.GetDlgItem(IDC_ENTRY_NUMBER_SPIN)->IsWindowEnabled());
        EXPECT_TRUE(Enabled(dialog, IDC_CLIENT_CODE));
        Fill(dialog, {{}, "54321", {}});
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(), (Codes{{1, 54321, "Principal"}, kCompta}));
    LeavePage();
    {
        PromptScript prompts;
        prompts.Dialog(IDD_MASTER_CODE, [](CDialog& dialog) {
                   EnterMaster("12345")(dialog);
                   ASSERT_FALSE(dialog.IsEnded());
                   EnterMaster("54321")(dialog);
               })
            .MessageBox(IDOK, Message(IDP_INVALID_MASTER_CODE));
        sheet->SetActivePage(page);
    }
    EXPECT_TRUE(Checked());
}

// ---- Switching client codes off ----

TEST_F(ClientCodes, UncheckingAsksBeforeDeletingEveryCode)
{
    struct Case {
        const char* name;
        int answer;
        bool checked;
        Codes after;
        bool modified;
    };
    for (const Case& c : std::vector<Case>{
             {"no_keeps_everything", IDNO, true, {kMaster, kCompta}, false},
             {"yes_deletes_the_master_too", IDYES, false, {}, true},
         }) {
        SCOPED_TRACE(c.name);
        OpenWith({kMaster, kCompta});
        {
            PromptScript prompts;
            prompts.MessageBox(c.answer, Message(IDP_DISABLE_CLIENT_CODES));
            static_cast<CButton*>(page->GetDlgItem(IDC_ENABLE_CLIENT_CODES))->Click();
            ASSERT_EQ(prompts.Shown().size(), 1u);
            EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
        }
        EXPECT_EQ(Checked(), c.checked);
        EXPECT_EQ(Stored(), c.after);
        EXPECT_EQ(Rows().size(), c.checked ? 2 : 0);
        EXPECT_EQ(Enabled(*page, IDC_ENTRY_LIST), c.checked);
        EXPECT_EQ(Document()->IsModified(), c.modified);
        LeavePage();
    }
    // Checked again, the box asks for a new master code.
    Document()->SetModifiedFlag(FALSE);
    ShowPage(EnterMaster("24680"));
    EXPECT_EQ(Stored(), (Codes{{1, 24680, "Principal"}}));
    EXPECT_TRUE(Document()->IsModified());
}

// ---- Files and devices ----

TEST_F(ClientCodes, CodesSurviveSavingAndOpeningASettingsFile)
{
    QTemporaryDir folder;
    const CString path = folder.filePath("codes.tms");
    Store({});
    ShowPage(EnterMaster("24680"));
    WorkCodeDialog(0, [](CDialog& dialog) {
        Fill(dialog, {{}, "00042", "Atelier"});
        Press(dialog, IDOK);
    });
    ASSERT_TRUE(Document()->OnSaveDocument(path));

    Press(*page, IDC_DELETE_ALL);
    ASSERT_EQ(Rows().size(), 1);
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO);   // the changes since are not saved
        prompts.Dialog(IDD_MASTER_CODE, EnterMaster("24680"));   // the page shows again
        ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    }
    const Codes expected{{1, 24680, "Principal"}, {2, 42, "Atelier"}};
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(Rows(), (QStringList{"01|24680|Principal|0|0|0", "02|00042|Atelier|0|0|0"}));
    EXPECT_FALSE(Document()->IsModified());
}

class ClientCodesOnDevice : public devicetest::DeviceConsole {};

TEST_F(ClientCodesOnDevice, AppliedCodesAreReadBackWithTheDevicesCounters)
{
    const CString device = devicetest::DeviceFolder::LocalDevice();
    Connect(device);
    auto* sheet = dynamic_cast<CNtsView*>(Frame()->GetActiveView())->SheetOf(0);
    CClientCodePage* page = nullptr;
    for (int index = 0; index < sheet->GetPageCount() && !page; ++index)
        page = dynamic_cast<CClientCodePage*>(sheet->GetPage(index));
    ASSERT_NE(page, nullptr);
    {
        PromptScript prompts;
        prompts.Dialog(IDD_MASTER_CODE, EnterMaster("24680"));
        prompts.Dialog(IDD_CLIENT_CODE_ENTRY, [](CDialog& dialog) {
            Fill(dialog, {{}, "13579", "Atelier"});
            Press(dialog, IDOK);
        });
        sheet->SetActivePage(page);
        Press(*page, IDC_ADD);
    }
    {
        PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        ClickToolbar(ID_DEVICE_APPLY);
    }
    const std::unique_ptr<DeviceMemory> memory = EmulatedDevice::Inspect(device);
    ASSERT_NE(memory, nullptr);
    const CDepartmentCodes& applied = memory->config.clientCodes;
    ASSERT_EQ(applied.GetCount(), 2);
    EXPECT_EQ(applied.Get(1)->code, 24680);
    EXPECT_EQ(applied.Get(2)->code, 13579);
    EXPECT_EQ(applied.Get(2)->name, CString("Atelier"));

    // The device counts pages; reading it again shows them.
    devicetest::WriteToDevice(device, [](CConfig& record) {
        record.clientCodes.Add(new CDepartmentCode(1, 24680, "Principal", 1, 2, 3));
        record.clientCodes.Add(new CDepartmentCode(2, 13579, "Atelier", 40, 5, 60));
    });
    ClickToolbar(ID_DEVICE_DISCONNECT);
    {
        PromptScript prompts;
        // The record was applied, never saved to a file.
        prompts.MessageBox(IDYES, LoadText(IDP_CONNECT_OVERWRITES));
        prompts.Dialog(IDD_DEVICE_SELECT, devicetest::ChooseDevice(device));
        prompts.Dialog(IDD_MASTER_CODE, EnterMaster("24680"));
        ClickToolbar(ID_DEVICE_CONNECT);
    }
    ASSERT_EQ(page->list.GetItemCount(), 2);
    EXPECT_EQ(page->list.GetItemText(1, 3), CString("40"));
    EXPECT_EQ(page->list.GetItemText(1, 4), CString("5"));
    EXPECT_EQ(page->list.GetItemText(1, 5), CString("60"));
}

} // namespace
