// The reports, PC fax and mail-option panels and the network pages with every field away from
// its default: shown and saved by their windows without a loss, through a settings file saved
// and opened again, and through a device written and read back.
#include "settingswindows_fixture.h"

#include "device_fixture.h"
#include "device/lib/emulateddevice.h"

#include <QTemporaryDir>

using afx::testing::PromptScript;

namespace {

using namespace settingswindows;

// Every field of the sections these windows edit, away from its default.
void MoveAway(CConfig& record)
{
    CReportSettings& reports = record.reports;
    reports.activityReportAuto = 0;
    reports.pollingReport = 2;
    reports.broadcastReport = 1;
    reports.broadcastReportFirstPage = 0;
    reports.mailboxReportLocal = 1;
    reports.mailboxReportRemote = 0;
    reports.confirmationReport = 0;
    reports.memorySendReport = 2;
    reports.memorySendReportFirstPage = 0;

    CPcFaxSettings& pcFax = record.pcFax;
    pcFax.pcReceiveAttempts = 7;
    pcFax.pcRetryInterval = 11;
    pcFax.pcReceiveMode = 2;
    pcFax.afterAttempts = 1;

    CMailOptionSettings& mail = record.mailOptions;
    mail.printBodyText = 0;
    mail.bodyTextLimit = 42;
    mail.sendRequest = 1;
    mail.deliveryConfirmationRequest = 1;
    mail.printMailHeader = 0;
    mail.printErrorMessageBody = 0;
    mail.printDeliveryConfirmation = 1;
    mail.printSendRequestReply = 1;
    mail.confirmationTimer = 5;

    CTcpIpSettings& tcpIp = record.tcpIp;
    tcpIp.dhcpEnabled = 0;
    const BYTE ip[4] = {192, 168, 10, 20}, mask[4] = {255, 255, 0, 0}, gateway[4] = {192, 168, 10, 1};
    std::copy(ip, ip + 4, tcpIp.ipAddress);
    std::copy(mask, mask + 4, tcpIp.subnetMask);
    std::copy(gateway, gateway + 4, tcpIp.defaultGateway);
    tcpIp.broadcastInterval = 120;
    tcpIp.disconnectAfter = 90;

    CEmailSettings& email = record.email;
    email.machineAddress = "fax@atelier.fr";
    email.errorForwardAddress = "admin@atelier.fr";
    email.receiveMode = 1;
    const BYTE pop[4] = {10, 0, 0, 5}, smtp[4] = {10, 0, 0, 6};
    std::copy(pop, pop + 4, email.popServerAddress);
    email.popCheckInterval = 7;
    email.popUserName = "atelier";
    email.popPassword = " s3cret ";
    std::copy(smtp, smtp + 4, email.smtpServerAddress);
    email.smtpGateway = 1;

    record.ftp.ftpUserName = "scanner";
    record.ftp.ftpPassword = " mot de passe ";
    const BYTE lanFax[4] = {10, 1, 2, 3};
    std::copy(lanFax, lanFax + 4, record.lanFax.lanFaxServerAddress);
    record.ipxSpx.frameType = 3;

    CSnmpSettings& snmp = record.snmp;
    snmp.readCommunity = "lecture";
    snmp.readWriteCommunity = "ecriture";
    for (int CSnmpSettings::*trap :
         {&CSnmpSettings::trapOnline, &CSnmpSettings::trapOffline, &CSnmpSettings::trapPrinting,
          &CSnmpSettings::trapNetworkError, &CSnmpSettings::trapServiceRequest, &CSnmpSettings::trapMediaLow,
          &CSnmpSettings::trapMediaOut, &CSnmpSettings::trapIncident, &CSnmpSettings::trapMediaSizeMismatch,
          &CSnmpSettings::trapTonerLow, &CSnmpSettings::trapTonerOut, &CSnmpSettings::trapOutputTrayFull,
          &CSnmpSettings::trapCoverOpen, &CSnmpSettings::trapMemoryFull})
        snmp.*trap = 1 - snmp.*trap;
}

class SettingsRoundTrip : public SettingsWindows {
protected:
    // Each window shows the record and saves what it shows, as leaving it does.
    void EveryWindowSaves()
    {
        Reload();
        for (const Category panel : {PcFax, Reports, MailOptions})
            ASSERT_TRUE(Panel(panel)->UpdateData(TRUE)) << panel;
        for (const NetworkTab tab : {TcpIp, Email, Ftp, LanFax, IpxSpx, Snmp})
            ASSERT_TRUE(NetworkPage(tab)->UpdateData(TRUE)) << tab;
    }

    // The sections of these windows that differ between the records, by name.
    static std::vector<std::string> Differing(const CConfig& a, const CConfig& b)
    {
        std::vector<std::string> names;
        auto compare = [&](const char* name, bool same) {
            if (!same)
                names.push_back(name);
        };
        compare("reports", a.reports == b.reports);
        compare("pcFax", a.pcFax == b.pcFax);
        compare("mailOptions", a.mailOptions == b.mailOptions);
        compare("tcpIp", a.tcpIp == b.tcpIp);
        compare("email", a.email == b.email);
        compare("ftp", a.ftp == b.ftp);
        compare("lanFax", a.lanFax == b.lanFax);
        compare("ipxSpx", a.ipxSpx == b.ipxSpx);
        compare("snmp", a.snmp == b.snmp);
        return names;
    }

    void Connect(const CString& device)
    {
        PromptScript prompts;
        prompts.Dialog(IDD_DEVICE_SELECT, devicetest::ChooseDevice(device));
        Command(ID_DEVICE_CONNECT);
        ASSERT_TRUE(Document()->connected);
    }

    devicetest::DeviceFolder devices;
};

TEST_F(SettingsRoundTrip, EveryFieldSurvivesItsWindowAndASettingsFile)
{
    CConfig away;
    MoveAway(away);
    MoveAway(Record());
    EveryWindowSaves();
    EXPECT_EQ(Differing(Record(), away), std::vector<std::string>{});

    QTemporaryDir folder;
    const CString path = folder.filePath("reseau.tms");
    ASSERT_TRUE(Document()->OnSaveDocument(path));
    Record().DeleteContents();
    Reload();
    Document()->SetModifiedFlag(TRUE);
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO);   // the emptied record is not saved
        ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    }
    EveryWindowSaves();
    EXPECT_EQ(Differing(Record(), away), std::vector<std::string>{});
    // What the windows show after opening.
    EXPECT_EQ(Text(Panel(MailOptions), IDC_BODY_TEXT_LIMIT), CString("42"));
    EXPECT_EQ(Text(NetworkPage(Email), IDC_POP_PASSWORD), CString(" s3cret "));
    EXPECT_FALSE(Control(NetworkPage(TcpIp), IDC_DHCP)->SendMessage(BM_GETCHECK));
}

TEST_F(SettingsRoundTrip, EveryFieldSurvivesADeviceWriteAndRead)
{
    const CString device = devicetest::DeviceFolder::LocalDevice();
    Connect(device);
    CConfig away;
    MoveAway(away);
    MoveAway(Record());
    EveryWindowSaves();
    {
        PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        Command(ID_DEVICE_APPLY);
    }
    EXPECT_EQ(Differing(EmulatedDevice::Inspect(device)->config, away), std::vector<std::string>{});

    Command(ID_DEVICE_DISCONNECT);
    Record().DeleteContents();
    Reload();
    Document()->SetModifiedFlag(FALSE);
    Connect(device);
    EveryWindowSaves();
    EXPECT_EQ(Differing(Record(), away), std::vector<std::string>{});
}

} // namespace
