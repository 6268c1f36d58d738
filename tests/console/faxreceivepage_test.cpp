// The fax receive page in the started console, worked through its widgets: secure reception
// switched on, cancelled and off with its password dialog, the day flags in Sunday-first order,
// the radio pair, the defaults button, and the record through a settings file and a device.
#include "settingspage_fixture.h"

#include "device/lib/devicememory.h"
#include "pages/faxreceivepage.h"

#include <QClipboard>
#include <QDateTimeEdit>

using afx::testing::PromptScript;

namespace {

const CString kSecureReceiveNotice =
    "Toutes les télécopies reçues seront mémorisées dans le Brevia pendant la période déterminée.";
const CString kFourDigits = "Entrer mot de passe de 4 chiffres.";

// Works the password dialog: checks what it shows first, types over it, clicks the button.
std::function<void(CDialog&)> AnswerPassword(const QString& typed, int button, CString* shownFirst = nullptr)
{
    return [=](CDialog& dialog) {
        auto* edit = qobject_cast<QLineEdit*>(startup::Control(dialog, IDC_SECURE_PASSWORD));
        if (shownFirst)
            *shownFirst = edit->text();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        Click(dialog, button);
    };
}

// The password button and the twelve windows after it that secure reception enables.
constexpr int kSecureRun = 13;

class FaxReceivePage : public pagetest::PageOnShow<CFaxReceivePage> {
protected:
    CFaxReceiveSettings& FaxReceive() { return Document()->config.faxReceive; }
    std::vector<bool> SecureControls() const { return EnabledStates(IDC_SECURE_PASSWORD_BUTTON, kSecureRun); }

    // Clicks "Télécopies protégées" on, the notice and the password dialog answered.
    void SwitchSecureOn(const QString& password, int button, CString* shownFirst = nullptr)
    {
        PromptScript prompts;
        prompts.MessageBox(IDOK, kSecureReceiveNotice)
            .Dialog(IDD_SECURE_FAX_PASSWORD, AnswerPassword(password, button, shownFirst));
        Button(IDC_SECURE_RECEIVE).Click();
    }
    // Steps the hour of a picker one up with the arrow key, as a user does.
    void NextHour(int picker)
    {
        auto* edit = qobject_cast<QDateTimeEdit*>(Control(picker)->m_hWnd);
        edit->setFocus();
        edit->setCurrentSection(QDateTimeEdit::HourSection);
        QTest::keyClick(edit, Qt::Key_Up);
    }

