// The reports, PC fax and mail-option panels in the started console, worked through their
// widgets: every change reaches the record at once, the enabling rules, the keyboard that
// must not close a panel, and the defaults button of each.
#include "settingswindows_fixture.h"

#include "pages/mailoptionspanel.h"
#include "pages/pcfaxpanel.h"
#include "pages/reportspanel.h"

namespace {

using settingswindows::Category;

class SettingsPanels : public settingswindows::SettingsWindows {};

// A user's action on a panel control and the field it must change, with the value after.
struct ChangeCase {
    const char* name;
    Category panel;
    int control;
    int choice;   // a list's item; -1 for a click
    std::function<int(const CConfig&)> field;
    int expected;
};

TEST_F(SettingsPanels, EveryChangeReachesTheRecordAtOnceAndMarksTheDocumentModified)
{
    using settingswindows::MailOptions;
    using settingswindows::PcFax;
    using settingswindows::Reports;
    const CConfig fresh;
    const CReportSettings& r = fresh.reports;
    const CMailOptionSettings& m = fresh.mailOptions;
    const std::vector<ChangeCase> cases = {
        {"activity report", Reports, IDC_ACTIVITY_REPORT_AUTO, -1, [](const CConfig& c) { return c.reports.activityReportAuto; }, 1 - r.activityReportAuto},
        {"polling report", Reports, IDC_POLLING_REPORT, 2, [](const CConfig& c) { return c.reports.pollingReport; }, 2},
        {"broadcast report", Reports, IDC_BROADCAST_REPORT, 1, [](const CConfig& c) { return c.reports.broadcastReport; }, 1},
        {"broadcast first page", Reports, IDC_BROADCAST_FIRST_PAGE, -1, [](const CConfig& c) { return c.reports.broadcastReportFirstPage; }, 1 - r.broadcastReportFirstPage},
        {"local mailbox report", Reports, IDC_MAILBOX_REPORT_LOCAL, -1, [](const CConfig& c) { return c.reports.mailboxReportLocal; }, 1 - r.mailboxReportLocal},
        {"remote mailbox report", Reports, IDC_MAILBOX_REPORT_REMOTE, -1, [](const CConfig& c) { return c.reports.mailboxReportRemote; }, 1 - r.mailboxReportRemote},
        {"confirmation report", Reports, IDC_CONFIRMATION_REPORT, 0, [](const CConfig& c) { return c.reports.confirmationReport; }, 0},
        {"memory send report", Reports, IDC_MEMORY_SEND_REPORT, 0, [](const CConfig& c) { return c.reports.memorySendReport; }, 0},
        {"memory send first page", Reports, IDC_MEMORY_SEND_FIRST_PAGE, -1, [](const CConfig& c) { return c.reports.memorySendReportFirstPage; }, 1 - r.memorySendReportFirstPage},
        {"receive at the PC", PcFax, IDC_PC_RECEIVE_MODE, 1, [](const CConfig& c) { return c.pcFax.pcReceiveMode; }, 1},
        {"after the attempts", PcFax, IDC_AFTER_ATTEMPTS, 1, [](const CConfig& c) { return c.pcFax.afterAttempts; }, 1},
        {"print body text", MailOptions, IDC_PRINT_BODY_TEXT, -1, [](const CConfig& c) { return c.mailOptions.printBodyText; }, 1 - m.printBodyText},
        {"send request", MailOptions, IDC_SEND_REQUEST, -1, [](const CConfig& c) { return c.mailOptions.sendRequest; }, 1 - m.sendRequest},
        {"delivery confirmation request", MailOptions, IDC_DELIVERY_CONFIRMATION_REQUEST, -1, [](const CConfig& c) { return c.mailOptions.deliveryConfirmationRequest; }, 1 - m.deliveryConfirmationRequest},
        {"print mail header", MailOptions, IDC_PRINT_MAIL_HEADER, -1, [](const CConfig& c) { return c.mailOptions.printMailHeader; }, 1 - m.printMailHeader},
        {"print error message body", MailOptions, IDC_PRINT_ERROR_MESSAGE_BODY, -1, [](const CConfig& c) { return c.mailOptions.printErrorMessageBody; }, 1 - m.printErrorMessageBody},
        {"print delivery confirmation", MailOptions, IDC_PRINT_DELIVERY_CONFIRMATION, -1, [](const CConfig& c) { return c.mailOptions.printDeliveryConfirmation; }, 1 - m.printDeliveryConfirmation},
        {"print send request reply", MailOptions, IDC_PRINT_SEND_REQUEST_REPLY, -1, [](const CConfig& c) { return c.mailOptions.printSendRequestReply; }, 1 - m.printSendRequestReply},
        {"confirmation timer", MailOptions, IDC_CONFIRMATION_TIMER, 5, [](const CConfig& c) { return c.mailOptions.confirmationTimer; }, 5},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CDialog* panel = Panel(c.panel);
        ASSERT_NE(panel, nullptr);
        Document()->SetModifiedFlag(FALSE);
        ClickOrPick(panel, c.control, c.choice);
        EXPECT_EQ(c.field(Record()), c.expected);
        EXPECT_TRUE(Document()->IsModified());
    }
}

TEST_F(SettingsPanels, NumberFieldsAreWrittenThroughWithinTheirRanges)
{
    struct Case {
        const char* name;
        Category panel;
        int control;
        QString typed;
        CString shown;
        std::function<int(const CConfig&)> field;
    };
    for (const Case& c : {
             Case{"attempts", settingswindows::PcFax, IDC_PC_RECEIVE_ATTEMPTS, "12", "12", [](const CConfig& r) { return r.pcFax.pcReceiveAttempts; }},
             Case{"attempts above the range", settingswindows::PcFax, IDC_PC_RECEIVE_ATTEMPTS, "16", "15", [](const CConfig& r) { return r.pcFax.pcReceiveAttempts; }},
             Case{"interval", settingswindows::PcFax, IDC_PC_RETRY_INTERVAL, "9", "9", [](const CConfig& r) { return r.pcFax.pcRetryInterval; }},
             Case{"body text limit", settingswindows::MailOptions, IDC_BODY_TEXT_LIMIT, "42", "42", [](const CConfig& r) { return r.mailOptions.bodyTextLimit; }},
             Case{"body text limit emptied", settingswindows::MailOptions, IDC_BODY_TEXT_LIMIT, "", "1", [](const CConfig& r) { return r.mailOptions.bodyTextLimit; }},
         }) {
        SCOPED_TRACE(c.name);
        Record().pcFax.pcReceiveMode = 2;   // so that the PC fields take input
        CDialog* panel = Panel(c.panel);
        Reload();
        Document()->SetModifiedFlag(FALSE);
        TypeOver(panel, c.control, c.typed);
        EXPECT_EQ(Text(panel, c.control), c.shown);
        EXPECT_EQ(c.field(Record()), QString(c.shown).toInt());
        EXPECT_TRUE(Document()->IsModified());
    }
}

TEST_F(SettingsPanels, AReportNeverPrintedDisablesItsFirstPageAndKeepsItsCheck)
{
    CDialog* panel = Panel(settingswindows::Reports);
    for (const auto& [list, box] : {std::pair{IDC_BROADCAST_REPORT, IDC_BROADCAST_FIRST_PAGE},
                                    std::pair{IDC_MEMORY_SEND_REPORT, IDC_MEMORY_SEND_FIRST_PAGE}}) {
        SCOPED_TRACE(list);
        Pick(panel, list, 0);
        static_cast<CButton*>(Control(panel, box))->SetCheck(BST_CHECKED);
        Click(panel, IDC_ACTIVITY_REPORT_AUTO);   // any change saves the whole panel
        Pick(panel, list, 2);                     // "Jamais"
        EXPECT_FALSE(Control(panel, box)->IsWindowEnabled());
        EXPECT_EQ(static_cast<CButton*>(Control(panel, box))->GetCheck(), BST_CHECKED);
        Pick(panel, list, 1);
        EXPECT_TRUE(Control(panel, box)->IsWindowEnabled());
    }
    EXPECT_EQ(Record().reports.broadcastReportFirstPage, 1);
    EXPECT_EQ(Record().reports.memorySendReportFirstPage, 1);
}

TEST_F(SettingsPanels, PcFieldsCountOnlyWhileFaxesGoToThePc)
{
    CDialog* panel = Panel(settingswindows::PcFax);
    // The run from the attempts label to the list after the attempts, in control order.
    auto runStates = [&] {
        std::vector<bool> states;
        CWnd* window = Control(panel, IDC_PC_RECEIVE_ATTEMPTS)->GetWindow(GW_HWNDPREV);
        for (int step = 0; step < 8 && window; ++step, window = window->GetWindow(GW_HWNDNEXT))
            states.push_back(window->IsWindowEnabled());
        return states;
    };
    struct Case {
        const char* name;
        int mode;
        int attempts;
        std::vector<bool> states;   // label, attempts, spin, label, interval, spin, label, list
    };
    for (const Case& c : {Case{"never", 0, 3, {false, false, false, false, false, false, false, false}},
                          Case{"always", 2, 3, {true, true, true, true, true, true, true, true}},
                          Case{"always, no attempt", 2, 0, {true, true, true, false, false, true, true, true}},
                          Case{"mailboxes only", 1, 5, {true, true, true, true, true, true, true, true}}}) {
        SCOPED_TRACE(c.name);
        Record().pcFax.pcReceiveAttempts = c.attempts;
        Reload();
        Pick(panel, IDC_PC_RECEIVE_MODE, c.mode);
        EXPECT_EQ(runStates(), c.states);
        EXPECT_EQ(Record().pcFax.pcReceiveAttempts, c.attempts);
    }
    // Typing no attempt disables the interval at once.
    TypeOver(panel, IDC_PC_RECEIVE_ATTEMPTS, "0");
    EXPECT_FALSE(Control(panel, IDC_PC_RETRY_INTERVAL)->IsWindowEnabled());
}

TEST_F(SettingsPanels, TheBodyTextLimitCountsOnlyWhileTheBodyIsPrinted)
{
    CDialog* panel = Panel(settingswindows::MailOptions);
    Record().mailOptions.printBodyText = 1;
    Record().mailOptions.bodyTextLimit = 33;
    Reload();
    Click(panel, IDC_PRINT_BODY_TEXT);
    for (CWnd* window : {Control(panel, IDC_BODY_TEXT_LIMIT)->GetWindow(GW_HWNDPREV), Control(panel, IDC_BODY_TEXT_LIMIT),
                         Control(panel, IDC_BODY_TEXT_LIMIT)->GetWindow(GW_HWNDNEXT)})
        EXPECT_FALSE(window->IsWindowEnabled()) << window->GetDlgCtrlID();
    EXPECT_TRUE(Control(panel, IDC_SEND_REQUEST)->IsWindowEnabled());
    EXPECT_EQ(Record().mailOptions.bodyTextLimit, 33);
    Click(panel, IDC_PRINT_BODY_TEXT);
    EXPECT_TRUE(Control(panel, IDC_BODY_TEXT_LIMIT)->IsWindowEnabled());
}

TEST_F(SettingsPanels, EnterAndEscapeLeaveEveryPanelShownAndUnchanged)
{
    struct Case {
        const char* name;
        Category panel;
        int focused;
    };
    for (const Case& c : {Case{"reports", settingswindows::Reports, IDC_ACTIVITY_REPORT_AUTO},
                          Case{"PC fax", settingswindows::PcFax, IDC_PC_RECEIVE_ATTEMPTS},
                          Case{"mail options", settingswindows::MailOptions, IDC_BODY_TEXT_LIMIT}}) {
        SCOPED_TRACE(c.name);
        CDialog* panel = Panel(c.panel);
        const QByteArray before = Serialized(Record());
        Document()->SetModifiedFlag(FALSE);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            Control(panel, c.focused)->SetFocus();
            QTest::keyClick(Widget(panel, c.focused), key);
            QApplication::processEvents();
            EXPECT_TRUE(panel->IsWindowVisible()) << key;
            EXPECT_NE(panel->m_hWnd, nullptr) << key;
        }
        EXPECT_EQ(Serialized(Record()), before);
        EXPECT_FALSE(Document()->IsModified());
    }
}

