// What the tests of the device connection share: every prompt answered by a script or a
// failure, and emulated devices in a data folder of the test's own, without delay or faults.
#pragma once

#include "afx/afxwin.h"
#include "afx/win/testing.h"
#include "device/lib/devicelist.h"
#include "device/lib/emulateddevice.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const CString& text, std::ostream* os)
{
    PrintTo(static_cast<const QString&>(text), os);
}

namespace devicetest {

class PromptEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        afx::testing::SetFailureReporter([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
        afx::SetPromptAnswerer(&strict);
    }
    void TearDown() override { afx::SetPromptAnswerer(nullptr); }

private:
    afx::testing::StrictPrompts strict;
};

inline ::testing::Environment* const promptEnvironment = ::testing::AddGlobalTestEnvironment(new PromptEnvironment);

inline CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

class EmulatedDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        SetDeviceDataFolder(data.path());
        EmulatedDevice::SetStepDelay(0);
        EmulatedDevice::ClearFaults();
    }

    void TearDown() override
    {
        EmulatedDevice::ClearFaults();
        EmulatedDevice::SetStepDelay(-1);
        SetDeviceDataFolder(QString());
    }

    // The devices this computer reaches, as devices.json lists them.
    void WriteDeviceList(const QByteArray& json)
    {
        QDir().mkpath(DeviceDataFolder());
        QFile file(DeviceDataFolder() + "/devices.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

    // The first default device matching the rule.
    template <class Rule>
    static CString DefaultDevice(Rule rule)
    {
        for (const DeviceDefinition& device : DefaultDeviceList().devices) {
            if (rule(device))
                return device.name;
        }
        ADD_FAILURE() << "no such default device";
        return CString();
    }
    static bool IsNetwork(const DeviceDefinition& device) { return device.name.GetLength() > 0 && device.name[0] == '\\'; }
    static CString LocalDevice() { return DefaultDevice([](const DeviceDefinition& d) { return d.trays == 2 && !IsNetwork(d); }); }
    static CString SingleTrayDevice() { return DefaultDevice([](const DeviceDefinition& d) { return d.trays == 1; }); }
    static CString NetworkDevice() { return DefaultDevice(IsNetwork); }

    QTemporaryDir data;
};

} // namespace devicetest