    // Every field away from its factory value, through the widgets.
    void ChangeEveryField()
    {
        Button(IDC_DO_NOT_RECEIVE).Click();
        SwitchSecureOn("4321", IDOK);
        NextHour(IDC_START_TIME);
        NextHour(IDC_STOP_TIME);
        for (int box : {IDC_SUNDAY, IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY, IDC_THURSDAY, IDC_FRIDAY, IDC_SATURDAY})
            Button(box).Click();
        TypeOver(IDC_RECEIVE_INTERVAL, "7");
        for (int box : {IDC_PRINT_RECEIVE_FOOTER, IDC_DIRECTORY_NUMBERS_ONLY, IDC_REDUCE_TO_FIT,
                        IDC_PRINT_OVERFLOW_ON_NEXT_PAGE, IDC_COLLATE_FAXES})
            Button(box).Click();
    }
    static CFaxReceiveSettings Changed()
    {
        CFaxReceiveSettings changed;
        changed.receiveToMemory = 0;
        changed.secureReceive = 1;
        changed.secureReceiveWindow = CInterval(19 * 60, 9 * 60);
        std::fill(std::begin(changed.secureAllDay), std::end(changed.secureAllDay), 1);
        changed.receiveInterval = 7;
        changed.printReceiveFooter = 0;
        changed.directoryNumbersOnly = 1;
        changed.reduceToFit = 0;
        changed.printOverflowOnNextPage = 1;
        changed.collateFaxes = 0;
        changed.secureReceivePassword = "4321";
        return changed;
    }
};

TEST_F(FaxReceivePage, EveryFieldChangedReachesTheRecordAtOnce)
{
    EXPECT_EQ(HelpContext(), IDD_FAX_RECEIVE_PAGE);
    const CFaxReceiveSettings changed = Changed();
    pagetest::ExpectEveryFieldAwayFromItsDefault(changed);
    ChangeEveryField();
    EXPECT_TRUE(fields::SameFields(FaxReceive(), changed));
    EXPECT_TRUE(Document()->IsModified());
}

// What the secure reception switch leaves, worked from off with no password.
struct SecureCase {
    const char* name;
    const char* typed;
    int button;
    int secureReceive;
    const char* password;
};

TEST_F(FaxReceivePage, SecureReceptionNeedsFourDigitsToStayOn)
{
    for (const SecureCase& c : {SecureCase{"four digits", "2580", IDOK, 1, "2580"},
                                SecureCase{"cancelled", "2580", IDCANCEL, 0, ""}}) {
        SCOPED_TRACE(c.name);
        FaxReceive().secureReceive = 0;
        FaxReceive().secureReceivePassword.Empty();
        Reload();
        Document()->SetModifiedFlag(FALSE);
        SwitchSecureOn(c.typed, c.button);
        EXPECT_EQ(FaxReceive().secureReceive, c.secureReceive);
        EXPECT_EQ(FaxReceive().secureReceivePassword, CString(c.password));
        EXPECT_EQ(Button(IDC_SECURE_RECEIVE).GetCheck(), c.secureReceive ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(SecureControls(), std::vector<bool>(kSecureRun, c.secureReceive != 0));
        EXPECT_TRUE(Document()->IsModified());
    }
}

// Too short, and what a digits-only edit refuses typed or pasted: the dialog stays open with
// its message until four digits are given.
struct RefusedCase {
    const char* name;
    std::function<void(CEdit&)> enter;
};

TEST_F(FaxReceivePage, ThePasswordDialogTakesExactlyFourDigits)
{
    const RefusedCase cases[] = {
        {"three digits", [](CEdit& edit) { QTest::keyClicks(edit.m_hWnd, "123"); }},
        {"letters typed", [](CEdit& edit) { QTest::keyClicks(edit.m_hWnd, "ab12"); }},
        {"letters pasted", [](CEdit& edit) {
             QGuiApplication::clipboard()->setText("ab12");
             edit.Paste();
         }},
        {"empty", [](CEdit&) {}},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        FaxReceive().secureReceive = 1;
        FaxReceive().secureReceivePassword = "1111";
        Reload();
        PromptScript prompts;
        prompts.Dialog(IDD_SECURE_FAX_PASSWORD, [&](CDialog& dialog) {
            auto& edit = *static_cast<CEdit*>(dialog.GetDlgItem(IDC_SECURE_PASSWORD));
            edit.SetWindowText("");
            c.enter(edit);
            {
                PromptScript refusal;
                refusal.MessageBox(IDOK, kFourDigits);
                Click(dialog, IDOK);
                ASSERT_EQ(refusal.Shown().size(), 1u);
                EXPECT_EQ(refusal.Shown()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
            }
            EXPECT_EQ(dialog.m_hWnd->focusWidget(), edit.m_hWnd);
            // Five digits cannot be typed.
            edit.SetWindowText("");
            QTest::keyClicks(edit.m_hWnd, "98765");
            Click(dialog, IDOK);
        });
        Button(IDC_SECURE_PASSWORD_BUTTON).Click();
        EXPECT_EQ(FaxReceive().secureReceivePassword, CString("9876"));
    }
}

TEST_F(FaxReceivePage, ThePasswordButtonKeepsThePasswordWhenCancelled)
{
    FaxReceive().secureReceive = 1;
    FaxReceive().secureReceivePassword = "1357";
    Reload();
    CString shown;
    {
        PromptScript prompts;
        prompts.Dialog(IDD_SECURE_FAX_PASSWORD, AnswerPassword("2468", IDCANCEL, &shown));
        Button(IDC_SECURE_PASSWORD_BUTTON).Click();
    }
    EXPECT_EQ(shown, CString("1357"));
    EXPECT_EQ(FaxReceive().secureReceivePassword, CString("1357"));
    EXPECT_FALSE(Document()->IsModified());
    {
        PromptScript prompts;
        prompts.Dialog(IDD_SECURE_FAX_PASSWORD, AnswerPassword("2468", IDOK));
        Button(IDC_SECURE_PASSWORD_BUTTON).Click();
    }
    EXPECT_EQ(FaxReceive().secureReceivePassword, CString("2468"));
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(FaxReceivePage, SwitchingSecureReceptionOffForgetsThePassword)
{
    FaxReceive().secureReceive = 1;
    FaxReceive().secureReceivePassword = "1357";
    Reload();
    {
        PromptScript prompts;   // switching off asks nothing
        Button(IDC_SECURE_RECEIVE).Click();
    }
    EXPECT_EQ(FaxReceive().secureReceive, 0);
    EXPECT_EQ(FaxReceive().secureReceivePassword, CString());
    EXPECT_EQ(SecureControls(), std::vector<bool>(kSecureRun, false));
    // The window after the run is another setting's.
    EXPECT_TRUE(Control(IDC_SUNDAY)->GetWindow(GW_HWNDNEXT)->IsWindowEnabled());

    CString shown = "(not shown)";
    SwitchSecureOn("8642", IDOK, &shown);
    EXPECT_EQ(shown, CString());
    EXPECT_EQ(FaxReceive().secureReceivePassword, CString("8642"));
}

TEST_F(FaxReceivePage, DayFlagsBeginWithSunday)
{
    const int boxes[7] = {IDC_SUNDAY, IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY, IDC_THURSDAY, IDC_FRIDAY, IDC_SATURDAY};
    const char* names[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    FaxReceive().secureReceive = 1;
    FaxReceive().secureReceivePassword = "1357";
    Reload();
    for (int day = 0; day < 7; ++day) {
        SCOPED_TRACE(names[day]);
        Button(boxes[day]).Click();
        for (int other = 0; other < 7; ++other)
            EXPECT_EQ(FaxReceive().secureAllDay[other], other == day ? 1 : 0) << names[other];
        Button(boxes[day]).Click();
        // Loading puts each flag on its own box.
        std::fill(std::begin(FaxReceive().secureAllDay), std::end(FaxReceive().secureAllDay), 0);
        FaxReceive().secureAllDay[day] = 1;
        Reload();
        for (int other = 0; other < 7; ++other)
            EXPECT_EQ(Button(boxes[other]).GetCheck(), other == day ? BST_CHECKED : BST_UNCHECKED) << names[other];
        FaxReceive().secureAllDay[day] = 0;
        Reload();
    }
}

struct RadioCase {
    const char* name;
    int stored;
    int checked;
    int saved;
};

TEST_F(FaxReceivePage, WhenPrintingIsNotAvailable)
{
    for (const RadioCase& c : {RadioCase{"receive", 1, IDC_RECEIVE_TO_MEMORY, 1},
                               RadioCase{"do not receive", 0, IDC_DO_NOT_RECEIVE, 0},
                               RadioCase{"any other non-zero", 3, IDC_RECEIVE_TO_MEMORY, 1}}) {
        SCOPED_TRACE(c.name);
        FaxReceive().receiveToMemory = c.stored;
        Reload();
        EXPECT_EQ(Button(c.checked).GetCheck(), BST_CHECKED);
        Button(IDC_COLLATE_FAXES).Click();
        EXPECT_EQ(FaxReceive().receiveToMemory, c.saved);
    }
    Button(IDC_DO_NOT_RECEIVE).Click();
    EXPECT_EQ(FaxReceive().receiveToMemory, 0);
}

TEST_F(FaxReceivePage, TimesAndIntervalAreWrittenThrough)
{
    FaxReceive().secureReceive = 1;
    FaxReceive().secureReceivePassword = "1357";
    Reload();
    EXPECT_EQ(qobject_cast<QDateTimeEdit*>(Control(IDC_START_TIME)->m_hWnd)->displayFormat(), QStringLiteral("HH:mm"));
    NextHour(IDC_STOP_TIME);
    EXPECT_EQ(FaxReceive().secureReceiveWindow, CInterval(18 * 60, 9 * 60));
    EXPECT_TRUE(Document()->IsModified());
    TypeOver(IDC_RECEIVE_INTERVAL, "20");
    EXPECT_EQ(Text(IDC_RECEIVE_INTERVAL), CString("14"));
    EXPECT_EQ(FaxReceive().receiveInterval, 14);
}

TEST_F(FaxReceivePage, DefaultsRestoreOnlyThisSection)
{
    ChangeEveryField();
    Document()->config.faxSend.redialAttempts = 9;
    Document()->SetModifiedFlag(FALSE);
    Button(IDC_DEFAULTS).Click();
    const CConfig fresh;
    EXPECT_TRUE(fields::SameFields(FaxReceive(), fresh.faxReceive));
    EXPECT_EQ(Document()->config.faxSend.redialAttempts, 9);
    EXPECT_TRUE(Document()->IsModified());
    EXPECT_EQ(SecureControls(), std::vector<bool>(kSecureRun, false));
    EXPECT_EQ(Button(IDC_RECEIVE_TO_MEMORY).GetCheck(), BST_CHECKED);
}

TEST_F(FaxReceivePage, EveryFieldSurvivesASettingsFile)
{
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(SaveRestoreDefaultsAndReopen());
    EXPECT_TRUE(fields::SameFields(FaxReceive(), Changed()));
    EXPECT_EQ(SecureControls(), std::vector<bool>(kSecureRun, true));
    EXPECT_EQ(Button(IDC_SUNDAY).GetCheck(), BST_CHECKED);
    EXPECT_FALSE(Document()->IsModified());
}

TEST_F(FaxReceivePage, EveryFieldSurvivesADeviceApplyAndRead)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    ChangeEveryField();
    ASSERT_NO_FATAL_FAILURE(ApplyRestoreDefaultsAndRead(device));
    EXPECT_TRUE(fields::SameFields(EmulatedDevice::Inspect(device)->config.faxReceive, Changed()));
    EXPECT_TRUE(fields::SameFields(FaxReceive(), Changed()));
    EXPECT_EQ(Text(IDC_RECEIVE_INTERVAL), CString("7"));
}

} // namespace
