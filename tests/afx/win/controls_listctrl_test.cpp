#include "controls_fixture.h"

#include "afx/win/listctrl.h"

#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTest>
#include <string>
#include <vector>

namespace {

enum : int { IDD_ENTRIES = 300, IDC_ENTRIES = 1121, IDC_SINGLE = 1283 };

const QByteArray kScript = testctl::DialogScript(300, "Entrées", 220, 160, R"(
    CONTROL         "",1121,"SysListView32",LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,7,7,200,100
    CONTROL         "",1283,"SysListView32",LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,7,110,200,40
)");

class CEntriesDlg : public CDialog {
public:
    CEntriesDlg() : CDialog(IDD_ENTRIES) {}
    std::vector<std::string> calls;

    void OnItemChanged(NMHDR* header, LRESULT* result)
    {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        calls.push_back("changed " + std::to_string(change->iItem) + " " + std::to_string(change->uOldState) + ">"
                        + std::to_string(change->uNewState) + " data " + std::to_string(change->lParam));
        *result = 0;
    }
    void OnDoubleClick(NMHDR* header, LRESULT*)
    {
        calls.push_back("dblclk " + std::to_string(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEntriesDlg, CDialog)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_ENTRIES, &CEntriesDlg::OnItemChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_ENTRIES, &CEntriesDlg::OnDoubleClick)
END_MESSAGE_MAP()

class ListCtrlTest : public testctl::ControlDialogs {
protected:
    ListCtrlTest() : ControlDialogs(kScript) {}

    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(IDD_ENTRIES));
        for (int id : {IDC_ENTRIES, IDC_SINGLE}) {
            CListCtrl& list = List(id);
            list.InsertColumn(0, "Numéro", LVCFMT_LEFT, 70);
            list.InsertColumn(1, "Nom", LVCFMT_LEFT, 120);
        }
    }

    CListCtrl& List(int id) { return *static_cast<CListCtrl*>(dialog.GetDlgItem(id)); }

    // Rows numbered from 1 to count, each with its number as item data and a name.
    void Fill(CListCtrl& list, int count)
    {
        for (int n = 1; n <= count; ++n) {
            const int row =
                list.InsertItem(LVIF_TEXT | LVIF_PARAM, list.GetItemCount(), QString::number(n), 0, 0, 0, n);
            list.SetItemText(row, 1, QStringLiteral("nom %1").arg(n));
        }
    }

    std::vector<int> DataOfRows(CListCtrl& list)
    {
        std::vector<int> data;
        for (int row = 0; row < list.GetItemCount(); ++row)
            data.push_back(int(list.GetItemData(row)));
        return data;
    }

    std::vector<int> Selected(CListCtrl& list)
    {
        std::vector<int> rows;
        for (int row = list.GetNextItem(-1, LVNI_SELECTED); row != -1; row = list.GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }

    QPoint CenterOfRow(CListCtrl& list, int row)
    {
        auto* table = qobject_cast<QTableWidget*>(list.m_hWnd);
        return table->visualRect(table->model()->index(row, 0)).center();
    }

    CEntriesDlg dialog;
};

TEST_F(ListCtrlTest, RowsHoldTheirTextsAndDataWhereverTheyAreInserted)
{
    CListCtrl& list = List(IDC_ENTRIES);
    EXPECT_EQ(list.GetColumnCount(), 2);
    auto* table = qobject_cast<QTableWidget*>(list.m_hWnd);
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Nom"));
    EXPECT_EQ(table->columnWidth(1), 120);

    // Sorted insertion by number, as the list pages do it.
    for (int number : {5, 3, 9, 5}) {
        int row = 0;
        while (row < list.GetItemCount() && int(list.GetItemData(row)) <= number)
            ++row;
        EXPECT_EQ(list.InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_STATE, row, QString::number(number), 0,
                                  LVIS_SELECTED, 0, number),
                  row);
        list.SetItemText(row, 1, QStringLiteral("nom %1").arg(number));
    }
    EXPECT_EQ(DataOfRows(list), (std::vector<int>{3, 5, 5, 9}));
    EXPECT_EQ(QString(list.GetItemText(3, 0)), QStringLiteral("9"));
    EXPECT_EQ(QString(list.GetItemText(0, 1)), QStringLiteral("nom 3"));
    EXPECT_EQ(list.InsertItem(99, "fin"), 4);   // past the end: appended
    EXPECT_FALSE(list.SetItemText(0, 2, "pas de colonne"));
    EXPECT_FALSE(list.SetItemText(7, 0, "pas de ligne"));

    LVFINDINFO find;
    find.flags = LVFI_PARAM;
    find.lParam = 5;
    EXPECT_EQ(list.FindItem(&find), 1);
    EXPECT_EQ(list.FindItem(&find, 1), 2);
    EXPECT_EQ(list.FindItem(&find, 2), -1);
    find.flags = LVFI_STRING;
    find.psz = "FIN";
    EXPECT_EQ(list.FindItem(&find), 4);
}

TEST_F(ListCtrlTest, ColumnsGoOneByOneAndRowsKeepTheirOwnTextWithoutAny)
{
    CListCtrl& list = List(IDC_ENTRIES);
    Fill(list, 2);
    int deleted = 0;
    while (list.DeleteColumn(0))
        ++deleted;
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(list.GetColumnCount(), 0);
    EXPECT_EQ(QString(list.GetItemText(1, 0)), QStringLiteral("nom 2"));

    list.DeleteAllItems();
    list.InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_STATE, 0, "7", LVIS_SELECTED, LVIS_SELECTED, 0, 7);
    EXPECT_EQ(QString(list.GetItemText(0, 0)), QStringLiteral("7"));
    EXPECT_EQ(list.GetItemData(0), DWORD_PTR(7));
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.InsertColumn(0, "Numéro", LVCFMT_LEFT, 50), 0);
    EXPECT_EQ(Selected(list), std::vector<int>{0});
    EXPECT_EQ(QString(list.GetItemText(0, 0)), QStringLiteral("7"));

    // A column put in front moves the texts right and leaves the rows' states alone.
    EXPECT_EQ(list.InsertColumn(0, "ID", LVCFMT_RIGHT, 40), 0);
    EXPECT_EQ(Selected(list), std::vector<int>{0});
    EXPECT_EQ(QString(list.GetItemText(0, 1)), QStringLiteral("7"));
    EXPECT_EQ(list.GetItemData(0), DWORD_PTR(7));
}

