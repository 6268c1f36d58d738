#include "pages/tcpippage.h"

#include "res/resource.h"

namespace {


} // namespace

IMPLEMENT_DYNAMIC(CTcpIpPage, CSettingsPage)

// An address is stored at each change of its text, so the record holds what the page shows
// also while a field is being typed; the field-changed notice that follows when the field
// is left would store the same address a second time, and is not mapped.
BEGIN_MESSAGE_MAP(CTcpIpPage, CSettingsPage)
    ON_BN_CLICKED(IDC_DHCP, &CTcpIpPage::OnSettingChange)
    ON_EN_CHANGE(IDC_IP_ADDRESS, &CTcpIpPage::OnSettingChange)
    ON_EN_CHANGE(IDC_SUBNET_MASK, &CTcpIpPage::OnSettingChange)
    ON_EN_CHANGE(IDC_DEFAULT_GATEWAY, &CTcpIpPage::OnSettingChange)
END_MESSAGE_MAP()

CTcpIpPage::CTcpIpPage(CTcpIpSettings* tcpIp) : CSettingsPage(IDD_TCPIP_PAGE, *tcpIp, &broadcastEdit), tcpIp(tcpIp)
{
}

void CTcpIpPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_DHCP, tcpIp->dhcpEnabled);
    DDX_IPOctets(pDX, IDC_IP_ADDRESS, tcpIp->ipAddress);
    DDX_IPOctets(pDX, IDC_SUBNET_MASK, tcpIp->subnetMask);
    DDX_IPOctets(pDX, IDC_DEFAULT_GATEWAY, tcpIp->defaultGateway);
    DDX_Text(pDX, IDC_BROADCAST_INTERVAL, tcpIp->broadcastInterval);
    DDX_Text(pDX, IDC_DISCONNECT_AFTER, tcpIp->disconnectAfter);

    // An address the server gives is not typed; the typed ones are kept for when it no
    // longer does.
    EnableControlRun(this, IDC_IP_ADDRESS, 2, 4, !tcpIp->dhcpEnabled);
}

BOOL CTcpIpPage::OnInitDialog()
{
    broadcastEdit.SubclassDlgItem(IDC_BROADCAST_INTERVAL, this);
    disconnectEdit.SubclassDlgItem(IDC_DISCONNECT_AFTER, this);
    CSettingsPage::OnInitDialog();
    broadcastEdit.SetRange(fields::RuleOf(&CTcpIpSettings::broadcastInterval));
    disconnectEdit.SetRange(fields::RuleOf(&CTcpIpSettings::disconnectAfter));
    return TRUE;
}
