#include "controls_fixture.h"

#include "afx/win/gdi.h"
#include "afx/win/listbox.h"

#include <QAccessible>
#include <QPainter>
#include <QTest>
#include <string>
#include <vector>

namespace {

enum : int { IDD_LISTS = 200, IDC_CATEGORIES = 1278, IDC_NUMBERS = 1121 };

const QByteArray kScript = testctl::DialogScript(200, "Listes", 160, 120, R"(
    LISTBOX         1278,4,4,70,100,LBS_OWNERDRAWVARIABLE | WS_VSCROLL
    LISTBOX         1121,80,4,70,60,LBS_SORT | WS_VSCROLL
)");

// An owner-drawn list without strings whose items are 20, 30, 40 ... pixels high by their data.
class CRecordingListBox : public CListBox {
public:
    struct Drawing {
        UINT item;
        UINT action;
        UINT state;
        bool operator==(const Drawing&) const = default;
    };
    std::vector<DWORD_PTR> measured;
    std::vector<Drawing> drawn;
    std::vector<CRect> drawnRects;
    int erased = 0;

    void MeasureItem(LPMEASUREITEMSTRUCT measure) override
    {
        measured.push_back(measure->itemData);
        measure->itemHeight = UINT(20 + 10 * measure->itemData);
    }
    void DrawItem(LPDRAWITEMSTRUCT draw) override
    {
        drawn.push_back({draw->itemID, draw->itemAction, draw->itemState});
        drawnRects.push_back(draw->rcItem);
        draw->hDC->fillRect(QRect(draw->rcItem), draw->itemState & ODS_SELECTED ? Qt::white : Qt::gray);
    }
    CString GetItemAccessibleName(int index) const override
    {
        return "Catégorie " + CString(QString::number(GetItemData(index)));
    }
    BOOL OnEraseBkgnd(CDC* dc)
    {
        ++erased;
        dc->FillSolidRect(CRect(m_hWnd->rect()), RGB(10, 65, 65));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingListBox, CListBox)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class CListsDlg : public CDialog {
public:
    CListsDlg() : CDialog(IDD_LISTS) {}
    CRecordingListBox categories;
    std::vector<std::string> calls;

    BOOL OnInitDialog() override
    {
        categories.SubclassDlgItem(IDC_CATEGORIES, this);
        return CDialog::OnInitDialog();
    }
    void OnSelChange() { calls.push_back("selchange " + std::to_string(categories.GetCurSel())); }
    void OnDoubleClick() { calls.push_back("dblclk " + std::to_string(categories.GetCurSel())); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListsDlg, CDialog)
    ON_LBN_SELCHANGE(IDC_CATEGORIES, &CListsDlg::OnSelChange)
    ON_LBN_DBLCLK(IDC_CATEGORIES, &CListsDlg::OnDoubleClick)
END_MESSAGE_MAP()

class ListBoxTest : public testctl::ControlDialogs {
protected:
    ListBoxTest() : ControlDialogs(kScript) {}

    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_LISTS));
        // Item values as the category bar adds them: the value rides in the string argument.
        for (intptr_t category = 0; category < 3; ++category)
            dialog.categories.AddString(reinterpret_cast<LPCTSTR>(category));
    }

    QPoint CenterOf(int item)
    {
        CRect rect;
        dialog.categories.GetItemRect(item, rect);
        return QRect(rect).center();
    }

    CListsDlg dialog;
};

using Drawing = CRecordingListBox::Drawing;

TEST_F(ListBoxTest, VariableItemsAreMeasuredOnceEachAndStackedByHeight)
{
    CRecordingListBox& list = dialog.categories;
    EXPECT_EQ(list.measured, (std::vector<DWORD_PTR>{0, 1, 2}));
    EXPECT_EQ(list.GetCount(), 3);
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(list.GetItemData(item), DWORD_PTR(item));

    CRect rect;
    ASSERT_NE(list.GetItemRect(1, rect), LB_ERR);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.bottom, 50);
    EXPECT_EQ(list.GetItemHeight(2), 40);
    EXPECT_EQ(list.GetItemRect(3, rect), LB_ERR);
}

