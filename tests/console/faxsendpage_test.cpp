// The fax send page in the started console, worked through its widgets: write-through of
// every change, the inverted line monitor, the enabling rules, the secure send notice, the
// defaults button, and the record through a settings file and through a device.
#include "settingspage_fixture.h"

#include "device/lib/devicememory.h"
#include "pages/faxsendpage.h"
#include "support/pick.h"

using afx::testing::PromptScript;

namespace {

const CString kSecureSendNotice =
    "Les télécopies ne sont envoyées que si le numéro de télécopieur distant correspond à celui composé.";

class FaxSendPage : public pagetest::PageOnShow<CFaxSendPage> {
protected:
    CFaxSendSettings& FaxSend() { return Document()->config.faxSend; }

    // Every field away from its factory value, through the widgets.
    void ChangeEveryField()
    {
        TypeOver(IDC_REDIAL_ATTEMPTS, "9");
        TypeOver(IDC_REDIAL_INTERVAL, "12");
        PickComboItem(Control(IDC_DIAL_TIMING)->m_hWnd, 1);
        PickComboItem(Control(IDC_LINE_MONITOR)->m_hWnd, 1);
        Button(IDC_STORE_FOR_RESEND).Click();
        TypeOver(IDC_RESEND_STORE_HOURS, "6");
        PickComboItem(Control(IDC_LONG_ORIGINAL)->m_hWnd, 1);
        PickComboItem(Control(IDC_SEND_HEADER_POSITION)->m_hWnd, 1);
        Button(IDC_SEND_HEADER).Click();
        Button(IDC_DEFAULT_COVER_PAGE).Click();
        Button(IDC_ALWAYS_SEND_FROM_MEMORY).Click();
        PromptScript prompts;
        prompts.MessageBox(IDOK, kSecureSendNotice);
        Button(IDC_SECURE_SEND).Click();
    }
    static CFaxSendSettings Changed()
    {
        CFaxSendSettings changed;
        changed.redialAttempts = 9;
        changed.redialInterval = 12;
        changed.dialTiming = 1;
        changed.lineMonitor = 0;
        changed.storeForResend = 1;
        changed.resendStoreHours = 6;
        changed.longOriginal = 1;
        changed.sendHeaderEnabled = 0;
        changed.sendHeaderPosition = 1;
        changed.defaultCoverPage = 1;
        changed.alwaysSendFromMemory = 1;
        changed.secureSend = 1;
        return changed;
    }
};

TEST_F(FaxSendPage, EveryFieldChangedReachesTheRecordAtOnce)
{
    EXPECT_EQ(HelpContext(), IDD_FAX_SEND_PAGE);
    const CFaxSendSettings changed = Changed();
    pagetest::ExpectEveryFieldAwayFromItsDefault(changed);
    ChangeEveryField();
    EXPECT_TRUE(fields::SameFields(FaxSend(), changed));
    EXPECT_TRUE(Document()->IsModified());
}

struct NumberCase {
    const char* name;
    int control;
    const char* typed;
    const char* shown;
    int stored;
};

TEST_F(FaxSendPage, NumberFieldsClampToTheirRanges)
{
    using F = CFaxSendSettings;
    const std::vector<std::pair<NumberCase, int F::*>> cases = {
        {{"attempts above 14", IDC_REDIAL_ATTEMPTS, "15", "14", 14}, &F::redialAttempts},
        {{"interval above 15", IDC_REDIAL_INTERVAL, "16", "15", 15}, &F::redialInterval},
        {{"interval zero", IDC_REDIAL_INTERVAL, "0", "1", 1}, &F::redialInterval},
        {{"hours above 24", IDC_RESEND_STORE_HOURS, "25", "24", 24}, &F::resendStoreHours},
        {{"hours zero", IDC_RESEND_STORE_HOURS, "0", "1", 1}, &F::resendStoreHours},
        {{"attempts zero", IDC_REDIAL_ATTEMPTS, "0", "0", 0}, &F::redialAttempts},
    };
    FaxSend().storeForResend = 1;
    Reload();
    for (const auto& [c, field] : cases) {
        SCOPED_TRACE(c.name);
        Document()->SetModifiedFlag(FALSE);
        TypeOver(c.control, c.typed);
        EXPECT_EQ(Text(c.control), CString(c.shown));
        EXPECT_EQ(FaxSend().*field, c.stored);
        EXPECT_TRUE(Document()->IsModified());
    }
}

// Each rule: the run of windows its switch enables (first window, count), and the switch.
struct RuleCase {
    const char* name;
    int firstInRun;
    int runLength;
    int switchBox;
};

TEST_F(FaxSendPage, DisabledFieldsKeepTheirValuesAndAreStillSaved)
{
    FaxSend().storeForResend = 1;
    FaxSend().resendStoreHours = 7;
    FaxSend().redialInterval = 11;
    FaxSend().sendHeaderPosition = 1;
    Reload();
    const RuleCase cases[] = {
        {"store for resending", IDC_RESEND_HOURS_LABEL, 3, IDC_STORE_FOR_RESEND},
        {"send header", IDC_SEND_HEADER_POSITION, 1, IDC_SEND_HEADER},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EnabledStates(c.firstInRun, c.runLength), std::vector<bool>(size_t(c.runLength), true));
        Button(c.switchBox).Click();
        EXPECT_EQ(EnabledStates(c.firstInRun, c.runLength), std::vector<bool>(size_t(c.runLength), false));
        // The switch before the run stays enabled.
        EXPECT_TRUE(Control(c.firstInRun)->GetWindow(GW_HWNDPREV)->IsWindowEnabled());
        Button(c.switchBox).Click();
        EXPECT_EQ(EnabledStates(c.firstInRun, c.runLength), std::vector<bool>(size_t(c.runLength), true));
    }
    EXPECT_EQ(FaxSend().resendStoreHours, 7);
    EXPECT_EQ(FaxSend().sendHeaderPosition, 1);
}

