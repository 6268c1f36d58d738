#include "document/ntsmgr.h"

#include "directory/directorypages.h"
#include "pages/faxreceivepage.h"
#include "pages/faxsendpage.h"
#include "pages/machineinfopage.h"
#include "pages/machinepage.h"
#include "res/resource.h"

CDialog* CNtsMgr::CreatePage(UINT templateId, int variant)
{
    switch (templateId) {
    case IDD_MACHINE_PAGE:
        return new CMachinePage(&config.machine);
    case IDD_MACHINE_INFO_PAGE:
        return new CMachineInfoPage(&config.machineInfo);
    case IDD_FAX_SEND_PAGE:
        return new CFaxSendPage(&config.faxSend);
    case IDD_FAX_RECEIVE_PAGE:
        return new CFaxReceivePage(&config.faxReceive);
    case IDD_DIRECTORY_PAGE:
        if (variant == 0)
            return new CSpeedDialPage(&config.phoneBook);
        if (variant == 1)
            return new COneTouchPage(&config.phoneBook);
        return new CGroupDialPage(&config.phoneBook);
    default:
        return nullptr;
    }
}
