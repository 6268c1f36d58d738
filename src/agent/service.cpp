#include "agent/service.h"

#include "agent/agentstore.h"
#include "device/lib/config.h"
#include "device/lib/devices.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/firmware.h"
#include "device/lib/passwordhash.h"
#include "device/lib/serialformat.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QUrl>

namespace agent {

namespace {

const char* const noPasswordText =
    "Aucun mot de passe d'administrateur n'est défini pour ce périphérique. Sur la machine de l'agent, "
    "définissez-le avec la commande : tamsel-agent passwd « %1 ».";
const char* const passwordNeededText = "Ce périphérique demande son mot de passe d'administrateur.";
const char* const passwordWrongText = "Mot de passe d'administrateur incorrect.";
const char* const tooManyText =
    "Trop de mots de passe incorrects depuis cette adresse : réessayez dans %1 s.";
const char* const staleText =
    "La configuration du périphérique a été modifiée par un autre poste depuis sa lecture.";
const char* const bodyTooLargeText = "La requête est trop volumineuse.";
const char* const badClockText = "L'heure envoyée n'est pas valide.";
const char* const unreadableBodyText = "Le contenu de la requête n'a pas pu être lu.";

QByteArray Json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Answer Error(int status, const QString& text, const QString& note = QString())
{
    Answer answer;
    answer.status = status;
    answer.body = Json({{"error", text}});
    answer.note = note;
    return answer;
}

Answer DeviceFailure(const DeviceError& error)
{
    return Error(error.busy ? 423 : 422, error.detail);
}

QByteArray EntityTag(const QByteArray& record)
{
    return '"' + QCryptographicHash::hash(record, QCryptographicHash::Sha256).toHex() + '"';
}

// If-Match: "*" or a list of tags; weak tags never match.
bool TagMatches(const QByteArray& ifMatch, const QByteArray& tag)
{
    for (const QByteArray& part : ifMatch.split(',')) {
        const QByteArray candidate = part.trimmed();
        if (candidate == "*" || candidate == tag)
            return true;
    }
    return false;
}

QByteArray BusyMailBoxes(const CStringArray& numbers)
{
    QByteArrayList encoded;
    for (INT_PTR i = 0; i < numbers.GetSize(); ++i)
        encoded << QUrl::toPercentEncoding(numbers[i]);
    return encoded.join(',');
}

// The process's own key for the digests of verified passwords.
const QByteArray& DigestKey()
{
    static const QByteArray key = [] {
        QByteArray bytes(32, '\0');
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), 8);
        return bytes;
    }();
    return key;
}

// Holds the device for one request; another request meanwhile is told it is busy.
class Session {
public:
    explicit Session(std::atomic<bool>& busy) : busy(busy)
    {
        bool expected = false;
        held = busy.compare_exchange_strong(expected, true);
    }
    ~Session()
    {
        if (held)
            busy.store(false);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool Held() const { return held; }

private:
    std::atomic<bool>& busy;
    bool held = false;
};

} // namespace

bool Body::Append(const char* data, qint64 count)
{
    if (count < 0 || count > maxBytes - size)
        return false;
    if (file == nullptr && size + count > memoryBytes) {
        file = std::make_unique<QTemporaryFile>(DeviceDataFolder() + "/.upload-XXXXXX");
        if (!file->open() || file->write(memory) != memory.size())
            return false;
        memory.clear();
    }
    if (file != nullptr) {
        if (file->write(data, count) != count)
            return false;
    } else {
        memory.append(data, count);
    }
    size += count;
    return true;
}

bool Body::ReadAll(QByteArray& bytes)
{
    if (file == nullptr) {
        bytes = memory;
        return true;
    }
    if (!file->flush() || !file->seek(0))
        return false;
    bytes = file->read(size);
    return bytes.size() == size;
}

QString Body::FilePath()
{
    if (file == nullptr) {
        file = std::make_unique<QTemporaryFile>(DeviceDataFolder() + "/.upload-XXXXXX");
        if (!file->open() || file->write(memory) != memory.size())
            return QString();
        memory.clear();
    }
    return file->flush() ? file->fileName() : QString();
}

DeviceService::DeviceService(const DeviceDefinition& device, AttemptLimiter& limiter)
    : device(device), limiter(limiter)
{
}

