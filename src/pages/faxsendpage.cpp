#include "pages/faxsendpage.h"

#include "res/resource.h"

namespace {


// The line monitor list shows the field inverted: "Toujours" first for monitoring on.
constexpr int kMonitorAlwaysItem = 0;
constexpr int kMonitorNeverItem = 1;

} // namespace

IMPLEMENT_DYNAMIC(CFaxSendPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CFaxSendPage, CSettingsPage)
    ON_CBN_SELCHANGE(IDC_DIAL_TIMING, &CFaxSendPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_LINE_MONITOR, &CFaxSendPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_LONG_ORIGINAL, &CFaxSendPage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_SEND_HEADER_POSITION, &CFaxSendPage::OnSettingChange)
    ON_BN_CLICKED(IDC_STORE_FOR_RESEND, &CFaxSendPage::OnSettingChange)
    ON_BN_CLICKED(IDC_SEND_HEADER, &CFaxSendPage::OnSettingChange)
    ON_BN_CLICKED(IDC_DEFAULT_COVER_PAGE, &CFaxSendPage::OnSettingChange)
    ON_BN_CLICKED(IDC_ALWAYS_SEND_FROM_MEMORY, &CFaxSendPage::OnSettingChange)
    ON_BN_CLICKED(IDC_SECURE_SEND, &CFaxSendPage::OnSecureSend)
END_MESSAGE_MAP()

CFaxSendPage::CFaxSendPage(CFaxSendSettings* faxSend)
    : CSettingsPage(IDD_FAX_SEND_PAGE, *faxSend, &resendHoursEdit), faxSend(faxSend)
{
}

void CFaxSendPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_REDIAL_ATTEMPTS, faxSend->redialAttempts);
    DDX_Text(pDX, IDC_REDIAL_INTERVAL, faxSend->redialInterval);
    DDX_CBIndex(pDX, IDC_DIAL_TIMING, faxSend->dialTiming);
    int monitorItem = faxSend->lineMonitor ? kMonitorAlwaysItem : kMonitorNeverItem;
    DDX_CBIndex(pDX, IDC_LINE_MONITOR, monitorItem);
    if (pDX->m_bSaveAndValidate)
        faxSend->lineMonitor = monitorItem == kMonitorAlwaysItem ? 1 : 0;
    DDX_Check(pDX, IDC_STORE_FOR_RESEND, faxSend->storeForResend);
    DDX_Text(pDX, IDC_RESEND_STORE_HOURS, faxSend->resendStoreHours);
    DDX_CBIndex(pDX, IDC_LONG_ORIGINAL, faxSend->longOriginal);
    DDX_Check(pDX, IDC_SEND_HEADER, faxSend->sendHeaderEnabled);
    DDX_CBIndex(pDX, IDC_SEND_HEADER_POSITION, faxSend->sendHeaderPosition);
    DDX_Check(pDX, IDC_DEFAULT_COVER_PAGE, faxSend->defaultCoverPage);
    DDX_Check(pDX, IDC_ALWAYS_SEND_FROM_MEMORY, faxSend->alwaysSendFromMemory);
    DDX_Check(pDX, IDC_SECURE_SEND, faxSend->secureSend);

    // Disabled fields keep their values: they count again once their switch is back on.
    EnableControlRun(this, IDC_RESEND_STORE_HOURS, 1, 1, faxSend->storeForResend);
    EnableControlRun(this, IDC_SEND_HEADER_POSITION, 0, 0, faxSend->sendHeaderEnabled);
    EnableControlRun(this, IDC_REDIAL_INTERVAL, 1, 1, faxSend->redialAttempts != 0);
}

BOOL CFaxSendPage::OnInitDialog()
{
    FillComboBoxes(this);
    redialAttemptsEdit.SubclassDlgItem(IDC_REDIAL_ATTEMPTS, this);
    redialIntervalEdit.SubclassDlgItem(IDC_REDIAL_INTERVAL, this);
    resendHoursEdit.SubclassDlgItem(IDC_RESEND_STORE_HOURS, this);
    CSettingsPage::OnInitDialog();
    redialAttemptsEdit.SetRange(fields::RuleOf(&CFaxSendSettings::redialAttempts));
    redialIntervalEdit.SetRange(fields::RuleOf(&CFaxSendSettings::redialInterval));
    resendHoursEdit.SetRange(fields::RuleOf(&CFaxSendSettings::resendStoreHours));
    return TRUE;
}

void CFaxSendPage::OnSecureSend()
{
    if (IsDlgButtonChecked(IDC_SECURE_SEND))
        AfxMessageBox(IDP_SECURE_SEND_NOTICE, MB_OK | MB_ICONEXCLAMATION);
    OnSettingChange();
}
