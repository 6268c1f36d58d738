// The data library's device operations on the emulated devices: what they store, what
// they refuse, and that a failure at any point leaves the record and the device as they were.
#include "emulation.h"

#include "device/lib/devicelink.h"
#include "device/lib/devices.h"
#include "device/lib/filestore.h"
#include "device/lib/firmware.h"
#include "device/lib/recordcheck.h"
#include "device/lib/serialformat.h"

#include <functional>

namespace {

const CString busyText = "Le périphérique est occupé par un autre poste.";
const CString unreachableText = "Le périphérique ne répond pas.";
const CString cutOffText = "La connexion avec le périphérique a été coupée.";

class DeviceOperations : public EmulatedDeviceTest {
protected:
    // Reads the device into the record, which must succeed.
    static void ReadInto(const CString& device, CConfig& config)
    {
        CString detail;
        ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    }

    static CStringArray WriteFrom(const CString& device, CConfig& config)
    {
        CString detail;
        int unchanged = 0;
        EXPECT_TRUE(config.Write(device, detail, unchanged)) << Text(detail);
        EXPECT_EQ(unchanged, config.unchangedMailBoxes.GetSize());
        return config.unchangedMailBoxes;
    }

    static QStringList Texts(const CStringArray& texts)
    {
        QStringList list;
        for (INT_PTR i = 0; i < texts.GetSize(); ++i)
            list << texts[i];
        return list;
    }
};

TEST_F(DeviceOperations, DeviceNeverWrittenHoldsFactoryValuesAndReportsItself)
{
    for (const DeviceDefinition& device : DefaultDeviceList().devices) {
        SCOPED_TRACE(Text(device.name));
        CConfig config;
        ReadInto(device.name, config);

        const CMachineInfo& info = config.machineInfo;
        EXPECT_EQ(device.model, info.modelName);
        EXPECT_EQ(device.firmwareVersion, info.firmwareVersion);
        EXPECT_FALSE(info.memorySize.IsEmpty());
        EXPECT_EQ(device.trays == 2, static_cast<const QString&>(info.trayOptions).contains("magasin 2"));
        EXPECT_GT(info.printCount, 0);

        // Factory settings, and two mailboxes holding documents.
        CConfig factory;
        factory.machineInfo = config.machineInfo;
        EXPECT_EQ(Save(factory.machine), Save(config.machine));
        EXPECT_EQ(Save(factory.phoneBook), Save(config.phoneBook));
        EXPECT_EQ(2, config.mailBoxes.GetCount());
        EXPECT_TRUE(config.mailBoxes.IsBusy("10"));
        EXPECT_TRUE(config.mailBoxes.IsBusy("20"));
        EXPECT_FALSE(config.mailBoxes.IsBusy("30"));
        EXPECT_TRUE(StoredMemory(device.name).isEmpty()) << "reading stores nothing";
    }
}

TEST_F(DeviceOperations, WrittenRecordIsReadBackLaterFromTheStoredFile)
{
    const CString device = LocalDevice();
    CConfig sent;
    ReadInto(device, sent);
    const CMachineInfo deviceInfo = sent.machineInfo;
    FillSmallRecord(sent);   // machine information too, which the device does not take
    KeepWithinRules(sent);
    EXPECT_TRUE(WriteFrom(device, sent).IsEmpty());
    ASSERT_FALSE(StoredMemory(device).isEmpty());

    // The device keeps nothing in this process between operations: each one reads its file.
    CConfig back;
    ReadInto(device, back);
    sent.machineInfo = deviceInfo;
    ExpectSameRecord(sent, back);

    // Another device is not touched.
    CConfig other;
    ReadInto(SingleTrayDevice(), other);
    CMachineSettings factory;
    EXPECT_EQ(Save(factory), Save(other.machine));
}

TEST_F(DeviceOperations, MailboxesHoldingDocumentsAreKeptAndListed)
{
    const CString device = LocalDevice();
    CConfig config;
    ReadInto(device, config);
    ASSERT_TRUE(config.mailBoxes.Add(new CMailBox("30", "0000", 1)));
    EXPECT_TRUE(WriteFrom(device, config).IsEmpty()) << "busy mailboxes sent as they are";

    config.mailBoxes.Get("10")->password = "9999";
    CMailBox* twenty = config.mailBoxes.Get("20");
    config.mailBoxes.RemoveAt(config.mailBoxes.Find(twenty));
    delete twenty;
    config.mailBoxes.Get("30")->password = "3030";
    config.machine.companyName = "Corvane";

    EXPECT_EQ(QStringList({"10", "20"}), Texts(WriteFrom(device, config)));

    CConfig back;
    ReadInto(device, back);
    EXPECT_EQ(CString("1234"), back.mailBoxes.Get("10")->password);
    ASSERT_NE(nullptr, back.mailBoxes.Get("20"));
    EXPECT_EQ(1, back.mailBoxes.Get("20")->type);
    EXPECT_EQ(CString("3030"), back.mailBoxes.Get("30")->password);
    EXPECT_EQ(CString("Corvane"), back.machine.companyName);

    // The next write that leaves them alone clears the list.
    EXPECT_TRUE(WriteFrom(device, back).IsEmpty());
}

TEST_F(DeviceOperations, WriteThatLeavesNoRoomForABusyMailboxIsRefusedWhole)
{
    const CString device = LocalDevice();
    CConfig config;
    ReadInto(device, config);
    const QByteArray stored = StoredMemory(device);
    CMailBox* twenty = config.mailBoxes.Get("20");
    config.mailBoxes.RemoveAt(config.mailBoxes.Find(twenty));
    delete twenty;
    for (int n = 100; config.mailBoxes.GetCount() < CMailBox::max_count; ++n)
        ASSERT_TRUE(config.mailBoxes.Add(new CMailBox(QString::number(n))));

    CString detail;
    int unchanged = 0;
    EXPECT_FALSE(config.Write(device, detail, unchanged));
    EXPECT_TRUE(static_cast<const QString&>(detail).contains("20")) << Text(detail);
    EXPECT_EQ(0, unchanged);
    EXPECT_EQ(stored, StoredMemory(device));
}

// The device stores a record it takes whole as it was sent, and one it keeps some of its own
// in after its own changes; either way in the memory's own form, which it sends as it is.
TEST_F(DeviceOperations, TheDeviceStoresAndSendsTheRecordInItsOwnForm)
{
    const struct {
        const char* what;
        std::function<void(CConfig&)> edit;
        bool takenWhole;
    } writes[] = {
        {"taken whole", [](CConfig& c) { c.machine.companyName = "Corvane"; }, true},
        {"machine information kept", [](CConfig& c) { c.machineInfo.memorySize = "1 Go"; }, false},
        {"busy mailbox kept", [](CConfig& c) { c.mailBoxes.Get("10")->password = "9999"; }, false},
    };
    const CString device = LocalDevice();
    CMachineInfo deviceInfo = EmulatedDevice::Inspect(device)->config.machineInfo;
    CConfig full;
    FillFullRecord(full);
    KeepWithinRules(full);
    WriteFrom(device, full);
    for (const auto& write : writes) {
        SCOPED_TRACE(write.what);
        CConfig sent;
        ReadInto(device, sent);
        write.edit(sent);
        WriteFrom(device, sent);

        const std::unique_ptr<DeviceMemory> stored = EmulatedDevice::Inspect(device);
        EXPECT_EQ(Save(*stored), StoredMemory(device));
        EXPECT_EQ(write.takenWhole, Save(sent) == Save(stored->config));
        CConfig back;
        ReadInto(device, back);
        EXPECT_EQ(Save(stored->config), Save(back));
        EXPECT_EQ(Save(deviceInfo), Save(back.machineInfo));
        // Whatever the device keeps of its own, the rest is what was sent.
        CConfig::Sections([&](const char* name, auto section) {
            if (CString(name) != "machineInfo" && CString(name) != "mailBoxes") {
                EXPECT_EQ(Save(sent.*section), Save(back.*section)) << name;
            }
        });
        for (POSITION at = sent.mailBoxes.GetHeadPosition(); at != nullptr;) {
            const auto* box = static_cast<const CMailBox*>(sent.mailBoxes.GetNext(at));
            if (!back.mailBoxes.IsBusy(box->number)) {
                const CMailBox* kept = back.mailBoxes.Get(box->number);
                EXPECT_TRUE(kept != nullptr && *kept == *box) << Text(box->number);
            }
        }
    }
}

// The device reads the whole record it is sent: one that breaks anywhere is refused and the
// memory stays as it was.
TEST_F(DeviceOperations, AnUnreadableRecordIsRefused)
{
    const CString device = LocalDevice();
    CConfig full;
    FillFullRecord(full);
    KeepWithinRules(full);
    WriteFrom(device, full);
    const QByteArray stored = StoredMemory(device);
    const QByteArray record = Save(full);
    const qsizetype directory =
        serialformat::WriteToBytes([&](CArchive& ar) { full.SerializeLeadingSections(ar, "mailBoxes"); }).size();
    QByteArray wrongMagic = record;
    wrongMagic[0] = '\0';
    const struct {
        const char* what;
        QByteArray bytes;
    } records[] = {
        {"empty", QByteArray()},
        {"not a record", wrongMagic},
        {"cut in the mailboxes", record.left(directory - 10)},
        {"cut in the directory", record.left(record.size() - 10)},
    };
    for (const auto& sent : records) {
        SCOPED_TRACE(sent.what);
        EmulatedDevice link(device);
        try {
            link.WriteConfiguration(sent.bytes);
            ADD_FAILURE() << "taken";
        } catch (const DeviceError& error) {
            EXPECT_EQ(CString("Le périphérique a refusé la configuration : elle n'est pas valide."), error.detail);
        }
        EXPECT_EQ(stored, StoredMemory(device));
    }
}

// A device does not trust its client: a record that breaks a rule is refused whoever sends it,
// through the data library or straight to the device, and the memory stays as it was.
TEST_F(DeviceOperations, ARecordThatBreaksARuleIsRefused)
{
    const CString device = LocalDevice();
    CConfig small;
    FillSmallRecord(small);
    KeepWithinRules(small);
    WriteFrom(device, small);
    const QByteArray stored = StoredMemory(device);
    const CString refused = "Le périphérique a refusé la configuration : elle n'est pas valide.";
    // One of each kind of finding.
    const struct {
        const char* what;
        std::function<void(CConfig&)> spoil;
    } spoils[] = {
        {"a number out of its range", [](CConfig& c) { c.phoneLine.ringsBeforeAnswer = 12; }},
        {"a text too long", [](CConfig& c) { c.machine.companyName = QString(41, 'x'); }},
        {"a text of the wrong characters",
         [](CConfig& c) {
             c.faxReceive.secureReceive = 1;
             c.faxReceive.secureReceivePassword = "12a4";
         }},
        {"a missing entry",
         [](CConfig& c) {
             c.advanced.orderDestinationType = 2;
             c.advanced.orderDestination = "998";
         }},
        {"a key that dials nothing", [](CConfig& c) { ASSERT_TRUE(c.phoneBook.Add(new COneTouch(30))); }},
        {"a group without members", [](CConfig& c) { ASSERT_TRUE(c.phoneBook.Add(new CGroupDial(1500, "Vide"))); }},
        {"a relay without destinations",
         [](CConfig& c) { ASSERT_TRUE(c.mailBoxes.Add(new CMailBox("77", "", CMailBox::relayType))); }},
    };
    for (const auto& spoil : spoils) {
        SCOPED_TRACE(spoil.what);
        CConfig sent;
        ReadInto(device, sent);
        spoil.spoil(sent);
        ASSERT_EQ(CheckRecord(sent).size(), 1u);
        CString detail;
        int unchanged = 0;
        EXPECT_FALSE(sent.Write(device, detail, unchanged));
        EXPECT_EQ(refused, detail);
        EXPECT_EQ(stored, StoredMemory(device));
        try {
            EmulatedDevice(device).WriteConfiguration(Save(sent));
            ADD_FAILURE() << "taken";
        } catch (const DeviceError& error) {
            EXPECT_EQ(refused, error.detail);
        }
        EXPECT_EQ(stored, StoredMemory(device));
    }
}

// A memory whose record is cut short: no read takes it. A write that replaces the record
// mends it as long as what the device keeps of its own, ahead of the directory, is whole;
// else the write is refused and a reset mends it.
TEST_F(DeviceOperations, AMemoryWhoseRecordIsCutShortIsNeverRead)
{
    const CString device = LocalDevice();
    CConfig full;
    FillFullRecord(full);
    KeepWithinRules(full);
    WriteFrom(device, full);
    const QByteArray whole = StoredMemory(device);
    const struct {
        const char* what;
        qsizetype length;
        bool writeMends;
    } cuts[] = {
        {"in the directory", whole.size() - 1000, true},
        {"ahead of the directory", whole.size() - Save(full).size() + Save(full.machine).size() + 100, false},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.what);
        QFile file(DeviceFilePath(device, "dev"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(whole.left(cut.length));
        file.close();
        const QByteArray damaged = StoredMemory(device);

        CConfig config;
        FillSmallRecord(config);
        KeepWithinRules(config);
        const QByteArray before = Save(config);
        CString detail;
        EXPECT_FALSE(config.Read(device, detail));
        EXPECT_TRUE(static_cast<const QString&>(detail).contains("illisible")) << Text(detail);
        EXPECT_EQ(before, Save(config));

        int unchanged = 0;
        EXPECT_EQ(cut.writeMends, config.Write(device, detail, unchanged) != 0) << Text(detail);
        if (!cut.writeMends) {
            EXPECT_EQ(damaged, StoredMemory(device));
            ASSERT_TRUE(config.ResetDevice(device, detail)) << Text(detail);
        }
        CConfig back;
        ReadInto(device, back);
    }
}

TEST_F(DeviceOperations, SetDeviceTimeGivesTheDeviceThisComputersClock)
{
    const CString device = SingleTrayDevice();
    const CTime before = CTime::GetCurrentTime();
    EXPECT_LT(EmulatedDevice::Inspect(device)->Clock().GetTime(), before.GetTime() - 3600) << "factory clock is off";

    CString detail;
    ASSERT_TRUE(CConfig().SetDeviceTime(device, detail)) << Text(detail);

    const CTime clock = EmulatedDevice::Inspect(device)->Clock();
    EXPECT_LE(before, clock);
    EXPECT_LE(clock, CTime::GetCurrentTime());
}

TEST_F(DeviceOperations, ResetBringsBackFactorySettingsAndKeepsWhatBelongsToTheMachine)
{
    const CString device = LocalDevice();
    CConfig config;
    ReadInto(device, config);
    FillSmallRecord(config);
    KeepWithinRules(config);
    config.mailBoxes.Get("10")->password = "refused anyway";
    WriteFrom(device, config);
    CString detail;
    ASSERT_TRUE(config.SetDeviceTime(device, detail));
    const auto written = EmulatedDevice::Inspect(device);

    ASSERT_TRUE(config.ResetDevice(device, detail)) << Text(detail);

    const auto reset = EmulatedDevice::Inspect(device);
    CConfig factory;
    factory.machineInfo = written->config.machineInfo;
    EXPECT_EQ(Save(factory.machine), Save(reset->config.machine));
    EXPECT_EQ(Save(factory.phoneBook), Save(reset->config.phoneBook));
    EXPECT_EQ(Save(factory.clientCodes), Save(reset->config.clientCodes));
    EXPECT_EQ(Save(written->config.machineInfo), Save(reset->config.machineInfo));
    EXPECT_EQ(written->clockOffset, reset->clockOffset);
    // Only the mailboxes holding documents are left, as they were.
    EXPECT_EQ(QStringList({"10", "20"}), Texts(reset->busyMailBoxes));
    ASSERT_EQ(2, reset->config.mailBoxes.GetCount());
    EXPECT_EQ(CString("1234"), reset->config.mailBoxes.Get("10")->password);
}

TEST_F(DeviceOperations, ResetMendsAMemoryThatCannotBeRead)
{
    const CString device = SingleTrayDevice();
    QDir().mkpath(QFileInfo(DeviceFilePath(device, "dev")).absolutePath());
    QFile file(DeviceFilePath(device, "dev"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a device memory");
    file.close();

    CConfig config;
    CString detail;
    EXPECT_FALSE(config.Read(device, detail));
    EXPECT_TRUE(static_cast<const QString&>(detail).contains("illisible")) << Text(detail);

    ASSERT_TRUE(config.ResetDevice(device, detail)) << Text(detail);
    ReadInto(device, config);
    EXPECT_EQ(CString("Brevia Pro 40"), config.machineInfo.modelName);
}

TEST_F(DeviceOperations, UnknownDeviceIsNamedInTheDetail)
{
    CConfig config;
    CString detail;
    EXPECT_FALSE(config.Read("Brevia Pro 99", detail));
    EXPECT_EQ(CString("Périphérique inconnu : « Brevia Pro 99 »."), detail);
}

TEST_F(DeviceOperations, SecondClientIsRefusedUntilTheFirstCloses)
{
    const CString device = LocalDevice();
    const DWORD handle = DvlOpenMFP(device.GetString());
    ASSERT_NE(0u, handle);

    CConfig config;
    FillSmallRecord(config);
    KeepWithinRules(config);
    const QByteArray record = Save(config);
    CString detail;
    int unchanged = 0;
    EXPECT_FALSE(config.Read(device, detail));
    EXPECT_EQ(busyText, detail);
    EXPECT_FALSE(config.Write(device, detail, unchanged));
    EXPECT_EQ(record, Save(config));
    EXPECT_TRUE(StoredMemory(device).isEmpty());

    DvlCloseMFP(handle);
    ReadInto(device, config);
}

TEST_F(DeviceOperations, SlowDeviceStillCompletes)
{
    const CString device = LocalDevice();
    devicefaults::Inject(device, {DeviceFault::slow, 5});
    CConfig config;
    FillSmallRecord(config);
    KeepWithinRules(config);
    WriteFrom(device, config);
    CConfig back;
    ReadInto(device, back);
    EXPECT_EQ(Save(config.phoneBook), Save(back.phoneBook));
}

int Blocks(qint64 bytes)
{
    return static_cast<int>((bytes + EmulatedDevice::blockBytes - 1) / EmulatedDevice::blockBytes);
}

// A failure at any point of any operation changes nothing: neither the record nor what the
// device stores. The device stores a full record, many blocks long.
class FailingDevice : public DeviceOperations {
protected:
    using Operation = std::function<int(CConfig&, CString&)>;

    void SetUp() override
    {
        DeviceOperations::SetUp();
        CConfig stored;
        FillFullRecord(stored);
        KeepWithinRules(stored);
        WriteFrom(device, stored);
        storedBytes = Save(EmulatedDevice::Inspect(device)->config).size();
        memory = StoredMemory(device);

        CString reason;
        QByteArray bytes;
        ASSERT_TRUE(firmware::Build({"Brevia Pro 45", "9.99", firmwareImage}, bytes, reason));
        ASSERT_TRUE(WriteFileAtomically(firmwarePath, bytes, reason));
    }

    // A record that differs from the stored one, and the number of bytes it takes.
    static qint64 PrepareRecord(CConfig& config)
    {
        FillFullRecord(config);
        KeepWithinRules(config);
        config.machine.companyName = "changed";
        config.unchangedMailBoxes.Add("7");
        return Save(config).size();
    }

    void ExpectNothingChanges(const char* what, const DeviceFault& fault, const CString& expected, const Operation& run)
    {
        SCOPED_TRACE(what);
        devicefaults::Inject(device, fault);
        CConfig config;
        PrepareRecord(config);
        const QByteArray record = Save(config);
        CString detail;
        EXPECT_FALSE(run(config, detail));
        EXPECT_EQ(expected, detail);
        EXPECT_EQ(record, Save(config));
        EXPECT_EQ(QStringList({"7"}), Texts(config.unchangedMailBoxes));
        EXPECT_EQ(memory, StoredMemory(device));
    }

    const CString device = LocalDevice();
    const QString firmwarePath = data.filePath("good.bfw");
    const QByteArray firmwareImage = QByteArray(3 * EmulatedDevice::blockBytes, 'x');
    qint64 storedBytes = 0;
    QByteArray memory;

    const Operation read = [this](CConfig& config, CString& detail) { return config.Read(device, detail); };
    const Operation write = [this](CConfig& config, CString& detail) {
        int unchanged = 0;
        const int result = config.Write(device, detail, unchanged);
        EXPECT_EQ(0, unchanged);
        return result;
    };
    const Operation setTime = [this](CConfig& config, CString& detail) { return config.SetDeviceTime(device, detail); };
    const Operation reset = [this](CConfig& config, CString& detail) { return config.ResetDevice(device, detail); };
    const Operation upgrade = [this](CConfig&, CString& detail) {
        return UpgradeFirmware(device, 1, firmwarePath, detail);
    };
};

TEST_F(FailingDevice, RefusedConnectionChangesNothing)
{
    const struct {
        const char* what;
        DeviceFault fault;
        CString detail;
    } faults[] = {
        {"busy", {DeviceFault::busy}, busyText},
        {"unreachable", {DeviceFault::unreachable}, unreachableText},
        {"cut while connecting", {DeviceFault::cutOff, 0, -1, 0}, cutOffText},
    };
    for (const auto& fault : faults) {
        for (const Operation* operation : {&read, &write, &setTime, &reset, &upgrade})
            ExpectNothingChanges(fault.what, fault.fault, fault.detail, *operation);
    }
}

TEST_F(FailingDevice, CutInTheMiddleOrAtTheLastStepChangesNothing)
{
    CConfig sent;
    const qint64 sentBytes = PrepareRecord(sent);
    ASSERT_GT(Blocks(sentBytes), 3);
    ASSERT_GT(Blocks(storedBytes), 3);
    // Steps: 0 connects, then one per block moved, then one to store.
    const struct {
        const char* what;
        DeviceFault fault;
        const Operation& run;
    } cuts[] = {
        {"read, halfway", {DeviceFault::cutOff, 0, storedBytes / 2}, read},
        {"read, last block", {DeviceFault::cutOff, 0, -1, Blocks(storedBytes)}, read},
        {"write, halfway", {DeviceFault::cutOff, 0, sentBytes / 2}, write},
        {"write, second block", {DeviceFault::cutOff, 0, -1, 2}, write},
        {"write, as the device stores", {DeviceFault::cutOff, 0, -1, Blocks(sentBytes) + 1}, write},
        {"firmware, halfway", {DeviceFault::cutOff, 0, firmwareImage.size() / 2}, upgrade},
        {"firmware, as the device stores", {DeviceFault::cutOff, 0, -1, Blocks(firmwareImage.size()) + 1}, upgrade},
        {"set time, as the device stores", {DeviceFault::cutOff, 0, -1, 2}, setTime},
        {"reset, as the device stores", {DeviceFault::cutOff, 0, -1, 1}, reset},
    };
    for (const auto& cut : cuts)
        ExpectNothingChanges(cut.what, cut.fault, cutOffText, cut.run);

    // Once the link holds, the same write goes through.
    devicefaults::Clear();
    WriteFrom(device, sent);
    EXPECT_NE(memory, StoredMemory(device));
}

} // namespace
