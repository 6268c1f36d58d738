#include "pages/reportspanel.h"

#include "res/resource.h"

namespace {

constexpr int kReportNever = 2;

} // namespace

IMPLEMENT_DYNAMIC(CReportsPanel, CSettingsPanel)

BEGIN_MESSAGE_MAP(CReportsPanel, CSettingsPanel)
    ON_BN_CLICKED(IDC_ACTIVITY_REPORT_AUTO, &CReportsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_BROADCAST_FIRST_PAGE, &CReportsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_MEMORY_SEND_FIRST_PAGE, &CReportsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_MAILBOX_REPORT_LOCAL, &CReportsPanel::OnSettingChange)
    ON_BN_CLICKED(IDC_MAILBOX_REPORT_REMOTE, &CReportsPanel::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_POLLING_REPORT, &CReportsPanel::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_BROADCAST_REPORT, &CReportsPanel::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_CONFIRMATION_REPORT, &CReportsPanel::OnSettingChange)
    ON_CBN_SELCHANGE(IDC_MEMORY_SEND_REPORT, &CReportsPanel::OnSettingChange)
END_MESSAGE_MAP()

CReportsPanel::CReportsPanel(CReportSettings* reports)
    : CSettingsPanel(IDD_REPORTS_PANEL, *reports, nullptr), reports(reports)
{
}

void CReportsPanel::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPanel::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_ACTIVITY_REPORT_AUTO, reports->activityReportAuto);
    DDX_CBIndex(pDX, IDC_POLLING_REPORT, reports->pollingReport);
    DDX_CBIndex(pDX, IDC_BROADCAST_REPORT, reports->broadcastReport);
    DDX_Check(pDX, IDC_BROADCAST_FIRST_PAGE, reports->broadcastReportFirstPage);
    DDX_Check(pDX, IDC_MAILBOX_REPORT_LOCAL, reports->mailboxReportLocal);
    DDX_Check(pDX, IDC_MAILBOX_REPORT_REMOTE, reports->mailboxReportRemote);
    DDX_CBIndex(pDX, IDC_CONFIRMATION_REPORT, reports->confirmationReport);
    DDX_CBIndex(pDX, IDC_MEMORY_SEND_REPORT, reports->memorySendReport);
    DDX_Check(pDX, IDC_MEMORY_SEND_FIRST_PAGE, reports->memorySendReportFirstPage);

    // A report that is never printed has no first page to show.
    EnableControlRun(this, IDC_BROADCAST_FIRST_PAGE, 0, 0, reports->broadcastReport != kReportNever);
    EnableControlRun(this, IDC_MEMORY_SEND_FIRST_PAGE, 0, 0, reports->memorySendReport != kReportNever);
}

BOOL CReportsPanel::OnInitDialog()
{
    FillComboBoxes(this);
    CSettingsPanel::OnInitDialog();
    return TRUE;
}
