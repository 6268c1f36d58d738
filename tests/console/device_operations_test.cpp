// The device commands of a started console, on emulated devices: what each asks, shows and
// sends, and what a failure leaves.
#include "device_console.h"

#include "afx/core/resources.h"
#include "device/lib/devicelink.h"
#include "device/lib/devicememory.h"
#include "device/lib/firmware.h"
#include "device/lib/serialformat.h"
#include "device/waitdlg.h"
#include "pages/machinepage.h"

#include <QGuiApplication>
#include <memory>
#include <vector>

namespace {

using devicetest::ChooseDevice;
using devicetest::DeviceFolder;

QByteArray Bytes(CObject& object)
{
    return serialformat::StoreToBytes(object);
}

// What the device keeps, read without connecting.
std::unique_ptr<DeviceMemory> Stored(const CString& device)
{
    return EmulatedDevice::Inspect(device);
}

// A wait window as the user saw it appear.
struct WaitWindowSeen {
    UINT picture = 0;     // IDB_WAIT_CONNECT, IDB_WAIT_UPDATE
    CString status;       // the status bar's text meanwhile
    bool waitCursor = false;
    bool operator==(const WaitWindowSeen&) const = default;
};

void PrintTo(const WaitWindowSeen& seen, std::ostream* os)
{
    *os << "{picture " << seen.picture << ", \"" << static_cast<const QString&>(seen.status).toStdString() << "\""
        << (seen.waitCursor ? ", wait cursor}" : "}");
}

CString StatusText(CFrameWnd* frame)
{
    auto* statusBar = dynamic_cast<CStatusBar*>(frame->GetMessageBar());
    return statusBar ? statusBar->GetPaneText(0) : CString();
}

bool WaitCursorShown()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

// Notes every wait window that appears.
class WaitWindowWatch : public QObject {
public:
    explicit WaitWindowWatch(CFrameWnd* frame) : frame(frame) { QCoreApplication::instance()->installEventFilter(this); }
    ~WaitWindowWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    std::vector<WaitWindowSeen> seen;
    // Told of each wait window as it appears, while the operation waits for it.
    std::function<void(const WaitWindowSeen&)> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || watched->property("templateId").toInt() != IDD_WAIT)
            return false;
        WaitWindowSeen window{0, StatusText(frame), WaitCursorShown()};
        {
            std::lock_guard lock(animationBlock.animationLock);
            for (UINT picture : {IDB_WAIT_CONNECT, IDB_WAIT_UPDATE}) {
                if (animationBlock.backgroundDC
                    && *animationBlock.backgroundDC == QImage(afx::ResourceScript::Instance().BitmapFile(int(picture))))
                    window.picture = picture;
            }
        }
        seen.push_back(window);
        if (shown)
            shown(window);
        return false;
    }

private:
    CFrameWnd* frame;
};

// The lines written to the debug output meanwhile.
class DebugOutput {
public:
    DebugOutput() : previous(qInstallMessageHandler(&Capture)) { Lines().clear(); }
    ~DebugOutput() { qInstallMessageHandler(previous); }
    static QStringList& Lines()
    {
        static QStringList lines;
        return lines;
    }

private:
    static void Capture(QtMsgType, const QMessageLogContext&, const QString& message) { Lines().append(message); }
    QtMessageHandler previous;
};

class DeviceOperationsTest : public devicetest::DeviceConsole {
protected:
    CString Idle() const { return LoadText(AFX_IDS_IDLEMESSAGE); }

    const CString device = DeviceFolder::LocalDevice();
};

