// The main window after start-up: its menu, toolbar, status bar and fixed size, the category bar
// (clicks, hot tracking), the category view (selection, tabs, network mode) and help.
#include "startup_fixture.h"

#include "frame/mainframe.h"
#include "view/categorysheet.h"
#include "view/categorytable.h"
#include "view/ntsview.h"

#include <QAccessible>
#include <QCursor>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>

using afx::testing::PromptScript;

namespace {

class MainWindow : public startup::StartedConsole {
protected:
    void SetUp() override
    {
        StartedConsole::SetUp();
        ASSERT_NE(MainFrame(), nullptr);
        ASSERT_NE(View(), nullptr);
        QApplication::processEvents();
    }

    CMainFrame* MainFrame() const { return dynamic_cast<CMainFrame*>(app.m_pMainWnd); }
    CNtsView* View() const { return dynamic_cast<CNtsView*>(MainFrame()->GetActiveView()); }
    CIconListBox& List() const { return MainFrame()->iconBar->categoryList; }

    std::vector<int> ListedCategories() const
    {
        std::vector<int> categories;
        for (int item = 0; item < List().GetCount(); ++item)
            categories.push_back(int(List().GetItemData(item)));
        return categories;
    }
    // The list item that shows the category.
    int ItemOf(int category) const
    {
        const std::vector<int> listed = ListedCategories();
        return int(std::find(listed.begin(), listed.end(), category) - listed.begin());
    }
    QPoint CenterOfItem(int item) const
    {
        CRect rect;
        List().GetItemRect(item, rect);
        return QRect(rect).center();
    }
    int Height() const { return MainFrame()->m_hWnd->height(); }
};

TEST_F(MainWindow, StartsWithSixCategoriesAndGeneralOnItsFirstTab)
{
    EXPECT_EQ(ListedCategories(), (std::vector<int>{0, 1, 2, 3, 4, 6}));
    EXPECT_EQ(View()->current, 0);
    EXPECT_EQ(MainFrame()->captionBar.captionId, UINT(IDS_CATEGORY_GENERAL));
    CCategorySheet* general = View()->SheetOf(0);
    ASSERT_NE(general, nullptr);
    EXPECT_TRUE(general->IsWindowVisible());
    EXPECT_EQ(general->GetActiveIndex(), 0);
    ASSERT_NE(general->GetActivePage(), nullptr);
    EXPECT_EQ(general->GetActivePage()->GetTemplateID(), UINT(IDD_MACHINE_PAGE));
    EXPECT_TRUE(general->GetActivePage()->IsWindowVisible());
    // Every category has its window from the start, the network ones too; one shows.
    ASSERT_EQ(View()->categoryWindows.size(), size_t(categoryCount));
    for (int index = 1; index < categoryCount; ++index)
        EXPECT_FALSE(View()->categoryWindows[size_t(index)]->IsWindowVisible()) << index;
}

TEST_F(MainWindow, MenuHasNoNetworkModeAndTheViewMenuOnlyTheBars)
{
    CMenu* menu = MainFrame()->GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuState(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND), UINT(-1));
    EXPECT_FALSE(MainFrame()->IsNetworkMode());
    CMenu* viewMenu = menu->GetSubMenu(1);
    ASSERT_NE(viewMenu, nullptr);
    ASSERT_EQ(viewMenu->GetMenuItemCount(), 2u);
    EXPECT_EQ(viewMenu->GetMenuItemID(0), UINT(ID_VIEW_TOOLBAR));
    EXPECT_EQ(viewMenu->GetMenuItemID(1), UINT(ID_VIEW_STATUS_BAR));
}

