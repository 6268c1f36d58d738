#include "dialogs/unchangedmailboxesdlg.h"

#include "res/resource.h"

CUnchangedMailboxesDlg::CUnchangedMailboxesDlg(CStringArray* mailboxNumbers, CWnd* parent)
    : CDialog(IDD_UNCHANGED_MAILBOXES, parent), mailboxNumbers(mailboxNumbers)
{
}

void CUnchangedMailboxesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UNCHANGED_ICON, icon);
}

BOOL CUnchangedMailboxesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString title;
    title.LoadString(AFX_IDS_APP_TITLE);
    SetWindowText(title);
    auto* list = static_cast<CListBox*>(GetDlgItem(IDC_UNCHANGED_MAILBOX_LIST));
    for (INT_PTR i = 0; i < mailboxNumbers->GetSize(); ++i)
        list->AddString(mailboxNumbers->GetAt(i));
    list->SetCurSel(0);
    icon.SetIcon(AfxLoadStandardIcon(IDI_EXCLAMATION));
    return TRUE;
}