TEST_F(DeviceOperationsTest, ConnectReadsTheChosenDevice)
{
    devicetest::WriteToDevice(device, [](CConfig& record) { record.machine.companyName = "Cabinet Durand"; });
    EXPECT_FALSE(ToolbarEnabled(ID_DEVICE_DISCONNECT));

    WaitWindowWatch watch(Frame());
    Connect(device);
    EXPECT_EQ(Doc().deviceName, device);
    EXPECT_EQ(Doc().config.machine.companyName, CString("Cabinet Durand"));
    EXPECT_EQ(Doc().config.machineInfo.modelName, CString("Brevia Pro 45"));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(ToolbarEnabled(ID_DEVICE_DISCONNECT));
    EXPECT_EQ(watch.seen, (std::vector<WaitWindowSeen>{{IDB_WAIT_CONNECT, LoadText(IDS_STATUS_CONNECTING), true}}));
    EXPECT_EQ(StatusText(Frame()), Idle());
    EXPECT_FALSE(WaitCursorShown());

    // Connecting again reads the same device without asking which.
    Doc().config.machine.companyName = "changé";
    Doc().SetModifiedFlag();
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDNO, LoadText(IDP_CONNECT_OVERWRITES));
        Command(ID_DEVICE_CONNECT);
        EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    }
    EXPECT_EQ(Doc().config.machine.companyName, CString("changé"));
    EXPECT_TRUE(Doc().IsModified());
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_CONNECT_OVERWRITES));
        Command(ID_DEVICE_CONNECT);
    }
    EXPECT_EQ(Doc().config.machine.companyName, CString("Cabinet Durand"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(DeviceOperationsTest, DisconnectForgetsTheDeviceAndKeepsTheRecord)
{
    Connect(device);
    Doc().config.machine.companyName = "gardé";
    Doc().SetModifiedFlag();
    Doc().config.unchangedMailBoxes.Add("10");
    ClickToolbar(ID_DEVICE_DISCONNECT);
    EXPECT_EQ(Doc().deviceName, CString());
    EXPECT_FALSE(Doc().connected);
    EXPECT_EQ(Doc().config.unchangedMailBoxes.GetSize(), 0);
    EXPECT_EQ(Doc().config.machine.companyName, CString("gardé"));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(ToolbarEnabled(ID_DEVICE_DISCONNECT));

    // The next apply asks for a device before writing.
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM)).Dialog(IDD_DEVICE_SELECT, ChooseDevice(device));
    Command(ID_DEVICE_APPLY);
    EXPECT_EQ(Stored(device)->config.machine.companyName, CString("gardé"));
}

TEST_F(DeviceOperationsTest, SelectionFailures)
{
    struct Case {
        const char* name;
        QByteArray deviceList;   // empty: the default devices
        bool cancel;
    };
    const Case cases[] = {
        {"the list cannot be read", "{ pas du JSON", false},
        {"the user cancels", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.deviceList.isEmpty())
            DeviceFolder::WriteDeviceList(c.deviceList);
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
        if (c.cancel)
            prompts.Dialog(IDD_DEVICE_SELECT, IDCANCEL);
        else
            prompts.MessageBox(IDOK);
        WaitWindowWatch watch(Frame());
        Command(ID_DEVICE_APPLY);
        EXPECT_EQ(Doc().deviceName, CString());
        EXPECT_TRUE(watch.seen.empty());
        if (!c.cancel) {
            const afx::Prompt& refusal = prompts.Shown().back();
            EXPECT_TRUE(refusal.text.Find(CString("devices.json")) >= 0) << static_cast<const QString&>(refusal.text).toStdString();
            EXPECT_EQ(refusal.type, UINT(MB_OK | MB_ICONERROR));
        }
        QFile::remove(DeviceDataFolder() + "/devices.json");
    }
}

TEST_F(DeviceOperationsTest, TheStatusProbeDecidesTheSecondTray)
{
    struct Case {
        CString device;
        bool busy;            // the link cannot open it
        BOOL before;
        BOOL after;
    };
    const Case cases[] = {
        {DeviceFolder::SingleTrayDevice(), false, TRUE, FALSE},
        {DeviceFolder::LocalDevice(), false, FALSE, TRUE},
        {DeviceFolder::LocalDevice(), true, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<const QString&>(c.device).toStdString());
        secondTrayShown = c.before;
        if (c.busy)
            devicefaults::Inject(c.device, {DeviceFault::busy});
        afx::testing::PromptScript prompts;
        prompts.Dialog(IDD_DEVICE_SELECT, ChooseDevice(c.device));
        EXPECT_TRUE(Doc().SelectDevice());
        EXPECT_EQ(Doc().deviceName, c.device);
        EXPECT_EQ(secondTrayShown, c.after);
        devicefaults::Clear();
    }
    secondTrayShown = TRUE;
}

