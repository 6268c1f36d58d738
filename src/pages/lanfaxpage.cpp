#include "pages/lanfaxpage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CLanFaxPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CLanFaxPage, CSettingsPage)
    ON_EN_CHANGE(IDC_LAN_FAX_SERVER_ADDRESS, &CLanFaxPage::OnSettingChange)
END_MESSAGE_MAP()

CLanFaxPage::CLanFaxPage(CLanFaxSettings* lanFax) : CSettingsPage(IDD_LAN_FAX_PAGE, *lanFax, nullptr), lanFax(lanFax)
{
}

void CLanFaxPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_IPOctets(pDX, IDC_LAN_FAX_SERVER_ADDRESS, lanFax->lanFaxServerAddress);
}
