#include "document/ntsmgr.h"

#include "clientcodes/clientcodepage.h"
#include "directory/directorypages.h"
#include "mailboxes/mailboxpage.h"
#include "pages/advancedpage.h"
#include "pages/emailpage.h"
#include "pages/faxreceivepage.h"
#include "pages/faxsendpage.h"
#include "pages/ftppage.h"
#include "pages/ipxspxpage.h"
#include "pages/lanfaxpage.h"
#include "pages/machineinfopage.h"
#include "pages/machinepage.h"
#include "pages/mailoptionspanel.h"
#include "pages/pcfaxpanel.h"
#include "pages/phonelinepage.h"
#include "pages/reportspanel.h"
#include "pages/snmppage.h"
#include "pages/tcpippage.h"
#include "res/resource.h"

CDialog* CNtsMgr::CreatePage(UINT templateId, int variant)
{
    switch (templateId) {
    case IDD_MACHINE_PAGE:
        return new CMachinePage(&config.machine);
    case IDD_PHONE_LINE_PAGE:
        return new CPhoneLinePage(&config.phoneLine);
    case IDD_ADVANCED_PAGE:
        return new CAdvancedPage(&config.advanced, &config.phoneBook);
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
    case IDD_PC_FAX_PANEL:
        return new CPcFaxPanel(&config.pcFax);
    case IDD_TCPIP_PAGE:
        return new CTcpIpPage(&config.tcpIp);
    case IDD_EMAIL_PAGE:
        return new CEmailPage(&config.email);
    case IDD_FTP_PAGE:
        return new CFtpPage(&config.ftp);
    case IDD_LAN_FAX_PAGE:
        return new CLanFaxPage(&config.lanFax);
    case IDD_IPX_SPX_PAGE:
        return new CIpxSpxPage(&config.ipxSpx);
    case IDD_SNMP_PAGE:
        return new CSnmpPage(&config.snmp);
    case IDD_REPORTS_PANEL:
        return new CReportsPanel(&config.reports);
    case IDD_MAIL_OPTIONS_PANEL:
        return new CMailOptionsPanel(&config.mailOptions);
    case IDD_MAILBOX_PAGE:
        return new CMailBoxPage(&config.mailBoxes, &config.phoneBook);
    case IDD_CLIENT_CODE_PAGE:
        return new CClientCodePage(&config.clientCodes);
    default:
        return nullptr;
    }
}
