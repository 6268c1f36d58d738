// The emulated devices behind the device link and the data library's device operations.
//
// A device serves one client at a time: connecting locks the device's lock file (flock, so
// the kernel releases it when a client dies) until the session ends; another client is told
// the device is busy. An operation is a run of steps, each taking the pace of the link: the
// connection, one per block of data moved, and one to store. The device stores its memory
// whole (devicememory.h), in the last step of an operation that changes it, so a failure at
// any earlier point leaves it as it was.
//
// Test programs may make a device fail or change its pace through a FaultSource; the shipped
// programs install none.
#pragma once

#include "device/lib/devicelist.h"
#include "device/lib/devicememory.h"
#include "device/lib/firmware.h"

#include <memory>

// What a device tells a client while it serves another.
inline constexpr char kDeviceBusyText[] = "Le périphérique est occupé par un autre poste.";

// A device operation that failed, with the detail text for the user; `busy` when another
// client held the device.
struct DeviceError {
    CString detail;
    bool busy = false;
};

// A failure asked of a device by a test.
struct DeviceFault {
    enum Kind { none, busy, unreachable, slow, cutOff };
    Kind kind = none;
    int stepDelayMs = 0;             // slow
    qint64 afterBytes = -1;          // cutOff: after this many bytes went over...
    int atStep = -1;                 // ...or as this step begins
};

// What a test program asks of the devices of its process, looked up as a session begins.
class FaultSource {
public:
    virtual ~FaultSource() = default;
    virtual DeviceFault FaultOf(const CString& device) = 0;
    // The pace of every device in ms; -1 keeps the pace of devices.json.
    virtual int StepDelayMs() = 0;
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
    ULONGLONG Status() const { return StatusOf(definition); }
    static ULONGLONG StatusOf(const DeviceDefinition& device);
    // The configuration's bytes as stored, nothing moved over the link: what a client that
    // read the device was given, to see whether it still stands.
    QByteArray StoredRecord() const;

    // The configuration in the settings record's serialised form, and the numbers of the
    // mailboxes that hold documents.
    QByteArray ReadConfiguration(CStringArray& busyMailBoxes);
    // Takes a settings record in its serialised form, all but the machine information and
    // the mailboxes that hold documents; returns the numbers of those that the record would
    // have changed or deleted. A record that cannot be read whole or that breaks a rule of the
    // record check (recordcheck.h) is refused, whoever sends it.
    CStringArray WriteConfiguration(const QByteArray& record);
    void SetClock(CTime now);
    // Factory settings, keeping what belongs to the machine: its information, its clock, its
    // firmware flag and the mailboxes that hold documents.
    void Reset();
    // The model is the caller's to check.
    void UpgradeFirmware(const FirmwareImage& firmware, int flag);

    // For test programs only; nullptr removes it.
    static void SetFaultSource(FaultSource* source);
    // The device's memory as stored, without connecting.
    static std::unique_ptr<DeviceMemory> Inspect(const CString& name);

private:
    void Step();
    void Transfer(qint64 bytes);
    std::unique_ptr<DeviceMemory> LoadMemory() const;
    void Store(DeviceMemory& memory);
    // The memory in its stored form.
    void Store(const QByteArray& memory);

    DeviceDefinition definition;
    DeviceFault fault;
    int stepDelayMs = 0;
    CFile lock;
    int step = 0;
    qint64 transferred = 0;
};
