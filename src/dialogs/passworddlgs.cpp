#include "dialogs/passworddlgs.h"

#include "res/resource.h"

namespace {

constexpr int kMaxPasswordLength = 20;

CString TextOf(const CEdit& edit)
{
    CString text;
    edit.GetWindowText(text);
    return text;
}

} // namespace

// ---- CPasswordDlg ----

BEGIN_MESSAGE_MAP(CPasswordDlg, CDialog)
    ON_BN_CLICKED(IDC_CHANGE_PASSWORD, &CPasswordDlg::OnChangePassword)
END_MESSAGE_MAP()

CPasswordDlg::CPasswordDlg(PasswordCheck isPassword, CWnd* parent)
    : CDialog(IDD_PASSWORD, parent), isPassword(std::move(isPassword))
{
}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PASSWORD, passwordEdit);
}

BOOL CPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    passwordEdit.LimitText(kMaxPasswordLength);
    return TRUE;
}

void CPasswordDlg::OnOK()
{
    if (isPassword(TextOf(passwordEdit))) {
        EndDialog(IDOK);
        return;
    }
    AfxMessageBox(IDP_WRONG_PASSWORD, MB_OK | MB_ICONEXCLAMATION);
    passwordEdit.SetSel(0, -1);
    passwordEdit.SetFocus();
}

void CPasswordDlg::OnChangePassword()
{
    // The same command as the menu's, handled by the application.
    AfxGetApp()->OnCmdMsg(ID_CHANGE_PASSWORD, int(CN_COMMAND), nullptr, nullptr);
}

// ---- CChangePasswordDlg ----

BEGIN_MESSAGE_MAP(CChangePasswordDlg, CDialog)
    ON_BN_CLICKED(IDHELP, &CChangePasswordDlg::OnHelp)
END_MESSAGE_MAP()

CChangePasswordDlg::CChangePasswordDlg(PasswordCheck isCurrentPassword, CWnd* parent)
    : CDialog(IDD_CHANGE_PASSWORD, parent), isCurrentPassword(std::move(isCurrentPassword))
{
}

void CChangePasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OLD_PASSWORD, oldPasswordEdit);
    DDX_Control(pDX, IDC_NEW_PASSWORD, newPasswordEdit);
    DDX_Control(pDX, IDC_CONFIRM_PASSWORD, confirmPasswordEdit);
}

BOOL CChangePasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (CEdit* edit : {&oldPasswordEdit, &newPasswordEdit, &confirmPasswordEdit})
        edit->LimitText(kMaxPasswordLength);
    return TRUE;
}

void CChangePasswordDlg::OnOK()
{
    const CString newPassword = TextOf(newPasswordEdit);
    if (newPassword == TextOf(confirmPasswordEdit) && isCurrentPassword(TextOf(oldPasswordEdit))) {
        password = newPassword;
        EndDialog(IDOK);
        return;
    }
    // The fields keep what was typed, so the user can correct it.
    AfxMessageBox(IDP_PASSWORD_NOT_CHANGED, MB_OK | MB_ICONEXCLAMATION);
}

void CChangePasswordDlg::OnHelp()
{
    afx::ShowHelp(HID_BASE_RESOURCE + IDD_CHANGE_PASSWORD, afx::HELP_CONTEXT);
}
