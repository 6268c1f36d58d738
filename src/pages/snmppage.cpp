#include "pages/snmppage.h"

#include "res/resource.h"

namespace {


// Each trap switch with its check box, in exchange order.
struct TrapBox {
    int controlId;
    int CSnmpSettings::*field;
};
using S = CSnmpSettings;
constexpr TrapBox kTrapBoxes[] = {
    {IDC_TRAP_ONLINE, &S::trapOnline},
    {IDC_TRAP_OFFLINE, &S::trapOffline},
    {IDC_TRAP_PRINTING, &S::trapPrinting},
    {IDC_TRAP_NETWORK_ERROR, &S::trapNetworkError},
    {IDC_TRAP_SERVICE_REQUEST, &S::trapServiceRequest},
    {IDC_TRAP_MEDIA_LOW, &S::trapMediaLow},
    {IDC_TRAP_MEDIA_OUT, &S::trapMediaOut},
    {IDC_TRAP_INCIDENT, &S::trapIncident},
    {IDC_TRAP_MEDIA_SIZE_MISMATCH, &S::trapMediaSizeMismatch},
    {IDC_TRAP_TONER_LOW, &S::trapTonerLow},
    {IDC_TRAP_TONER_OUT, &S::trapTonerOut},
    {IDC_TRAP_OUTPUT_TRAY_FULL, &S::trapOutputTrayFull},
    {IDC_TRAP_COVER_OPEN, &S::trapCoverOpen},
    {IDC_TRAP_MEMORY_FULL, &S::trapMemoryFull},
};

} // namespace

IMPLEMENT_DYNAMIC(CSnmpPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CSnmpPage, CSettingsPage)
    ON_EN_CHANGE(IDC_READ_COMMUNITY, &CSnmpPage::OnSettingChange)
    ON_EN_CHANGE(IDC_READ_WRITE_COMMUNITY, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_ONLINE, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_OFFLINE, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_PRINTING, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_NETWORK_ERROR, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_SERVICE_REQUEST, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_MEDIA_LOW, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_MEDIA_OUT, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_INCIDENT, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_MEDIA_SIZE_MISMATCH, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_TONER_LOW, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_TONER_OUT, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_OUTPUT_TRAY_FULL, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_COVER_OPEN, &CSnmpPage::OnSettingChange)
    ON_BN_CLICKED(IDC_TRAP_MEMORY_FULL, &CSnmpPage::OnSettingChange)
END_MESSAGE_MAP()

CSnmpPage::CSnmpPage(CSnmpSettings* snmp) : CSettingsPage(IDD_SNMP_PAGE, *snmp, nullptr), snmp(snmp)
{
}

void CSnmpPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_READ_COMMUNITY, readCommunityEdit);
    DDX_Control(pDX, IDC_READ_WRITE_COMMUNITY, readWriteCommunityEdit);
    DDX_TextTrim(pDX, IDC_READ_COMMUNITY, snmp->readCommunity);
    DDX_TextTrim(pDX, IDC_READ_WRITE_COMMUNITY, snmp->readWriteCommunity);
    for (const TrapBox& box : kTrapBoxes)
        DDX_Check(pDX, box.controlId, snmp->*box.field);
}

BOOL CSnmpPage::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    readCommunityEdit.SetLimitText(fields::RuleOf(&CSnmpSettings::readCommunity).maxLength);
    readWriteCommunityEdit.SetLimitText(fields::RuleOf(&CSnmpSettings::readWriteCommunity).maxLength);
    return TRUE;
}