TEST_F(FaxSendPage, NoRedialAttemptDisablesTheIntervalAtOnceAndKeepsIt)
{
    FaxSend().redialInterval = 11;
    Reload();
    CWnd* label = Control(IDC_REDIAL_INTERVAL)->GetWindow(GW_HWNDPREV);
    CWnd* spin = Control(IDC_REDIAL_INTERVAL)->GetWindow(GW_HWNDNEXT);
    TypeOver(IDC_REDIAL_ATTEMPTS, "0");
    EXPECT_FALSE(label->IsWindowEnabled());
    EXPECT_FALSE(Control(IDC_REDIAL_INTERVAL)->IsWindowEnabled());
    EXPECT_FALSE(spin->IsWindowEnabled());
    EXPECT_EQ(Text(IDC_REDIAL_INTERVAL), CString("11"));
    EXPECT_EQ(FaxSend().redialInterval, 11);
    TypeOver(IDC_REDIAL_ATTEMPTS, "2");
    EXPECT_TRUE(label->IsWindowEnabled());
    EXPECT_TRUE(spin->IsWindowEnabled());
    // The check box after the spin is another rule's.
    EXPECT_TRUE(spin->GetWindow(GW_HWNDNEXT)->IsWindowEnabled());
}

struct MonitorCase {
    const char* name;
    int stored;
    int shownItem;
    int savedAfterAnotherChange;
};

