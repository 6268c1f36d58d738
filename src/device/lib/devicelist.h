// The emulated devices this computer can reach, and where they keep their data.
//
// Everything lives under <data>/Corvane/Tamsel/, <data> being the user's data folder
// (QStandardPaths::GenericDataLocation, shared by the console and tamselctl) unless
// SetDeviceDataFolder names another:
//
//   devices.json          the devices and the pace of the link; optional
//   devices/<file>.dev    what a device keeps between sessions (devicememory.h)
//   devices/<file>.lock   locked (flock) by the one client the device serves
//
// <file> is the device name with every character that is unsafe in a file name
// percent-encoded ("Brevia Pro 45 %2F Accueil"); a long name is cut and given a hash
// of the whole, so that the file name stays within the system's limit.
//
// devices.json, every key optional:
//   {"stepDelayMs": 120,
//    "devices": [{"name": "Brevia Pro 45 (USB001)", "model": "Brevia Pro 45", "trays": 2,
//                 "firmwareVersion": "2.14"}, ...],
//    "network": ["HOST:PORT", "[IPV6]:PORT", ...]}
// "network" names the addresses of network devices (tamsel-agent, networklink.h), at most
// maxNetworkAddresses entries; the port may be left out. An entry may be an IPv4 range,
// "A.B.C.D/N[:PORT]" (discovery.h); agents announced on the local network are found too.
// Without "devices", the default devices below; "trays" is 1 or 2 (default 2), "model" and
// "firmwareVersion" default to "Brevia Pro 45" and "1.00". Names are unique, not empty, and
// never begin with a backslash: that form names a network device.
#pragma once

#include "afx/afx.h"

#include <QList>
#include <QString>
#include <QStringList>

struct DeviceDefinition {
    CString name;
    CString model;
    int trays = 2;
    CString firmwareVersion;         // what the device runs when it leaves the factory
};

struct DeviceList {
    static constexpr int defaultStepDelayMs = 120;

    static constexpr int maxNetworkAddresses = 256;

    int stepDelayMs = defaultStepDelayMs;   // each step of an operation takes this long
    QList<DeviceDefinition> devices;
    QStringList network;                    // addresses of network devices, as written

    // The device of that name, nullptr when there is none.
    const DeviceDefinition* Find(const CString& name) const;
};

// The default devices: two local ones (the second with a single tray) and a network one.
DeviceList DefaultDeviceList();

// Reads devices.json, or gives the defaults when there is none. FALSE with the detail text
// for the user when the file cannot be read or breaks the rules above.
BOOL LoadDeviceList(DeviceList& list, CString& detail);

// <data>/Corvane/Tamsel. SetDeviceDataFolder puts another folder in place of <data> (tests
// name a temporary one); an empty one brings back the user's data folder. SetDeviceStoreFolder
// names the whole folder instead (the device agent's store); it takes precedence while set.
QString DeviceDataFolder();
void SetDeviceDataFolder(const QString& dataFolder);
void SetDeviceStoreFolder(const QString& storeFolder);

// Where the device of that name keeps its memory and its lock.
QString DeviceFilePath(const CString& name, const char* extension);
