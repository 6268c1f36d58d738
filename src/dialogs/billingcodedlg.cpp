#include "dialogs/billingcodedlg.h"

#include "dialogs/dialoghelpers.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CBillingCodeDlg, CDialog)
    ON_BN_CLICKED(IDHELP, &CBillingCodeDlg::OnHelp)
END_MESSAGE_MAP()

CBillingCodeDlg::CBillingCodeDlg(const CString& billingCode, int maxLength, CWnd* parent)
    : CDialog(IDD_BILLING_CODE, parent), billingCode(billingCode), maxLength(maxLength)
{
}

BOOL CBillingCodeDlg::OnInitDialog()
{
    codeEdit.SubclassDlgItem(IDC_BILLING_CODE, this);
    CDialog::OnInitDialog();
    codeEdit.LimitText(maxLength);
    return TRUE;
}

void CBillingCodeDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_BILLING_CODE, billingCode);
}

void CBillingCodeDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_BILLING_CODE, afx::HELP_CONTEXT);
}

BOOL EditBillingCode(CFaxNumberEdit& field, CWnd* owner)
{
    BOOL changed = FALSE;
    const int room = field.BillingCodeRoom();
    if (room > 0) {
        CBillingCodeDlg dialog(field.billingCode, room, owner);
        if (DoModalWithHelpKey(dialog) == IDOK) {
            field.SetBillingCode(dialog.billingCode);
            changed = TRUE;
        }
    }
    field.SetFocus();
    return changed;
}
