// The six network pages in the started console, worked through their widgets: every change
// reaches the record at once, an address stored once per change of its text, the address
// rules of BootP/DHCP, the POP and SMTP sets, trimmed texts and kept password blanks.
#include "settingswindows_fixture.h"

#include "pages/emailpage.h"
#include "pages/tcpippage.h"

namespace {

using settingswindows::NetworkTab;

class NetworkPages : public settingswindows::SettingsWindows {
protected:
    // Types into one field of an address control, then leaves it by the key given.
    void TypeIntoField(CWnd* page, int control, int field, const QString& digits, Qt::Key leaveBy)
    {
        std::vector<QLineEdit*> fields = AddressFields(page, control);
        ASSERT_EQ(fields.size(), 4u);
        QTest::mouseClick(fields[size_t(field)], Qt::LeftButton);
        fields[size_t(field)]->selectAll();
        QTest::keyClicks(fields[size_t(field)], digits);
        if (leaveBy != Qt::Key_unknown)
            QTest::keyClick(QApplication::focusWidget(), leaveBy);
    }
};

TEST_F(NetworkPages, EveryChoiceAndSwitchReachesTheRecordAtOnce)
{
    struct Case {
        const char* name;
        NetworkTab tab;
        int control;
        int choice;   // a list's item; -1 for a click
        std::function<int(const CConfig&)> field;
        int expected;
    };
    const CSnmpSettings trapsBefore;
    std::vector<Case> cases = {
        {"BootP/DHCP", settingswindows::TcpIp, IDC_DHCP, -1, [](const CConfig& c) { return c.tcpIp.dhcpEnabled; }, 0},
        {"receive mode", settingswindows::Email, IDC_RECEIVE_MODE, 1, [](const CConfig& c) { return c.email.receiveMode; }, 1},
        {"SMTP gateway", settingswindows::Email, IDC_SMTP_GATEWAY, -1, [](const CConfig& c) { return c.email.smtpGateway; }, 1},
        {"POP interval", settingswindows::Email, IDC_POP_CHECK_INTERVAL, 9, [](const CConfig& c) { return c.email.popCheckInterval; }, 9},
        {"frame type", settingswindows::IpxSpx, IDC_FRAME_TYPE, 3, [](const CConfig& c) { return c.ipxSpx.frameType; }, 3},
    };
    using S = CSnmpSettings;
    for (const auto& [control, trap] : std::vector<std::pair<int, int S::*>>{
             {IDC_TRAP_ONLINE, &S::trapOnline}, {IDC_TRAP_OFFLINE, &S::trapOffline}, {IDC_TRAP_PRINTING, &S::trapPrinting},
             {IDC_TRAP_NETWORK_ERROR, &S::trapNetworkError}, {IDC_TRAP_SERVICE_REQUEST, &S::trapServiceRequest},
             {IDC_TRAP_MEDIA_LOW, &S::trapMediaLow}, {IDC_TRAP_MEDIA_OUT, &S::trapMediaOut}, {IDC_TRAP_INCIDENT, &S::trapIncident},
             {IDC_TRAP_MEDIA_SIZE_MISMATCH, &S::trapMediaSizeMismatch}, {IDC_TRAP_TONER_LOW, &S::trapTonerLow},
             {IDC_TRAP_TONER_OUT, &S::trapTonerOut}, {IDC_TRAP_OUTPUT_TRAY_FULL, &S::trapOutputTrayFull},
             {IDC_TRAP_COVER_OPEN, &S::trapCoverOpen}, {IDC_TRAP_MEMORY_FULL, &S::trapMemoryFull}}) {
        const int S::*field = trap;
        cases.push_back({"trap", settingswindows::Snmp, control, -1,
                         [field](const CConfig& c) { return c.snmp.*field; }, 1 - trapsBefore.*field});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " " << c.control);
        CPropertyPage* page = NetworkPage(c.tab);
        Document()->SetModifiedFlag(FALSE);
        ClickOrPick(page, c.control, c.choice);
        EXPECT_EQ(c.field(Record()), c.expected);
        EXPECT_TRUE(Document()->IsModified());
    }
}

