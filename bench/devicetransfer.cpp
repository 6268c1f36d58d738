// A full settings record read from an emulated device and applied to it, the link's pace off,
// the device's check of what it is sent in place beside decoding it whole, and beside copying
// the bytes the device stores: reading them and putting them in place of a file
// as safely as the device stores its memory, the floor of both; and, for reference, reading
// them into memory alone, which no decoded record comes near (a read builds every string).
#include "device/lib/config.h"
#include "device/lib/devicelist.h"
#include "device/lib/recordcheck.h"
#include "device/lib/serialformat.h"
#include "records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    Fixture()
    {
        SetDeviceDataFolder(folder.path());
        QDir().mkpath(DeviceDataFolder());
        QFile list(DeviceDataFolder() + "/devices.json");
        list.open(QIODevice::WriteOnly);
        list.write(R"({"stepDelayMs": 0})");
        list.close();
        device = DefaultDeviceList().devices.first().name;
        // What an administrator applies: the record as read from the device, every field
        // changed since (within what the device takes) and the directory filled.
        CConfig full;
        FillFullRecord(full);
        KeepWithinRules(full);
        CString detail;
        int unchanged = 0;
        ok = full.Write(device, detail, unchanged) && config.Read(device, detail);
        stored = DeviceFilePath(device, "dev");
    }
    QTemporaryDir folder;
    CString device;
    CConfig config;
    QString stored;
    bool ok = false;
};

Fixture& Device()
{
    static Fixture fixture;
    return fixture;
}

qint64 StoredSize()
{
    return QFileInfo(Device().stored).size();
}

void ReadFromDevice(benchmark::State& state)
{
    Fixture& device = Device();
    CConfig config;
    CString detail;
    for (auto _ : state) {
        if (!device.ok || !config.Read(device.device, detail)) {
            state.SkipWithError("the read failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * StoredSize());
}

void ApplyToDevice(benchmark::State& state)
{
    Fixture& device = Device();
    CString detail;
    int unchanged = 0;
    for (auto _ : state) {
        if (!device.ok || !device.config.Write(device.device, detail, unchanged)) {
            state.SkipWithError("the apply failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * StoredSize());
}

// The device's check of a record it is sent, as it stands before it is stored: the record's
// bytes checked in place, beside decoding the whole record and checking the objects (the
// same findings, as tests/device/recordcheck_test.cpp shows).
void CheckSentInPlace(benchmark::State& state)
{
    const QByteArray record = serialformat::StoreToBytes(Device().config);
    for (auto _ : state) {
        CConfig sections;
        qsizetype restAt = 0;
        benchmark::DoNotOptimize(CheckRecordBytes(record, "mailBoxes", sections, restAt));
    }
    state.SetBytesProcessed(state.iterations() * record.size());
}

void CheckSentDecoded(benchmark::State& state)
{
    const QByteArray record = serialformat::StoreToBytes(Device().config);
    for (auto _ : state) {
        CConfig sent;
        serialformat::LoadFromBytes(sent, record);
        benchmark::DoNotOptimize(CheckRecord(sent));
    }
    state.SetBytesProcessed(state.iterations() * record.size());
}

void ReadStoredBytes(benchmark::State& state)
{
    Fixture& device = Device();
    for (auto _ : state)
        benchmark::DoNotOptimize(afx::ReadWholeFile(device.stored, serialformat::maxFileBytes));
    state.SetBytesProcessed(state.iterations() * StoredSize());
}

void CopyStoredBytes(benchmark::State& state)
{
    Fixture& device = Device();
    const QString copy = device.folder.filePath("copy.dev");
    for (auto _ : state)
        afx::ReplaceFile(copy, afx::ReadWholeFile(device.stored, serialformat::maxFileBytes));
    state.SetBytesProcessed(state.iterations() * StoredSize());
}

} // namespace

BENCHMARK(ReadFromDevice)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadStoredBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(CheckSentInPlace)->Unit(benchmark::kMicrosecond);
BENCHMARK(CheckSentDecoded)->Unit(benchmark::kMicrosecond);
BENCHMARK(ApplyToDevice)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyStoredBytes)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
