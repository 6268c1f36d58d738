#include "device/lib/emulateddevice.h"

#include "device/lib/devicelink.h"
#include "device/lib/filestore.h"
#include "device/lib/recordcheck.h"
#include "device/lib/serialformat.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

const char* const unreachableText = "Le périphérique ne répond pas.";
const char* const cutOffText = "La connexion avec le périphérique a été coupée.";
const char* const refusedText = "Le périphérique a refusé la configuration : elle n'est pas valide.";

std::atomic<FaultSource*> faultSource = nullptr;

// The device's data cannot be opened on this computer: the disk or the folder says why.
CString StoreFailureText(const QString& folder, const CFileException& error)
{
    return CString("Impossible d'ouvrir les données du périphérique dans « ") + folder
           + " » : " + WriteFailure(error) + ".";
}

// The device's definition, and the pace of the link.
DeviceDefinition FindDevice(const CString& name, int& stepDelayMs)
{
    DeviceList list;
    CString detail;
    if (!LoadDeviceList(list, detail))
        throw DeviceError{detail};
    const DeviceDefinition* device = list.Find(name);
    if (device == nullptr)
        throw DeviceError{CString("Périphérique inconnu : « ") + name + " »."};
    stepDelayMs = list.stepDelayMs;
    return *device;
}

const char* const unreadableMemoryText = "La mémoire du périphérique est illisible ; une réinitialisation la remet en état.";

// What the device stores, its configuration left unread: the rest of its memory, and the
// record's bytes as stored.
std::unique_ptr<DeviceMemory> LoadStoredState(const DeviceDefinition& device, QByteArray& record)
{
    const QString path = DeviceFilePath(device.name, "dev");
    if (!QFileInfo::exists(path)) {
        std::unique_ptr<DeviceMemory> memory = DeviceMemory::Factory(device);
        record = serialformat::StoreToBytes(memory->config);
        return memory;
    }
    auto memory = std::make_unique<DeviceMemory>();
    try {
        record = afx::ReadWholeFile(path, serialformat::maxFileBytes);
        memory->LoadAllButRecord(record);
        return memory;
    } catch (const CException&) {
        throw DeviceError{unreadableMemoryText};
    }
}

// Reads `record` with `read`; a record that cannot be read is a memory that cannot be read.
void ReadStoredRecord(const QByteArray& record, const std::function<void(CArchive&)>& read)
{
    try {
        serialformat::ReadFromFront(record, read);
    } catch (const CException&) {
        throw DeviceError{unreadableMemoryText};
    }
}

std::unique_ptr<DeviceMemory> LoadStoredMemory(const DeviceDefinition& device)
{
    QByteArray record;
    std::unique_ptr<DeviceMemory> memory = LoadStoredState(device, record);
    ReadStoredRecord(record, [&](CArchive& ar) { memory->config.Serialize(ar); });
    return memory;
}

} // namespace

EmulatedDevice::EmulatedDevice(const CString& name)
{
    definition = FindDevice(name, stepDelayMs);
    if (FaultSource* source = faultSource.load()) {
        fault = source->FaultOf(name);
        if (const int delay = source->StepDelayMs(); delay >= 0)
            stepDelayMs = delay;
    }
    if (fault.kind == DeviceFault::slow)
        stepDelayMs = fault.stepDelayMs;
    Step();
    if (fault.kind == DeviceFault::unreachable)
        throw DeviceError{unreachableText};
    if (fault.kind == DeviceFault::busy)
        throw DeviceError{kDeviceBusyText, true};

    const QString lockPath = DeviceFilePath(name, "lock");
    const QString folder = QFileInfo(lockPath).absolutePath();
    // The stores hold passwords: their folder is the user's alone.
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
            throw DeviceError{StoreFailureText(folder, CFileException(CFileException::ErrnoToException(errno), errno))};
    }
    CFileException error;
    if (!lock.Open(lockPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareExclusive,
                   &error)) {
        if (error.m_cause == CFileException::sharingViolation)
            throw DeviceError{kDeviceBusyText, true};
        throw DeviceError{StoreFailureText(folder, error)};
    }
}

EmulatedDevice::~EmulatedDevice() = default;

ULONGLONG EmulatedDevice::StatusOf(const DeviceDefinition& device)
{
    return DVL_STATUS_READY | (device.trays == 1 ? DVL_STATUS_SINGLE_TRAY : 0);
}

QByteArray EmulatedDevice::StoredRecord() const
{
    QByteArray record;
    LoadStoredState(definition, record);
    return record;
}

QByteArray EmulatedDevice::ReadConfiguration(CStringArray& busyMailBoxes)
{
    // The record goes out as the device stores it, unread.
    QByteArray record;
    const std::unique_ptr<DeviceMemory> memory = LoadStoredState(definition, record);
    Transfer(record.size());
    busyMailBoxes.Copy(memory->busyMailBoxes);
    return record;
}