TEST_F(SettingsPanels, EachDefaultsButtonRestoresOnlyItsOwnSection)
{
    // Every section a panel edits, and one of the others, away from its defaults.
    auto moveAway = [](CConfig& record) {
        record.reports.activityReportAuto = 0;
        record.reports.broadcastReport = 2;
        record.reports.mailboxReportRemote = 0;
        record.pcFax.pcReceiveMode = 2;
        record.pcFax.pcReceiveAttempts = 9;
        record.mailOptions.bodyTextLimit = 77;
        record.mailOptions.confirmationTimer = 0;
        record.machine.companyName = "Atelier";
    };
    struct Case {
        const char* name;
        Category panel;
        std::function<void(CConfig&)> restoreOwnSection;
    };
    for (const Case& c : {Case{"reports", settingswindows::Reports, [](CConfig& r) { r.reports = CConfig().reports; }},
                          Case{"PC fax", settingswindows::PcFax, [](CConfig& r) { r.pcFax = CConfig().pcFax; }},
                          Case{"mail options", settingswindows::MailOptions, [](CConfig& r) { r.mailOptions = CConfig().mailOptions; }}}) {
        SCOPED_TRACE(c.name);
        moveAway(Record());
        Reload();
        Document()->SetModifiedFlag(FALSE);
        Click(Panel(c.panel), IDC_DEFAULTS);
        CConfig expected;
        moveAway(expected);
        c.restoreOwnSection(expected);
        EXPECT_EQ(Serialized(Record()), Serialized(expected));
        EXPECT_TRUE(Document()->IsModified());
    }
}

} // namespace
