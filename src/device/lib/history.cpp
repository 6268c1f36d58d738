#include "device/lib/history.h"

#include "device/lib/devicelist.h"
#include "device/lib/filestore.h"
#include "device/lib/serialformat.h"

#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

#include <sys/stat.h>

#include <memory>

namespace {

// UTC to the millisecond, so that two applies in one second keep two files; sorts as it reads.
const char* const timeFormat = "yyyyMMdd'T'HHmmss.zzz'Z'";

// The device's name as its store's file is named: percent-encoded, a long one shortened.
QString EncodedName(const CString& device)
{
    return QFileInfo(DeviceFilePath(device, "tms")).completeBaseName();
}

QString FolderOf(const CString& device)
{
    return DeviceDataFolder() + "/history/" + EncodedName(device);
}

// The folder, made its owner's alone (it holds passwords); false with the reason.
bool MakeFolder(const QString& folder, CString& reason)
{
    if (!QDir().mkpath(folder)) {
        reason = "création du dossier impossible";
        return false;
    }
    for (const QString& path : {QFileInfo(folder).path(), folder}) {
        if (::chmod(QFile::encodeName(path).constData(), 0700) != 0) {
            reason = "droits du dossier impossibles à restreindre";
            return false;
        }
    }
    return true;
}

bool Keep(const CString& device, const QByteArray& record, CString& reason)
{
    const QString folder = FolderOf(device);
    if (!MakeFolder(folder, reason))
        return false;
    const QString name = EncodedName(device) + "_" + QDateTime::currentDateTimeUtc().toString(timeFormat) + ".tms";
    if (!WriteFileAtomically(folder + "/" + name, record, reason))
        return false;
    const std::vector<history::Entry> kept = history::List(device);
    for (size_t i = history::keptPerDevice; i < kept.size(); ++i)
        QFile::remove(kept[i].path);
    return true;
}

} // namespace

namespace history {

std::vector<Entry> List(const CString& device)
{
    const QString prefix = EncodedName(device) + "_";
    std::vector<Entry> entries;
    const QDir folder(FolderOf(device));
    // Matched by hand: a device's name may hold the wildcards of a name filter ("[1]").
    for (const QString& name : folder.entryList({"*.tms"}, QDir::Files, QDir::Name | QDir::Reversed)) {
        if (!name.startsWith(prefix))
            continue;
        QDateTime time = QDateTime::fromString(name.mid(prefix.size()).chopped(4), timeFormat);
        if (!time.isValid())
            continue;
        time.setTimeZone(QTimeZone::utc());
        entries.push_back({folder.filePath(name), time});
    }
    return entries;
}

} // namespace history

int WriteKeepingHistory(CConfig& config, const CString& device, CString& detail, int& mailBoxesUnchanged)
{
    auto current = std::make_unique<CConfig>();
    if (!current->Read(device, detail))
        return FALSE;
    CString reason;
    if (!Keep(device, serialformat::StoreToBytes(*current), reason)) {
        detail = CString("La configuration actuelle du périphérique n'a pas pu être conservée dans l'historique (")
                 + reason + ") : rien n'a été envoyé.";
        return FALSE;
    }
    return config.Write(device, detail, mailBoxesUnchanged);
}
