// The emulated devices behind the device link and the data library's device operations.
//
// A device serves one client at a time: connecting locks the device's lock file (flock, so
// the kernel releases it when a client dies) until the session ends; another client is told
// the device is busy. An operation is a run of steps, each taking the pace of the link: the
// connection, one per block of data moved, and one to store. The device stores its memory
// whole (devicememory.h), in the last step of an operation that changes it, so a failure at
// any earlier point leaves it as it was.
//
// Tests may tell a device to fail, through InjectFault in their own process, or for a program
// they start through the environment variable TAMSEL_DEVICE_FAULTS, read once when it is set:
// one fault a line, "KIND[=N]:DEVICE", KIND being
//   busy          another client holds the device
//   unreachable   the device does not answer
//   slow=N        each step takes N ms
//   cut-bytes=N   the link breaks once N bytes went over
//   cut-step=N    the link breaks as step N begins (0 is the connection)
#pragma once

#include "device/lib/devicelist.h"
#include "device/lib/devicememory.h"
#include "device/lib/firmware.h"

#include <memory>

// A device operation that failed, with the detail text for the user.
struct DeviceError {
    CString detail;
};

// A failure asked of a device; it lasts until it is replaced or cleared.
struct DeviceFault {
    enum Kind { none, busy, unreachable, slow, cutOff };
    Kind kind = none;
    int stepDelayMs = 0;             // slow
    qint64 afterBytes = -1;          // cutOff: after this many bytes went over...
    int atStep = -1;                 // ...or as this step begins
};

// One client's session with a device: constructing it connects, destroying it releases the
// device. Every failure throws DeviceError.
class EmulatedDevice {
public:
    static constexpr int blockBytes = 4096;

    explicit EmulatedDevice(const CString& name);
    ~EmulatedDevice();
    EmulatedDevice(const EmulatedDevice&) = delete;
    EmulatedDevice& operator=(const EmulatedDevice&) = delete;

    const DeviceDefinition& Definition() const { return definition; }
    // The status word of the device link (devicelink.h).
    ULONGLONG Status() const;

    // The configuration in the settings record's serialised form, and the numbers of the
    // mailboxes that hold documents.
    QByteArray ReadConfiguration(CStringArray& busyMailBoxes);
    // Takes a settings record in its serialised form, all but the machine information and
    // the mailboxes that hold documents; returns the numbers of those that the record would
    // have changed or deleted.
    CStringArray WriteConfiguration(const QByteArray& record);
    void SetClock(CTime now);
    // Factory settings, keeping what belongs to the machine: its information, its clock, its
    // firmware flag and the mailboxes that hold documents.
    void Reset();
    // The model is the caller's to check.
    void UpgradeFirmware(const FirmwareImage& firmware, int flag);

    // Test control, for the devices of this process.
    // A fault of kind `none` clears the device's fault.
    static void InjectFault(const CString& name, const DeviceFault& fault);
    // Clears every fault, those of TAMSEL_DEVICE_FAULTS too.
    static void ClearFaults();
    // The pace of every device; -1 goes back to the pace of devices.json.
    static void SetStepDelay(int milliseconds);
    // The device's memory as stored, without connecting.
    static std::unique_ptr<DeviceMemory> Inspect(const CString& name);

private:
    void Step();
    void Transfer(qint64 bytes);
    std::unique_ptr<DeviceMemory> LoadMemory() const;
    void Store(DeviceMemory& memory);

    DeviceDefinition definition;
    DeviceFault fault;
    int stepDelayMs = 0;
    CFile lock;
    int step = 0;
    qint64 transferred = 0;
};
