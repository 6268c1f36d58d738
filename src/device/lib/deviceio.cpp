// The data library's device operations, each one session with the device. The record is
// changed only once the whole exchange succeeded.
#include "device/lib/config.h"
#include "device/lib/devices.h"
#include "device/lib/discovery.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/filestore.h"
#include "device/lib/networklink.h"
#include "device/lib/serialformat.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUrl>

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
    try {
        return firmware::Read(file);
    } catch (const firmware::InvalidFile& invalid) {
        throw InvalidFirmware(file, invalid.reason);
    }
}

void Install(EmulatedDevice& link, const FirmwareImage& firmware, int flag, const CString& file)
{
    if (firmware.model != link.Definition().model)
        throw InvalidFirmware(file, CString("destiné au ") + firmware.model + ", pas au " + link.Definition().model);
    link.UpgradeFirmware(firmware, flag);
}

const char* const staleText =
    "Un autre poste a modifié la configuration du périphérique depuis sa lecture ; la mise à jour a été "
    "abandonnée pour ne pas défaire ses changements.";

// A 2xx answer, else its failure.
network::Reply Succeeded(network::Reply reply)
{
    if (reply.status < 200 || reply.status >= 300)
        throw DeviceError{network::ErrorText(reply.body, "La réponse du périphérique n'est pas valide.")};
    return reply;
}

void NetworkRead(const CString& device, CConfig& config)
{
    network::Call call;
    call.path = "/settings";
    call.maxReply = serialformat::maxFileBytes;
    const network::Reply reply = Succeeded(network::Send(device, call));
    CStringArray busy;
    for (const QByteArray& number : reply.busyMailBoxes.split(',')) {
        if (!number.isEmpty() && busy.GetSize() < CMailBox::max_count)
            busy.Add(QString::fromUtf8(QByteArray::fromPercentEncoding(number)));
    }
    serialformat::LoadFromBytes(config, reply.body);
    config.mailBoxes.SetBusyNumbers(busy);
    config.readFrom = device;
    config.readTag = reply.tag;
}

int NetworkWrite(const CString& device, CConfig& config)
{
    network::Call call;
    call.method = "PUT";
    call.path = "/settings";
    call.body = serialformat::StoreToBytes(config);
    if (config.readFrom == device)
        call.ifMatch = config.readTag;
    network::Reply reply = network::Send(device, call);
    if (reply.status == 412) {
        network::Prompts* prompts = network::CurrentPrompts();
        if (prompts == nullptr || !prompts->Overwrite(device))
            throw DeviceError{staleText};
        call.ifMatch.clear();
        reply = network::Send(device, call);
    }
    Succeeded(reply);
    config.unchangedMailBoxes.RemoveAll();
    for (const QJsonValue& number : QJsonDocument::fromJson(reply.body).object().value("unchangedMailBoxes").toArray()) {
        if (config.unchangedMailBoxes.GetSize() < CMailBox::max_count)
            config.unchangedMailBoxes.Add(number.toString());
    }
    config.readFrom = device;
    config.readTag = reply.tag;
    return static_cast<int>(config.unchangedMailBoxes.GetSize());
}

void NetworkPost(const CString& device, const char* path, const QByteArray& body)
{
    network::Call call;
    call.method = "POST";
    call.path = path;
    call.body = body;
    Succeeded(network::Send(device, call));
}

// The device keeps its settings across the upgrade itself, in one session.
void NetworkUpgrade(const CString& device, const CString& file, const std::function<void(FirmwareStep)>& stepBegins)
{
    // Checked whole here too: a file that is not one goes nowhere.
    LoadFirmware(file);
    stepBegins(FirmwareStep::upgrade);
    network::Call call;
    call.method = "PUT";
    call.path = "/firmware";
    call.bodyFile = file;
    const network::Reply reply = network::Send(device, call);
    if (reply.status == 422
        && QJsonDocument::fromJson(reply.body).object().value("step").toString() == "writeBack")
        stepBegins(FirmwareStep::writeBack);
    Succeeded(reply);
    stepBegins(FirmwareStep::writeBack);
}

} // namespace

bool IsNetworkDevice(const CString& device)
{
    network::Address address;
    CString name;
    return network::ParseName(device, address, name);
}

int CConfig::Read(const CString& device, CString& detail)
{
    return Run(detail, [&] {
        if (IsNetworkDevice(device)) {
            NetworkRead(device, *this);
            return;
        }
        EmulatedDevice link(device);
        ReadFrom(link, *this);
        readFrom.Empty();
        readTag.clear();
    });
}

int CConfig::Write(const CString& device, CString& detail, int& mailBoxesUnchanged)
{
    return Run(detail, [&] {
        if (IsNetworkDevice(device)) {
            mailBoxesUnchanged = NetworkWrite(device, *this);
            return;
        }
        EmulatedDevice link(device);
        mailBoxesUnchanged = WriteTo(link, *this);
    });
}

int CConfig::SetDeviceTime(const CString& device, CString& detail) const
{
    return Run(detail, [&] {
        if (IsNetworkDevice(device))
            NetworkPost(device, "/clock", QJsonDocument(QJsonObject{{"time", double(CTime::GetCurrentTime().GetTime())}}).toJson(QJsonDocument::Compact));
        else
            EmulatedDevice(device).SetClock(CTime::GetCurrentTime());
    });
}

int CConfig::ResetDevice(const CString& device, CString& detail) const
{
    return Run(detail, [&] {
        if (IsNetworkDevice(device))
            NetworkPost(device, "/reset", QByteArray());
        else
            EmulatedDevice(device).Reset();
    });
}

int GetDevices(CStringList& devices, CString& detail)
{
    DeviceList list;
    if (!LoadDeviceList(list, detail))
        return FALSE;
    for (const DeviceDefinition& device : list.devices)
        devices.AddTail(device.name);
    QList<network::Address> listed;
    for (const QString& entry : list.network)
        discovery::ParseEntry(entry, listed);
    QList<network::Address> addresses;
    QSet<QString> seen;
    for (const network::Address& address : listed + discovery::Browse()) {
        if (!seen.contains(address.Text())) {
            seen.insert(address.Text());
            addresses << address;
        }
    }
    for (const QString& name : network::Probe(addresses)) {
        if (!list.Find(name))
            devices.AddTail(name);
    }
    return TRUE;
}

int UpgradeFirmware(const CString& device, int flag, const CString& file, CString& detail)
{
    return Run(detail, [&] {
        if (IsNetworkDevice(device)) {
            NetworkUpgrade(device, file, [](FirmwareStep) {});
            return;
        }
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
        if (IsNetworkDevice(device)) {
            NetworkUpgrade(device, file, stepBegins);
            return;
        }
        EmulatedDevice link(device);
        CConfig settings;
        ReadFrom(link, settings);
        stepBegins(FirmwareStep::upgrade);
        Install(link, LoadFirmware(file), settings.advanced.downloadMode == 0 ? 1 : 0, file);
        stepBegins(FirmwareStep::writeBack);
        WriteTo(link, settings);
    });
}
