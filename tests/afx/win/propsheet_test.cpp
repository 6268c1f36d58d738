// Property sheets as child windows: pages made when their tab is first shown, the order of
// activation and deactivation, a page that refuses to be left, sibling queries, the sheet's
// size, and F1 reaching the sheet.
#include "notesapp.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <functional>

using namespace notes;
using afx::testing::PromptScript;

namespace {

// A page that traces its life into its test's trace, exchanges `value` with its edit (0 to 100) when it has one,
// and answers sibling queries of its kind.
class CTracePage : public CPropertyPage {
public:
    CTracePage(std::vector<std::string>& trace, UINT templateId, std::string name, UINT editId, WPARAM kind,
               UINT captionId = 0)
        : CPropertyPage(templateId, captionId), trace(trace), name(std::move(name)), editId(editId), kind(kind)
    {
    }

    int value = 0;
    bool refuseToLeave = false;
    int loads = 0;
    std::function<void()> onSetActive;

    BOOL OnInitDialog() override
    {
        trace.push_back("init " + name);
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        trace.push_back("set " + name);
        if (onSetActive)
            onSetActive();
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        trace.push_back("kill " + name);
        return !refuseToLeave && CPropertyPage::OnKillActive();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (!pDX->m_bSaveAndValidate)
            ++loads;
        if (!editId)
            return;
        DDX_Text(pDX, int(editId), value);
        DDV_MinMaxInt(pDX, value, 0, 100);
    }
    LRESULT OnQuerySiblings(WPARAM wParam, LPARAM lParam)
    {
        trace.push_back("query " + name);
        return wParam == kind ? 1 : 0;
    }

    std::vector<std::string>& trace;
    const std::string name;
    const UINT editId;
    const WPARAM kind;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTracePage, CPropertyPage)
    ON_MESSAGE(PSM_QUERYSIBLINGS, &CTracePage::OnQuerySiblings)
END_MESSAGE_MAP()

// A sheet that takes F1 of its pages.
class CHelpSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
    std::vector<int> helpControls;
    BOOL OnHelpInfo(HELPINFO* pHelpInfo)
    {
        helpControls.push_back(pHelpInfo->iCtrlId);
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpSheet, CPropertySheet)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

class PropertySheetTest : public NotesTest {
protected:
    PropertySheetTest()
    {
        parent.CreateEx(0, CString(), "Parent", WS_OVERLAPPED, CRect(0, 0, 800, 600), nullptr, 0);
        parent.m_hWnd->show();
        for (CTracePage* page : {&pageA, &pageB, &pageC})
            sheet.AddPage(page);
    }
    void SetUp() override
    {
        ASSERT_TRUE(sheet.Create(&parent, WS_CHILD | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT));
    }
    QTabBar* Tabs() const { return sheet.m_hWnd->findChild<QTabBar*>(); }
    void ClickTab(int index) { QTest::mouseClick(Tabs(), Qt::LeftButton, {}, Tabs()->tabRect(index).center()); }
    std::vector<std::string> TakeTrace() { return std::exchange(trace, {}); }
    CSize TemplateSize(UINT id)
    {
        const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(id);
        const CSize base = afx::DialogBaseUnits(afx::TemplateFont(*tmpl));
        return {afx::DialogUnitsToPixelsX(tmpl->cx, base), afx::DialogUnitsToPixelsY(tmpl->cy, base)};
    }

    CWnd parent;
    std::vector<std::string> trace;
    CTracePage pageA{trace, IDD_PAGE_A, "A", IDC_VALUE_A, 1};
    CTracePage pageB{trace, IDD_PAGE_B, "B", IDC_VALUE_B, 2, IDS_GENERAL};
    CTracePage pageC{trace, IDD_PAGE_C, "C", 0, 3};
    CHelpSheet sheet{0, nullptr, 0};

    static constexpr UINT IDS_GENERAL = 10006;   // "Général"
};

TEST_F(PropertySheetTest, PagesAreMadeWhenTheirTabIsFirstShown)
{
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"init A", "set A"}));
    EXPECT_NE(pageA.m_hWnd, nullptr);
    EXPECT_EQ(pageB.m_hWnd, nullptr);
    EXPECT_EQ(pageC.m_hWnd, nullptr);

    ASSERT_TRUE(sheet.SetActivePage(1));
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"kill A", "init B", "set B"}));
    ClickTab(2);
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"kill B", "init C", "set C"}));
    ClickTab(0);
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"kill C", "set A"}));

    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(sheet.GetActivePage(), &pageA);
    EXPECT_TRUE(pageA.IsWindowVisible());
    EXPECT_FALSE(pageB.IsWindowVisible());
    EXPECT_FALSE(pageC.IsWindowVisible());
    EXPECT_EQ(pageA.GetParent(), &sheet);
    EXPECT_EQ(pageA.m_hWnd->property("templateId").toInt(), int(IDD_PAGE_A));
}

