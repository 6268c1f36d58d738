// Tests of the emulated devices: each test gets a data folder of its own, a link without
// delay and no faults.
#pragma once

#include "records.h"

#include "device/lib/devicelist.h"
#include "device/lib/emulateddevice.h"
#include "support/devicefaults.h"

#include <QTemporaryDir>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class EmulatedDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        SetDeviceDataFolder(data.path());
        devicefaults::SetStepDelay(0);
        devicefaults::Clear();
    }

    void TearDown() override
    {
        devicefaults::Clear();
        devicefaults::SetStepDelay(-1);
        SetDeviceDataFolder(QString());
    }

    // Default devices of each kind.
    static CString TwoTrayLocalDevice() { return FindDefault([](const DeviceDefinition& d) { return d.trays == 2 && !IsNetwork(d); }); }
    static CString SingleTrayDevice() { return FindDefault([](const DeviceDefinition& d) { return d.trays == 1; }); }
    static CString NetworkDevice() { return FindDefault(IsNetwork); }

    // What the device stores, byte for byte; empty while it holds its factory values.
    static QByteArray StoredMemory(const CString& device)
    {
        QFile file(DeviceFilePath(device, "dev"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir data;

private:
    static bool IsNetwork(const DeviceDefinition& device) { return static_cast<const QString&>(device.name).startsWith('\\'); }

    template <class Rule>
    static CString FindDefault(Rule rule)
    {
        for (const DeviceDefinition& device : DefaultDeviceList().devices) {
            if (rule(device))
                return device.name;
        }
        ADD_FAILURE() << "no such default device";
        return CString();
    }
};