TEST_F(ListCtrlTest, CellsStandAsTheirColumnsFormatSays)
{
    // The alignment the view's delegate draws a cell with, from the view's default.
    struct Delegate : QStyledItemDelegate {
        Qt::Alignment Shown(const QModelIndex& index) const
        {
            QStyleOptionViewItem option;
            option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
            initStyleOption(&option, index);
            return option.displayAlignment;
        }
    };
    CListCtrl& list = List(IDC_ENTRIES);
    list.InsertColumn(2, "Pages", LVCFMT_RIGHT, 50);
    list.InsertColumn(3, "État", LVCFMT_CENTER, 50);
    Fill(list, 1);
    list.SetItemText(0, 2, "12");
    list.SetItemText(0, 3, "oui");
    const auto* table = qobject_cast<QTableWidget*>(list.m_hWnd);
    const Qt::Alignment shown[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(Delegate().Shown(table->model()->index(0, column)), shown[column] | Qt::AlignVCenter) << column;
}

TEST_F(ListCtrlTest, SeveralSelectedRowsAreWalkedInListOrder)
{
    CListCtrl& list = List(IDC_ENTRIES);
    Fill(list, 6);
    for (int row : {4, 1, 3})
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 3u);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3, 4}));

    std::vector<int> walked;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
        walked.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ(walked, (std::vector<int>{1, 3, 4}));

    list.SetItemState(3, 0, LVIS_SELECTED);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 4}));
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);

    // A single-selection list keeps one.
    CListCtrl& single = List(IDC_SINGLE);
    Fill(single, 3);
    single.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    single.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Selected(single), std::vector<int>{2});
}

// The list pages' deletion: take the first selected row away until none is selected.
TEST_F(ListCtrlTest, DeletingTheSelectedRowsOneByOneKeepsTheOthersAndTheirData)
{
    struct Case {
        int list;
        std::vector<int> selected;
        int focused;
        std::vector<int> remaining;
    } cases[] = {
        {IDC_ENTRIES, {1, 3, 4}, 3, {1, 3, 6}},
        {IDC_ENTRIES, {0, 5}, 5, {2, 3, 4, 5}},
        {IDC_ENTRIES, {2}, 0, {1, 2, 4, 5, 6}},
        {IDC_SINGLE, {2}, 2, {1, 2, 4, 5, 6}},
        {IDC_SINGLE, {5}, 5, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "list " << c.list);
        CListCtrl& list = List(c.list);
        list.DeleteAllItems();
        Fill(list, 6);
        for (int row : c.selected)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        list.SetItemState(c.focused, LVIS_FOCUSED, LVIS_FOCUSED);
        int deletions = 0;
        for (int row = list.GetNextItem(-1, LVNI_SELECTED); row != -1 && deletions < 6;
             row = list.GetNextItem(-1, LVNI_SELECTED)) {
            ASSERT_TRUE(list.DeleteItem(row));
            ++deletions;
        }
        EXPECT_EQ(deletions, int(c.selected.size())) << "list " << c.list;
        EXPECT_EQ(DataOfRows(list), c.remaining) << "list " << c.list;
        EXPECT_EQ(QString(list.GetItemText(0, 1)), QStringLiteral("nom %1").arg(c.remaining[0]));
    }
}

TEST_F(ListCtrlTest, ARowInsertedInsideASelectedRangeIsNotSelected)
{
    CListCtrl& list = List(IDC_ENTRIES);
    Fill(list, 4);
    ShowActive(dialog);
    list.m_hWnd->setFocus();
    QTest::keyClick(list.m_hWnd, Qt::Key_A, Qt::ControlModifier);   // one range over every row
    ASSERT_EQ(list.GetSelectedCount(), 4u);
    list.InsertItem(LVIF_TEXT | LVIF_PARAM, 2, "10", 0, 0, 0, 10);
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 1, 3, 4}));
}

TEST_F(ListCtrlTest, TheParentsMapHearsDoubleClicksAndStateChanges)
{
    CListCtrl& list = List(IDC_ENTRIES);
    Fill(list, 3);
    ShowActive(dialog);   // the list takes the focus, and its first row the focus state
    auto* viewport = qobject_cast<QTableWidget*>(list.m_hWnd)->viewport();

    dialog.calls.clear();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, CenterOfRow(list, 1));
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"changed 0 1>0 data 1", "changed 1 0>3 data 2"}));

    dialog.calls.clear();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, CenterOfRow(list, 2));
    ASSERT_FALSE(dialog.calls.empty());
    EXPECT_EQ(dialog.calls.back(), "dblclk 2");
    EXPECT_EQ(Selected(list), std::vector<int>{2});

    dialog.calls.clear();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));   // below the rows
    ASSERT_FALSE(dialog.calls.empty());
    EXPECT_EQ(dialog.calls.back(), "dblclk -1");

    // The program's state changes notify as the user's do.
    dialog.calls.clear();
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"changed 0 0>2 data 1"});
}

} // namespace
