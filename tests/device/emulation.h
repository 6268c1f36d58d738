// Tests of the emulated devices: each test gets a data folder of its own, a link without
// delay and no faults.
#pragma once

#include "records.h"

#include "device/lib/devicelist.h"
#include "device/lib/emulateddevice.h"
#include "support/devicefaults.h"
#include "support/devicefolder.h"

class EmulatedDeviceTest : public ::testing::Test, public DeviceFolder {
protected:
    // What the device stores, byte for byte; empty while it holds its factory values.
    static QByteArray StoredMemory(const CString& device)
    {
        return FileBytes(DeviceFilePath(device, "dev"));
    }
};
