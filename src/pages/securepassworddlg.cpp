#include "pages/securepassworddlg.h"

#include "device/lib/sections.h"
#include "res/resource.h"

namespace {

// The password the device takes while secure reception is on.
fields::Rule PasswordRule()
{
    CFaxReceiveSettings secured;
    secured.secureReceive = 1;
    return fields::RuleOf(&CFaxReceiveSettings::secureReceivePassword, secured);
}

} // namespace

CSecureFaxPasswordDlg::CSecureFaxPasswordDlg(CWnd* parent) : CDialog(IDD_SECURE_FAX_PASSWORD, parent) {}

void CSecureFaxPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SECURE_PASSWORD, passwordEdit);
    DDX_Text(pDX, IDC_SECURE_PASSWORD, password);
    // The edit takes only digits, but a password kept in a settings file may hold anything.
    if (pDX->m_bSaveAndValidate && !PasswordRule().Allows(password)) {
        AfxMessageBox(IDP_FOUR_DIGIT_PASSWORD, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

BOOL CSecureFaxPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    passwordEdit.LimitText(PasswordRule().maxLength);
    return TRUE;
}