TEST_F(NetworkPages, TextsAreTrimmedExceptPasswordsAndKeptWithinTheirLimits)
{
    struct Case {
        const char* name;
        NetworkTab tab;
        int control;
        QString typed;
        std::function<CString(const CConfig&)> field;
        CString expected;
    };
    const QString tooLong(300, QChar('a'));
    for (const Case& c : {
             Case{"machine address", settingswindows::Email, IDC_MACHINE_EMAIL_ADDRESS, " fax@atelier.fr ", [](const CConfig& r) { return r.email.machineAddress; }, "fax@atelier.fr"},
             Case{"machine address limit", settingswindows::Email, IDC_MACHINE_EMAIL_ADDRESS, tooLong, [](const CConfig& r) { return r.email.machineAddress; }, CString(QString(256, QChar('a')))},
             Case{"error address", settingswindows::Email, IDC_ERROR_FORWARD_ADDRESS, "  admin@atelier.fr", [](const CConfig& r) { return r.email.errorForwardAddress; }, "admin@atelier.fr"},
             Case{"error address limit", settingswindows::Email, IDC_ERROR_FORWARD_ADDRESS, tooLong, [](const CConfig& r) { return r.email.errorForwardAddress; }, CString(QString(256, QChar('a')))},
             Case{"POP login", settingswindows::Email, IDC_POP_USER_NAME, " atelier ", [](const CConfig& r) { return r.email.popUserName; }, "atelier"},
             Case{"POP login limit", settingswindows::Email, IDC_POP_USER_NAME, tooLong, [](const CConfig& r) { return r.email.popUserName; }, CString(QString(32, QChar('a')))},
             Case{"POP password", settingswindows::Email, IDC_POP_PASSWORD, " s3 cret ", [](const CConfig& r) { return r.email.popPassword; }, " s3 cret "},
             Case{"POP password limit", settingswindows::Email, IDC_POP_PASSWORD, tooLong, [](const CConfig& r) { return r.email.popPassword; }, CString(QString(32, QChar('a')))},
             Case{"FTP user", settingswindows::Ftp, IDC_FTP_USER_NAME, " scanner ", [](const CConfig& r) { return r.ftp.ftpUserName; }, "scanner"},
             Case{"FTP user limit", settingswindows::Ftp, IDC_FTP_USER_NAME, tooLong, [](const CConfig& r) { return r.ftp.ftpUserName; }, CString(QString(32, QChar('a')))},
             Case{"FTP password", settingswindows::Ftp, IDC_FTP_PASSWORD, "  mot de passe ", [](const CConfig& r) { return r.ftp.ftpPassword; }, "  mot de passe "},
             Case{"FTP password limit", settingswindows::Ftp, IDC_FTP_PASSWORD, tooLong, [](const CConfig& r) { return r.ftp.ftpPassword; }, CString(QString(32, QChar('a')))},
             Case{"read community", settingswindows::Snmp, IDC_READ_COMMUNITY, " lecture ", [](const CConfig& r) { return r.snmp.readCommunity; }, "lecture"},
             Case{"read community limit", settingswindows::Snmp, IDC_READ_COMMUNITY, tooLong, [](const CConfig& r) { return r.snmp.readCommunity; }, CString(QString(20, QChar('a')))},
             Case{"read-write community", settingswindows::Snmp, IDC_READ_WRITE_COMMUNITY, "ecriture  ", [](const CConfig& r) { return r.snmp.readWriteCommunity; }, "ecriture"},
             Case{"read-write community limit", settingswindows::Snmp, IDC_READ_WRITE_COMMUNITY, tooLong, [](const CConfig& r) { return r.snmp.readWriteCommunity; }, CString(QString(20, QChar('a')))},
         }) {
        SCOPED_TRACE(c.name);
        CPropertyPage* page = NetworkPage(c.tab);
        Document()->SetModifiedFlag(FALSE);
        TypeOver(page, c.control, c.typed);
        EXPECT_EQ(c.field(Record()), c.expected);
        EXPECT_TRUE(Document()->IsModified());
    }
}

TEST_F(NetworkPages, AnAddressIsStoredOnceForEachChangeOfItsText)
{
    // The page in a sheet of its own, bound to the record's section, counting its saves.
    class CountingTcpIpPage : public CTcpIpPage {
    public:
        using CTcpIpPage::CTcpIpPage;
        int saves = 0;
        void DoDataExchange(CDataExchange* pDX) override
        {
            saves += pDX->m_bSaveAndValidate ? 1 : 0;
            CTcpIpPage::DoDataExchange(pDX);
        }
    };
    Record().tcpIp.dhcpEnabled = 0;
    CountingTcpIpPage page(&Record().tcpIp);
    CPropertySheet sheet;
    sheet.AddPage(&page);
    ASSERT_TRUE(sheet.Create(Frame()));
    sheet.m_hWnd->activateWindow();
    QApplication::processEvents();

    struct Step {
        const char* name;
        int field;
        QString digits;
        Qt::Key leaveBy;   // Qt::Key_unknown: the field is not left
        int saves;         // after the step, since the start
        std::array<BYTE, 4> stored;
    };
    for (const Step& s : {Step{"each digit typed is a change", 0, "10", Qt::Key_unknown, 2, {10, 0, 0, 0}},
                          Step{"leaving the field changes nothing more", 0, "", Qt::Key_Period, 2, {10, 0, 0, 0}},
                          Step{"three digits move on by themselves", 1, "168", Qt::Key_unknown, 5, {10, 168, 0, 0}},
                          Step{"left by Tab", 2, "4", Qt::Key_Tab, 6, {10, 168, 4, 0}}}) {
        SCOPED_TRACE(s.name);
        if (!s.digits.isEmpty())
            TypeIntoField(&page, IDC_IP_ADDRESS, s.field, s.digits, s.leaveBy);
        else
            QTest::keyClick(QApplication::focusWidget(), s.leaveBy);
        EXPECT_EQ(page.saves, s.saves);
        const BYTE* ip = Record().tcpIp.ipAddress;
        EXPECT_EQ((std::array<BYTE, 4>{ip[0], ip[1], ip[2], ip[3]}), s.stored);
    }
    sheet.DestroyWindow();
}

