#include "controls_fixture.h"

#include "afx/win/spin.h"

#include <QTest>
#include <QToolButton>
#include <string>
#include <vector>

namespace {

enum : int { IDD_NUMBERS = 157, IDC_INTERVAL = 1251, IDC_INTERVAL_SPIN = 1283, IDC_ENTRY_NUMBER = 1286,
             IDC_ENTRY_SPIN = 1101 };

const QByteArray kScript = testctl::DialogScript(157, "Nombres", 200, 60, R"(
    LTEXT           "I&ntervalle (1-180) :",-1,15,12,101,8
    EDITTEXT        1251,119,9,33,14,ES_RIGHT | ES_NUMBER
    CONTROL         "",1283,"msctls_updown32",UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS,145,10,11,14
    EDITTEXT        1286,119,30,33,14,ES_RIGHT | ES_NUMBER
    CONTROL         "",1101,"msctls_updown32",UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS,145,31,11,14
)");

class CNumbersDlg : public CDialog {
public:
    CNumbersDlg() : CDialog(IDD_NUMBERS) {}
    std::vector<std::string> intervalTexts;   // the buddy's EN_CHANGE, with its text then
    std::vector<std::string> steps;
    LRESULT stepResult = 0;
    int stepDelta = 0;   // non-zero: the handler asks for this step instead

    void OnIntervalChange()
    {
        CString text;
        GetDlgItemText(IDC_INTERVAL, text);
        intervalTexts.push_back(QString(text).toStdString());
    }
    // As an entry dialog steps its number itself and reports the notification handled.
    void OnDeltaPos(NMHDR* header, LRESULT* result)
    {
        auto* step = reinterpret_cast<NMUPDOWN*>(header);
        steps.push_back(std::to_string(step->iPos) + (step->iDelta > 0 ? "+" : "") + std::to_string(step->iDelta));
        if (stepResult)
            SetDlgItemText(IDC_ENTRY_NUMBER, "042");
        if (stepDelta)
            step->iDelta = stepDelta;
        *result = stepResult;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNumbersDlg, CDialog)
    ON_EN_CHANGE(IDC_INTERVAL, &CNumbersDlg::OnIntervalChange)
    ON_NOTIFY(UDN_DELTAPOS, IDC_ENTRY_SPIN, &CNumbersDlg::OnDeltaPos)
END_MESSAGE_MAP()

class SpinTest : public testctl::ControlDialogs {
protected:
    SpinTest() : ControlDialogs(kScript) {}
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_NUMBERS));
        spin = static_cast<CSpinButtonCtrl*>(dialog.GetDlgItem(IDC_INTERVAL_SPIN));
        edit = dialog.GetDlgItem(IDC_INTERVAL);
    }

    void Click(CWnd* spinWnd, const char* arrow)
    {
        QTest::mouseClick(spinWnd->m_hWnd->findChild<QToolButton*>(arrow), Qt::LeftButton);
    }

    CNumbersDlg dialog;
    CSpinButtonCtrl* spin = nullptr;
    CWnd* edit = nullptr;
};

TEST_F(SpinTest, TheBuddyIsTheWindowBeforeAndTheSpinSitsInsideItsRightEdge)
{
    const CSize base = afx::DialogBaseUnits(dialog.m_hWnd->font());
    const CRect templatePlace = afx::ItemRectInPixels(119, 9, 33, 14, base);
    const QRect buddy = edit->m_hWnd->geometry();
    const QRect arrows = spin->m_hWnd->geometry();
    EXPECT_EQ(buddy.left(), templatePlace.left);
    EXPECT_EQ(arrows.right() + 1, templatePlace.right);
    EXPECT_EQ(buddy.right() + 1, arrows.left());
    EXPECT_EQ(arrows.width(), afx::DialogUnitsToPixelsX(11, base));
    EXPECT_EQ(arrows.top(), buddy.top());
    EXPECT_EQ(arrows.height(), buddy.height());
}

TEST_F(SpinTest, ArrowsAndArrowKeysStepTheBuddysTextWithinTheRange)
{
    // The range as a number field sets it: the set-range message with 16-bit limits.
    spin->SendMessage(UDM_SETRANGE, 0, MAKELPARAM(12, 10));
    int lower = 0, upper = 0;
    spin->GetRange(lower, upper);
    EXPECT_EQ(lower, 10);
    EXPECT_EQ(upper, 12);

    edit->SetWindowText("11");   // the position comes from the buddy's text
    dialog.intervalTexts.clear();
    Click(spin, "up");
    Click(spin, "up");   // at the upper limit: no change, no notification
    QTest::keyClick(edit->m_hWnd, Qt::Key_Down);
    QTest::keyClick(edit->m_hWnd, Qt::Key_Down);
    QTest::keyClick(edit->m_hWnd, Qt::Key_Down);
    EXPECT_EQ(dialog.intervalTexts, (std::vector<std::string>{"12", "11", "10"}));

    // An upper limit below the lower one turns the arrows round.
    spin->SetRange(5, 1);
    edit->SetWindowText("3");
    dialog.intervalTexts.clear();
    Click(spin, "up");
    EXPECT_EQ(dialog.intervalTexts, std::vector<std::string>{"2"});
}

TEST_F(SpinTest, TheRangeLeavesTheBuddysText)
{
    edit->SetWindowText("12");
    spin->SetRange(1, 10);
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(QString(text), QStringLiteral("12"));
}

TEST_F(SpinTest, TheParentDecidesEachStep)
{
    CWnd* entrySpin = dialog.GetDlgItem(IDC_ENTRY_SPIN);
    CWnd* entry = dialog.GetDlgItem(IDC_ENTRY_NUMBER);
    static_cast<CSpinButtonCtrl*>(entrySpin)->SetRange(1, 999);
    entry->SetWindowText("007");

    dialog.stepResult = 1;   // handled: the spin leaves the text as the handler set it
    Click(entrySpin, "up");
    CString text;
    entry->GetWindowText(text);
    EXPECT_EQ(QString(text), QStringLiteral("042"));

    dialog.stepResult = 0;
    dialog.stepDelta = 5;    // a step of the parent's size
    Click(entrySpin, "down");
    entry->GetWindowText(text);
    EXPECT_EQ(QString(text), QStringLiteral("47"));
    EXPECT_EQ(dialog.steps, (std::vector<std::string>{"7+1", "42-1"}));
}

} // namespace