const DeviceService::Resource* DeviceService::Find(const Request& request, bool& pathKnown)
{
    static const Resource resources[] = {
        {"GET", "/device", Route::device, 0},
        {"GET", "/settings", Route::readSettings, 0},
        {"PUT", "/settings", Route::writeSettings, serialformat::maxFileBytes},
        {"POST", "/clock", Route::clock, maxClockBody},
        {"POST", "/reset", Route::reset, 0},
        {"PUT", "/firmware", Route::firmware, firmware::headerSize + firmware::maxImageBytes},
    };
    const Resource* found = nullptr;
    pathKnown = false;
    for (const Resource& resource : resources) {
        if (request.path != resource.path)
            continue;
        pathKnown = true;
        if (request.method == resource.method)
            found = &resource;
    }
    return found;
}

std::optional<Answer> DeviceService::Admit(const Request& request, qint64& maxBody)
{
    bool pathKnown = false;
    const Resource* found = Find(request, pathKnown);
    if (found == nullptr)
        return pathKnown ? Error(405, "Méthode non prise en charge.") : Error(404, "Ressource inconnue.");
    if (found->route != Route::device) {
        if (std::optional<Answer> refused = Authenticate(request))
            return refused;
    }
    if (request.contentLength > found->maxBody)
        return Error(413, bodyTooLargeText);
    maxBody = found->maxBody;
    return std::nullopt;
}

