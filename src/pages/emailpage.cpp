#include "pages/emailpage.h"

#include "res/resource.h"

namespace {

constexpr int kReceivePop = 0;
constexpr int kReceiveSmtp = 1;

} // namespace

IMPLEMENT_DYNAMIC(CEmailPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CEmailPage, CSettingsPage)
    ON_EN_CHANGE(IDC_MACHINE_EMAIL_ADDRESS, &CEmailPage::OnSettingChange)
    ON_EN_CHANGE(IDC_ERROR_FORWARD_ADDRESS, &CEmailPage::OnSettingChange)
    ON_EN_CHANGE(IDC_POP_USER_NAME, &CEmailPage::OnSettingChange)
    ON_EN_CHANGE(IDC_POP_PASSWORD, &CEmailPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_RECEIVE_MODE, &CEmailPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_POP_CHECK_INTERVAL, &CEmailPage::OnSettingChange)
    ON_EN_CHANGE(IDC_POP_SERVER_ADDRESS, &CEmailPage::OnSettingChange)
    ON_EN_CHANGE(IDC_SMTP_SERVER_ADDRESS, &CEmailPage::OnSettingChange)
    ON_BN_CLICKED(IDC_SMTP_GATEWAY, &CEmailPage::OnSettingChange)
END_MESSAGE_MAP()

CEmailPage::CEmailPage(CEmailSettings* email) : CSettingsPage(IDD_EMAIL_PAGE, *email, nullptr), email(email)
{
}

void CEmailPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MACHINE_EMAIL_ADDRESS, machineAddressEdit);
    DDX_Control(pDX, IDC_ERROR_FORWARD_ADDRESS, errorForwardEdit);
    DDX_Control(pDX, IDC_POP_USER_NAME, popUserNameEdit);
    DDX_Control(pDX, IDC_POP_PASSWORD, popPasswordEdit);
    DDX_TextTrim(pDX, IDC_MACHINE_EMAIL_ADDRESS, email->machineAddress);
    DDX_TextTrim(pDX, IDC_ERROR_FORWARD_ADDRESS, email->errorForwardAddress);
    DDX_CBIndex(pDX, IDC_RECEIVE_MODE, email->receiveMode);
    DDX_IPOctets(pDX, IDC_POP_SERVER_ADDRESS, email->popServerAddress);
    DDX_CBIndex(pDX, IDC_POP_CHECK_INTERVAL, email->popCheckInterval);
    DDX_TextTrim(pDX, IDC_POP_USER_NAME, email->popUserName);
    // A password's blanks are part of it.
    DDX_Text(pDX, IDC_POP_PASSWORD, email->popPassword);
    DDX_IPOctets(pDX, IDC_SMTP_SERVER_ADDRESS, email->smtpServerAddress);
    DDX_Check(pDX, IDC_SMTP_GATEWAY, email->smtpGateway);

    // POP and SMTP share one area; the hidden set keeps its values.
    ShowControlRun(this, IDC_POP_SERVER_ADDRESS, 1, 6, email->receiveMode == kReceivePop);
    ShowControlRun(this, IDC_SMTP_SERVER_ADDRESS, 1, 1, email->receiveMode == kReceiveSmtp);
}

BOOL CEmailPage::OnInitDialog()
{
    FillComboBoxes(this);
    CSettingsPage::OnInitDialog();
    machineAddressEdit.SetLimitText(fields::RuleOf(&CEmailSettings::machineAddress).maxLength);
    errorForwardEdit.SetLimitText(fields::RuleOf(&CEmailSettings::errorForwardAddress).maxLength);
    popUserNameEdit.SetLimitText(fields::RuleOf(&CEmailSettings::popUserName).maxLength);
    popPasswordEdit.SetLimitText(fields::RuleOf(&CEmailSettings::popPassword).maxLength);
    return TRUE;
}
