// The machine settings page in the started console, worked through its widgets: every change
// reaches the record at once and marks the document modified, the enabling and showing rules,
// the account code notice, the defaults button, and a settings file saved and opened again.
#include "startup_fixture.h"

#include "device/lib/devicelink.h"
#include "frame/mainframe.h"
#include "pages/machinepage.h"
#include "support/pick.h"
#include "view/categorysheet.h"
#include "view/ntsview.h"

#include <QTemporaryDir>

using afx::testing::PromptScript;

namespace {

const CString kAccountCodeNotice =
    "Le Brevia vous invite à entrer un code à 4 chiffres lors de l'envoi de télécopies. Utilisez cette option "
    "si vous avez un système de suivi d'une autre société, comme Tallykeys\n";

class MachinePage : public startup::StartedConsole {
protected:
    void SetUp() override
    {
        StartedConsole::SetUp();
        auto* view = dynamic_cast<CNtsView*>(Frame()->GetActiveView());
        ASSERT_NE(view, nullptr);
        page = dynamic_cast<CMachinePage*>(view->SheetOf(0)->GetActivePage());
        ASSERT_NE(page, nullptr);
        ASSERT_NE(page->m_hWnd, nullptr);
        Document()->SetModifiedFlag(FALSE);
        Frame()->m_hWnd->activateWindow();   // so that the focus can move
        QApplication::processEvents();
    }
    void TearDown() override { secondTrayShown = TRUE; }

    CMachineSettings& Machine() { return Document()->config.machine; }
    CWnd* Control(int id) const { return page->GetDlgItem(id); }
    CComboBox& Combo(int id) const { return *static_cast<CComboBox*>(Control(id)); }
    CButton& Check(int id) const { return *static_cast<CButton*>(Control(id)); }
    CString Text(int id) const
    {
        CString text;
        page->GetDlgItemText(id, text);
        return text;
    }
    void Reload() { Document()->UpdateAllViews(nullptr, 0, nullptr); }
    // The window before the control in control order (its label).
    CWnd* Before(int id) const { return Control(id)->GetWindow(GW_HWNDPREV); }
    CWnd* After(int id) const { return Control(id)->GetWindow(GW_HWNDNEXT); }