// The data library takes the whole name; the device link only its first 199 characters.
TEST_F(DeviceOperationsTest, ALongNameIsCutForTheStatusProbeOnly)
{
    const QString longName = QString("Brevia ") + QString(243, QChar('x'));
    const QString probed = longName.left(199);
    DeviceFolder::WriteDeviceList(QString(R"({"devices": [{"name": "%1", "trays": 2}, {"name": "%2", "trays": 1}]})")
                                      .arg(longName, probed)
                                      .toUtf8());
    secondTrayShown = TRUE;
    afx::testing::PromptScript prompts;
    prompts.Dialog(IDD_DEVICE_SELECT, ChooseDevice(longName));
    Command(ID_DEVICE_CONNECT);
    EXPECT_TRUE(Doc().connected);
    EXPECT_EQ(Doc().deviceName, CString(longName));
    EXPECT_EQ(Doc().config.machineInfo.trayOptions, Stored(longName)->config.machineInfo.trayOptions);
    EXPECT_FALSE(secondTrayShown);   // the 199-character device has a single tray
    secondTrayShown = TRUE;
}

TEST_F(DeviceOperationsTest, ApplyAlwaysAsksAndWritesTheRecord)
{
    Connect(device);
    const QByteArray before = Bytes(Stored(device)->config);
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDNO, LoadText(IDP_APPLY_CONFIRM));
        Command(ID_DEVICE_APPLY);
        EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    }
    EXPECT_EQ(Bytes(Stored(device)->config), before);

    Doc().config.machine.companyName = "Étude Martin";
    Doc().SetModifiedFlag();
    WaitWindowWatch watch(Frame());
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM));
    Command(ID_DEVICE_APPLY);
    EXPECT_EQ(Stored(device)->config.machine.companyName, CString("Étude Martin"));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(watch.seen, (std::vector<WaitWindowSeen>{{IDB_WAIT_UPDATE, LoadText(IDS_STATUS_UPDATING), true}}));
    EXPECT_EQ(StatusText(Frame()), Idle());
}

TEST_F(DeviceOperationsTest, ApplyRefusesASuppliesOrderWithoutDestination)
{
    struct Case {
        int autoSupplyOrder, orderToner, orderDrum;
        const char* destination;
        bool refused;
    };
    const Case cases[] = {
        {1, 1, 0, "", true},
        {1, 0, 1, "", true},
        {1, 1, 1, "", true},
        {1, 0, 0, "", false},
        {0, 1, 1, "", false},
        {1, 1, 1, "0123456789", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoSupplyOrder << c.orderToner << c.orderDrum << c.destination);
        CAdvancedSettings& advanced = Doc().config.advanced;
        advanced.autoSupplyOrder = c.autoSupplyOrder;
        advanced.orderToner = c.orderToner;
        advanced.orderDrum = c.orderDrum;
        advanced.orderDestination = c.destination;
        afx::testing::PromptScript prompts;
        if (c.refused)
            prompts.MessageBox(IDOK, LoadText(IDP_SUPPLY_ORDER_NEEDS_ADDRESS));
        else
            prompts.MessageBox(IDNO, LoadText(IDP_APPLY_CONFIRM));
        Command(ID_DEVICE_APPLY);
        if (c.refused) {
            EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_OK | MB_ICONERROR));
        }
    }
}