std::optional<Answer> DeviceService::Authenticate(const Request& request)
{
    const QByteArray hash = agentstore::PasswordHash(device.name);
    if (hash.isEmpty())
        return Error(403, QString(noPasswordText).arg(static_cast<const QString&>(device.name)), "aucun mot de passe défini");
    const auto now = AttemptLimiter::Clock::now();
    if (const auto wait = limiter.Wait(request.peer, now); wait.count() > 0) {
        const qint64 seconds = (wait.count() + 999) / 1000;
        Answer answer = Error(429, QString(tooManyText).arg(seconds), "tentatives ralenties");
        answer.headers.append(std::pair<QByteArray, QByteArray>("Retry-After", QByteArray::number(seconds)));
        return answer;
    }
    const QByteArray scheme = "Basic ";
    const auto decoded = QByteArray::fromBase64Encoding(request.authorization.mid(scheme.size()),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    const qsizetype colon = decoded.decoded.indexOf(':');
    if (!request.authorization.startsWith(scheme) || !decoded || colon < 0) {
        Answer answer = Error(401, passwordNeededText);
        answer.headers.append(std::pair<QByteArray, QByteArray>("WWW-Authenticate", "Basic realm=\"Tamsel\", charset=\"UTF-8\""));
        return answer;
    }
    const QString password = QString::fromUtf8(decoded.decoded.mid(colon + 1));
    if (PasswordMatches(password, hash)) {
        limiter.Succeeded(request.peer);
        return std::nullopt;
    }
    const int failures = limiter.Failed(request.peer, now);
    Answer answer = Error(401, passwordWrongText, QString("mot de passe refusé (%1 échec(s) de suite)").arg(failures));
    answer.headers.append(std::pair<QByteArray, QByteArray>("WWW-Authenticate", "Basic realm=\"Tamsel\", charset=\"UTF-8\""));
    return answer;
}

bool DeviceService::PasswordMatches(const QString& password, const QByteArray& hash)
{
    const QByteArray digest =
        QCryptographicHash::hash(DigestKey() + hash + '\0' + password.toUtf8(), QCryptographicHash::Sha256);
    {
        std::lock_guard guard(verifiedLock);
        if (!verifiedDigest.isEmpty() && verifiedHash == hash && passwordhash::SameBytes(digest, verifiedDigest))
            return true;
    }
    if (!passwordhash::Matches(password, hash))
        return false;
    std::lock_guard guard(verifiedLock);
    verifiedHash = hash;
    verifiedDigest = digest;
    return true;
}

Answer DeviceService::Handle(const Request& request, Body& body)
{
    bool pathKnown = false;
    const Resource* found = Find(request, pathKnown);
    if (found == nullptr)
        return Error(404, "Ressource inconnue.");
    const Route route = found->route;
    if (route == Route::device)
        return Run(route, request, body);
    Session session(busy);
    if (!session.Held())
        return Error(423, kDeviceBusyText);
    try {
        return Run(route, request, body);
    } catch (const DeviceError& error) {
        return DeviceFailure(error);
    } catch (const CException&) {
        return Error(422, "La configuration du périphérique est illisible.");
    }
}

Answer DeviceService::Run(Route route, const Request& request, Body& body)
{
    Answer answer;
    switch (route) {
    case Route::device: {
        QString firmwareVersion = device.firmwareVersion;
        try {
            firmwareVersion = EmulatedDevice::Inspect(device.name)->config.machineInfo.firmwareVersion;
        } catch (const DeviceError&) {
        }
        answer.body = Json({{"name", static_cast<const QString&>(device.name)},
                            {"model", static_cast<const QString&>(device.model)},
                            {"firmwareVersion", firmwareVersion},
                            {"status", QString::number(EmulatedDevice::StatusOf(device))}});
        return answer;
    }
    case Route::readSettings: {
        EmulatedDevice link(device.name);
        CStringArray busyMailBoxes;
        answer.body = link.ReadConfiguration(busyMailBoxes);
        answer.contentType = kRecordType;
        answer.headers.append(std::pair<QByteArray, QByteArray>("ETag", EntityTag(answer.body)));
        answer.headers.append(std::pair<QByteArray, QByteArray>(kBusyMailBoxesHeader, BusyMailBoxes(busyMailBoxes)));
        return answer;
    }
    case Route::writeSettings: {
        QByteArray record;
        if (!body.ReadAll(record))
            return Error(500, unreadableBodyText);
        EmulatedDevice link(device.name);
        if (!request.ifMatch.isEmpty() && !TagMatches(request.ifMatch, EntityTag(link.StoredRecord()))) {
            Answer stale = Error(412, staleText);
            stale.headers.append(std::pair<QByteArray, QByteArray>("ETag", EntityTag(link.StoredRecord())));
            return stale;
        }
        const CStringArray unchanged = link.WriteConfiguration(record);
        QJsonArray numbers;
        for (INT_PTR i = 0; i < unchanged.GetSize(); ++i)
            numbers.append(static_cast<const QString&>(unchanged[i]));
        answer.body = Json({{"unchangedMailBoxes", numbers}});
        answer.headers.append(std::pair<QByteArray, QByteArray>("ETag", EntityTag(link.StoredRecord())));
        return answer;
    }
    case Route::clock: {
        QByteArray bytes;
        body.ReadAll(bytes);
        const QJsonValue time = QJsonDocument::fromJson(bytes).object().value("time");
        const double seconds = time.toDouble(-1);
        // From 1970 to the year 9999, in whole seconds.
        if (!time.isDouble() || seconds < 0 || seconds > 253402300799.0 || seconds != static_cast<double>(qint64(seconds)))
            return Error(400, badClockText);
        EmulatedDevice(device.name).SetClock(CTime(static_cast<time_t>(seconds)));
        answer.body = "{}";
        return answer;
    }
    case Route::reset:
        EmulatedDevice(device.name).Reset();
        answer.body = "{}";
        return answer;
    case Route::firmware: {
        const QString file = body.FilePath();
        if (file.isEmpty())
            return Error(500, unreadableBodyText);
        FirmwareStep step = FirmwareStep::read;
        CString detail;
        if (!UpgradeFirmwareKeepingSettings(device.name, file, detail, [&](FirmwareStep next) { step = next; })) {
            static const char* const steps[] = {"read", "upgrade", "writeBack"};
            Answer failed = Error(422, detail);
            QJsonObject object = QJsonDocument::fromJson(failed.body).object();
            object.insert("step", steps[static_cast<int>(step)]);
            failed.body = Json(object);
            return failed;
        }
        answer.body = Json({{"firmwareVersion",
                             static_cast<const QString&>(EmulatedDevice::Inspect(device.name)->config.machineInfo.firmwareVersion)}});
        return answer;
    }
    }
    return Error(500, "Erreur interne.");
}

QString LogLine(const CString& device, const Request& request, const Answer& answer, qint64 milliseconds)
{
    const auto printable = [](const QString& text) {
        QString line;
        for (const QChar c : text)
            line += c.isPrint() ? QString(c) : QString::asprintf("\\x%02X", unsigned(c.unicode()));
        return line.left(300);
    };
    QString line = QString("« %1 » %2 \"%3 %4\" %5 %6 octets %7 ms")
                       .arg(printable(device), request.peer, printable(QString::fromLatin1(request.method)),
                            printable(QString::fromLatin1(request.path)))
                       .arg(answer.status)
                       .arg(answer.body.size())
                       .arg(milliseconds);
    if (!answer.note.isEmpty())
        line += " " + answer.note;
    return line;
}

} // namespace agent