TEST_F(ListBoxTest, ItemFromPointTellsWhetherThePointIsReallyOverTheItem)
{
    CRect client;
    dialog.categories.GetClientRect(client);
    ASSERT_GT(client.Height(), 100) << "the three items (90 pixels) must leave room below them";
    struct Case {
        CPoint point;
        UINT item;
        BOOL outside;
    } cases[] = {
        {{5, 5}, 0, FALSE},
        {{5, 25}, 1, FALSE},
        {{5, 89}, 2, FALSE},
        {{5, 95}, 2, TRUE},                       // below the last item
        {{-3, 25}, 1, TRUE},                      // left of the list: the item level with it
        {{5, -10}, 0, TRUE},                      // above the list
        {{5, int(client.bottom) + 40}, 2, TRUE},  // below the list
    };
    for (const Case& c : cases) {
        BOOL outside = -1;
        EXPECT_EQ(dialog.categories.ItemFromPoint(c.point, outside), c.item) << c.point.x << "," << c.point.y;
        EXPECT_EQ(outside, c.outside) << c.point.x << "," << c.point.y;
    }

    dialog.categories.ResetContent();
    BOOL outside = FALSE;
    EXPECT_EQ(dialog.categories.ItemFromPoint(CPoint(5, 5), outside), 65535u);
    EXPECT_TRUE(outside);
}

TEST_F(ListBoxTest, APaintErasesThroughTheClassAndDrawsEveryItemEntire)
{
    CRecordingListBox& list = dialog.categories;
    dialog.m_hWnd->show();
    const QImage shown = list.m_hWnd->grab().toImage();
    EXPECT_GT(list.erased, 0);
    EXPECT_EQ(list.drawn,
              (std::vector<Drawing>{{0, ODA_DRAWENTIRE, 0}, {1, ODA_DRAWENTIRE, 0}, {2, ODA_DRAWENTIRE, 0}}));
    EXPECT_EQ(list.drawnRects[2], CRect(0, 50, list.drawnRects[2].right, 90));
    // The items over the background the class erased.
    EXPECT_EQ(shown.pixelColor(5, 60), QColor(Qt::gray));
    EXPECT_EQ(shown.pixelColor(5, 95), QColor(10, 65, 65));

    // An invalidated item is erased and drawn again, alone.
    QApplication::processEvents();
    list.drawn.clear();
    CRect second;
    list.GetItemRect(1, second);
    list.InvalidateRect(second);
    QApplication::processEvents();
    EXPECT_EQ(list.drawn, (std::vector<Drawing>{{1, ODA_DRAWENTIRE, 0}}));
}

TEST_F(ListBoxTest, SelectionAndFocusChangesDrawTheItemsInvolvedAtOnce)
{
    CRecordingListBox& list = dialog.categories;
    ShowActive(dialog);
    list.m_hWnd->grab();
    list.drawn.clear();

    QTest::mouseClick(list.m_hWnd, Qt::LeftButton, {}, CenterOf(1));
    EXPECT_EQ(list.drawn, (std::vector<Drawing>{{1, ODA_SELECT, ODS_SELECTED | ODS_FOCUS},
                                                {1, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}));
    list.drawn.clear();
    QTest::mouseClick(list.m_hWnd, Qt::LeftButton, {}, CenterOf(2));
    EXPECT_EQ(list.drawn, (std::vector<Drawing>{{1, ODA_FOCUS, 0}, {1, ODA_SELECT, 0},
                                                {2, ODA_SELECT, ODS_SELECTED | ODS_FOCUS},
                                                {2, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}));
    // The list shows what the items drew.
    EXPECT_EQ(list.m_hWnd->grab().toImage().pixelColor(CenterOf(2)), QColor(Qt::white));
}

TEST_F(ListBoxTest, TheUsersSelectionNotifiesTheParentTheProgramsDoesNot)
{
    CRecordingListBox& list = dialog.categories;
    ShowActive(dialog);
    QTest::mouseClick(list.m_hWnd, Qt::LeftButton, {}, CenterOf(1));
    QTest::mouseClick(list.m_hWnd, Qt::LeftButton, {}, CenterOf(1));   // no change, no notification
    QTest::keyClick(list.m_hWnd, Qt::Key_Down);
    EXPECT_EQ(list.SetCurSel(0), 0);
    QTest::mouseDClick(list.m_hWnd, Qt::LeftButton, {}, CenterOf(2));
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"selchange 1", "selchange 2", "selchange 2", "dblclk 2"}));
    EXPECT_EQ(list.SetCurSel(3), LB_ERR);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
}

