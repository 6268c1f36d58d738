#include "pages/ftppage.h"

#include "res/resource.h"

namespace {


} // namespace

IMPLEMENT_DYNAMIC(CFtpPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CFtpPage, CSettingsPage)
    ON_EN_CHANGE(IDC_FTP_USER_NAME, &CFtpPage::OnSettingChange)
    ON_EN_CHANGE(IDC_FTP_PASSWORD, &CFtpPage::OnSettingChange)
END_MESSAGE_MAP()

CFtpPage::CFtpPage(CFtpSettings* ftp) : CSettingsPage(IDD_FTP_PAGE, *ftp, nullptr), ftp(ftp)
{
}

void CFtpPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FTP_USER_NAME, userNameEdit);
    DDX_Control(pDX, IDC_FTP_PASSWORD, passwordEdit);
    DDX_TextTrim(pDX, IDC_FTP_USER_NAME, ftp->ftpUserName);
    // A password's blanks are part of it.
    DDX_Text(pDX, IDC_FTP_PASSWORD, ftp->ftpPassword);
}

BOOL CFtpPage::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    userNameEdit.SetLimitText(fields::RuleOf(&CFtpSettings::ftpUserName).maxLength);
    passwordEdit.SetLimitText(fields::RuleOf(&CFtpSettings::ftpPassword).maxLength);
    return TRUE;
}