TEST_F(NetworkPages, EveryAddressControlWritesThrough)
{
    struct Case {
        const char* name;
        NetworkTab tab;
        int control;
        std::function<const BYTE*(const CConfig&)> field;
    };
    Record().tcpIp.dhcpEnabled = 0;
    Record().email.receiveMode = 0;
    Reload();
    for (const Case& c : {Case{"IP address", settingswindows::TcpIp, IDC_IP_ADDRESS, [](const CConfig& r) { return r.tcpIp.ipAddress; }},
                          Case{"subnet mask", settingswindows::TcpIp, IDC_SUBNET_MASK, [](const CConfig& r) { return r.tcpIp.subnetMask; }},
                          Case{"gateway", settingswindows::TcpIp, IDC_DEFAULT_GATEWAY, [](const CConfig& r) { return r.tcpIp.defaultGateway; }},
                          Case{"POP server", settingswindows::Email, IDC_POP_SERVER_ADDRESS, [](const CConfig& r) { return r.email.popServerAddress; }},
                          Case{"LAN fax server", settingswindows::LanFax, IDC_LAN_FAX_SERVER_ADDRESS, [](const CConfig& r) { return r.lanFax.lanFaxServerAddress; }}}) {
        SCOPED_TRACE(c.name);
        CPropertyPage* page = NetworkPage(c.tab);
        Document()->SetModifiedFlag(FALSE);
        // Saved or applied now, the field still being typed goes with the rest.
        TypeIntoField(page, c.control, 3, "77", Qt::Key_unknown);
        EXPECT_EQ(c.field(Record())[3], 77);
        EXPECT_TRUE(Document()->IsModified());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(c.field(Record())[3], 77);
    }
    // The SMTP server, shown in its mode.
    Record().email.receiveMode = 1;
    Reload();
    CPropertyPage* page = NetworkPage(settingswindows::Email);
    TypeIntoField(page, IDC_SMTP_SERVER_ADDRESS, 0, "12", Qt::Key_Period);
    EXPECT_EQ(Record().email.smtpServerAddress[0], 12);
}

TEST_F(NetworkPages, BootpDhcpDisablesTheAddressesYetKeepsAndSavesThem)
{
    Record().tcpIp.dhcpEnabled = 0;
    Record().tcpIp.ipAddress[0] = 192;
    Record().tcpIp.subnetMask[1] = 128;
    Record().tcpIp.defaultGateway[3] = 254;
    Reload();
    CPropertyPage* page = NetworkPage(settingswindows::TcpIp);
    // The group box, the three labels and the three addresses, in control order.
    auto runStates = [&] {
        std::vector<bool> states;
        CWnd* window = Control(page, IDC_IP_ADDRESS)->GetWindow(GW_HWNDPREV)->GetWindow(GW_HWNDPREV);
        for (int step = 0; step < 7; ++step, window = window->GetWindow(GW_HWNDNEXT))
            states.push_back(window->IsWindowEnabled());
        return states;
    };
    EXPECT_EQ(runStates(), std::vector<bool>(7, true));
    Click(page, IDC_DHCP);
    EXPECT_EQ(Record().tcpIp.dhcpEnabled, 1);
    EXPECT_EQ(runStates(), std::vector<bool>(7, false));
    EXPECT_TRUE(Control(page, IDC_BROADCAST_INTERVAL)->IsWindowEnabled());
    TypeOver(page, IDC_BROADCAST_INTERVAL, "90");   // another change saves the whole page
    EXPECT_EQ(Record().tcpIp.ipAddress[0], 192);
    EXPECT_EQ(Record().tcpIp.subnetMask[1], 128);
    EXPECT_EQ(Record().tcpIp.defaultGateway[3], 254);
    Click(page, IDC_DHCP);
    EXPECT_EQ(runStates(), std::vector<bool>(7, true));
}

