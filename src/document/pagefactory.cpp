#include "document/ntsmgr.h"

#include "pages/machinepage.h"
#include "res/resource.h"

CDialog* CNtsMgr::CreatePage(UINT templateId, int variant)
{
    switch (templateId) {
    case IDD_MACHINE_PAGE:
        return new CMachinePage(&config.machine);
    default:
        return nullptr;
    }
}
