// The device link: status words, callbacks, handles, and the one-client rule across
// processes.
#include "emulation.h"

#include "device/lib/devicelink.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

namespace {

class DeviceLink : public EmulatedDeviceTest {};

TEST_F(DeviceLink, SingleTrayBitsAreSetExactlyForASingleTrayDevice)
{
    for (const DeviceDefinition& device : DefaultDeviceList().devices) {
        SCOPED_TRACE(Text(device.name));
        const DWORD handle = DvlOpenMFP(device.name.GetString());
        ASSERT_NE(0u, handle);
        DWORD result = 99;
        const ULONGLONG status = DvlGetPrinterStatus(handle, &result);
        EXPECT_EQ(DVL_RESULT_OK, result);
        const bool lowBit = (static_cast<DWORD>(status) & 0x200000) != 0;
        const bool highBit = (static_cast<DWORD>(status >> 32) & 0x40000000) != 0;
        EXPECT_EQ(device.trays == 1, lowBit);
        EXPECT_EQ(device.trays == 1, highBit);
        EXPECT_TRUE(status & DVL_STATUS_READY);
        EXPECT_NE(0u, DvlCloseMFP(handle));
    }
}

TEST_F(DeviceLink, OpenFailsForAnUnknownBusyOrSilentDevice)
{
    EXPECT_EQ(0u, DvlOpenMFP(nullptr));
    EXPECT_EQ(0u, DvlOpenMFP(u"Brevia Pro 99"));

    const CString device = LocalDevice();
    // The console cuts names to 199 characters: a cut name is no device.
    EXPECT_EQ(0u, DvlOpenMFP(device.Left(device.GetLength() - 1).GetString()));

    devicefaults::Inject(device, {DeviceFault::unreachable});
    EXPECT_EQ(0u, DvlOpenMFP(device.GetString()));
    devicefaults::Inject(device, {DeviceFault::busy});
    EXPECT_EQ(0u, DvlOpenMFP(device.GetString()));
    devicefaults::Inject(device, {});
    const DWORD handle = DvlOpenMFP(device.GetString());
    EXPECT_NE(0u, handle);
    EXPECT_EQ(0u, DvlOpenMFP(device.GetString())) << "one client at a time";
    DvlCloseMFP(handle);
}

TEST_F(DeviceLink, ClosedHandleIsRefused)
{
    const DWORD handle = DvlOpenMFP(SingleTrayDevice().GetString());
    ASSERT_NE(0u, handle);
    ASSERT_NE(0u, DvlCloseMFP(handle));
    DWORD result = DVL_RESULT_OK;
    EXPECT_EQ(0u, DvlGetPrinterStatus(handle, &result));
    EXPECT_EQ(DVL_RESULT_BAD_HANDLE, result);
    EXPECT_EQ(0u, DvlCloseMFP(handle));
    EXPECT_EQ(0u, DvlRegisterCallback(handle, nullptr, 0));
}

struct StatusSeen {
    static inline int calls = 0;
    static inline DWORD context = 0;
    static inline ULONGLONG status = 0;
    static void Record(DWORD context, ULONGLONG status)
    {
        ++calls;
        StatusSeen::context = context;
        StatusSeen::status = status;
    }
};

TEST_F(DeviceLink, RegisteredCallbackIsToldOfStatusReadsUntilUnregistered)
{
    const DWORD handle = DvlOpenMFP(SingleTrayDevice().GetString());
    ASSERT_NE(0u, handle);
    StatusSeen::calls = 0;
    EXPECT_NE(0u, DvlRegisterCallback(handle, StatusSeen::Record, 4242));
    const ULONGLONG status = DvlGetPrinterStatus(handle, nullptr);
    EXPECT_EQ(1, StatusSeen::calls);
    EXPECT_EQ(4242u, StatusSeen::context);
    EXPECT_EQ(status, StatusSeen::status);

    // What the console does: a null callback brackets the query.
    EXPECT_NE(0u, DvlRegisterCallback(handle, nullptr, handle));
    DvlGetPrinterStatus(handle, nullptr);
    DvlUnregisterCallback(handle);
    DvlGetPrinterStatus(handle, nullptr);
    EXPECT_EQ(1, StatusSeen::calls);
    DvlCloseMFP(handle);
}

// The child's side of the next test: this program run again holds the device named by
// TAMSEL_TEST_HOLD_DEVICE, says so, and waits to be killed.
class HoldDevice : public ::testing::Test {
    void TestBody() override
    {
        SetDeviceDataFolder(qEnvironmentVariable("TAMSEL_TEST_HOLD_DATA"));
        devicefaults::SetStepDelay(0);
        const CString device = qEnvironmentVariable("TAMSEL_TEST_HOLD_DEVICE");
        ASSERT_NE(0u, DvlOpenMFP(device.GetString()));
        std::puts("DEVICE HELD");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
    }
};

const bool holderRegistered = qEnvironmentVariableIsSet("TAMSEL_TEST_HOLD_DEVICE")
                              && (::testing::RegisterTest("DeviceHolder", "HoldsTheDevice", nullptr, nullptr, __FILE__,
                                                          __LINE__, []() -> ::testing::Test* { return new HoldDevice; }),
                                  true);

TEST_F(DeviceLink, DeviceHeldByAKilledProcessIsFreeAgain)
{
    const CString device = LocalDevice();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TAMSEL_TEST_HOLD_DEVICE", device);
    environment.insert("TAMSEL_TEST_HOLD_DATA", data.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=DeviceHolder.HoldsTheDevice"});
    QByteArray output;
    while (!output.contains("DEVICE HELD") && child.waitForReadyRead(60000))
        output += child.readAllStandardOutput();
    ASSERT_TRUE(output.contains("DEVICE HELD")) << output.toStdString();

    CConfig config;
    CString detail;
    EXPECT_FALSE(config.Read(device, detail));
    EXPECT_EQ(CString("Le périphérique est occupé par un autre poste."), detail);

    child.kill();
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(QProcess::CrashExit, child.exitStatus());
    EXPECT_TRUE(config.Read(device, detail)) << Text(detail);
}

} // namespace