TEST_F(ListBoxTest, ASortedListOfStringsKeepsItsItemsInTextOrder)
{
    auto* numbers = static_cast<CListBox*>(dialog.GetDlgItem(IDC_NUMBERS));
    ASSERT_TRUE(numbers->IsKindOf(RUNTIME_CLASS(CListBox)));
    for (const char* number : {"12", "3", "100", "b", "A"})
        numbers->AddString(number);
    auto texts = [numbers] {
        QStringList all;
        for (int i = 0; i < numbers->GetCount(); ++i) {
            CString text;
            numbers->GetText(i, text);
            all << text;
        }
        return all;
    };
    EXPECT_EQ(texts(), (QStringList{"100", "12", "3", "A", "b"}));
    numbers->SetCurSel(0);
    numbers->ResetContent();
    EXPECT_EQ(numbers->GetCount(), 0);
    EXPECT_EQ(numbers->GetCurSel(), LB_ERR);
}

// A screen reader reads the list's items: their strings, or the names a list of painted items
// gives them.
TEST_F(ListBoxTest, AScreenReaderReadsEachItemsName)
{
    auto* numbers = static_cast<CListBox*>(dialog.GetDlgItem(IDC_NUMBERS));
    for (const char* number : {"12", "3"})
        numbers->AddString(number);
    numbers->SetCurSel(1);
    struct Case {
        const char* name;
        CListBox* list;
        QStringList items;
        int selected;
    };
    const Case cases[] = {
        {"strings", numbers, {"12", "3"}, 1},
        {"painted items", &dialog.categories, {"Catégorie 0", "Catégorie 1", "Catégorie 2"}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(c.list->m_hWnd);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->role(), QAccessible::List);
        ASSERT_EQ(list->childCount(), c.items.size());
        QStringList names;
        for (int index = 0; index < list->childCount(); ++index) {
            QAccessibleInterface* item = list->child(index);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->role(), QAccessible::ListItem);
            EXPECT_EQ(item->parent(), list);
            EXPECT_EQ(list->indexOfChild(item), index);
            EXPECT_EQ(item->state().selected, index == c.selected);
            names << item->text(QAccessible::Name);
        }
        EXPECT_EQ(names, c.items);
    }
    // Emptied, the list has no item to read; an item asked for again is read afresh.
    numbers->ResetContent();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(numbers->m_hWnd);
    EXPECT_EQ(list->childCount(), 0);
    EXPECT_EQ(list->child(0), nullptr);
    numbers->AddString("7");
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "7");
}

TEST_F(ListBoxTest, SelectingAnItemOutOfSightScrollsItIntoView)
{
    CRecordingListBox& list = dialog.categories;
    for (intptr_t value = 3; value < 10; ++value)
        list.AddString(reinterpret_cast<LPCTSTR>(value));
    list.SetCurSel(9);
    EXPECT_GT(list.GetTopIndex(), 0);
    CRect rect, client;
    list.GetItemRect(9, rect);
    list.GetClientRect(client);
    EXPECT_LE(rect.bottom, client.bottom);
    list.GetItemRect(0, rect);
    EXPECT_LT(rect.bottom, 0);   // scrolled away above

    BOOL outside = TRUE;
    EXPECT_EQ(list.ItemFromPoint(CPoint(5, 1), outside), UINT(list.GetTopIndex()));
    EXPECT_FALSE(outside);
}

} // namespace
