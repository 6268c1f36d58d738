// The machine information page in the started console: it shows the record's report as it
// stands and never marks the document modified, whether it is shown, left, reloaded, saved or
// read from a device.
#include "settingspage_fixture.h"

#include "device/lib/devicememory.h"
#include "pages/machineinfopage.h"

namespace {

class MachineInfoPage : public pagetest::PageOnShow<CMachineInfoPage> {
protected:
    CMachineInfo& Info() { return Document()->config.machineInfo; }

    // Leaves the page for the first tab of its sheet and comes back.
    void LeaveAndReturn()
    {
        auto* sheet = dynamic_cast<CPropertySheet*>(page->GetParent());
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(sheet->SetActivePage(0));
        ASSERT_TRUE(sheet->SetActivePage(page));
    }

    // What each value control shows against the record.
    void ExpectShown(const CMachineInfo& info)
    {
        EXPECT_EQ(Text(IDC_MODEL_NAME), info.modelName);
        EXPECT_EQ(Text(IDC_FIRMWARE_VERSION), info.firmwareVersion);
        EXPECT_EQ(Text(IDC_MEMORY_SIZE), info.memorySize);
        EXPECT_EQ(Text(IDC_TRAY_OPTIONS), info.trayOptions);
        EXPECT_EQ(Text(IDC_LANGUAGE_CODE), info.languageCode);
        EXPECT_EQ(Text(IDC_SCAN_COUNT), CString(QString::number(info.scanCount)));
        EXPECT_EQ(Text(IDC_PRINT_COUNT), CString(QString::number(info.printCount)));
        EXPECT_EQ(Text(IDC_DRUM_COUNT), CString(QString::number(info.drumCount)));
        EXPECT_EQ(Text(IDC_DOCUMENT_JAMS), CString(QString::number(info.documentJams)));
        EXPECT_EQ(Text(IDC_PRINT_JAMS), CString(QString::number(info.printJams)));
    }

    static CMachineInfo Reported()
    {
        CMachineInfo info;
        info.modelName = "Brevia 4&5 Duo";
        info.firmwareVersion = "  V2.10 (b) ";
        info.memorySize = "32 Mo";
        info.trayOptions = "Magasin 1 (250 feuilles), magasin 2 (500 feuilles)";
        info.languageCode = "FR";
        info.scanCount = 12034;
        info.printCount = 2147483647;
        info.drumCount = 8;
        info.documentJams = 3;
        info.printJams = 0;
        return info;
    }
};

TEST_F(MachineInfoPage, AFreshRecordShowsEmptyTextsAndZeroCounters)
{
    EXPECT_EQ(HelpContext(), IDD_MACHINE_INFO_PAGE);
    ExpectShown(CMachineInfo());
    EXPECT_EQ(Text(IDC_SCAN_COUNT), CString("0"));
    ASSERT_NO_FATAL_FAILURE(LeaveAndReturn());
    EXPECT_TRUE(fields::SameFields(Info(), CMachineInfo()));
    EXPECT_FALSE(Document()->IsModified());
}

// Shown as reported (blanks and "&" kept), left and shown again: the record is unchanged and
// the document never becomes modified.
TEST_F(MachineInfoPage, LeavingThePageKeepsTheReportAndNeverModifies)
{
    const CMachineInfo reported = Reported();
    Info() = reported;
    Reload();
    ExpectShown(reported);
    for (int round = 0; round < 2; ++round) {
        ASSERT_NO_FATAL_FAILURE(LeaveAndReturn());
        EXPECT_TRUE(fields::SameFields(Info(), reported));
        EXPECT_FALSE(Document()->IsModified());
    }
    // Nothing on the page can be edited.
    for (CWnd* child = page->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        TCHAR className[32] = {};
        child->GetClassName(className, 32);
        EXPECT_NE(CString(className).CompareNoCase("Edit"), 0) << child->GetDlgCtrlID();
        EXPECT_NE(CString(className).CompareNoCase("ComboBox"), 0) << child->GetDlgCtrlID();
    }
}

TEST_F(MachineInfoPage, TheReportSurvivesASettingsFile)
{
    const CMachineInfo reported = Reported();
    Info() = reported;
    Reload();
    QTemporaryDir folder;
    const CString path = folder.filePath("atelier.tms");
    ASSERT_TRUE(Document()->OnSaveDocument(path));
    Info() = CMachineInfo();
    Reload();
    ASSERT_NE(app.OpenDocumentFile(path), nullptr);
    EXPECT_TRUE(fields::SameFields(Info(), reported));
    ExpectShown(reported);
    EXPECT_FALSE(Document()->IsModified());
}

TEST_F(MachineInfoPage, ADeviceReadShowsTheDevicesOwnReport)
{
    const CString device = DeviceFolder::LocalDevice();
    Connect(device);
    const CMachineInfo reported = EmulatedDevice::Inspect(device)->config.machineInfo;
    pagetest::ExpectEveryFieldAwayFromItsDefault(reported);
    EXPECT_TRUE(fields::SameFields(Info(), reported));
    ExpectShown(reported);
    ASSERT_NO_FATAL_FAILURE(LeaveAndReturn());
    EXPECT_FALSE(Document()->IsModified());
    // An apply sends the record; the device keeps its own report, and so does the page.
    Document()->config.faxSend.redialAttempts = 9;
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        ClickToolbar(ID_DEVICE_APPLY);
    }
    EXPECT_TRUE(fields::SameFields(EmulatedDevice::Inspect(device)->config.machineInfo, reported));
    ExpectShown(reported);
}

} // namespace
