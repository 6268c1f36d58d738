#include "device/lib/networklink.h"

#include "device/lib/emulateddevice.h"
#include "device/lib/keypin.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace network {

namespace {

const char* const unreachableText = "Le périphérique ne répond pas.";
const char* const cutOffText = "La connexion avec le périphérique a été coupée.";
const char* const stalledText = "Le périphérique ne répond plus : la connexion est restée bloquée.";
const char* const invalidReplyText = "La réponse du périphérique n'est pas valide.";
const char* const tooLargeText = "La réponse du périphérique est trop volumineuse.";
const char* const tlsFailedText = "La connexion sécurisée avec le périphérique a échoué.";
const char* const passwordRefusedText = "Le périphérique demande son mot de passe d'administrateur ; aucun n'a été donné.";
// The device list's organisation; the pins are the user's own settings.
const char* const settingsOrganisation = "Corvane";
const char* const settingsApplication = "Tamsel";
const char* const pinsGroup = "TrustedDeviceKeys";
// Wrong passwords make the device wait; a short wait is waited for once.
constexpr int maxRetryAfterSeconds = 5;
constexpr int maxPasswordPrompts = 3;

std::atomic<Prompts*> currentPrompts = nullptr;
std::mutex passwordsLock;
QHash<QString, QString> sessionPasswords;

void InitCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

DeviceError ChangedKey(const Address& address, const QByteArray& pinned)
{
    return DeviceError{CString("ATTENTION : la clé du périphérique ") + address.Text()
                       + " a changé depuis que vous lui avez fait confiance (empreinte approuvée : "
                       + keypin::FingerprintText(pinned)
                       + "). Un autre appareil se fait peut-être passer pour lui : la connexion est refusée. Si la "
                         "clé a changé pour une raison connue, approuvez la nouvelle avec « tamselctl trust ». "};
}

struct Exchange {
    QByteArray body;
    qint64 maxBody = 0;
    bool tooLarge = false;
    QByteArray tag;
    QByteArray busyMailBoxes;
    QByteArray retryAfter;
    // What is sent.
    QByteArray upload;
    qint64 uploaded = 0;
    QFile* uploadFile = nullptr;
};

size_t Receive(char* data, size_t size, size_t count, void* target)
{
    auto& exchange = *static_cast<Exchange*>(target);
    const qint64 bytes = static_cast<qint64>(size * count);
    if (bytes > exchange.maxBody - exchange.body.size()) {
        exchange.tooLarge = true;
        return 0;
    }
    exchange.body.append(data, bytes);
    return size * count;
}

size_t ReceiveHeader(char* data, size_t size, size_t count, void* target)
{
    auto& exchange = *static_cast<Exchange*>(target);
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(size * count)).trimmed();
    const qsizetype colon = line.indexOf(':');
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (colon > 0 && name == "etag")
        exchange.tag = value;
    else if (colon > 0 && name == "x-tamsel-busy-mailboxes")
        exchange.busyMailBoxes = value;
    else if (colon > 0 && name == "retry-after")
        exchange.retryAfter = value;
    return size * count;
}

size_t Supply(char* buffer, size_t size, size_t count, void* source)
{
    auto& exchange = *static_cast<Exchange*>(source);
    const qint64 room = static_cast<qint64>(size * count);
    if (exchange.uploadFile != nullptr) {
        const qint64 read = exchange.uploadFile->read(buffer, room);
        return read < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(read);
    }
    const qint64 left = std::min(room, exchange.upload.size() - exchange.uploaded);
    std::memcpy(buffer, exchange.upload.constData() + exchange.uploaded, static_cast<size_t>(left));
    exchange.uploaded += left;
    return static_cast<size_t>(left);
}

// The thread's handle for the calls to devices: libcurl keeps its connections, so that the
// calls of one operation (a password asked, a write after its conflict) share one handshake.
struct KeptHandle {
    ~KeptHandle()
    {
        if (curl != nullptr)
            curl_easy_cleanup(curl);
    }
    CURL* curl = nullptr;
    QByteArray pin;     // the key its connections were checked against
};
thread_local KeptHandle keptHandle;

