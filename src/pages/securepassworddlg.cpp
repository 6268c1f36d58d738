#include "pages/securepassworddlg.h"

#include "res/resource.h"

#include <algorithm>

namespace {

constexpr int kPasswordLength = 4;

bool IsFourDigits(const CString& text)
{
    const QString value = text;
    return value.size() == kPasswordLength
           && std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

CSecureFaxPasswordDlg::CSecureFaxPasswordDlg(CWnd* parent) : CDialog(IDD_SECURE_FAX_PASSWORD, parent) {}

void CSecureFaxPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SECURE_PASSWORD, passwordEdit);
    DDX_Text(pDX, IDC_SECURE_PASSWORD, password);
    // The edit takes only digits, but a password kept in a settings file may hold anything.
    if (pDX->m_bSaveAndValidate && !IsFourDigits(password)) {
        AfxMessageBox(IDP_FOUR_DIGIT_PASSWORD, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

BOOL CSecureFaxPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    passwordEdit.LimitText(kPasswordLength);
    return TRUE;
}
