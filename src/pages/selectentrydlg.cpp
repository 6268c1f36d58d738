#include "pages/selectentrydlg.h"

#include "device/lib/phonebook.h"
#include "pages/listpage.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CSelectEntryDlg, CDialog)
    ON_NOTIFY(NM_DBLCLK, IDC_ENTRY_LIST, &CSelectEntryDlg::OnListDoubleClick)
    ON_BN_CLICKED(IDHELP, &CSelectEntryDlg::OnHelp)
END_MESSAGE_MAP()

CSelectEntryDlg::CSelectEntryDlg(CPhoneBook* phoneBook, int kind, int number, CWnd* parent)
    : CDialog(IDD_SELECT_ENTRY, parent), phoneBook(phoneBook), kind(kind), number(number)
{
}

void CSelectEntryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, list);
    if (pDX->m_bSaveAndValidate) {
        const auto* entry = static_cast<CIdObject*>(GetFirstSelectedData(list));
        if (!entry) {
            AfxMessageBox(IDP_MAKE_SELECTION, MB_OK | MB_ICONERROR);
            pDX->Fail();
        }
        number = entry->GetId();
        return;
    }

    UINT titleWordId = IDS_GROUP_DIAL;
    if (kind == 1) {
        FillEntryList(list, IDS_SPEED_DIAL_COLUMNS_NETWORK, phoneBook->GetSpeedDials(), phoneBook->GetSpeedDial(number));
        titleWordId = IDS_SPEED_DIAL;
    } else if (kind == 2) {
        FillEntryList(list, IDS_ONE_TOUCH_COLUMNS_NETWORK, phoneBook->GetOneTouches(), phoneBook->GetOneTouch(number));
        titleWordId = IDS_ONE_TOUCH;
    } else {
        FillEntryList(list, IDS_GROUP_DIAL_COLUMNS, phoneBook->GetGroupDials(), phoneBook->GetGroupDial(number));
    }
    CString title;
    CString word;
    title.LoadString(IDS_SELECT);
    word.LoadString(titleWordId);
    SetWindowText(title + u' ' + word);
}

void CSelectEntryDlg::OnListDoubleClick(NMHDR*, LRESULT* result)
{
    OnOK();
    *result = 0;
}

void CSelectEntryDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_SELECT_ENTRY, afx::HELP_CONTEXT);
}