CStringArray EmulatedDevice::WriteConfiguration(const QByteArray& record)
{
    Transfer(record.size());
    QByteArray storedRecord;
    std::unique_ptr<DeviceMemory> memory = LoadStoredState(definition, storedRecord);
    // What stays the machine's own, its information and the mailboxes that hold documents,
    // stands before the directory: of what is stored only those sections are read. What is
    // sent is checked whole, since a device does not trust its client; it is stored as it came
    // unless the device keeps something of its own.
    const char* const lastOwnSection = "mailBoxes";
    CConfig stored;
    ReadStoredRecord(storedRecord, [&](CArchive& ar) { stored.SerializeLeadingSections(ar, lastOwnSection); });
    std::vector<CMailBox> held;
    for (INT_PTR i = 0; i < memory->busyMailBoxes.GetSize(); ++i) {
        if (const CMailBox* mailBox = stored.mailBoxes.Get(memory->busyMailBoxes[i]))
            held.push_back(*mailBox);
    }
    // The directory, most of what is sent, is checked where it lies in the bytes, not built.
    CConfig sent;
    qsizetype sentRestAt = 0;
    bool valid = false;
    try {
        valid = CheckRecordBytes(record, lastOwnSection, sent, sentRestAt).empty();
    } catch (const CException&) {
    }
    if (!valid)
        throw DeviceError{refusedText};
    bool keptOwn = !(sent.machineInfo == stored.machineInfo);
    sent.machineInfo = stored.machineInfo;

    CStringArray refused;
    for (const CMailBox& kept : held) {
        CMailBox* sentBox = sent.mailBoxes.Get(kept.number);
        if (sentBox != nullptr && *sentBox == kept)
            continue;
        keptOwn = true;
        refused.Add(kept.number);
        if (sentBox != nullptr) {
            *sentBox = kept;
            continue;
        }
        auto restored = std::make_unique<CMailBox>(kept);
        if (!sent.mailBoxes.Add(restored.get()))
            throw DeviceError{CString("Le périphérique a refusé la configuration : la boîte aux lettres ") + kept.number
                              + " contient des documents et il ne reste pas de place pour elle."};
        restored.release();
    }
    // What follows the device's own sections goes back as it came.
    const QByteArray kept =
        keptOwn ? serialformat::WriteToBytes([&](CArchive& ar) { sent.SerializeLeadingSections(ar, lastOwnSection); })
                      .append(QByteArrayView(record).sliced(sentRestAt))
                : record;
    Store(memory->StoreWithRecord(kept));
    return refused;
}

void EmulatedDevice::SetClock(CTime now)
{
    std::unique_ptr<DeviceMemory> memory = LoadMemory();
    Transfer(sizeof(LONGLONG));
    memory->clockOffset = now.GetTime() - CTime::GetCurrentTime().GetTime();
    Store(*memory);
}

void EmulatedDevice::Reset()
{
    // A memory that cannot be read is what a reset is for: it starts again from the factory.
    std::unique_ptr<DeviceMemory> memory;
    try {
        memory = LoadMemory();
    } catch (const DeviceError&) {
        memory = DeviceMemory::Factory(definition);
    }
    std::unique_ptr<DeviceMemory> reset = DeviceMemory::Factory(definition);
    reset->config.machineInfo = memory->config.machineInfo;
    reset->clockOffset = memory->clockOffset;
    reset->firmwareFlag = memory->firmwareFlag;
    reset->busyMailBoxes.Copy(memory->busyMailBoxes);
    reset->config.mailBoxes.DeleteContents();
    for (INT_PTR i = 0; i < memory->busyMailBoxes.GetSize(); ++i) {
        const CMailBox* held = memory->config.mailBoxes.Get(memory->busyMailBoxes[i]);
        auto kept = held != nullptr ? std::make_unique<CMailBox>(*held) : nullptr;
        if (kept != nullptr && reset->config.mailBoxes.Add(kept.get()))
            kept.release();
    }
    Store(*reset);
}

void EmulatedDevice::UpgradeFirmware(const FirmwareImage& firmware, int flag)
{
    std::unique_ptr<DeviceMemory> memory = LoadMemory();
    Transfer(firmware.image.size());
    memory->config.machineInfo.firmwareVersion = firmware.version;
    memory->firmwareFlag = flag;
    Store(*memory);
}

void EmulatedDevice::SetFaultSource(FaultSource* source)
{
    faultSource = source;
}

std::unique_ptr<DeviceMemory> EmulatedDevice::Inspect(const CString& name)
{
    int stepDelayMs = 0;
    return LoadStoredMemory(FindDevice(name, stepDelayMs));
}

void EmulatedDevice::Step()
{
    if (fault.kind == DeviceFault::cutOff && fault.atStep == step)
        throw DeviceError{cutOffText};
    ++step;
    if (stepDelayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(stepDelayMs));
}

void EmulatedDevice::Transfer(qint64 bytes)
{
    for (qint64 done = 0; done < bytes;) {
        Step();
        const qint64 block = std::min<qint64>(blockBytes, bytes - done);
        if (fault.kind == DeviceFault::cutOff && fault.afterBytes >= 0 && transferred + block > fault.afterBytes)
            throw DeviceError{cutOffText};
        done += block;
        transferred += block;
    }
}

std::unique_ptr<DeviceMemory> EmulatedDevice::LoadMemory() const
{
    return LoadStoredMemory(definition);
}

void EmulatedDevice::Store(DeviceMemory& memory)
{
    Store(serialformat::StoreToBytes(memory));
}

void EmulatedDevice::Store(const QByteArray& memory)
{
    Step();
    CString reason;
    if (!WriteFileAtomically(DeviceFilePath(definition.name, "dev"), memory, reason))
        throw DeviceError{CString("Le périphérique n'a pas pu enregistrer sa configuration : ") + reason + "."};
}
