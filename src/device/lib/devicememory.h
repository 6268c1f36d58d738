// What an emulated device keeps between sessions, in its .dev file.
#pragma once

#include "device/lib/config.h"
#include "device/lib/devicelist.h"

#include <memory>

class DeviceMemory : public CObject {
public:
    // A device fresh from the factory: factory settings, its machine information, a clock
    // that was never set, and two mailboxes that hold documents.
    static std::unique_ptr<DeviceMemory> Factory(const DeviceDefinition& device);

    DeviceMemory() = default;
    DeviceMemory(const DeviceMemory&) = delete;
    DeviceMemory& operator=(const DeviceMemory&) = delete;

    // What the device's clock reads now.
    CTime Clock() const;

    // A magic and a schema number, the clock, the firmware flag, the busy mailboxes, then
    // the configuration in the settings record's own form. Load into a fresh object only.
    void Serialize(CArchive& ar) override;

    // The stored form split at the configuration, so that the record's bytes can be passed
    // on and taken as they are. Loading takes everything before the configuration from the
    // front of `bytes` (throwing as Serialize does) and leaves the record's bytes as stored
    // in `bytes`; config stays as it was.
    void LoadAllButRecord(QByteArray& bytes);
    // This memory's stored form with `record` as the configuration's bytes.
    QByteArray StoreWithRecord(const QByteArray& record);

    CConfig config;                  // machineInfo is the device's own report
    CStringArray busyMailBoxes;      // numbers of the mailboxes that hold documents
    LONGLONG clockOffset = 0;        // seconds the device's clock runs ahead of the computer's
    int firmwareFlag = 0;            // the flag given with the last firmware upgrade

private:
    // Everything before the configuration.
    void SerializeState(CArchive& ar);
};
