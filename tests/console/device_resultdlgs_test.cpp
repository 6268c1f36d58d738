// The reports of a device operation: the failure dialog with its details part, and the list
// of mailboxes the device kept.
#include "device_fixture.h"

#include "dialogs/detailsmessagedlg.h"
#include "dialogs/unchangedmailboxesdlg.h"

#include <vector>

namespace {

bool Shown(CDialog& dialog, int id)
{
    return dialog.GetDlgItem(id)->GetStyle() & WS_VISIBLE;
}

CString Text(CDialog& dialog, int id)
{
    CString text;
    dialog.GetDlgItemText(id, text);
    return text;
}

TEST(DetailsMessageDlgTest, OpensCollapsedAndSwitchesBetweenTwoHeights)
{
    struct Case {
        UINT message;
        const char* details;
    };
    for (const Case& c : {Case{IDP_READ_FAILED, "Le périphérique ne répond pas."}, Case{IDP_UPDATE_FAILED, ""}}) {
        SCOPED_TRACE(c.message);
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_DETAILS_MESSAGE, [&](CDialog& dialog) {
            EXPECT_EQ(Text(dialog, IDC_DETAILS_MESSAGE), LoadText(c.message));
            EXPECT_EQ(Text(dialog, IDC_DETAILS_TEXT), CString(c.details));
            CString caption;
            dialog.GetWindowText(caption);
            EXPECT_EQ(caption, LoadText(AFX_IDS_APP_TITLE));
            EXPECT_EQ(static_cast<CStatic*>(dialog.GetDlgItem(IDC_DETAILS_ICON))->GetIcon(), AfxLoadStandardIcon(IDI_HAND));

            // Collapsed: the details box lies below the window's client area.
            const int collapsed = WindowRect(dialog).Height();
            CRect box = WindowRect(*dialog.GetDlgItem(IDC_DETAILS_TEXT));
            dialog.ScreenToClient(box);
            CRect client;
            dialog.GetClientRect(client);
            EXPECT_GE(box.top, client.bottom);
            EXPECT_TRUE(Shown(dialog, IDC_DETAILS_EXPAND));
            EXPECT_FALSE(Shown(dialog, IDC_DETAILS_COLLAPSE));

            const int height = static_cast<CDetailsMessageDlg&>(dialog).collapseHeight;
            EXPECT_GT(height, box.Height());
            const CPoint topLeft = WindowRect(dialog).TopLeft();
            for (int round = 0; round < 3; ++round) {
                Click(dialog, IDC_DETAILS_EXPAND);
                EXPECT_EQ(WindowRect(dialog).Height(), collapsed + height);
                EXPECT_FALSE(Shown(dialog, IDC_DETAILS_EXPAND));
                EXPECT_TRUE(Shown(dialog, IDC_DETAILS_COLLAPSE));
                dialog.GetClientRect(client);
                EXPECT_GE(client.bottom, box.bottom);
                Click(dialog, IDC_DETAILS_COLLAPSE);
                EXPECT_EQ(WindowRect(dialog).Height(), collapsed);
                EXPECT_TRUE(Shown(dialog, IDC_DETAILS_EXPAND));
                EXPECT_EQ(WindowRect(dialog).TopLeft(), topLeft);
            }
            dialog.EndDialog(IDOK);
        });
        CDetailsMessageDlg(LoadText(c.message), c.details, nullptr).DoModal();
    }
}

TEST(UnchangedMailboxesDlgTest, ListsTheNumbersInTextOrder)
{
    CStringArray numbers;
    for (const char* number : {"3", "12", "007", "2"})
        numbers.Add(number);
    afx::testing::PromptScript prompts;
    prompts.Dialog(IDD_UNCHANGED_MAILBOXES, [](CDialog& dialog) {
        auto* list = static_cast<CListBox*>(dialog.GetDlgItem(IDC_UNCHANGED_MAILBOX_LIST));
        std::vector<CString> shown;
        for (int i = 0; i < list->GetCount(); ++i) {
            CString text;
            list->GetText(i, text);
            shown.push_back(text);
        }
        EXPECT_EQ(shown, (std::vector<CString>{"007", "12", "2", "3"}));
        EXPECT_EQ(list->GetCurSel(), 0);
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(caption, LoadText(AFX_IDS_APP_TITLE));
        EXPECT_EQ(static_cast<CStatic*>(dialog.GetDlgItem(IDC_UNCHANGED_ICON))->GetIcon(),
                  AfxLoadStandardIcon(IDI_EXCLAMATION));
        dialog.GetDlgItem(IDOK)->SendMessage(BM_CLICK);
    });
    EXPECT_EQ(CUnchangedMailboxesDlg(&numbers, nullptr).DoModal(), IDOK);
    EXPECT_EQ(numbers.GetSize(), 4);
    EXPECT_EQ(numbers[0], CString("3"));
}

} // namespace
