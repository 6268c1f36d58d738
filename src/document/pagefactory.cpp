#include "document/ntsmgr.h"

#include "clientcodes/clientcodepage.h"
#include "pages/machinepage.h"
#include "res/resource.h"

CDialog* CNtsMgr::CreatePage(UINT templateId, int variant)
{
    switch (templateId) {
    case IDD_MACHINE_PAGE:
        return new CMachinePage(&config.machine);
    case IDD_CLIENT_CODE_PAGE:
        return new CClientCodePage(&config.clientCodes);
    default:
        return nullptr;
    }
}
