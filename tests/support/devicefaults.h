// Failures and pace asked of the emulated devices, built only into test programs. Linking it
// installs the fault source at start-up; it also takes, once, the faults of the environment
// variable TAMSEL_DEVICE_FAULTS, for the programs a test starts. One fault a line,
// "KIND[=N]:DEVICE", KIND being
//   busy          another client holds the device
//   unreachable   the device does not answer
//   slow=N        each step takes N ms
//   cut-bytes=N   the link breaks once N bytes went over
//   cut-step=N    the link breaks as step N begins (0 is the connection)
#pragma once

#include "device/lib/emulateddevice.h"

namespace devicefaults {

// A fault of kind `none` clears the device's fault.
void Inject(const CString& device, const DeviceFault& fault);
// Clears every fault, those of TAMSEL_DEVICE_FAULTS too.
void Clear();
// The pace of every device; -1 goes back to the pace of devices.json.
void SetStepDelay(int milliseconds);

} // namespace devicefaults
