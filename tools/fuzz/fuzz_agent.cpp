// Arbitrary requests to the agent's request handling: method, path, headers, peer and body
// from the fuzzer's bytes, against a store with one device and its password. Whatever comes,
// the answer is a status the agent gives and the device's memory stays readable.
#include "agent/agentstore.h"
#include "agent/service.h"
#include "device/lib/emulateddevice.h"

#include <QByteArrayList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Store {
    Store()
    {
        QString reason;
        if (!directory.isValid() || !agentstore::Open(directory.path(), reason) || !agentstore::Devices(list, reason)
            || !agentstore::SetPassword(list.devices[0].name, "motdepasse", reason))
            std::abort();
    }
    QTemporaryDir directory;
    DeviceList list;
};

} // namespace

// Fields separated by newlines: method, path, authorization, If-Match, peer, body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Store store;
    static AttemptLimiter limiter;
    static agent::DeviceService service(store.list.devices[0], limiter);
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArrayList fields = input.split('\n');
    while (fields.size() < 6)
        fields << QByteArray();
    agent::Request request;
    request.method = fields[0];
    request.path = fields[1];
    // A short form for the right password keeps the fuzzer past authentication.
    request.authorization = fields[2] == "ok" ? QByteArray("Basic " + QByteArray("admin:motdepasse").toBase64()) : fields[2];
    request.ifMatch = fields[3];
    request.peer = QString::fromLatin1(fields[4].left(40));
    const QByteArray body = fields.mid(5).join('\n');
    request.contentLength = body.size();
    qint64 maxBody = 0;
    std::optional<agent::Answer> answer = service.Admit(request, maxBody);
    if (!answer) {
        agent::Body received(maxBody);
        if (!received.Append(body.constData(), body.size()))
            return 0;
        answer = service.Handle(request, received);
    }
    if (answer->status < 200 || answer->status > 599)
        std::abort();
    try {
        EmulatedDevice::Inspect(store.list.devices[0].name);
    } catch (const DeviceError&) {
        std::abort();
    }
    return 0;
}