    CMachinePage* page = nullptr;
};

struct ListCase {
    int control;
    int CMachineSettings::*field;
    int choice;
};

TEST_F(MachinePage, EveryChoiceReachesTheRecordAtOnceAndMarksTheDocumentModified)
{
    using M = CMachineSettings;
    for (const ListCase& c : {ListCase{IDC_RESOLUTION, &M::resolution, 0}, ListCase{IDC_CONTRAST, &M::contrast, 2},
                              ListCase{IDC_ACTIVITY_REPORT_KEY, &M::activityReportKey, 1},
                              ListCase{IDC_RINGER_VOLUME, &M::ringerVolume, 7}, ListCase{IDC_ALARM_VOLUME, &M::alarmVolume, 0},
                              ListCase{IDC_KEY_VOLUME, &M::keyVolume, 5}, ListCase{IDC_LINE_VOLUME, &M::lineVolume, 6},
                              ListCase{IDC_SUPER_SAVER_MODE, &M::superSaverMode, 1},
                              ListCase{IDC_TRAY1_PAPER_SIZE, &M::tray1PaperSize, 2},
                              ListCase{IDC_TRAY2_PAPER_SIZE, &M::tray2PaperSize, 1}}) {
        SCOPED_TRACE(::testing::Message() << "control " << c.control);
        Document()->SetModifiedFlag(FALSE);
        PickComboItem(Control(c.control)->m_hWnd, c.choice);
        EXPECT_EQ(Machine().*c.field, c.choice) << c.control;
        EXPECT_TRUE(Document()->IsModified()) << c.control;
    }
    // The arrow keys on a closed list choose too.
    Document()->SetModifiedFlag(FALSE);
    Control(IDC_CONTRAST)->SetFocus();
    QTest::keyClick(Control(IDC_CONTRAST)->m_hWnd, Qt::Key_Up);
    EXPECT_EQ(Machine().contrast, 1);
    EXPECT_TRUE(Document()->IsModified());
    for (const auto& [control, field] : std::vector<std::pair<int, int M::*>>{
             {IDC_POWER_SAVER, &M::powerSaverEnabled}, {IDC_FAX_SEPARATOR, &M::faxSeparatorSheet},
             {IDC_COLLATE_COPIES, &M::collateCopies}}) {
        Document()->SetModifiedFlag(FALSE);
        const int before = Machine().*field;
        Check(control).Click();
        EXPECT_EQ(Machine().*field, 1 - before) << control;
        EXPECT_TRUE(Document()->IsModified()) << control;
    }
}

TEST_F(MachinePage, TextFieldsAreWrittenThroughTrimmedAndWithinTheirLimits)
{
    QTest::keyClicks(Control(IDC_COMPANY_NAME)->m_hWnd, " Corvane SA ");
    EXPECT_EQ(Machine().companyName, CString("Corvane SA"));
    EXPECT_TRUE(Document()->IsModified());
    page->SetDlgItemText(IDC_COMPANY_NAME, CString());
    QTest::keyClicks(Control(IDC_COMPANY_NAME)->m_hWnd, QString(45, QChar('x')));
    EXPECT_EQ(Machine().companyName, CString(QString(40, QChar('x'))));

    page->minutesEdit.SetSel(0, -1);
    QTest::keyClicks(Control(IDC_SUPER_SAVER_MINUTES)->m_hWnd, "75");
    EXPECT_EQ(Text(IDC_SUPER_SAVER_MINUTES), CString("60"));
    EXPECT_EQ(Machine().superSaverMinutes, 60);

    // A name read with blanks is kept trimmed in the record.
    Machine().companyName = "  Atelier  ";
    Reload();
    EXPECT_EQ(Machine().companyName, CString("Atelier"));
    EXPECT_EQ(Text(IDC_COMPANY_NAME).Trim(), CString("Atelier"));
}

TEST_F(MachinePage, MinutesCountOnlyWhileTheSuperSaverIsAutomatic)
{
    auto minutesEnabled = [&] {
        const std::vector<CWnd*> run = {Before(IDC_SUPER_SAVER_MINUTES), Control(IDC_SUPER_SAVER_MINUTES),
                                        After(IDC_SUPER_SAVER_MINUTES)};
        std::vector<bool> states;
        for (CWnd* control : run)
            states.push_back(control->IsWindowEnabled());
        return states;
    };
    EXPECT_EQ(After(IDC_SUPER_SAVER_MINUTES)->GetDlgCtrlID(), IDC_SAVER_SPIN);
    Machine().superSaverMinutes = 25;
    for (const int mode : {1, 2}) {
        Machine().superSaverMode = mode;
        Reload();
        EXPECT_EQ(minutesEnabled(), (std::vector<bool>{false, false, false})) << mode;
        EXPECT_EQ(Text(IDC_SUPER_SAVER_MINUTES), CString("25"));
    }
    // Another change on the page keeps and saves the disabled value.
    Check(IDC_COLLATE_COPIES).Click();
    EXPECT_EQ(Machine().superSaverMinutes, 25);
    // The label before the run and the check box after the spin are not part of it.
    EXPECT_TRUE(Before(IDC_SUPER_SAVER_MINUTES)->GetWindow(GW_HWNDPREV)->IsWindowEnabled());
    EXPECT_TRUE(After(IDC_SAVER_SPIN)->IsWindowEnabled());

    PickComboItem(Control(IDC_SUPER_SAVER_MODE)->m_hWnd, 0);
    EXPECT_EQ(Machine().superSaverMode, 0);
    EXPECT_EQ(minutesEnabled(), (std::vector<bool>{true, true, true}));
}

TEST_F(MachinePage, TrayTwoIsHiddenWithoutASecondTrayYetStillExchanged)
{
    Machine().tray2PaperSize = 1;
    secondTrayShown = FALSE;
    Reload();
    EXPECT_FALSE(Control(IDC_TRAY2_PAPER_SIZE)->IsWindowVisible());
    EXPECT_FALSE(Before(IDC_TRAY2_PAPER_SIZE)->IsWindowVisible());
    EXPECT_TRUE(After(IDC_TRAY2_PAPER_SIZE)->IsWindowVisible());   // "Magasin 1"
    EXPECT_EQ(Combo(IDC_TRAY2_PAPER_SIZE).GetCurSel(), 1);
    Check(IDC_POWER_SAVER).Click();
    EXPECT_EQ(Machine().tray2PaperSize, 1);

    secondTrayShown = TRUE;
    Reload();
    EXPECT_TRUE(Control(IDC_TRAY2_PAPER_SIZE)->IsWindowVisible());
    EXPECT_TRUE(Before(IDC_TRAY2_PAPER_SIZE)->IsWindowVisible());
}

TEST_F(MachinePage, CheckingTheAccountCodeShowsItsNoticeEachTime)
{
    for (int round = 0; round < 2; ++round) {
        {
            PromptScript prompts;
            prompts.MessageBox(IDOK, kAccountCodeNotice);
            Check(IDC_ASK_ACCOUNT_CODE).Click();
            ASSERT_EQ(prompts.Shown().size(), 1u);
            EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        }
        EXPECT_EQ(Machine().askAccountCode, 1);
        EXPECT_EQ(CWnd::GetFocus(), Control(IDC_ASK_ACCOUNT_CODE));
        {
            PromptScript prompts;   // unchecking shows nothing
            Check(IDC_ASK_ACCOUNT_CODE).Click();
        }
        EXPECT_EQ(Machine().askAccountCode, 0);
    }
}

TEST_F(MachinePage, DefaultsRestoreOnlyThisSectionAndMarkTheDocumentModified)
{
    CMachineSettings& machine = Machine();
    machine.companyName = "Corvane";
    machine.resolution = 0;
    machine.contrast = 2;
    machine.activityReportKey = 2;
    machine.ringerVolume = 7;
    machine.alarmVolume = 0;
    machine.keyVolume = 7;
    machine.lineVolume = 0;
    machine.superSaverMode = 2;
    machine.superSaverMinutes = 59;
    machine.powerSaverEnabled = 0;
    machine.askAccountCode = 1;
    machine.faxSeparatorSheet = 1;
    machine.tray1PaperSize = 2;
    machine.tray2PaperSize = 1;
    machine.collateCopies = 0;
    Document()->config.faxSend.redialAttempts = 9;
    Reload();
    Document()->SetModifiedFlag(FALSE);

    Check(IDC_DEFAULTS).Click();
    const CConfig fresh;
    EXPECT_TRUE(fields::SameFields(machine, fresh.machine));
    EXPECT_EQ(Document()->config.faxSend.redialAttempts, 9);
    EXPECT_TRUE(Document()->IsModified());
    // The page shows the restored values and their rules.
    EXPECT_EQ(Combo(IDC_RESOLUTION).GetCurSel(), fresh.machine.resolution);
    EXPECT_EQ(Text(IDC_COMPANY_NAME), fresh.machine.companyName);
    EXPECT_EQ(Control(IDC_SUPER_SAVER_MINUTES)->IsWindowEnabled(), fresh.machine.superSaverMode == 0);

    // Even when nothing changes.
    Document()->SetModifiedFlag(FALSE);
    Check(IDC_DEFAULTS).Click();
    EXPECT_TRUE(Document()->IsModified());
}

TEST_F(MachinePage, EditsSurviveSavingAndOpeningASettingsFile)
{
    QTemporaryDir folder;
    const CString path = folder.filePath("atelier.tms");
    QTest::keyClicks(Control(IDC_COMPANY_NAME)->m_hWnd, "Atelier");
    PickComboItem(Control(IDC_CONTRAST)->m_hWnd, 1);
    PickComboItem(Control(IDC_SUPER_SAVER_MODE)->m_hWnd, 1);
    Check(IDC_FAX_SEPARATOR).Click();
    ASSERT_TRUE(Document()->OnSaveDocument(path));

    Check(IDC_DEFAULTS).Click();
    ASSERT_EQ(Machine().companyName, CString());
    {
        PromptScript prompts;
        prompts.MessageBox(IDNO);   // the changes since are not saved
        ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    }
    EXPECT_EQ(Machine().companyName, CString("Atelier"));
    EXPECT_EQ(Machine().contrast, 1);
    EXPECT_EQ(Machine().faxSeparatorSheet, 1);
    EXPECT_EQ(Text(IDC_COMPANY_NAME), CString("Atelier"));
    EXPECT_EQ(Combo(IDC_CONTRAST).GetCurSel(), 1);
    EXPECT_EQ(Check(IDC_FAX_SEPARATOR).GetCheck(), BST_CHECKED);
    EXPECT_FALSE(Control(IDC_SUPER_SAVER_MINUTES)->IsWindowEnabled());
    EXPECT_FALSE(Document()->IsModified());
}

} // namespace