TEST_F(FaxSendPage, LineMonitorIsShownInverted)
{
    for (const MonitorCase& c : {MonitorCase{"on", 1, 0, 1}, MonitorCase{"off", 0, 1, 0},
                                 MonitorCase{"any other non-zero", 5, 0, 1}, MonitorCase{"negative", -1, 0, 1}}) {
        SCOPED_TRACE(c.name);
        FaxSend().lineMonitor = c.stored;
        Reload();
        EXPECT_EQ(Combo(IDC_LINE_MONITOR).GetCurSel(), c.shownItem);
        Button(IDC_DEFAULT_COVER_PAGE).Click();
        EXPECT_EQ(FaxSend().lineMonitor, c.savedAfterAnotherChange);
    }
    PickComboItem(Control(IDC_LINE_MONITOR)->m_hWnd, 1);
    EXPECT_EQ(FaxSend().lineMonitor, 0);
    PickComboItem(Control(IDC_LINE_MONITOR)->m_hWnd, 0);
    EXPECT_EQ(FaxSend().lineMonitor, 1);
}

TEST_F(FaxSendPage, AChoiceTheListDoesNotOfferIsKept)
{
    FaxSend().dialTiming = 4;
    FaxSend().longOriginal = 9;
    Reload();
    EXPECT_EQ(Combo(IDC_DIAL_TIMING).GetCurSel(), CB_ERR);
    Button(IDC_ALWAYS_SEND_FROM_MEMORY).Click();
    EXPECT_EQ(FaxSend().dialTiming, 4);
    EXPECT_EQ(FaxSend().longOriginal, 9);
}

TEST_F(FaxSendPage, CheckingSecureSendShowsItsNoticeEachTime)
{
    for (int round = 0; round < 2; ++round) {
        {
            PromptScript prompts;
            prompts.MessageBox(IDOK, kSecureSendNotice);
            Button(IDC_SECURE_SEND).Click();
            ASSERT_EQ(prompts.Shown().size(), 1u);
            EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        }
        EXPECT_EQ(FaxSend().secureSend, 1);
        {
            PromptScript prompts;   // unchecking shows nothing
            Button(IDC_SECURE_SEND).Click();
        }
        EXPECT_EQ(FaxSend().secureSend, 0);
    }
}

TEST_F(FaxSendPage, DefaultsRestoreOnlyThisSection)
{
    ChangeEveryField();
    Document()->config.faxReceive.receiveInterval = 9;
    Document()->config.machine.contrast = 2;
    Document()->SetModifiedFlag(FALSE);
    Button(IDC_DEFAULTS).Click();
    const CConfig fresh;
    EXPECT_TRUE(fields::SameFields(FaxSend(), fresh.faxSend));
    EXPECT_EQ(Document()->config.faxReceive.receiveInterval, 9);
    EXPECT_EQ(Document()->config.machine.contrast, 2);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(Text(IDC_REDIAL_ATTEMPTS), CString("3"));
    EXPECT_TRUE(Control(IDC_SEND_HEADER_POSITION)->IsWindowEnabled());
    EXPECT_FALSE(Control(IDC_RESEND_STORE_HOURS)->IsWindowEnabled());
}

TEST_F(FaxSendPage, EveryFieldSurvivesASettingsFile)
{
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(SaveRestoreDefaultsAndReopen());
    EXPECT_TRUE(fields::SameFields(FaxSend(), Changed()));
    EXPECT_EQ(Text(IDC_REDIAL_INTERVAL), CString("12"));
    EXPECT_EQ(Combo(IDC_LINE_MONITOR).GetCurSel(), 1);
    EXPECT_FALSE(Control(IDC_SEND_HEADER_POSITION)->IsWindowEnabled());
    EXPECT_FALSE(Document()->IsModified());
}

TEST_F(FaxSendPage, EveryFieldSurvivesADeviceApplyAndRead)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(ApplyRestoreDefaultsAndRead(device));
    EXPECT_TRUE(fields::SameFields(EmulatedDevice::Inspect(device)->config.faxSend, Changed()));
    EXPECT_TRUE(fields::SameFields(FaxSend(), Changed()));
    EXPECT_EQ(Text(IDC_RESEND_STORE_HOURS), CString("6"));
    EXPECT_EQ(Button(IDC_SECURE_SEND).GetCheck(), BST_CHECKED);
}

} // namespace
