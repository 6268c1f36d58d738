#include "device/lib/devicememory.h"

#include "device/lib/firmware.h"
#include "device/lib/serialformat.h"

#include <QByteArray>

namespace {

constexpr DWORD memoryMagic = 0x56454454;   // "TDEV"
constexpr DWORD memorySchema = 1;
constexpr DWORD minStringBytes = 4;

// A clock never set runs this far behind.
constexpr LONGLONG factoryClockOffset = -(2 * 3600 + 17 * 60);

} // namespace

std::unique_ptr<DeviceMemory> DeviceMemory::Factory(const DeviceDefinition& device)
{
    auto memory = std::make_unique<DeviceMemory>();
    CMachineInfo& info = memory->config.machineInfo;
    info.modelName = device.model;
    info.firmwareVersion = device.firmwareVersion;
    info.memorySize = "16 Mo";
    info.trayOptions = device.trays == 1 ? "Magasin 1 (250 feuilles)"
                                         : "Magasin 1 (250 feuilles), magasin 2 (500 feuilles)";
    info.languageCode = "FR";
    // Counters of a machine that has worked a while; each device its own.
    const DWORD seed = firmware::Crc32(static_cast<const QString&>(device.name).toUtf8());
    info.scanCount = 1000 + static_cast<int>(seed % 9000);
    info.printCount = 5000 + static_cast<int>((seed >> 8) % 40000);
    info.drumCount = info.printCount % 12000;
    info.documentJams = static_cast<int>((seed >> 16) % 12);
    info.printJams = static_cast<int>((seed >> 20) % 30);

    memory->config.mailBoxes.Add(new CMailBox("10", "1234", 0));
    memory->config.mailBoxes.Add(new CMailBox("20", CString(), 1));
    memory->busyMailBoxes.Add("10");
    memory->busyMailBoxes.Add("20");
    memory->clockOffset = factoryClockOffset;
    return memory;
}

CTime DeviceMemory::Clock() const
{
    return CTime(CTime::GetCurrentTime().GetTime() + clockOffset);
}

void DeviceMemory::Serialize(CArchive& ar)
{
    SerializeState(ar);
    config.Serialize(ar);
}

void DeviceMemory::SerializeState(CArchive& ar)
{
    if (ar.IsStoring()) {
        serialformat::WriteHeader(ar, memoryMagic, memorySchema);
        ar << clockOffset << firmwareFlag;
        ar.WriteCount(static_cast<DWORD>(busyMailBoxes.GetSize()));
        for (INT_PTR i = 0; i < busyMailBoxes.GetSize(); ++i)
            ar << busyMailBoxes[i];
    } else {
        serialformat::ExpectHeader(ar, memoryMagic, memorySchema);
        ar >> clockOffset >> firmwareFlag;
        busyMailBoxes.SetSize(ar.ReadCount(static_cast<DWORD>(CMailBox::max_count), minStringBytes));
        for (INT_PTR i = 0; i < busyMailBoxes.GetSize(); ++i)
            ar >> busyMailBoxes[i];
    }
}

void DeviceMemory::LoadAllButRecord(QByteArray& bytes)
{
    bytes.remove(0, serialformat::ReadFromFront(bytes, [this](CArchive& ar) { SerializeState(ar); }));
}

QByteArray DeviceMemory::StoreWithRecord(const QByteArray& record)
{
    return serialformat::WriteToBytes([this](CArchive& ar) { SerializeState(ar); }) + record;
}
