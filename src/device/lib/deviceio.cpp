// The data library's device operations, each one session with the device. The record is
// changed only once the whole exchange succeeded.
#include "device/lib/config.h"
#include "device/lib/devices.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/filestore.h"
#include "device/lib/serialformat.h"

#include <QFileInfo>

namespace {

// Runs the operation; a failure becomes its detail text and a zero result.
template <class Operation>
int Run(CString& detail, Operation&& operation)
{
    try {
        operation();
        return TRUE;
    } catch (const DeviceError& error) {
        detail = error.detail;
    } catch (const CArchiveException&) {
        detail = "La configuration reçue du périphérique est illisible.";
    }
    return FALSE;
}

void ReadFrom(EmulatedDevice& link, CConfig& config)
{
    CStringArray busy;
    const QByteArray record = link.ReadConfiguration(busy);
    serialformat::LoadFromBytes(config, record);
    config.mailBoxes.SetBusyNumbers(busy);
}

// Returns how many mailboxes the device kept as they were.
int WriteTo(EmulatedDevice& link, CConfig& config)
{
    const CStringArray refused = link.WriteConfiguration(serialformat::StoreToBytes(config));
    config.unchangedMailBoxes.Copy(refused);
    return static_cast<int>(refused.GetSize());
}

DeviceError InvalidFirmware(const CString& file, const CString& reason)
{
    return DeviceError{CString("Fichier de micrologiciel non valide : ") + reason + " (" + QFileInfo(file).fileName() + ")."};
}

FirmwareImage LoadFirmware(const CString& file)
{
    FirmwareImage firmware;
    CString reason;
    if (!firmware::Load(file, firmware, reason))
        throw InvalidFirmware(file, reason);
    return firmware;
}

void Install(EmulatedDevice& link, const FirmwareImage& firmware, int flag, const CString& file)
{
    if (firmware.model != link.Definition().model)
        throw InvalidFirmware(file, CString("destiné au ") + firmware.model + ", pas au " + link.Definition().model);
    link.UpgradeFirmware(firmware, flag);
}

} // namespace

int CConfig::Read(const CString& device, CString& detail)
{
    return Run(detail, [&] {
        EmulatedDevice link(device);
        ReadFrom(link, *this);
    });
}

int CConfig::Write(const CString& device, CString& detail, int& mailBoxesUnchanged)
{
    return Run(detail, [&] {
        EmulatedDevice link(device);
        mailBoxesUnchanged = WriteTo(link, *this);
    });
}

int CConfig::SetDeviceTime(const CString& device, CString& detail) const
{
    return Run(detail, [&] { EmulatedDevice(device).SetClock(CTime::GetCurrentTime()); });
}

int CConfig::ResetDevice(const CString& device, CString& detail) const
{
    return Run(detail, [&] { EmulatedDevice(device).Reset(); });
}

int GetDevices(CStringList& devices, CString& detail)
{
    DeviceList list;
    if (!LoadDeviceList(list, detail))
        return FALSE;
    for (const DeviceDefinition& device : list.devices)
        devices.AddTail(device.name);
    return TRUE;
}

int UpgradeFirmware(const CString& device, int flag, const CString& file, CString& detail)
{
    return Run(detail, [&] {
        const FirmwareImage firmware = LoadFirmware(file);
        EmulatedDevice link(device);
        Install(link, firmware, flag, file);
    });
}

int UpgradeFirmwareKeepingSettings(const CString& device, const CString& file, CString& detail,
                                   const std::function<void(FirmwareStep)>& stepBegins)
{
    return Run(detail, [&] {
        stepBegins(FirmwareStep::read);
        EmulatedDevice link(device);
        CConfig settings;
        ReadFrom(link, settings);
        stepBegins(FirmwareStep::upgrade);
        Install(link, LoadFirmware(file), settings.advanced.downloadMode == 0 ? 1 : 0, file);
        stepBegins(FirmwareStep::writeBack);
        WriteTo(link, settings);
    });
}
