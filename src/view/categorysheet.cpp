#include "view/categorysheet.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CCategorySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CCategorySheet, CPropertySheet)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

CCategorySheet::CCategorySheet(CWnd* view) : CPropertySheet(IDS_CATEGORY_GENERAL, view, 0)
{
}

BOOL CCategorySheet::OnHelpInfo(HELPINFO* pHelpInfo)
{
    const bool modified = (GetKeyState(VK_SHIFT) | GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) & 0x8000;
    if (modified)
        return CPropertySheet::OnHelpInfo(pHelpInfo);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}
