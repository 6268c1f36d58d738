#include "device/lib/devicelist.h"

#include "device/lib/discovery.h"
#include "device/lib/filestore.h"
#include "device/lib/networklink.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <mutex>

namespace {

std::mutex dataFolderLock;
QString dataFolderOverride;
QString storeFolderOverride;

// Longer encoded names are cut: with the hash and the extension they stay far below the
// 255 bytes a file name may have.
constexpr int maxEncodedName = 160;

// The detail text for a device list that breaks a rule.
// A list of a few hundred devices is some tens of kilobytes.
constexpr qint64 maxListBytes = 1024 * 1024;

BOOL ListFault(const QString& path, const CString& reason, CString& detail)
{
    detail = CString("La liste des périphériques (") + path + ") est incorrecte : " + reason + ".";
    return FALSE;
}

} // namespace

const DeviceDefinition* DeviceList::Find(const CString& name) const
{
    for (const DeviceDefinition& device : devices) {
        if (device.name == name)
            return &device;
    }
    return nullptr;
}

DeviceList DefaultDeviceList()
{
    DeviceList list;
    list.devices = {
        {"Brevia Pro 45 (USB001)", "Brevia Pro 45", 2, "2.14"},
        {"Brevia Pro 40 (LPT1)", "Brevia Pro 40", 1, "1.32"},
    };
    return list;
}

BOOL LoadDeviceList(DeviceList& list, CString& detail)
{
    const QString path = DeviceDataFolder() + "/devices.json";
    if (!QFileInfo::exists(path)) {
        list = DefaultDeviceList();
        return TRUE;
    }
    QByteArray bytes;
    CString reason;
    if (!ReadFileWhole(path, maxListBytes, bytes, reason))
        return ListFault(path, reason, detail);
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isObject())
        return ListFault(path, "ce n'est pas un objet JSON", detail);
    const QJsonObject root = document.object();

    DeviceList loaded = DefaultDeviceList();
    if (root.contains("stepDelayMs")) {
        const QJsonValue delay = root.value("stepDelayMs");
        if (!delay.isDouble() || delay.toInt(-1) < 0 || delay.toInt(-1) > 60000)
            return ListFault(path, "« stepDelayMs » doit être un nombre de 0 à 60000", detail);
        loaded.stepDelayMs = delay.toInt();
    }
    if (root.contains("devices")) {
        if (!root.value("devices").isArray())
            return ListFault(path, "« devices » doit être une liste", detail);
        loaded.devices.clear();
        QSet<QString> names;
        for (const QJsonValue& value : root.value("devices").toArray()) {
            const QJsonObject entry = value.toObject();
            DeviceDefinition device{entry.value("name").toString(), entry.value("model").toString("Brevia Pro 45"),
                                    entry.contains("trays") ? entry.value("trays").toInt(0) : 2,
                                    entry.value("firmwareVersion").toString("1.00")};
            if (device.name.IsEmpty())
                return ListFault(path, "un périphérique n'a pas de nom", detail);
            if (static_cast<const QString&>(device.name).startsWith('\\'))
                return ListFault(path, CString("« ") + device.name
                                           + " » a la forme d'un nom du réseau (\\\\HÔTE\\Nom) : un périphérique "
                                             "du réseau est donné par son adresse dans « network »",
                                 detail);
            if (names.contains(device.name))
                return ListFault(path, CString("le nom « ") + device.name + " » apparaît deux fois", detail);
            if (device.trays != 1 && device.trays != 2)
                return ListFault(path, CString("« trays » de « ") + device.name + " » doit valoir 1 ou 2", detail);
            names.insert(device.name);
            loaded.devices.append(device);
        }
    }
    if (root.contains("network")) {
        const QJsonValue network = root.value("network");
        if (!network.isArray() || network.toArray().size() > DeviceList::maxNetworkAddresses)
            return ListFault(path, QString("« network » doit être une liste de %1 adresses au plus").arg(DeviceList::maxNetworkAddresses), detail);
        QList<network::Address> addresses;
        for (const QJsonValue& value : network.toArray()) {
            if (!value.isString() || !discovery::ParseEntry(value.toString(), addresses))
                return ListFault(path, CString("« ") + value.toString() + " » n'est ni une adresse HÔTE:PORT ni une plage A.B.C.D/N:PORT (N de "
                                           + QString::number(discovery::shortestPrefix) + " à 32)", detail);
            if (addresses.size() > discovery::maxListedAddresses)
                return ListFault(path, QString("« network » nomme plus de %1 adresses").arg(discovery::maxListedAddresses), detail);
            loaded.network << value.toString();
        }
    }
    list = loaded;
    return TRUE;
}

QString DeviceDataFolder()
{
    std::lock_guard guard(dataFolderLock);
    if (!storeFolderOverride.isEmpty())
        return storeFolderOverride;
    const QString data = dataFolderOverride.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             : dataFolderOverride;
    return data + "/Corvane/Tamsel";
}

void SetDeviceDataFolder(const QString& dataFolder)
{
    std::lock_guard guard(dataFolderLock);
    dataFolderOverride = dataFolder;
}

void SetDeviceStoreFolder(const QString& storeFolder)
{
    std::lock_guard guard(dataFolderLock);
    storeFolderOverride = storeFolder;
}

QString DeviceFilePath(const CString& name, const char* extension)
{
    const QString& text = name;
    QString file = QString::fromLatin1(QUrl::toPercentEncoding(text, " ()+,=@[]{}"));
    if (file.size() > maxEncodedName) {
        const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex();
        file = file.left(maxEncodedName) + "~" + QString::fromLatin1(hash);
    }
    return DeviceDataFolder() + "/devices/" + file + "." + extension;
}
