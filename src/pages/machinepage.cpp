#include "pages/machinepage.h"

#include "device/lib/devicelink.h"
#include "res/resource.h"

namespace {

constexpr int kSuperSaverAutomatic = 0;

} // namespace

IMPLEMENT_DYNAMIC(CMachinePage, CSettingsPage)

BEGIN_MESSAGE_MAP(CMachinePage, CSettingsPage)
    ON_EN_CHANGE(IDC_COMPANY_NAME, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_RESOLUTION, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_CONTRAST, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_ACTIVITY_REPORT_KEY, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_RINGER_VOLUME, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_ALARM_VOLUME, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_KEY_VOLUME, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_LINE_VOLUME, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_SUPER_SAVER_MODE, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_TRAY1_PAPER_SIZE, &CMachinePage::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_TRAY2_PAPER_SIZE, &CMachinePage::OnSettingChange)
    ON_BN_CLICKED(IDC_POWER_SAVER, &CMachinePage::OnSettingChange)
    ON_BN_CLICKED(IDC_FAX_SEPARATOR, &CMachinePage::OnSettingChange)
    ON_BN_CLICKED(IDC_COLLATE_COPIES, &CMachinePage::OnSettingChange)
    ON_BN_CLICKED(IDC_ASK_ACCOUNT_CODE, &CMachinePage::OnAskAccountCode)
END_MESSAGE_MAP()

CMachinePage::CMachinePage(CMachineSettings* machine)
    : CSettingsPage(IDD_MACHINE_PAGE, *machine, &companyNameEdit), machine(machine)
{
}

void CMachinePage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SUPER_SAVER_MINUTES, minutesEdit);
    DDX_Control(pDX, IDC_COMPANY_NAME, companyNameEdit);
    DDX_TextTrim(pDX, IDC_COMPANY_NAME, machine->companyName);
    DDX_CBIndex(pDX, IDC_RESOLUTION, machine->resolution);
    DDX_CBIndex(pDX, IDC_CONTRAST, machine->contrast);
    DDX_CBIndex(pDX, IDC_ACTIVITY_REPORT_KEY, machine->activityReportKey);
    DDX_CBIndex(pDX, IDC_RINGER_VOLUME, machine->ringerVolume);
    DDX_CBIndex(pDX, IDC_ALARM_VOLUME, machine->alarmVolume);
    DDX_CBIndex(pDX, IDC_KEY_VOLUME, machine->keyVolume);
    DDX_CBIndex(pDX, IDC_LINE_VOLUME, machine->lineVolume);
    DDX_CBIndex(pDX, IDC_SUPER_SAVER_MODE, machine->superSaverMode);
    DDX_Text(pDX, IDC_SUPER_SAVER_MINUTES, machine->superSaverMinutes);
    DDX_Check(pDX, IDC_POWER_SAVER, machine->powerSaverEnabled);
    DDX_Check(pDX, IDC_ASK_ACCOUNT_CODE, machine->askAccountCode);
    DDX_Check(pDX, IDC_FAX_SEPARATOR, machine->faxSeparatorSheet);
    DDX_CBIndex(pDX, IDC_TRAY1_PAPER_SIZE, machine->tray1PaperSize);
    DDX_CBIndex(pDX, IDC_TRAY2_PAPER_SIZE, machine->tray2PaperSize);
    DDX_Check(pDX, IDC_COLLATE_COPIES, machine->collateCopies);

    // The minutes count only while the super power saver is automatic.
    EnableControlRun(this, IDC_SUPER_SAVER_MINUTES, 1, 1, machine->superSaverMode == kSuperSaverAutomatic);
    ShowControlRun(this, IDC_TRAY2_PAPER_SIZE, 1, 0, secondTrayShown);
}

BOOL CMachinePage::OnInitDialog()
{
    FillComboBoxes(this);
    minutesEdit.SubclassDlgItem(IDC_SUPER_SAVER_MINUTES, this);
    CSettingsPage::OnInitDialog();
    companyNameEdit.SetLimitText(fields::RuleOf(&CMachineSettings::companyName).maxLength);
    minutesEdit.SetRange(fields::RuleOf(&CMachineSettings::superSaverMinutes));
    SetDeviceNameFont(this, IDC_COMPANY_NAME);
    return TRUE;
}

void CMachinePage::OnAskAccountCode()
{
    if (IsDlgButtonChecked(IDC_ASK_ACCOUNT_CODE)) {
        AfxMessageBox(IDP_ACCOUNT_CODE_NOTICE, MB_OK | MB_ICONEXCLAMATION);
        GetDlgItem(IDC_ASK_ACCOUNT_CODE)->SetFocus();
    }
    OnSettingChange();
}