TEST_F(MainWindow, ToolbarHasSixLabelledButtonsAndTheStatusBarFourPanes)
{
    CMainToolBar& toolBar = MainFrame()->toolBar;
    const std::vector<std::pair<UINT, CString>> buttons = {
        {ID_DEVICE_CONNECT, "Connecter"}, {ID_DEVICE_DISCONNECT, "Déconnecter"}, {ID_DEVICE_APPLY, "Appliquer"},
        {ID_FILE_OPEN, "Ouvrir"},         {ID_FILE_SAVE, "Enregistrer"},         {ID_HELP, "Aide"}};
    ASSERT_EQ(toolBar.GetCount(), int(buttons.size()));
    for (int index = 0; index < toolBar.GetCount(); ++index) {
        EXPECT_EQ(toolBar.GetItemID(index), buttons[size_t(index)].first) << index;
        EXPECT_EQ(toolBar.GetButtonText(index), buttons[size_t(index)].second) << index;
        CRect rect;
        toolBar.GetItemRect(index, rect);
        EXPECT_GE(rect.Width(), 35);
        EXPECT_GE(rect.Height(), 50);
    }
    EXPECT_EQ(toolBar.GetFont(), &MainFrame()->toolBarFont);

    CStatusBar& statusBar = MainFrame()->statusBar;
    ASSERT_EQ(statusBar.GetCount(), 4);
    EXPECT_EQ(statusBar.GetItemID(0), UINT(ID_SEPARATOR));
    EXPECT_EQ(statusBar.GetItemID(1), UINT(ID_INDICATOR_CAPS));
    EXPECT_EQ(statusBar.GetItemID(2), UINT(ID_INDICATOR_NUM));
    EXPECT_EQ(statusBar.GetItemID(3), UINT(ID_INDICATOR_SCRL));
    EXPECT_EQ(statusBar.GetPaneText(0), CString("Pour de l'aide, appuyer sur F1"));
    MainFrame()->SetStatusText(IDS_STATUS_CONNECTING);
    EXPECT_EQ(statusBar.GetPaneText(0), LoadText(IDS_STATUS_CONNECTING));
}

TEST_F(MainWindow, TheViewGetsExactlyThePageAreaAndTheUserCannotResize)
{
    const afx::DialogTemplate* page = afx::FindDialogTemplate(IDD_MACHINE_PAGE);
    ASSERT_NE(page, nullptr);
    const CSize base = afx::DialogBaseUnits(afx::TemplateFont(*page));
    // As wide as the pages; as high as they are, or higher when the categories need it.
    EXPECT_EQ(View()->m_hWnd->width(), int(base.cx) * 343 / 4);
    EXPECT_GE(View()->m_hWnd->height(), int(base.cy) * 202 / 8);
    // The largest page and panel fit.
    EXPECT_GE(View()->m_hWnd->width(), View()->SheetOf(0)->m_hWnd->width());
    EXPECT_GE(View()->m_hWnd->height(), View()->SheetOf(0)->m_hWnd->height());
    EXPECT_FALSE(MainFrame()->GetStyle() & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(MainFrame()->m_hWnd->minimumSize(), MainFrame()->m_hWnd->maximumSize());
}

TEST_F(MainWindow, TheCategoryBarShowsEveryCategoryWithoutScrollBar)
{
    const int last = List().GetCount() - 1;
    ASSERT_EQ(last, 5);
    CRect item, client;
    List().GetItemRect(last, item);
    List().GetClientRect(client);
    EXPECT_LE(item.bottom, client.bottom);
    auto* scrollBar = List().m_hWnd->findChild<QScrollBar*>();
    ASSERT_NE(scrollBar, nullptr);
    EXPECT_FALSE(scrollBar->isVisible());
    // Not taller than the pages or the categories need.
    const afx::DialogTemplate* page = afx::FindDialogTemplate(IDD_MACHINE_PAGE);
    ASSERT_NE(page, nullptr);
    const int pageHeight = int(afx::DialogBaseUnits(afx::TemplateFont(*page)).cy) * 202 / 8;
    EXPECT_TRUE(View()->m_hWnd->height() == pageHeight || item.bottom == client.bottom);
}

// Every sheet, those of the network mode too, shows each of its tabs whole at the pages' width:
// no scroll arrows, no title cut.
TEST_F(MainWindow, EverySheetShowsAllItsTabsWithoutScrollArrows)
{
    for (int category = 0; category < categoryCount; ++category) {
        CCategorySheet* sheet = View()->SheetOf(category);
        if (!sheet)
            continue;
        SCOPED_TRACE(category);
        auto* tabs = sheet->m_hWnd->findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), sheet->GetPageCount());
        EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width() - 1);
        EXPECT_LE(tabs->sizeHint().width(), tabs->width());
        for (int tab = 0; tab < tabs->count(); ++tab) {
            const QString title = tabs->tabText(tab);
            EXPECT_LE(tabs->fontMetrics().horizontalAdvance(title), tabs->tabRect(tab).width()) << title.toStdString();
        }
    }
}

// Its items are painted: a screen reader reads each one's caption.
TEST_F(MainWindow, AScreenReaderReadsTheCategoriesCaptions)
{
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(List().m_hWnd);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), "Catégories");
    QStringList captions;
    for (int index = 0; index < list->childCount(); ++index)
        captions << list->child(index)->text(QAccessible::Name);
    EXPECT_EQ(captions, (QStringList{"Général", "Fax", "Annuaire", "Boîte aux lettres", "Télécopie PC", "Relevés"}));
}

