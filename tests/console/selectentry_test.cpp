// The selection dialog: which entries it lists and preselects, its title and columns, and
// what OK, a double click and an empty selection give back.
#include "support/helpers.h"

#include "afx/win/testing.h"
#include "device/lib/phonebook.h"
#include "pages/selectentrydlg.h"
#include "res/resource.h"

#include <QTableWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Speed dials 4 and 12, one-touch keys 2 (for speed dial 4) and 7, group 30.
struct Directory {
    CPhoneBook phoneBook;
    Directory()
    {
        auto* first = new CSpeedDial(4);
        first->GetDialingData()->name = "Étude Marçal";
        phoneBook.Add(first);
        auto* second = new CSpeedDial(12);
        second->GetDialingData()->name = "Atelier";
        phoneBook.Add(second);
        phoneBook.Add(new COneTouch(2, first));
        phoneBook.Add(new COneTouch(7, phoneBook.NewDialingData()));
        phoneBook.Add(new CGroupDial(30, "Agences"));
    }
};

CListCtrl& List(CDialog& dialog)
{
    return *static_cast<CListCtrl*>(dialog.GetDlgItem(IDC_ENTRY_LIST));
}

CString ColumnHeadings(CListCtrl& list)
{
    auto* table = qobject_cast<QTableWidget*>(list.m_hWnd);
    QStringList headings;
    for (int column = 0; column < table->columnCount(); ++column)
        headings << table->horizontalHeaderItem(column)->text();
    return headings.join(u'|');
}

CString Rows(CListCtrl& list)
{
    QStringList rows;
    for (int row = 0; row < list.GetItemCount(); ++row)
        rows << QString(list.GetItemText(row, 0));
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
        rows[row] += u'*';
    return rows.join(u' ');
}

struct Outcome {
    INT_PTR result;
    int number;
    std::vector<afx::Prompt> shown;
};

Outcome RunDialog(Directory& directory, int kind, int number, const std::function<void(CDialog&)>& work,
                  const std::function<void(afx::testing::PromptScript&)>& inside = {})
{
    CSelectEntryDlg dialog(&directory.phoneBook, kind, number, nullptr);
    const ModalOutcome outcome = RunModal(dialog, work, inside);
    return {outcome.result, dialog.number, outcome.shown};
}

TEST(SelectEntryDlgTest, ListsTheKindWithItsTitleColumnsAndPreselection)
{
    struct Case {
        const char* name;
        int kind;
        int number;
        const char* title;
        const char* headings;
        const char* rows;
    };
    const Case cases[] = {
        {"speed dials", 1, 12, "Sélectionner Composition abrégée", "Numéro|Nom|Comp. abrégée/de groupe/Fax", "004 012*"},
        {"one-touch keys, none has the number", 2, 5, "Sélectionner Composition instantanée",
         "Numéro|Type|Nom|Comp. abrégée/de groupe/Fax", "02 07"},
        {"groups for any other kind", 0, 30, "Sélectionner Composition de groupe", "Numéro|Nom", "0030*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Directory directory;
        RunDialog(directory, c.kind, c.number, [&](CDialog& dialog) {
            CString title;
            dialog.GetWindowText(title);
            EXPECT_EQ(title, CString(c.title));
            EXPECT_EQ(ColumnHeadings(List(dialog)), CString(c.headings));
            EXPECT_EQ(Rows(List(dialog)), CString(c.rows));
        });
    }
}

TEST(SelectEntryDlgTest, OkAndDoubleClickGiveTheChosenNumberNothingChosenIsRefused)
{
    Directory directory;
    // Nothing preselected: OK asks for a selection and the dialog stays open.
    Outcome outcome = RunDialog(
        directory, 2, 5,
        [](CDialog& dialog) {
            Click(dialog, IDOK);
            EXPECT_FALSE(dialog.IsEnded());
            List(dialog).SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
            Click(dialog, IDOK);
        },
        [](afx::testing::PromptScript& prompts) { prompts.MessageBox(IDOK, "Faire une sélection"); });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.number, 7);
    ASSERT_EQ(outcome.shown.size(), 2u);
    EXPECT_EQ(outcome.shown[1].type, UINT(MB_OK | MB_ICONERROR));

    outcome = RunDialog(directory, 1, 0, [](CDialog& dialog) {
        auto* table = qobject_cast<QTableWidget*>(List(dialog).m_hWnd);
        const QRect place = table->visualItemRect(table->item(1, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, place.center());
    });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.number, 12);

    // Cancel leaves the number it was given.
    outcome = RunDialog(directory, 1, 4, [](CDialog& dialog) { Click(dialog, IDCANCEL); });
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(outcome.number, 4);
}

TEST(SelectEntryDlgTest, HelpShowsItsTopic)
{
    Directory directory;
    const Outcome outcome = RunDialog(
        directory, 1, 4, [](CDialog& dialog) { Click(dialog, IDHELP); },
        [](afx::testing::PromptScript& prompts) { prompts.Help(HID_BASE_RESOURCE + IDD_SELECT_ENTRY); });
    EXPECT_EQ(outcome.result, IDCANCEL);
}

} // namespace
