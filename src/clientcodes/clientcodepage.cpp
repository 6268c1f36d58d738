#include "clientcodes/clientcodepage.h"

#include "clientcodes/clientcodedlgs.h"
#include "device/lib/departmentcodes.h"
#include "dialogs/dialoghelpers.h"
#include "res/resource.h"

#include <memory>

namespace {
constexpr int kMasterId = 1;
constexpr int kButtonCount = 4;   // the list's buttons, right after it in control order
}

IMPLEMENT_DYNAMIC(CClientCodePage, CListPage)

BEGIN_MESSAGE_MAP(CClientCodePage, CListPage)
    ON_BN_CLICKED(IDC_ENABLE_CLIENT_CODES, &CClientCodePage::OnEnableClientCodes)
END_MESSAGE_MAP()

CClientCodePage::CClientCodePage(CDepartmentCodes* clientCodes)
    : CListPage(&CDepartmentCode::max_count, IDD_CLIENT_CODE_PAGE), clientCodes(clientCodes)
{
}

BOOL CClientCodePage::OnSetActive()
{
    // Locked and painted so before the master code is asked: no code shows behind the prompt.
    CheckDlgButton(IDC_ENABLE_CLIENT_CODES, BST_UNCHECKED);
    UpdateData(FALSE);
    CheckDlgButton(IDC_ENABLE_CLIENT_CODES, BST_CHECKED);
    UpdateWindow();
    OnEnableClientCodes();
    return CListPage::OnSetActive();
}

void CClientCodePage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTRY_LIST, list);
    const BOOL enabled = IsDlgButtonChecked(IDC_ENABLE_CLIENT_CODES) == BST_CHECKED;
    if (!pDX->m_bSaveAndValidate) {
        UINT columnsId = 0;
        CObList* codes = GetList(columnsId);
        CObList locked;
        FillEntryList(list, columnsId, enabled ? *codes : locked, nullptr);
        UpdateButtons();
    }
    EnableControlRun(this, IDC_ENTRY_LIST, 0, kButtonCount, enabled);
    UpdateButtons();
}

void CClientCodePage::UpdateButtons()
{
    CListPage::UpdateButtons();
    if (IsDlgButtonChecked(IDC_ENABLE_CLIENT_CODES) != BST_CHECKED)
        GetDlgItem(IDC_ADD)->EnableWindow(FALSE);
    if (MasterCodeSelected())
        GetDlgItem(IDC_DELETE)->EnableWindow(FALSE);
}

CObList* CClientCodePage::GetList(UINT& columnsId)
{
    columnsId = IDS_CLIENT_CODE_COLUMNS;
    return clientCodes;
}

CDialog* CClientCodePage::CreateEntryDialog(CObject* entry)
{
    return new CClientCodeEntryDlg(clientCodes, static_cast<CDepartmentCode*>(entry), this);
}

void CClientCodePage::DeleteEntry(CObject* entry)
{
    clientCodes->Delete(static_cast<CDepartmentCode*>(entry));
}

void CClientCodePage::DeleteAllEntries()
{
    std::unique_ptr<CDepartmentCode> master(clientCodes->Get(kMasterId));
    if (master)
        clientCodes->RemoveAt(clientCodes->Find(master.get()));
    clientCodes->DeleteContents();
    if (master && clientCodes->Add(master.get()))
        master.release();
    UINT columnsId = 0;
    FillEntryList(list, columnsId, *GetList(columnsId), nullptr);
}

void CClientCodePage::OnEnableClientCodes()
{
    BOOL keep = FALSE;
    if (IsDlgButtonChecked(IDC_ENABLE_CLIENT_CODES) == BST_CHECKED) {
        CMasterCodeDlg dialog(clientCodes, this);
        keep = DoModalWithHelpKey(dialog) == IDOK;
    } else if (AfxMessageBox(IDP_DISABLE_CLIENT_CODES, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        clientCodes->DeleteContents();
        MarkDocumentModified();
    } else {
        keep = TRUE;
    }
    CheckDlgButton(IDC_ENABLE_CLIENT_CODES, keep ? BST_CHECKED : BST_UNCHECKED);
    UpdateData(FALSE);
}

BOOL CClientCodePage::MasterCodeSelected()
{
    CObject* master = clientCodes->Get(kMasterId);
    if (!master)
        return FALSE;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        if (reinterpret_cast<CObject*>(list.GetItemData(row)) == master)
            return TRUE;
    }
    return FALSE;
}