// A handle for one request to the address, its answer bounded to maxBody bytes; the thread's
// kept one when `kept`, else one of its own.
struct Handle {
    Handle(const Address& address, const QByteArray& path, Exchange& exchange, bool kept = false)
        : kept(kept)
    {
        InitCurl();
        if (kept && keptHandle.curl != nullptr) {
            curl_easy_reset(keptHandle.curl);
            curl = keptHandle.curl;
        } else {
            curl = curl_easy_init();
            if (kept)
                keptHandle.curl = curl;
        }
        if (curl == nullptr)
            throw DeviceError{tlsFailedText};
        const QString host = address.host.contains(':') ? "[" + address.host + "]" : address.host;
        url = "https://" + host.toUtf8() + ":" + QByteArray::number(address.port) + path;
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeoutMs));
        // Taken up again well before the agent closes it for being idle.
        curl_easy_setopt(curl, CURLOPT_MAXAGE_CONN, 2L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(stallTimeoutMs / 1000));
        // The device's certificate is its own: trust is its pinned key, not a certificate authority.
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
        // An answer that announces more than its bound is refused before it comes.
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(exchange.maxBody));
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Receive);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &exchange);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, ReceiveHeader);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &exchange);
    }
    ~Handle()
    {
        curl_slist_free_all(headers);
        if (!kept)
            curl_easy_cleanup(curl);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool kept;
    CURL* curl = nullptr;
    curl_slist* headers = nullptr;
    QByteArray url;
};

// The French text of a failed transfer.
DeviceError TransferFailure(CURLcode code, CURL* curl, const Exchange& exchange, const Address& address,
                            const QByteArray& pinned)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return DeviceError{unreachableText};
    case CURLE_OPERATION_TIMEDOUT: {
        curl_off_t connected = 0;
        curl_easy_getinfo(curl, CURLINFO_APPCONNECT_TIME_T, &connected);
        return DeviceError{connected == 0 ? unreachableText : stalledText};
    }
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return ChangedKey(address, pinned);
    case CURLE_FILESIZE_EXCEEDED:
        return DeviceError{tooLargeText};
    case CURLE_WRITE_ERROR:
        return DeviceError{exchange.tooLarge ? tooLargeText : cutOffText};
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_ABORTED_BY_CALLBACK:
    case CURLE_READ_ERROR:
        return DeviceError{cutOffText};
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return DeviceError{tlsFailedText};
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return DeviceError{invalidReplyText};
    default:
        return DeviceError{CString("La communication avec le périphérique a échoué (") + curl_easy_strerror(code) + ")."};
    }
}

QSettings PinStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, settingsOrganisation, settingsApplication);
}

QString PinKey(const Address& address)
{
    return QString(pinsGroup) + "/" + address.Text().toLower();
}

void Pin(const Address& address, const QByteArray& key)
{
    QSettings settings = PinStore();
    settings.setValue(PinKey(address), QString::fromLatin1(key.toBase64()));
    settings.sync();
}

// The public key the device shows now, unverified: for the user to compare.
QByteArray PeerKey(const Address& address)
{
    Exchange exchange;
    exchange.maxBody = 64 * 1024;
    Handle handle(address, "/device", exchange);
    curl_easy_setopt(handle.curl, CURLOPT_CERTINFO, 1L);
    const CURLcode code = curl_easy_perform(handle.curl);
    if (code != CURLE_OK)
        throw TransferFailure(code, handle.curl, exchange, address, QByteArray());
    curl_certinfo* chain = nullptr;
    curl_easy_getinfo(handle.curl, CURLINFO_CERTINFO, &chain);
    if (chain != nullptr && chain->num_of_certs > 0) {
        for (curl_slist* field = chain->certinfo[0]; field != nullptr; field = field->next) {
            const QByteArray text(field->data);
            if (text.startsWith("Cert:")) {
                const QByteArray key = keypin::PublicKeySha256(text.mid(5));
                if (!key.isEmpty())
                    return key;
            }
        }
    }
    throw DeviceError{tlsFailedText};
}

// The pinned key of the address, asking the user to trust it at the first contact.
QByteArray TrustedKey(const Address& address)
{
    const QByteArray pinned = PinnedKey(address);
    if (!pinned.isEmpty())
        return pinned;
    const QByteArray seen = PeerKey(address);
    Prompts* prompts = currentPrompts.load();
    const QString fingerprint = keypin::FingerprintText(seen);
    if (prompts == nullptr || !prompts->TrustKey(address.Text(), fingerprint, QString()))
        throw DeviceError{CString("La clé du périphérique ") + address.Text() + " (empreinte SHA-256 " + fingerprint
                          + ") n'a pas été approuvée : la connexion est refusée."};
    Pin(address, seen);
    return seen;
}

QString SessionPassword(const Address& address)
{
    std::lock_guard guard(passwordsLock);
    return sessionPasswords.value(address.Text());
}

void KeepPassword(const Address& address, const QString& password)
{
    std::lock_guard guard(passwordsLock);
    if (password.isEmpty())
        sessionPasswords.remove(address.Text());
    else
        sessionPasswords.insert(address.Text(), password);
}

