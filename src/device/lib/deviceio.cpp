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

} // namespace

int CConfig::Read(const CString& device, CString& detail)
{
    return Run(detail, [&] {
        EmulatedDevice link(device);
        CStringArray busy;
        const QByteArray record = link.ReadConfiguration(busy);
        serialformat::LoadFromBytes(*this, record);
        mailBoxes.SetBusyNumbers(busy);
    });
}

int CConfig::Write(const CString& device, CString& detail, int& mailBoxesUnchanged)
{
    return Run(detail, [&] {
        EmulatedDevice link(device);
        const CStringArray refused = link.WriteConfiguration(serialformat::StoreToBytes(*this));
        unchangedMailBoxes.Copy(refused);
        mailBoxesUnchanged = static_cast<int>(refused.GetSize());
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
    const CString fileName = QFileInfo(file).fileName();
    auto invalid = [&](const CString& reason) {
        return DeviceError{CString("Fichier de micrologiciel non valide : ") + reason + " (" + fileName + ")."};
    };
    return Run(detail, [&] {
        FirmwareImage firmware;
        CString reason;
        if (!firmware::Load(file, firmware, reason))
            throw invalid(reason);
        EmulatedDevice link(device);
        if (firmware.model != link.Definition().model)
            throw invalid(CString("destiné au ") + firmware.model + ", pas au " + link.Definition().model);
        link.UpgradeFirmware(firmware, flag);
    });
}