TEST_F(MainWindow, HidingABarShrinksTheWindowByItsHeightAndShowingItGrowsItBack)
{
    for (const UINT command : {UINT(ID_VIEW_TOOLBAR), UINT(ID_VIEW_STATUS_BAR)}) {
        CWnd* bar = MainFrame()->GetControlBar(command);
        ASSERT_NE(bar, nullptr);
        const int before = Height();
        const int width = MainFrame()->m_hWnd->width();
        const QSize view = View()->m_hWnd->size();
        const int barHeight = bar->m_hWnd->height();
        Command(command);
        EXPECT_EQ(Height(), before - barHeight) << command;
        EXPECT_EQ(MainFrame()->m_hWnd->width(), width);
        EXPECT_EQ(View()->m_hWnd->size(), view) << "the pages keep their room";
        Command(command);
        EXPECT_EQ(Height(), before) << command;
    }
}

TEST_F(MainWindow, ACategoryShowsWhenTheButtonComesUpAndKeepsItsCaption)
{
    QWidget* list = List().m_hWnd;
    const QPoint fax = CenterOfItem(ItemOf(1));
    QTest::mousePress(list, Qt::LeftButton, Qt::NoModifier, fax);
    EXPECT_TRUE(List().buttonDown);
    EXPECT_EQ(View()->current, 0);
    QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, fax);
    EXPECT_FALSE(List().buttonDown);
    EXPECT_EQ(View()->current, 1);
    EXPECT_EQ(MainFrame()->captionBar.captionId, UINT(IDS_CATEGORY_FAX));
    EXPECT_TRUE(View()->categoryWindows[1]->IsWindowVisible());
    EXPECT_FALSE(View()->categoryWindows[0]->IsWindowVisible());

    // The last icons are scrolled into view first.
    List().SetTopIndex(ItemOf(6));
    const QPoint reports = CenterOfItem(ItemOf(6));
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, reports);
    EXPECT_EQ(View()->current, 6);
    EXPECT_EQ(MainFrame()->captionBar.captionId, UINT(IDS_CATEGORY_REPORTS));
}

TEST_F(MainWindow, TheIconUnderTheMouseIsFramedUntilTheMouseLeaves)
{
    CIconListBox& list = List();
    auto tick = [&](QPoint at) {
        QCursor::setPos(list.m_hWnd->mapToGlobal(at));
        list.SendMessage(WM_TIMER, 1);
    };
    tick(CenterOfItem(1));
    EXPECT_TRUE(list.mouseInside);
    EXPECT_EQ(list.hotItem, 1);
    tick(CenterOfItem(2));
    EXPECT_EQ(list.hotItem, 2);
    tick(QPoint(-20, -20));
    EXPECT_FALSE(list.mouseInside);
    EXPECT_EQ(list.hotItem, -1);

    // Dragged out with the button held, the icon keeps its frame until the button comes up.
    tick(CenterOfItem(0));
    list.buttonDown = TRUE;
    tick(QPoint(-20, -20));
    EXPECT_EQ(list.hotItem, 0);
    list.buttonDown = FALSE;
}

TEST_F(MainWindow, SheetsKeepTheirTabAcrossCategories)
{
    int category = -1;
    for (int index = 0; index < categoryCount && category == -1; ++index) {
        if (View()->SheetOf(index) && View()->SheetOf(index)->GetPageCount() > 1 && !categoryTable[index].networkOnly)
            category = index;
    }
    if (category == -1)
        GTEST_SKIP() << "no category has two tabs yet";
    View()->SelectCategory(category);
    // The client-code tab asks for the master code each time it shows.
    PromptScript prompts;
    if (View()->SheetOf(category)->GetPage(1)->GetTemplateID() == IDD_CLIENT_CODE_PAGE)
        prompts.Dialog(IDD_MASTER_CODE, IDCANCEL).Dialog(IDD_MASTER_CODE, IDCANCEL);
    ASSERT_TRUE(View()->SheetOf(category)->SetActivePage(1));
    View()->SelectCategory(category == 0 ? 1 : 0);
    View()->SelectCategory(category);
    EXPECT_EQ(View()->SheetOf(category)->GetActiveIndex(), 1);
}

