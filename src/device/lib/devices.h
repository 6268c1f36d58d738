// The data library's operations on devices that are not about one settings record (those
// are CConfig's: Read, Write, SetDeviceTime, ResetDevice).
#pragma once

#include "afx/afx.h"

// The names of the devices this computer reaches; a leading backslash marks a network
// device. Non-zero on success; else `detail` says what went wrong.
int GetDevices(CStringList& devices, CString& detail);

// Sends the firmware file (.bfw, by its full path) to the device after checking it is whole
// and made for the device's model. The device keeps `flag` (1 when its download policy is
// "always"). Non-zero on success; else `detail` says what went wrong and the device is as
// it was.
int UpgradeFirmware(const CString& device, int flag, const CString& file, CString& detail);