TEST_F(DeviceOperationsTest, ABusyMailboxTheDeviceKeptIsListed)
{
    Connect(device);
    const std::unique_ptr<DeviceMemory> stored = Stored(device);
    const CStringArray& busy = stored->busyMailBoxes;
    ASSERT_GE(busy.GetSize(), 2);
    CMailBox* changed = Doc().config.mailBoxes.Get(busy[1]);
    ASSERT_NE(changed, nullptr);
    changed->password = "9999";

    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDYES, LoadText(IDP_APPLY_CONFIRM)).Dialog(IDD_UNCHANGED_MAILBOXES, [&](CDialog& dialog) {
        auto* list = static_cast<CListBox*>(dialog.GetDlgItem(IDC_UNCHANGED_MAILBOX_LIST));
        ASSERT_EQ(list->GetCount(), 1);
        CString number;
        list->GetText(0, number);
        EXPECT_EQ(number, busy[1]);
        dialog.EndDialog(IDOK);
    });
    Command(ID_DEVICE_APPLY);
    EXPECT_EQ(Doc().config.unchangedMailBoxes.GetSize(), 1);
    EXPECT_NE(Stored(device)->config.mailBoxes.Get(busy[1])->password, CString("9999"));
}

TEST_F(DeviceOperationsTest, SetTimeAsksNothingAndReports)
{
    Connect(device);
    const QByteArray record = Bytes(Doc().config);
    WaitWindowWatch watch(Frame());
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDOK, "Heure du périphérique définie à partir du PC");
    Command(ID_DEVICE_SET_TIME);
    EXPECT_EQ(prompts.Shown()[0].type, UINT(MB_OK));
    EXPECT_LE(qAbs(Stored(device)->Clock().GetTime() - CTime::GetCurrentTime().GetTime()), 60);
    EXPECT_EQ(watch.seen, (std::vector<WaitWindowSeen>{{IDB_WAIT_UPDATE, LoadText(IDS_STATUS_UPDATING), true}}));
    EXPECT_EQ(Bytes(Doc().config), record);
}

TEST_F(DeviceOperationsTest, ResetAsksFirstAndLeavesTheRecord)
{
    devicetest::WriteToDevice(device, [](CConfig& record) { record.machine.companyName = "avant"; });
    Connect(device);
    const QByteArray record = Bytes(Doc().config);
    {
        afx::testing::PromptScript prompts;
        prompts.MessageBox(IDNO, LoadText(IDP_RESET_CONFIRM));
        Command(ID_DEVICE_RESET);
    }
    EXPECT_EQ(Stored(device)->config.machine.companyName, CString("avant"));
    afx::testing::PromptScript prompts;
    prompts.MessageBox(IDYES, LoadText(IDP_RESET_CONFIRM));
    Command(ID_DEVICE_RESET);
    EXPECT_EQ(Stored(device)->config.machine.companyName, CString());
    EXPECT_EQ(Bytes(Doc().config), record);
    EXPECT_TRUE(Doc().connected);
}

// Every operation that fails shows its failure text with the library's detail, writes the
// detail to the debug output, and leaves the record as it was.
TEST_F(DeviceOperationsTest, AFailedOperationReportsAndChangesNothing)
{
    struct Case {
        UINT command;
        UINT question;          // 0: none
        UINT failure;
    };
    const Case cases[] = {
        {ID_DEVICE_CONNECT, 0, IDP_READ_FAILED},
        {ID_DEVICE_APPLY, IDP_APPLY_CONFIRM, IDP_UPDATE_FAILED},
        {ID_DEVICE_SET_TIME, 0, IDP_UPDATE_FAILED},
        {ID_DEVICE_RESET, IDP_RESET_CONFIRM, IDP_UPDATE_FAILED},
    };
    // Connect first: after its failure the device stays selected, so no case asks for one.
    Connect(device);
    Doc().config.machine.companyName = "local";
    const QByteArray record = Bytes(Doc().config);
    const QByteArray stored = Bytes(*Stored(device));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        devicefaults::Inject(device, {DeviceFault::unreachable});
        DebugOutput debug;
        CString shownDetail;
        afx::testing::PromptScript prompts;
        if (c.question)
            prompts.MessageBox(IDYES, LoadText(c.question));
        prompts.Dialog(IDD_DETAILS_MESSAGE, [&](CDialog& dialog) {
            CString message;
            dialog.GetDlgItemText(IDC_DETAILS_MESSAGE, message);
            EXPECT_EQ(message, LoadText(c.failure));
            dialog.GetDlgItemText(IDC_DETAILS_TEXT, shownDetail);
            EXPECT_EQ(StatusText(Frame()), Idle());
            EXPECT_FALSE(WaitCursorShown());
            dialog.EndDialog(IDOK);
        });
        Command(c.command);
        EXPECT_EQ(shownDetail, CString("Le périphérique ne répond pas."));
        EXPECT_TRUE(DebugOutput::Lines().contains(QString(shownDetail)));
        EXPECT_EQ(Bytes(Doc().config), record);
        EXPECT_EQ(Bytes(*Stored(device)), stored);
        // A failed read leaves the device selected but not connected.
        EXPECT_EQ(Doc().deviceName, device);
        EXPECT_FALSE(Doc().connected);
        EXPECT_FALSE(ToolbarEnabled(ID_DEVICE_DISCONNECT));
    }
}

