#include "pages/pcfaxpanel.h"

#include "res/resource.h"

namespace {

constexpr int kReceiveNever = 0;

} // namespace

IMPLEMENT_DYNAMIC(CPcFaxPanel, CSettingsPanel)

BEGIN_MESSAGE_MAP(CPcFaxPanel, CSettingsPanel)
    ON_CBN_SELCHANGE(IDC_PC_RECEIVE_MODE, &CPcFaxPanel::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_AFTER_ATTEMPTS, &CPcFaxPanel::OnSettingChange)
END_MESSAGE_MAP()

CPcFaxPanel::CPcFaxPanel(CPcFaxSettings* pcFax)
    : CSettingsPanel(IDD_PC_FAX_PANEL, *pcFax, &attemptsEdit), pcFax(pcFax)
{
}

void CPcFaxPanel::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPanel::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PC_RECEIVE_ATTEMPTS, pcFax->pcReceiveAttempts);
    DDX_Text(pDX, IDC_PC_RETRY_INTERVAL, pcFax->pcRetryInterval);
    DDX_CBIndex(pDX, IDC_PC_RECEIVE_MODE, pcFax->pcReceiveMode);
    DDX_CBIndex(pDX, IDC_AFTER_ATTEMPTS, pcFax->afterAttempts);

    // Attempts, interval and what follows them matter only when faxes go to the PC; the
    // interval only between two attempts at least (its spin stays as the run before left it).
    const bool toPc = pcFax->pcReceiveMode != kReceiveNever;
    EnableControlRun(this, IDC_PC_RECEIVE_ATTEMPTS, 1, 6, toPc);
    EnableControlRun(this, IDC_PC_RETRY_INTERVAL, 1, 0, toPc && pcFax->pcReceiveAttempts != 0);
}

BOOL CPcFaxPanel::OnInitDialog()
{
    FillComboBoxes(this);
    attemptsEdit.SubclassDlgItem(IDC_PC_RECEIVE_ATTEMPTS, this);
    retryIntervalEdit.SubclassDlgItem(IDC_PC_RETRY_INTERVAL, this);
    CSettingsPanel::OnInitDialog();
    attemptsEdit.SetRange(fields::RuleOf(&CPcFaxSettings::pcReceiveAttempts));
    retryIntervalEdit.SetRange(fields::RuleOf(&CPcFaxSettings::pcRetryInterval));
    return TRUE;
}
