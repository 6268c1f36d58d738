// Emulated devices in a data folder of their own, without delay or faults, for the life of
// the object; the default devices of each kind.
#pragma once

#include "device/lib/devicelist.h"

#include <QByteArray>
#include <QTemporaryDir>

class DeviceFolder {
public:
    DeviceFolder();
    ~DeviceFolder();
    DeviceFolder(const DeviceFolder&) = delete;
    DeviceFolder& operator=(const DeviceFolder&) = delete;

    // The devices this computer reaches, as devices.json lists them.
    static void WriteDeviceList(const QByteArray& json);

    // The default devices.
    static CString LocalDevice();   // two trays
    static CString SingleTrayDevice();

protected:
    QTemporaryDir data;
};