TEST_F(MainWindow, F1OpensTheTopicOfThePageOnShowAndShiftF1Nothing)
{
    CWnd* companyName = View()->SheetOf(0)->GetActivePage()->GetDlgItem(IDC_COMPANY_NAME);
    MainFrame()->m_hWnd->activateWindow();
    companyName->SetFocus();
    {
        PromptScript prompts;
        prompts.Help(HID_BASE_RESOURCE + IDD_MACHINE_PAGE);
        QTest::keyClick(companyName->m_hWnd, Qt::Key_F1);
    }
    {
        PromptScript prompts;
        QTest::keyClick(companyName->m_hWnd, Qt::Key_F1, Qt::ShiftModifier);
    }
    {
        PromptScript prompts;
        prompts.Help(HID_BASE_RESOURCE + IDD_MACHINE_PAGE);
        Command(ID_HELP);   // the toolbar's "Aide"
    }
}

TEST_F(MainWindow, TheSheetTurnsF1IntoTheHelpCommandUnlessAModifierIsHeld)
{
    CCategorySheet* sheet = View()->SheetOf(0);
    CWnd* companyName = sheet->GetActivePage()->GetDlgItem(IDC_COMPANY_NAME);
    HELPINFO info;
    info.iCtrlId = IDC_COMPANY_NAME;
    info.hItemHandle = companyName->m_hWnd;
    // The modifiers held are those of the last key event: none.
    QTest::keyRelease(companyName->m_hWnd, Qt::Key_Shift, Qt::NoModifier);
    {
        PromptScript prompts;
        prompts.Help(HID_BASE_RESOURCE + IDD_MACHINE_PAGE);
        EXPECT_TRUE(sheet->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info)));
    }
    for (const auto& [key, modifier] : {std::pair{Qt::Key_Shift, Qt::ShiftModifier}, std::pair{Qt::Key_Control, Qt::ControlModifier},
                                        std::pair{Qt::Key_Alt, Qt::AltModifier}}) {
        SCOPED_TRACE(::testing::Message() << "key " << key);
        PromptScript prompts;   // passed on: nobody opens help
        QTest::keyPress(companyName->m_hWnd, key, modifier);
        sheet->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        QTest::keyRelease(companyName->m_hWnd, key, Qt::NoModifier);
    }
}

struct HelpCase {
    int category;
    int context;
};

TEST_F(MainWindow, EachCategoryNamesItsHelpTopic)
{
    for (const HelpCase& c : {HelpCase{0, IDD_MACHINE_PAGE}, HelpCase{1, IDD_FAX_SEND_PAGE}, HelpCase{2, 229},
                              HelpCase{3, IDD_MAILBOX_PAGE}, HelpCase{4, IDD_PC_FAX_PANEL}, HelpCase{6, IDD_REPORTS_PANEL}}) {
        View()->SelectCategory(c.category);
        EXPECT_EQ(View()->GetHelpContext(), c.context) << c.category;
    }
}

TEST(HelpTopics, EveryContextTheConsoleOpensHasATopic)
{
    for (int id : {130, 131, 160, 106, 132, 155, 156, 229, 230, 231, 154, 211, 157, 218, 220, 217, 215, 158, 161, 221}) {
        const QString topic = QStringLiteral(":/help/%1.html").arg(HID_BASE_RESOURCE + id, 0, 16);
        EXPECT_TRUE(QFile::exists(topic)) << topic.toStdString();
    }
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/index.html")));
}

TEST_F(MainWindow, NetworkModeListsEightCategoriesAndLeavingItReturnsToGeneral)
{
    // The command is gone from the menu; put back, it switches the mode.
    CMenu* viewMenu = MainFrame()->GetMenu()->GetSubMenu(1);
    ASSERT_TRUE(viewMenu->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_VIEW_NETWORK_MODE, "T&amsel réseau"));
    Command(ID_VIEW_NETWORK_MODE);
    EXPECT_TRUE(MainFrame()->IsNetworkMode());
    EXPECT_EQ(ListedCategories(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    View()->SelectCategory(5);
    EXPECT_EQ(MainFrame()->captionBar.captionId, UINT(IDS_CATEGORY_NETWORK));
    Command(ID_VIEW_NETWORK_MODE);
    EXPECT_FALSE(MainFrame()->IsNetworkMode());
    EXPECT_EQ(ListedCategories(), (std::vector<int>{0, 1, 2, 3, 4, 6}));
    EXPECT_EQ(View()->current, 0);
    EXPECT_EQ(MainFrame()->captionBar.captionId, UINT(IDS_CATEGORY_GENERAL));
}

TEST_F(MainWindow, ACategoryStaysCurrentAcrossNewSettings)
{
    View()->SelectCategory(3);
    Command(ID_FILE_NEW);
    EXPECT_EQ(View()->current, 3);
    EXPECT_EQ(MainFrame()->captionBar.captionId, UINT(IDS_CATEGORY_MAILBOXES));
}

} // namespace