Reply Perform(const Address& address, const QByteArray& pinned, const Call& call, const QString& password)
{
    Exchange exchange;
    exchange.maxBody = call.maxReply;
    Handle handle(address, call.path, exchange, true);
    const QByteArray pin = keypin::CurlPin(pinned);
    curl_easy_setopt(handle.curl, CURLOPT_PINNEDPUBLICKEY, pin.constData());
    // A connection checked against another key is not taken up again.
    if (keptHandle.pin != pin)
        curl_easy_setopt(handle.curl, CURLOPT_FRESH_CONNECT, 1L);
    keptHandle.pin = pin;
    QFile file(call.bodyFile);
    if (call.method == "PUT" || call.method == "POST") {
        qint64 size = call.body.size();
        if (!call.bodyFile.isEmpty()) {
            if (!file.open(QIODevice::ReadOnly))
                throw DeviceError{CString("Le fichier « ") + call.bodyFile + " » est illisible."};
            exchange.uploadFile = &file;
            size = file.size();
        } else {
            exchange.upload = call.body;
        }
        curl_easy_setopt(handle.curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle.curl, CURLOPT_READFUNCTION, Supply);
        curl_easy_setopt(handle.curl, CURLOPT_READDATA, &exchange);
        curl_easy_setopt(handle.curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    }
    curl_easy_setopt(handle.curl, CURLOPT_CUSTOMREQUEST, call.method.constData());
    const QByteArray credentials = "admin:" + password.toUtf8();
    if (!password.isEmpty()) {
        curl_easy_setopt(handle.curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(handle.curl, CURLOPT_USERPWD, credentials.constData());
    }
    const QByteArray ifMatch = "If-Match: " + call.ifMatch;
    if (!call.ifMatch.isEmpty())
        handle.headers = curl_slist_append(handle.headers, ifMatch.constData());
    curl_easy_setopt(handle.curl, CURLOPT_HTTPHEADER, handle.headers);
    const CURLcode code = curl_easy_perform(handle.curl);
    if (code != CURLE_OK)
        throw TransferFailure(code, handle.curl, exchange, address, pinned);
    Reply reply;
    curl_easy_getinfo(handle.curl, CURLINFO_RESPONSE_CODE, &reply.status);
    reply.body = std::move(exchange.body);
    reply.tag = exchange.tag;
    reply.busyMailBoxes = exchange.busyMailBoxes;
    if (reply.status == 429) {
        bool valid = false;
        const int seconds = exchange.retryAfter.toInt(&valid);
        if (valid && seconds >= 0 && seconds <= maxRetryAfterSeconds)
            reply.body = QByteArray::number(seconds);   // the wait, for Send
        else
            reply.status = 4290;   // a wait too long to be waited for
    }
    return reply;
}

} // namespace

void SetPrompts(Prompts* prompts)
{
    currentPrompts = prompts;
}

Prompts* CurrentPrompts()
{
    return currentPrompts.load();
}

QString Address::Text() const
{
    return (host.contains(':') ? "[" + host + "]" : host) + ":" + QString::number(port);
}

bool ParseAddress(const QString& text, Address& address)
{
    static const QRegularExpression form(
        R"(^(?:\[([0-9A-Fa-f:.]+)\]|([A-Za-z0-9._-]+))(?::([0-9]{1,5}))?$)");
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    Address parsed;
    parsed.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    if (!match.captured(3).isEmpty())
        parsed.port = match.captured(3).toInt();
    if (parsed.host.isEmpty() || parsed.port < 1 || parsed.port > 65535)
        return false;
    address = parsed;
    return true;
}

bool ParseName(const CString& name, Address& address, CString& deviceName)
{
    const QString& text = name;
    if (!text.startsWith("\\\\"))
        return false;
    const qsizetype separator = text.indexOf('\\', 2);
    if (separator < 0 || separator + 1 >= text.size())
        return false;
    if (!ParseAddress(text.mid(2, separator - 2), address))
        return false;
    deviceName = text.mid(separator + 1);
    return true;
}

CString MakeName(const Address& address, const CString& deviceName)
{
    const QString host = address.host.contains(':') ? "[" + address.host + "]" : address.host;
    return CString("\\\\") + host + (address.port == defaultPort ? QString() : ":" + QString::number(address.port)) + "\\"
           + deviceName;
}

QStringList Probe(const QList<Address>& addresses)
{
    InitCurl();
    const size_t count = static_cast<size_t>(addresses.size());
    std::vector<Exchange> exchanges(count);
    std::vector<std::unique_ptr<Handle>> handles(count);
    std::vector<bool> answered(count, false);
    CURLM* multi = curl_multi_init();
    size_t next = 0;
    int inFlight = 0;
    // Each probe has its own bound; a wave waits only for the slowest of its own.
    const auto startMore = [&] {
        for (; next < count && inFlight < maxProbesInFlight; ++next, ++inFlight) {
            exchanges[next].maxBody = 64 * 1024;
            handles[next] = std::make_unique<Handle>(addresses[static_cast<qsizetype>(next)], "/device", exchanges[next]);
            CURL* curl = handles[next]->curl;
            curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(probeTimeoutMs));
            curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(probeTimeoutMs));
            curl_easy_setopt(curl, CURLOPT_PRIVATE, reinterpret_cast<void*>(next));
            curl_multi_add_handle(multi, curl);
        }
    };
    startMore();
    while (inFlight > 0) {
        int running = 0;
        curl_multi_perform(multi, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            void* index = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &index);
            const size_t i = reinterpret_cast<size_t>(index);
            long status = 0;
            curl_easy_getinfo(message->easy_handle, CURLINFO_RESPONSE_CODE, &status);
            answered[i] = message->data.result == CURLE_OK && status == 200;
            curl_multi_remove_handle(multi, message->easy_handle);
            handles[i].reset();
            --inFlight;
        }
        startMore();
        if (inFlight > 0)
            curl_multi_poll(multi, nullptr, 0, 50, nullptr);
    }
    curl_multi_cleanup(multi);
    QStringList names;
    for (size_t i = 0; i < count; ++i) {
        if (!answered[i])
            continue;
        const QString name = QJsonDocument::fromJson(exchanges[i].body).object().value("name").toString();
        const bool printable = std::all_of(name.begin(), name.end(), [](QChar c) { return c.isPrint(); });
        if (!name.isEmpty() && name.size() <= 200 && printable && !name.contains('\\'))
            names << static_cast<const QString&>(MakeName(addresses[static_cast<qsizetype>(i)], name));
    }
    return names;
}

