#include "pages/ipxspxpage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CIpxSpxPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CIpxSpxPage, CSettingsPage)
    ON_CBN_SELCHANGE(IDC_FRAME_TYPE, &CIpxSpxPage::OnSettingChange)
END_MESSAGE_MAP()

CIpxSpxPage::CIpxSpxPage(CIpxSpxSettings* ipxSpx) : CSettingsPage(IDD_IPX_SPX_PAGE, *ipxSpx, nullptr), ipxSpx(ipxSpx)
{
}

void CIpxSpxPage::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_FRAME_TYPE, ipxSpx->frameType);
}

BOOL CIpxSpxPage::OnInitDialog()
{
    FillComboBoxes(this);
    CSettingsPage::OnInitDialog();
    return TRUE;
}
