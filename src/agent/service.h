// What the agent answers for one device, whatever carries the requests: the resources, the
// password, the bounds of every body, one client at a time.
//
//   GET  /device     name, model, firmware version, status word (JSON); no password needed
//   GET  /settings   the record's bytes (application/x-tamsel-settings), its ETag, and the
//                    busy mailboxes in X-Tamsel-Busy-Mailboxes (numbers, percent-encoded,
//                    comma-separated)
//   PUT  /settings   the record; If-Match honoured (412); answers the mailboxes kept as they
//                    were ({"unchangedMailBoxes": [...]}) and the new ETag
//   POST /clock      {"time": SECONDS SINCE 1970}
//   POST /reset
//   PUT  /firmware   a .bfw file, checked whole before anything changes; the settings are
//                    read before and written back after it in one session
//
// Every other request needs the device's administrator password (HTTP Basic, any user name).
// Failures answer {"error": FRENCH TEXT}; a failed firmware upgrade also names its "step"
// ("read", "upgrade", "writeBack").
#pragma once

#include "agent/attemptlimiter.h"
#include "device/lib/devicelist.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryFile>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace agent {

inline constexpr char kRecordType[] = "application/x-tamsel-settings";
inline constexpr char kBusyMailBoxesHeader[] = "X-Tamsel-Busy-Mailboxes";
// A clock request's body is a few dozen bytes.
inline constexpr qint64 maxClockBody = 256;

struct Request {
    QByteArray method;
    QByteArray path;
    QByteArray authorization;    // the header as sent
    QByteArray ifMatch;
    QString peer;                // the client's address
    qint64 contentLength = -1;   // -1 when not given
};

struct Answer {
    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QString note;                // for the log line, never a secret
};

// A request's body as it comes in: in memory up to memoryBytes, beyond that in a temporary
// file of the store (0600, a name nobody can guess), never past its bound.
class Body {
public:
    static constexpr qint64 memoryBytes = 256 * 1024;

    explicit Body(qint64 maxBytes) : maxBytes(maxBytes) {}
    // FALSE past the bound or when the file cannot be written; the body is then unusable.
    bool Append(const char* data, qint64 size);
    qint64 Size() const { return size; }
    // The whole body.
    bool ReadAll(QByteArray& bytes);
    // A file holding the whole body; empty on failure.
    QString FilePath();

private:
    qint64 maxBytes;
    qint64 size = 0;
    QByteArray memory;
    std::unique_ptr<QTemporaryFile> file;
};

class DeviceService {
public:
    DeviceService(const DeviceDefinition& device, AttemptLimiter& limiter);

    const DeviceDefinition& Device() const { return device; }

    // The headers are in: an answer at once (a refusal, or a request that needs no body), or
    // none and the bound of the body to read before Handle.
    std::optional<Answer> Admit(const Request& request, qint64& maxBody);
    // The body of a request Admit let in is in: the answer.
    Answer Handle(const Request& request, Body& body);

private:
    enum class Route { device, readSettings, writeSettings, clock, reset, firmware };
    struct Resource {
        const char* method;
        const char* path;
        Route route;
        qint64 maxBody;
    };
    // The request's resource; nullptr when none, `pathKnown` telling whether its path is one.
    static const Resource* Find(const Request& request, bool& pathKnown);
    std::optional<Answer> Authenticate(const Request& request);
    bool PasswordMatches(const QString& password, const QByteArray& hash);
    Answer Run(Route route, const Request& request, Body& body);

    DeviceDefinition device;
    AttemptLimiter& limiter;
    std::atomic<bool> busy = false;
    // The last password that matched, as a keyed digest, with the hash it matched: yescrypt
    // is slow on purpose, and a client that knows the password sends it with every request.
    std::mutex verifiedLock;
    QByteArray verifiedHash;
    QByteArray verifiedDigest;
};

// One log line's text: "« DEVICE » ADDRESS \"METHOD PATH\" STATUS BYTES octets MS ms [NOTE]",
// its quoted parts with their control characters escaped.
QString LogLine(const CString& device, const Request& request, const Answer& answer, qint64 milliseconds);

} // namespace agent
