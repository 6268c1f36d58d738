#include "mailboxes/mailboxpage.h"

#include "device/lib/mailboxes.h"
#include "mailboxes/mailboxdlgs.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CMailBoxPage, CListPage)

BEGIN_MESSAGE_MAP(CMailBoxPage, CListPage)
    ON_NOTIFY(NM_DBLCLK, IDC_ENTRY_LIST, &CMailBoxPage::OnListDoubleClickChecked)
    ON_BN_CLICKED(IDC_MODIFY, &CMailBoxPage::OnModifyChecked)
    ON_BN_CLICKED(IDC_DELETE, &CMailBoxPage::OnDeleteChecked)
    ON_BN_CLICKED(IDC_DELETE_ALL, &CMailBoxPage::OnDeleteAllChecked)
END_MESSAGE_MAP()

namespace {
BOOL Confirmed(UINT questionId)
{
    return AfxMessageBox(questionId, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
} // namespace

CMailBoxPage::CMailBoxPage(CMailBoxes* mailBoxes, CPhoneBook* phoneBook)
    : CListPage(&CMailBox::max_count, IDD_MAILBOX_PAGE), mailBoxes(mailBoxes), phoneBook(phoneBook)
{
}

CObList* CMailBoxPage::GetList(UINT& columnsId)
{
    columnsId = IDS_MAILBOX_COLUMNS;
    return mailBoxes;
}

CDialog* CMailBoxPage::CreateEntryDialog(CObject* entry)
{
    return new CMailBoxEntryDlg(mailBoxes, phoneBook, static_cast<CMailBox*>(entry), this);
}

void CMailBoxPage::DeleteEntry(CObject* entry)
{
    if (POSITION pos = mailBoxes->Find(entry)) {
        mailBoxes->RemoveAt(pos);
        delete entry;
    }
}

void CMailBoxPage::DeleteAllEntries()
{
    mailBoxes->DeleteContents();
}

BOOL CMailBoxPage::IsBusy(int row)
{
    const auto* mailBox = reinterpret_cast<CMailBox*>(list.GetItemData(row));
    return mailBox && mailBoxes->IsBusy(mailBox->GetNumber());
}

BOOL CMailBoxPage::AnySelectedBusy()
{
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        if (IsBusy(row))
            return TRUE;
    }
    return FALSE;
}

void CMailBoxPage::OnModifyChecked()
{
    if (list.GetSelectedCount() != 1)
        return;
    if (AnySelectedBusy() && !Confirmed(IDP_MAILBOX_MODIFY_NOT_EMPTY))
        return;
    OpenEntryDialog(GetFirstSelectedData(list));
}

void CMailBoxPage::OnDeleteChecked()
{
    if (AnySelectedBusy() && !Confirmed(IDP_MAILBOX_DELETE_NOT_EMPTY))
        return;
    OnDelete();
}

void CMailBoxPage::OnDeleteAllChecked()
{
    BOOL busy = FALSE;
    for (int row = 0; row < list.GetItemCount() && !busy; ++row)
        busy = IsBusy(row);
    if (busy && !Confirmed(IDP_MAILBOX_DELETE_NOT_EMPTY))
        return;
    OnDeleteAll();
}

void CMailBoxPage::OnListDoubleClickChecked(NMHDR*, LRESULT* result)
{
    OnModifyChecked();
    *result = 0;
}
