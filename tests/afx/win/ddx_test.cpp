// Data exchange: each routine in both directions, the checks' French messages, where a failure
// leaves the focus, and the lock-out of notifications while an exchange runs.
#include "scripts.h"
#include "support/helpers.h"

#include <QComboBox>
#include <QLineEdit>

using namespace testwin;

namespace {

// The form's controls bound to plain members, as a page binds its section.
class CFormDlg : public CDialog {
public:
    CFormDlg() : CDialog(IDD_FORM) {}

    CString name = "Dupont";
    int count = 12;
    int mode = 1;
    int active = 1;
    int choice = 1;
    int level = 2;
    int nameChanges = 0;
    int countMax = 60;
    int nameMax = 10;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, name);
        DDV_MaxChars(pDX, name, nameMax);
        DDX_Text(pDX, IDC_COUNT, count);
        DDV_MinMaxInt(pDX, count, 1, countMax);
        DDX_Radio(pDX, IDC_RADIO_A, mode);
        DDX_Check(pDX, IDC_ACTIVE, active);
        DDX_CBIndex(pDX, IDC_CHOICE, choice);
        DDX_CBIndex(pDX, IDC_LEVEL, level);
    }

    BOOL OnInitDialog() override
    {
        auto* choices = static_cast<CComboBox*>(GetDlgItem(IDC_CHOICE));
        for (const char* item : {"Toujours", "Si erreur", "Jamais"})
            choices->AddString(item);
        return CDialog::OnInitDialog();
    }

    void OnNameChange() { ++nameChanges; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFormDlg, CDialog)
    ON_EN_CHANGE(IDC_NAME, &CFormDlg::OnNameChange)
END_MESSAGE_MAP()

class DataExchangeTest : public ScriptedDialogs {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.Create(IDD_FORM));
        form.m_hWnd->show();
    }
    CString Text(int id)
    {
        CString text;
        form.GetDlgItemText(id, text);
        return text;
    }
    CFormDlg form;
};

TEST_F(DataExchangeTest, LoadingPutsEveryMemberIntoItsControl)
{
    EXPECT_EQ(Text(IDC_NAME), CString("Dupont"));
    EXPECT_EQ(Text(IDC_COUNT), CString("12"));
    EXPECT_EQ(form.IsDlgButtonChecked(IDC_RADIO_A), 0u);
    EXPECT_EQ(form.IsDlgButtonChecked(IDC_RADIO_B), 1u);
    EXPECT_EQ(form.IsDlgButtonChecked(IDC_RADIO_C), 0u);
    EXPECT_EQ(form.IsDlgButtonChecked(IDC_ACTIVE), 1u);
    EXPECT_EQ(qobject_cast<QComboBox*>(Widget(&form, IDC_CHOICE))->currentText(), QStringLiteral("Si erreur"));
    EXPECT_EQ(qobject_cast<QComboBox*>(Widget(&form, IDC_LEVEL))->currentIndex(), 2);
    // DDV_MaxChars limits what can be typed.
    EXPECT_EQ(static_cast<CEdit*>(form.GetDlgItem(IDC_NAME))->GetLimitText(), 10u);
}

TEST_F(DataExchangeTest, SavingReadsEveryControlBack)
{
    form.SetDlgItemText(IDC_NAME, "Martin");
    form.SetDlgItemText(IDC_COUNT, " 42 ");
    form.CheckDlgButton(IDC_RADIO_B, BST_UNCHECKED);
    form.CheckDlgButton(IDC_RADIO_C, BST_CHECKED);
    form.CheckDlgButton(IDC_ACTIVE, BST_UNCHECKED);
    static_cast<CComboBox*>(form.GetDlgItem(IDC_CHOICE))->SetCurSel(-1);
    static_cast<CComboBox*>(form.GetDlgItem(IDC_LEVEL))->SetCurSel(0);
    ASSERT_TRUE(form.UpdateData(TRUE));
    EXPECT_EQ(form.name, CString("Martin"));
    EXPECT_EQ(form.count, 42);
    EXPECT_EQ(form.mode, 2);
    EXPECT_EQ(form.active, 0);
    EXPECT_EQ(form.choice, 1);   // no item selected: the value is kept
    EXPECT_EQ(form.level, 0);

    form.CheckDlgButton(IDC_RADIO_C, BST_UNCHECKED);
    ASSERT_TRUE(form.UpdateData(TRUE));
    EXPECT_EQ(form.mode, -1);   // no radio of the group checked

    form.mode = 0;
    ASSERT_TRUE(form.UpdateData(FALSE));
    EXPECT_EQ(form.IsDlgButtonChecked(IDC_RADIO_A), 1u);
    EXPECT_EQ(form.IsDlgButtonChecked(IDC_RADIO_C), 0u);
}

// A stored choice the list does not offer: loading selects nothing, every later save keeps the
// value, and only the user's pick replaces it.
struct UnofferedChoiceCase {
    const char* name;
    int stored;
};

TEST_F(DataExchangeTest, AChoiceTheListDoesNotOfferIsKeptBySaving)
{
    for (const UnofferedChoiceCase& c : {UnofferedChoiceCase{"past the last item", 3},
                                         UnofferedChoiceCase{"far past the items", 250},
                                         UnofferedChoiceCase{"negative", -1}}) {
        SCOPED_TRACE(c.name);
        form.choice = c.stored;
        ASSERT_TRUE(form.UpdateData(FALSE));
        auto* choices = static_cast<CComboBox*>(form.GetDlgItem(IDC_CHOICE));
        EXPECT_EQ(choices->GetCurSel(), CB_ERR);
        ASSERT_TRUE(form.UpdateData(TRUE));
        EXPECT_EQ(form.choice, c.stored);
        ASSERT_TRUE(form.UpdateData(TRUE));
        EXPECT_EQ(form.choice, c.stored);

        choices->SetCurSel(2);
        ASSERT_TRUE(form.UpdateData(TRUE));
        EXPECT_EQ(form.choice, 2);
    }
}

