// The directory category of a started console, every page shown once: the phone book filled
// as tests need it, rows selected as the user clicks them, and what the lists show.
#pragma once

#include "phonebook_entries.h"
#include "startup_fixture.h"

#include "device/lib/phonebook.h"
#include "directory/directorypages.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

#include <QTableWidget>

namespace directory {

using namespace startup;

inline constexpr int kDirectoryCategory = 2;
enum Tab { speedDialTab = 0, oneTouchTab = 1, groupTab = 2 };

inline QTableWidget* Table(CListCtrl& list)
{
    return qobject_cast<QTableWidget*>(list.m_hWnd);
}

// The texts of a column, top to bottom.
inline QStringList Column(CListCtrl& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts << list.GetItemText(row, column);
    return texts;
}

inline QStringList Headings(CListCtrl& list)
{
    QStringList headings;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        headings << Table(list)->horizontalHeaderItem(column)->text();
    return headings;
}

// The rows show exactly the entries of the list, in its order.
inline void ExpectRowsShow(CListCtrl& list, const CObList& entries)
{
    std::vector<CObject*> shown, held;
    for (int row = 0; row < list.GetItemCount(); ++row)
        shown.push_back(reinterpret_cast<CObject*>(list.GetItemData(row)));
    for (POSITION pos = entries.GetHeadPosition(); pos;)
        held.push_back(entries.GetNext(pos));
    EXPECT_EQ(shown, held);
}

// Where the row stands in the list's viewport, scrolled into view.
inline QPoint RowCenter(QTableWidget* table, int row)
{
    const QModelIndex index = table->model()->index(row, 0);
    table->scrollTo(index);
    return table->visualRect(index).center();
}

// Clicks the rows as the user does: the first alone, the others with Ctrl held.
inline void SelectRows(CListCtrl& list, std::initializer_list<int> rows)
{
    QTableWidget* table = Table(list);
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    for (int row : rows) {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, RowCenter(table, row));
        modifiers = Qt::ControlModifier;
    }
}

// Double-clicks the row as the user does.
inline void DoubleClickRow(CListCtrl& list, int row)
{
    QTableWidget* table = Table(list);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, RowCenter(table, row));
}

class Directory : public StartedConsole {
protected:
    void SetUp() override
    {
        StartedConsole::SetUp();
        view = dynamic_cast<CNtsView*>(Frame()->GetActiveView());
        ASSERT_NE(view, nullptr);
        view->SelectCategory(kDirectoryCategory);
        sheet = view->SheetOf(kDirectoryCategory);
        ASSERT_NE(sheet, nullptr);
        ASSERT_EQ(sheet->GetPageCount(), 3);
        Frame()->m_hWnd->activateWindow();
        // Every page shown once, so that each has its window and its list.
        for (int tab : {groupTab, oneTouchTab, speedDialTab})
            Show(tab);
        Document()->SetModifiedFlag(FALSE);
    }

    CPhoneBook& Book() { return Document()->config.phoneBook; }
    CDirectoryPage& Page(int tab) { return *dynamic_cast<CDirectoryPage*>(sheet->GetPage(tab)); }
    CListCtrl& List(int tab) { return Page(tab).list; }
    BOOL Enabled(int tab, int id) { return Page(tab).GetDlgItem(id)->IsWindowEnabled(); }
    void Show(int tab) { ASSERT_TRUE(sheet->SetActivePage(tab)); }
    void Reload() { Document()->UpdateAllViews(nullptr, 0, nullptr); }

    CSpeedDial* AddSpeedDial(int number, const CString& name) { return phonebooktest::AddSpeedDial(Book(), number, name); }
    COneTouch* AddKey(int number, CObject* ref) { return phonebooktest::AddKey(Book(), number, ref); }
    COneTouch* AddOwnKey(int number, const CString& name) { return phonebooktest::AddOwnKey(Book(), number, name); }
    CGroupDial* AddGroup(int number, const CString& name, std::initializer_list<CObject*> members)
    {
        return phonebooktest::AddGroup(Book(), number, name, members);
    }

    // Speed dials 1..5, a key for speed dial 5 and one for the group, two keys of their own,
    // a group holding speed dials 2 and 5 and key 3, and a group holding key 4.
    void FillDirectory()
    {
        for (int n = 1; n <= 5; ++n)
            AddSpeedDial(n, CString("Agence ") + FormatId(n, 1));
        CGroupDial* second = AddGroup(2, "Équipe nuit", {});
        AddKey(1, Book().GetSpeedDial(5));
        AddKey(2, second);
        COneTouch* three = AddOwnKey(3, "Hôtel Bellevue");
        COneTouch* four = AddOwnKey(4, "Mairie");
        AddGroup(1, "Équipe jour", {Book().GetSpeedDial(2), Book().GetSpeedDial(5), three});
        second->members.AddTail(four);
        Reload();
    }

    // After any change: every created list shows exactly its part of the phone book.
    void ExpectListsShowTheBook()
    {
        SCOPED_TRACE("lists against the phone book");
        ExpectRowsShow(List(speedDialTab), Book().GetSpeedDials());
        ExpectRowsShow(List(oneTouchTab), Book().GetOneTouches());
        ExpectRowsShow(List(groupTab), Book().GetGroupDials());
    }

    CNtsView* view = nullptr;
    CCategorySheet* sheet = nullptr;
};

} // namespace directory