TEST_F(DeviceOperationsTest, FactoryValuesRestoreTheDevicesSettingsOnly)
{
    Connect(device);
    CConfig& config = Doc().config;
    config.machine.companyName = "à effacer";
    config.phoneLine.ringsBeforeAnswer = 7;
    config.advanced.downloadMode = 0;
    config.faxSend = CFaxSendSettings();
    config.tcpIp.broadcastInterval = 99;
    const QByteArray phoneBook = Bytes(config.phoneBook);
    const QByteArray mailBoxes = Bytes(config.mailBoxes);
    const QByteArray clientCodes = Bytes(config.clientCodes);
    const QByteArray machineInfo = Bytes(config.machineInfo);
    const QByteArray stored = Bytes(*Stored(device));

    Command(ID_FACTORY_DEFAULTS);
    const CConfig factory;
    EXPECT_TRUE(config.machine == factory.machine);
    EXPECT_TRUE(config.phoneLine == factory.phoneLine);
    EXPECT_TRUE(config.advanced == factory.advanced);
    EXPECT_TRUE(config.faxSend == factory.faxSend);
    EXPECT_TRUE(config.faxReceive == factory.faxReceive);
    EXPECT_TRUE(config.pcFax == factory.pcFax);
    EXPECT_TRUE(config.reports == factory.reports);
    EXPECT_TRUE(config.mailOptions == factory.mailOptions);
    EXPECT_EQ(config.tcpIp.broadcastInterval, 99);
    EXPECT_EQ(Bytes(config.phoneBook), phoneBook);
    EXPECT_EQ(Bytes(config.mailBoxes), mailBoxes);
    EXPECT_EQ(Bytes(config.clientCodes), clientCodes);
    EXPECT_EQ(Bytes(config.machineInfo), machineInfo);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Bytes(*Stored(device)), stored);
}