// A check that fails: its message, the focus on the failing control with its text selected,
// UpdateData FALSE, the members before it written and those after it untouched.
struct FailureCase {
    const char* name;
    int control;
    const char* text;
    const char* message;
};

class DataExchangeFailure : public DataExchangeTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DataExchangeFailure, ShowsItsMessageAndReturnsTheFocus)
{
    const FailureCase& c = GetParam();
    form.SetDlgItemText(c.control, c.text);
    form.CheckDlgButton(IDC_ACTIVE, BST_UNCHECKED);   // exchanged after every failing control
    form.GotoDlgCtrl(form.GetDlgItem(IDC_CHOICE));
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDOK, c.message);
    EXPECT_FALSE(form.UpdateData(TRUE));
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(form.m_hWnd->focusWidget(), Widget(&form, c.control));
    auto* edit = qobject_cast<QLineEdit*>(Widget(&form, c.control));
    EXPECT_EQ(edit->selectedText(), edit->text());
    EXPECT_EQ(form.active, 1);
    if (c.control != IDC_NAME) {
        EXPECT_EQ(form.name, CString("Dupont"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, DataExchangeFailure,
    ::testing::Values(FailureCase{"Empty", IDC_COUNT, "", "Entrez un entier."},
                      FailureCase{"Letters", IDC_COUNT, "12a", "Entrez un entier."},
                      FailureCase{"Inner_blank", IDC_COUNT, "1 2", "Entrez un entier."},
                      FailureCase{"Beyond_int", IDC_COUNT, "99999999999", "Entrez un entier."},
                      FailureCase{"Below_range", IDC_COUNT, "0", "Entrez un entier compris entre 1 et 60."},
                      FailureCase{"Above_range", IDC_COUNT, "61", "Entrez un entier compris entre 1 et 60."},
                      FailureCase{"Too_long", IDC_NAME, "Abcdefghijk", "Entrez au plus 10 caractères."}),
    RowName);

TEST_F(DataExchangeTest, ControlAttachmentSubclassesOnce)
{
    struct CBound : CFormDlg {
        CEdit nameEdit;
        void DoDataExchange(CDataExchange* pDX) override
        {
            DDX_Control(pDX, IDC_NAME, nameEdit);
            CFormDlg::DoDataExchange(pDX);
        }
    } bound;
    ASSERT_TRUE(bound.Create(IDD_FORM));
    EXPECT_EQ(CWnd::FromHandlePermanent(Widget(&bound, IDC_NAME)), &bound.nameEdit);
    EXPECT_TRUE(bound.UpdateData(TRUE));
    EXPECT_TRUE(bound.UpdateData(FALSE));
    EXPECT_EQ(CWnd::FromHandlePermanent(Widget(&bound, IDC_NAME)), &bound.nameEdit);
}

TEST_F(DataExchangeTest, ChangeNotificationFiresWhenTheProgramSetsTheText)
{
    form.nameChanges = 0;
    form.SetDlgItemText(IDC_NAME, "Durand");
    EXPECT_EQ(form.nameChanges, 1);
    form.SetDlgItemText(IDC_NAME, "Durand");   // the same text notifies too
    EXPECT_EQ(form.nameChanges, 2);
    static_cast<CEdit*>(form.GetDlgItem(IDC_NAME))->ReplaceSel("x");
    EXPECT_EQ(form.nameChanges, 3);
}

TEST_F(DataExchangeTest, ExchangeLocksOutTheNotificationsOfItsOwnWindowOnly)
{
    class CWatchingDlg : public CFormDlg {
    public:
        CFormDlg* other = nullptr;
        void DoDataExchange(CDataExchange* pDX) override
        {
            CFormDlg::DoDataExchange(pDX);
            other->SetDlgItemText(IDC_NAME, "touché");   // another window's notification
        }
    } watching;
    CFormDlg other;
    ASSERT_TRUE(other.Create(IDD_FORM));
    watching.other = &other;
    ASSERT_TRUE(watching.Create(IDD_FORM));
    watching.nameChanges = other.nameChanges = 0;

    watching.name = "Leroy";
    ASSERT_TRUE(watching.UpdateData(FALSE));
    EXPECT_EQ(watching.nameChanges, 0);
    EXPECT_EQ(other.nameChanges, 1);
    watching.SetDlgItemText(IDC_NAME, "Petit");
    EXPECT_EQ(watching.nameChanges, 1);

    // A failed exchange lifts the lock-out too.
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDOK);
    watching.SetDlgItemText(IDC_COUNT, "x");
    EXPECT_FALSE(watching.UpdateData(TRUE));
    watching.SetDlgItemText(IDC_NAME, "Moreau");
    EXPECT_EQ(watching.nameChanges, 2);
}

TEST_F(DataExchangeTest, BindingToAMissingControlIsAnError)
{
    struct CBroken : CDialog {
        CBroken() : CDialog(IDD_FORM) {}
        int value = 0;
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 4242, value); }
    } broken;
    EXPECT_THROW(broken.Create(IDD_FORM), std::logic_error);
}

} // namespace
