// The data library's operations on devices that are not about one settings record (those
// are CConfig's: Read, Write, SetDeviceTime, ResetDevice).
#pragma once

#include "afx/afx.h"

#include <functional>

// The names of the devices this computer reaches: the emulated devices of the device list,
// then the network devices at its addresses that answered in time ("\\HOST[:PORT]\Name");
// a leading backslash marks a network device. Non-zero on success; else `detail` says what
// went wrong.
int GetDevices(CStringList& devices, CString& detail);

// TRUE when the name is a network device's reached through its agent (networklink.h): it has
// the network form, and the device list holds no emulated device of that name.
bool IsNetworkDevice(const CString& device);

// Sends the firmware file (.bfw, by its full path) to the device after checking it is whole
// and made for the device's model (a network device keeps its settings across it, as below). The device keeps `flag` (1 when its download policy is
// "always"). Non-zero on success; else `detail` says what went wrong and the device is as
// it was.
int UpgradeFirmware(const CString& device, int flag, const CString& file, CString& detail);

// The steps of a firmware upgrade that keeps the device's settings, in their order.
enum class FirmwareStep { read, upgrade, writeBack };

// Reads the device's settings, sends it the firmware file with flag 1 when the settings' download
// policy is "always", then writes the settings back, which the new firmware may have lost. One
// session holds the device throughout, so no other client comes between the steps: it is
// told the device is busy. `stepBegins` is told of each step as it begins, on the calling
// thread; a failure belongs to the last step told. Non-zero on success; else `detail` says
// what went wrong.
int UpgradeFirmwareKeepingSettings(const CString& device, const CString& file, CString& detail,
                                   const std::function<void(FirmwareStep)>& stepBegins);