TEST_F(PropertySheetTest, APageIsOnShowAloneWhenItIsActivated)
{
    // What a page shows while its activation asks something is its own picture.
    std::vector<std::string> shown;
    for (CTracePage* page : {&pageA, &pageB, &pageC}) {
        page->onSetActive = [&] {
            std::string visible;
            for (CTracePage* other : {&pageA, &pageB, &pageC})
                visible += other->m_hWnd && other->IsWindowVisible() ? other->name : "-";
            shown.push_back(visible);
        };
    }
    ASSERT_TRUE(sheet.SetActivePage(2));
    ClickTab(1);
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(shown, (std::vector<std::string>{"--C", "-B-", "A--"}));
}

TEST_F(PropertySheetTest, TabsShowThePagesCaptionsOrTheirOwnString)
{
    ASSERT_EQ(Tabs()->count(), 3);
    EXPECT_EQ(Tabs()->tabText(0), "Première");
    EXPECT_EQ(Tabs()->tabText(1), "Général");
    EXPECT_EQ(Tabs()->tabText(2), "Troisième");
    EXPECT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetPage(2), &pageC);
    EXPECT_EQ(sheet.GetPageIndex(&pageB), 1);
}

TEST_F(PropertySheetTest, ReactivationReloadsThePageButTheFirstActivationDoesNot)
{
    EXPECT_EQ(pageA.loads, 1);   // OnInitDialog's
    ASSERT_TRUE(sheet.SetActivePage(1));
    pageA.value = 42;
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(pageA.loads, 2);
    CString text;
    pageA.GetDlgItemText(IDC_VALUE_A, text);
    EXPECT_EQ(text, "42");
}

TEST_F(PropertySheetTest, LeavingAPageSavesItsControls)
{
    pageA.SetDlgItemText(IDC_VALUE_A, "");
    QTest::keyClicks(pageA.GetDlgItem(IDC_VALUE_A)->m_hWnd, "37");
    ASSERT_TRUE(sheet.SetActivePage(2));
    EXPECT_EQ(pageA.value, 37);
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftStaysActive)
{
    TakeTrace();
    pageA.refuseToLeave = true;
    EXPECT_FALSE(sheet.SetActivePage(1));
    ClickTab(2);
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"kill A", "kill A"}));
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_TRUE(pageA.IsWindowVisible());
    EXPECT_EQ(pageB.m_hWnd, nullptr);
    EXPECT_EQ(pageC.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, AFailingCheckKeepsThePageWithItsMessage)
{
    pageA.SetDlgItemText(IDC_VALUE_A, "500");
    PromptScript prompts;
    prompts.MessageBox(IDOK, "Entrez un entier compris entre 0 et 100.");
    ClickTab(1);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(pageB.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, SiblingQueriesReachTheMadePagesUntilOneAnswers)
{
    ASSERT_TRUE(sheet.SetActivePage(1));
    ASSERT_TRUE(sheet.SetActivePage(0));
    TakeTrace();
    EXPECT_EQ(pageA.QuerySiblings(2, 0), 1);
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"query A", "query B"}));
    // Page C answers kind 3 but has no window yet: nobody answers.
    EXPECT_EQ(pageB.QuerySiblings(3, 0), 0);
    EXPECT_EQ(TakeTrace(), (std::vector<std::string>{"query A", "query B"}));
}

TEST_F(PropertySheetTest, SheetIsAsLargeAsItsLargestPage)
{
    const CSize widest = TemplateSize(IDD_PAGE_B);
    const CSize tallest = TemplateSize(IDD_PAGE_C);
    CRect sheetRect;
    sheet.GetClientRect(sheetRect);
    const int tabsHeight = Tabs()->height();
    EXPECT_GE(sheetRect.Width(), widest.cx);
    EXPECT_LE(sheetRect.Width(), widest.cx + 16);
    EXPECT_GE(sheetRect.Height(), tabsHeight + tallest.cy);
    EXPECT_LE(sheetRect.Height(), tabsHeight + tallest.cy + 16);
    // Every page stands below the tabs, inside the sheet.
    for (int index : {1, 2})
        ASSERT_TRUE(sheet.SetActivePage(index));
    for (CTracePage* page : {&pageA, &pageB, &pageC}) {
        const QRect place = page->m_hWnd->geometry();
        EXPECT_GE(place.top(), tabsHeight);
        EXPECT_TRUE(QRect(sheetRect).contains(place)) << page->name;
    }
}

TEST_F(PropertySheetTest, F1OnAPageControlReachesTheSheet)
{
    QWidget* edit = pageA.GetDlgItem(IDC_VALUE_A)->m_hWnd;
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_EQ(sheet.helpControls, std::vector<int>{int(IDC_VALUE_A)});
}

TEST_F(PropertySheetTest, PagesOutliveTheirSheet)
{
    sheet.DestroyWindow();
    EXPECT_EQ(pageA.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(pageA.GetTabTitle(), "Première");
}

} // namespace