TEST_F(NetworkPages, TimesTakeAnyTypedTextAndKeepWithinRange)
{
    CPropertyPage* page = NetworkPage(settingswindows::TcpIp);
    for (const auto& [name, control, typed, shown] : std::vector<std::tuple<const char*, int, QString, CString>>{
             {"not a number", IDC_BROADCAST_INTERVAL, "12a", "1"},
             {"in range", IDC_BROADCAST_INTERVAL, "150", "150"},
             {"above the range", IDC_DISCONNECT_AFTER, "200", "180"},
             {"zero", IDC_DISCONNECT_AFTER, "0", "1"}}) {
        SCOPED_TRACE(name);
        TypeOver(page, control, typed);
        EXPECT_EQ(Text(page, control), shown);
        const int stored = control == IDC_BROADCAST_INTERVAL ? Record().tcpIp.broadcastInterval : Record().tcpIp.disconnectAfter;
        EXPECT_EQ(stored, QString(shown).toInt());
    }
}

TEST_F(NetworkPages, SwitchingPopAndSmtpShowsOneSetAndKeepsTheOther)
{
    CEmailSettings& email = Record().email;
    email.receiveMode = 0;
    email.popServerAddress[0] = 10;
    email.popCheckInterval = 6;
    email.popUserName = "atelier";
    email.popPassword = " clef ";
    email.smtpServerAddress[0] = 11;
    email.smtpGateway = 1;
    Reload();
    CPropertyPage* page = NetworkPage(settingswindows::Email);
    // Each control of the set with its label, as the user sees them.
    const std::vector<int> pop = {IDC_POP_SERVER_ADDRESS, IDC_POP_CHECK_INTERVAL, IDC_POP_USER_NAME, IDC_POP_PASSWORD};
    const std::vector<int> smtp = {IDC_SMTP_SERVER_ADDRESS, IDC_SMTP_GATEWAY};
    auto shown = [&](const std::vector<int>& set) {
        std::vector<bool> states;
        for (const int id : set) {
            states.push_back(Control(page, id)->IsWindowVisible());
            if (id != IDC_SMTP_GATEWAY)
                states.push_back(Control(page, id)->GetWindow(GW_HWNDPREV)->IsWindowVisible());
        }
        return states;
    };
    for (const int mode : {1, 0, 1}) {
        SCOPED_TRACE(mode);
        Pick(page, IDC_RECEIVE_MODE, mode);
        EXPECT_EQ(email.receiveMode, mode);
        EXPECT_EQ(shown(pop), std::vector<bool>(8, mode == 0));
        EXPECT_EQ(shown(smtp), std::vector<bool>(3, mode == 1));
        EXPECT_EQ(email.popServerAddress[0], 10);
        EXPECT_EQ(email.popCheckInterval, 6);
        EXPECT_EQ(email.popUserName, CString("atelier"));
        EXPECT_EQ(email.popPassword, CString(" clef "));
        EXPECT_EQ(email.smtpServerAddress[0], 11);
        EXPECT_EQ(email.smtpGateway, 1);
    }
    EXPECT_TRUE(Control(page, IDC_MACHINE_EMAIL_ADDRESS)->IsWindowVisible());
}

TEST_F(NetworkPages, NoNetworkPageHasADefaultsButton)
{
    for (const NetworkTab tab : {settingswindows::TcpIp, settingswindows::Email, settingswindows::Ftp,
                                 settingswindows::LanFax, settingswindows::IpxSpx, settingswindows::Snmp})
        EXPECT_EQ(NetworkPage(tab)->GetDlgItem(IDC_DEFAULTS), nullptr) << tab;
}

TEST_F(NetworkPages, EachTabAndTheMailOptionsOpenTheirHelpTopic)
{
    struct Case {
        const char* name;
        int tab;   // -1: the mail-option panel
        int topic;
    };
    for (const Case& c : {Case{"TCP/IP", settingswindows::TcpIp, IDD_TCPIP_PAGE},
                          Case{"e-mail", settingswindows::Email, IDD_EMAIL_PAGE},
                          Case{"FTP", settingswindows::Ftp, IDD_FTP_PAGE},
                          Case{"LAN fax", settingswindows::LanFax, IDD_LAN_FAX_PAGE},
                          Case{"IPX/SPX", settingswindows::IpxSpx, IDD_IPX_SPX_PAGE},
                          Case{"SNMP", settingswindows::Snmp, IDD_SNMP_PAGE},
                          Case{"mail options", -1, IDD_MAIL_OPTIONS_PANEL}}) {
        SCOPED_TRACE(c.name);
        if (c.tab < 0)
            Panel(settingswindows::MailOptions);
        else
            NetworkPage(NetworkTab(c.tab));
        afx::testing::PromptScript prompts;
        prompts.Help(HID_BASE_RESOURCE + c.topic);
        Command(ID_HELP);
    }
}

} // namespace
