#include "dialogs/devicepassworddlg.h"

#include "res/resource.h"

namespace {

// The agent reads at most 1024 bytes of a password line.
constexpr int kMaxDevicePasswordLength = 256;

} // namespace

CDevicePasswordDlg::CDevicePasswordDlg(const CString& device, BOOL wrong, CWnd* parent)
    : CDialog(IDD_DEVICE_PASSWORD, parent), device(device), wrong(wrong)
{
}

void CDevicePasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD, password);
    DDV_MaxChars(pDX, password, kMaxDevicePasswordLength);
}

BOOL CDevicePasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString text;
    AfxFormatString1(text, wrong ? IDS_DEVICE_PASSWORD_WRONG : IDS_DEVICE_PASSWORD_ASK, device);
    SetDlgItemText(IDC_DEVICE_PASSWORD_TEXT, text);
    if (auto* edit = static_cast<CEdit*>(GetDlgItem(IDC_PASSWORD)))
        edit->LimitText(kMaxDevicePasswordLength);
    return TRUE;
}