// A firmware file made for the model.
QString WriteFirmware(const QString& folder, const CString& model, int imageBytes = 10)
{
    QByteArray bytes;
    CString reason;
    EXPECT_TRUE(firmware::Build({model, "3.00", QByteArray(imageBytes, 'F')}, bytes, reason));
    const QString path = folder + "/brevia.bfw";
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

class FirmwareUpgradeTest : public DeviceOperationsTest {
protected:
    // The device's settings with its download policy.
    void PrepareDevice(int downloadMode)
    {
        devicetest::WriteToDevice(device, [downloadMode](CConfig& record) {
            record.machine.companyName = "sur le périphérique";
            record.advanced.downloadMode = downloadMode;
        });
    }

    // Chooses the file, the device and says yes.
    void ScriptUpgrade(afx::testing::PromptScript& prompts, const QString& file)
    {
        prompts.FileDialog(IDOK, file)
            .Dialog(IDD_DEVICE_SELECT, ChooseDevice(device))
            .MessageBox(IDYES, LoadText(IDP_FIRMWARE_UPGRADE_CONFIRM));
    }

    QTemporaryDir files;
};

TEST_F(FirmwareUpgradeTest, SendsTheFileWithTheDevicesPolicyAndWritesTheSettingsBack)
{
    for (int downloadMode : {0, 1}) {
        SCOPED_TRACE(downloadMode);
        PrepareDevice(downloadMode);
        Doc().SetModifiedFlag(FALSE);
        const QByteArray record = Bytes(Doc().config);
        const QByteArray settings = Bytes(Stored(device)->config);
        WaitWindowWatch watch(Frame());
        afx::testing::PromptScript prompts;
        ScriptUpgrade(prompts, WriteFirmware(files.path(), "Brevia Pro 45"));
        Command(ID_DEVICE_UPGRADE_FIRMWARE);

        const afx::Prompt& fileDialog = prompts.Shown()[0];
        EXPECT_EQ(fileDialog.filter, LoadText(IDS_FIRMWARE_FILTER));
        EXPECT_EQ(fileDialog.text, LoadText(IDS_FIRMWARE_DIALOG_TITLE));
        EXPECT_EQ(fileDialog.defaultExt, CString("bfw"));
        EXPECT_EQ(fileDialog.type, UINT(TRUE));
        const std::unique_ptr<DeviceMemory> after = Stored(device);
        EXPECT_EQ(after->config.machineInfo.firmwareVersion, CString("3.00"));
        EXPECT_EQ(after->firmwareFlag, downloadMode == 0 ? 1 : 0);
        // The settings survive, and the document is not touched.
        CConfig written;
        serialformat::LoadFromBytes(written, settings);
        written.machineInfo = after->config.machineInfo;
        EXPECT_EQ(Bytes(after->config), Bytes(written));
        EXPECT_EQ(Bytes(Doc().config), record);
        EXPECT_FALSE(Doc().IsModified());
        EXPECT_FALSE(Doc().connected);
        EXPECT_EQ(watch.seen, (std::vector<WaitWindowSeen>{{IDB_WAIT_CONNECT, LoadText(IDS_STATUS_CONNECTING), true},
                                                           {IDB_WAIT_UPDATE, LoadText(IDS_STATUS_UPGRADING_FIRMWARE), true}}));
        EXPECT_EQ(StatusText(Frame()), Idle());
        Doc().OnDisconnect();   // a device chosen but not read: the menu cannot forget it
    }
}

// Another console that applies while the firmware goes over is told the device is busy, so
// the write-back undoes nothing it applied.
TEST_F(FirmwareUpgradeTest, HoldsTheDeviceFromTheReadToTheWriteBack)
{
    PrepareDevice(1);
    WaitWindowWatch watch(Frame());
    std::vector<CString> otherConsole;
    watch.shown = [&](const WaitWindowSeen& window) {
        if (window.picture != IDB_WAIT_UPDATE)
            return;
        CConfig other;
        other.machine.companyName = "autre console";
        CString detail;
        int unchanged = 0;
        EXPECT_FALSE(other.Write(device, detail, unchanged));
        otherConsole.push_back(detail);
    };
    afx::testing::PromptScript prompts;
    ScriptUpgrade(prompts, WriteFirmware(files.path(), "Brevia Pro 45"));
    Command(ID_DEVICE_UPGRADE_FIRMWARE);

    EXPECT_EQ(otherConsole, std::vector<CString>{"Le périphérique est occupé par un autre poste."});
    EXPECT_EQ(Stored(device)->config.machineInfo.firmwareVersion, CString("3.00"));
    EXPECT_EQ(Stored(device)->config.machine.companyName, CString("sur le périphérique"));
    Doc().OnDisconnect();   // a device chosen but not read: the menu cannot forget it
}

TEST_F(FirmwareUpgradeTest, StopsWhenTheUserDeclines)
{
    const QString file = WriteFirmware(files.path(), "Brevia Pro 45");
    const CString version = Stored(device)->config.machineInfo.firmwareVersion;
    {
        afx::testing::PromptScript prompts;
        prompts.FileDialog(IDCANCEL);
        Command(ID_DEVICE_UPGRADE_FIRMWARE);
    }
    {
        afx::testing::PromptScript prompts;
        prompts.FileDialog(IDOK, file).Dialog(IDD_DEVICE_SELECT, IDCANCEL);
        Command(ID_DEVICE_UPGRADE_FIRMWARE);
    }
    EXPECT_EQ(Doc().deviceName, CString());
    WaitWindowWatch watch(Frame());
    {
        afx::testing::PromptScript prompts;
        prompts.FileDialog(IDOK, file)
            .Dialog(IDD_DEVICE_SELECT, ChooseDevice(device))
            .MessageBox(IDNO, LoadText(IDP_FIRMWARE_UPGRADE_CONFIRM));
        Command(ID_DEVICE_UPGRADE_FIRMWARE);
        EXPECT_EQ(prompts.Shown()[2].type, UINT(MB_YESNO | MB_ICONQUESTION));
    }
    EXPECT_TRUE(watch.seen.empty());
    EXPECT_EQ(Stored(device)->config.machineInfo.firmwareVersion, version);
}

// Each step that fails stops the upgrade there, with its own text.
TEST_F(FirmwareUpgradeTest, AFailedStepIsReportedWithItsText)
{
    PrepareDevice(1);
    const CString factoryVersion = Stored(device)->config.machineInfo.firmwareVersion;
    // One session: the connection, a step a block of the read, the upgrade's store (its empty
    // image takes no block), then the write-back.
    CConfig probe;
    CString detail;
    ASSERT_TRUE(probe.Read(device, detail));
    const int readSteps = 1 + int((Bytes(probe).size() + EmulatedDevice::blockBytes - 1) / EmulatedDevice::blockBytes);
    struct Case {
        const char* name;
        DeviceFault fault;
        CString model;
        UINT failure;
        UINT status;   // in the status bar while the failure is told
        bool upgraded;
    };
    const Case cases[] = {
        {"the read", {DeviceFault::unreachable}, "Brevia Pro 45", IDP_READ_FAILED, IDS_STATUS_CONNECTING, false},
        {"the upgrade", {}, "Brevia Pro 40", IDP_FIRMWARE_UPGRADE_FAILED, IDS_STATUS_UPDATING, false},
        {"the upgrade cut off", {DeviceFault::cutOff, 0, -1, readSteps}, "Brevia Pro 45", IDP_FIRMWARE_UPGRADE_FAILED,
         IDS_STATUS_UPDATING, false},
        {"the write-back", {DeviceFault::cutOff, 0, -1, readSteps + 1}, "Brevia Pro 45", IDP_UPDATE_FAILED,
         IDS_STATUS_UPDATING, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        devicefaults::Inject(device, c.fault);
        DebugOutput debug;
        afx::testing::PromptScript prompts;
        ScriptUpgrade(prompts, WriteFirmware(files.path(), c.model, 0));
        prompts.Dialog(IDD_DETAILS_MESSAGE, [&](CDialog& dialog) {
            CString message;
            dialog.GetDlgItemText(IDC_DETAILS_MESSAGE, message);
            EXPECT_EQ(message, LoadText(c.failure));
            EXPECT_EQ(StatusText(Frame()), LoadText(c.status));
            CString shownDetail;
            dialog.GetDlgItemText(IDC_DETAILS_TEXT, shownDetail);
            EXPECT_FALSE(shownDetail.IsEmpty());
            EXPECT_TRUE(DebugOutput::Lines().contains(QString(shownDetail)));
            dialog.EndDialog(IDOK);
        });
        Command(ID_DEVICE_UPGRADE_FIRMWARE);
        devicefaults::Clear();
        EXPECT_EQ(Stored(device)->config.machineInfo.firmwareVersion, c.upgraded ? CString("3.00") : factoryVersion);
        EXPECT_EQ(StatusText(Frame()), Idle());
        Doc().OnDisconnect();   // a device chosen but not read: the menu cannot forget it
    }
}

} // namespace