QByteArray PinnedKey(const Address& address)
{
    const QByteArray stored = PinStore().value(PinKey(address)).toString().toLatin1();
    const auto decoded = QByteArray::fromBase64Encoding(stored, QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() == 32 ? decoded.decoded : QByteArray();
}

void Trust(const Address& address)
{
    const QByteArray seen = PeerKey(address);
    const QByteArray pinned = PinnedKey(address);
    Prompts* prompts = currentPrompts.load();
    const QString changedFrom = !pinned.isEmpty() && pinned != seen ? keypin::FingerprintText(pinned) : QString();
    if (prompts == nullptr || !prompts->TrustKey(address.Text(), keypin::FingerprintText(seen), changedFrom))
        throw DeviceError{CString("La clé du périphérique ") + address.Text() + " n'a pas été approuvée."};
    Pin(address, seen);
}

Reply Send(const CString& device, const Call& call)
{
    Address address;
    CString name;
    if (!ParseName(device, address, name))
        throw DeviceError{CString("Périphérique inconnu : « ") + device + " »."};
    const QByteArray pinned = TrustedKey(address);
    if (Prompts* given = currentPrompts.load(); given != nullptr && SessionPassword(address).isEmpty()) {
        QString password;
        if (given->GivenPassword(device, password))
            KeepPassword(address, password);
    }
    bool wrong = false;
    bool waited = false;
    for (int prompts = 0;;) {
        const QString password = SessionPassword(address);
        Reply reply = Perform(address, pinned, call, password);
        if (reply.status == 429 && !waited) {
            waited = true;
            std::this_thread::sleep_for(std::chrono::seconds(reply.body.toInt()));
            continue;
        }
        if (reply.status == 401) {
            if (!password.isEmpty()) {
                KeepPassword(address, QString());
                wrong = true;
            }
            Prompts* asked = currentPrompts.load();
            QString typed;
            if (prompts++ >= maxPasswordPrompts || asked == nullptr || !asked->AskPassword(device, wrong, typed)
                || typed.isEmpty())
                throw DeviceError{wrong ? ErrorText(reply.body, passwordRefusedText) : CString(passwordRefusedText)};
            KeepPassword(address, typed);
            continue;
        }
        if (reply.status == 423)
            throw DeviceError{ErrorText(reply.body, kDeviceBusyText), true};
        if (reply.status == 412 || reply.status == 422)
            return reply;
        if (reply.status == 429 || reply.status == 4290)
            throw DeviceError{ErrorText(reply.body, "Trop de mots de passe incorrects : réessayez plus tard.")};
        if (reply.status < 200 || reply.status >= 300)
            throw DeviceError{ErrorText(reply.body, invalidReplyText)};
        return reply;
    }
}

CString ErrorText(const QByteArray& body, const CString& fallback)
{
    const QString text = QJsonDocument::fromJson(body).object().value("error").toString();
    return text.isEmpty() ? fallback : CString(text.left(1000));
}

} // namespace network
