#include "faultpeers.h"

#include <QFile>

#include <arpa/inet.h>
#include <fcntl.h>
#include <gnutls/gnutls.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <vector>

namespace agenttest {

namespace {

bool SendAll(int socket, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t sent = ::send(socket, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

int ConnectToLoopback(quint16 port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

// Waits for a connection or for the wake pipe to close; -1 on the latter.
int Accept(int listener, int wake)
{
    pollfd watched[2] = {{listener, POLLIN, 0}, {wake, POLLIN, 0}};
    if (::poll(watched, 2, -1) <= 0 || watched[1].revents != 0)
        return -1;
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

} // namespace

int ListenOnLoopback(quint16& port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(socket, 16) != 0
        || ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(socket);
        return -1;
    }
    port = ntohs(address.sin_port);
    return socket;
}

FaultProxy::FaultProxy(quint16 agentPort) : agentPort(agentPort)
{
    listener = ListenOnLoopback(port);
    if (listener >= 0 && ::pipe2(wake, O_CLOEXEC) == 0)
        thread = std::thread([this] { Serve(); });
}

FaultProxy::~FaultProxy()
{
    if (wake[1] >= 0)
        ::close(wake[1]);   // every loop sees its end
    if (thread.joinable())
        thread.join();
    for (std::thread& worker : workers)
        worker.join();
    for (int fd : {listener, wake[0]})
        if (fd >= 0)
            ::close(fd);
}

void FaultProxy::SetFault(const Fault& next)
{
    std::lock_guard guard(lock);
    fault = next;
}

FaultProxy::Transcript FaultProxy::LastTranscript()
{
    std::unique_lock guard(workersLock);
    workerEnded.wait_for(guard, std::chrono::seconds(10), [&] { return running == 0; });
    std::lock_guard own(lock);
    return last;
}

void FaultProxy::Serve()
{
    for (int client; (client = Accept(listener, wake[0])) >= 0;) {
        Fault now;
        {
            std::lock_guard guard(lock);
            now = fault;
        }
        std::lock_guard guard(workersLock);
        ++running;
        workers.emplace_back([this, client, now] {
            Relay(client, now);
            std::lock_guard ended(workersLock);
            --running;
            workerEnded.notify_all();
        });
    }
}

void FaultProxy::Relay(int client, Fault fault)
{
    const int agent = ConnectToLoopback(agentPort);
    Transcript transcript;
    qint64 received[2] = {0, 0};
    bool stalled = false;
    char buffer[16384];
    bool agentOpen = true;
    for (bool open = agent >= 0; open;) {
        pollfd watched[3] = {{client, POLLIN, 0}, {agentOpen ? agent : -1, POLLIN, 0}, {wake[0], POLLIN, 0}};
        if (::poll(watched, 3, -1) <= 0 || watched[2].revents != 0)
            break;
        for (int side = 0; side < 2 && open; ++side) {
            if (watched[side].revents == 0)
                continue;
            const int from = side == 0 ? client : agent, to = side == 0 ? agent : client;
            const Way way = side == 0 ? Way::toAgent : Way::toClient;
            const ssize_t got = ::read(from, buffer, sizeof buffer);
            // A stalled connection ends only when the client gives up.
            if (got <= 0 && stalled && side == 1) {
                agentOpen = false;
                continue;
            }
            if (got <= 0) {
                open = false;
                break;
            }
            transcript.append({way, got});
            qint64& count = received[static_cast<int>(way)];
            const qint64 before = count;
            count += got;
            if (stalled)
                continue;
            qint64 passed = got;
            if (fault.kind != Kind::pass && way == fault.way)
                passed = std::clamp(fault.at - before, qint64(0), qint64(got));
            if (!SendAll(to, buffer, passed)) {
                open = false;
                break;
            }
            if (passed == got)
                continue;
            if (fault.kind == Kind::cut || (fault.kind == Kind::swallow && count >= fault.end))
                open = false;
            else if (fault.kind == Kind::stall)
                stalled = true;
        }
    }
    ::close(client);
    if (agent >= 0)
        ::close(agent);
    std::lock_guard guard(lock);
    last = transcript;
}

ScriptedTlsServer::ScriptedTlsServer(const QString& keyFile, const QString& certificateFile)
{
    std::signal(SIGPIPE, SIG_IGN);
    QFile keyPem(keyFile), certificatePem(certificateFile);
    if (keyPem.open(QIODevice::ReadOnly))
        key = keyPem.readAll();
    if (certificatePem.open(QIODevice::ReadOnly))
        certificate = certificatePem.readAll();
    listener = ListenOnLoopback(port);
    if (listener >= 0 && ::pipe2(wake, O_CLOEXEC) == 0)
        thread = std::thread([this] { Serve(); });
}

ScriptedTlsServer::~ScriptedTlsServer()
{
    if (wake[1] >= 0)
        ::close(wake[1]);
    if (thread.joinable())
        thread.join();
    for (int fd : {listener, wake[0]})
        if (fd >= 0)
            ::close(fd);
}

void ScriptedTlsServer::Script(const QByteArray& bytes, qint64 filler)
{
    std::lock_guard guard(lock);
    answer = bytes;
    fillerBytes = filler;
}

void ScriptedTlsServer::Serve()
{
    gnutls_certificate_credentials_t credentials = nullptr;
    gnutls_certificate_allocate_credentials(&credentials);
    const gnutls_datum_t certificateData{reinterpret_cast<unsigned char*>(certificate.data()),
                                         static_cast<unsigned>(certificate.size())};
    const gnutls_datum_t keyData{reinterpret_cast<unsigned char*>(key.data()), static_cast<unsigned>(key.size())};
    gnutls_certificate_set_x509_key_mem(credentials, &certificateData, &keyData, GNUTLS_X509_FMT_PEM);
    for (int client; (client = Accept(listener, wake[0])) >= 0;) {
        const timeval bound{5, 0};
        ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
        ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &bound, sizeof bound);
        gnutls_session_t session = nullptr;
        gnutls_init(&session, GNUTLS_SERVER);
        gnutls_set_default_priority(session);
        gnutls_credentials_set(session, GNUTLS_CRD_CERTIFICATE, credentials);
        gnutls_transport_set_int(session, client);
        int status;
        do
            status = gnutls_handshake(session);
        while (status < 0 && gnutls_error_is_fatal(status) == 0);
        QByteArray request;
        char buffer[16384];
        while (status >= 0 && !request.contains("\r\n\r\n") && request.size() < 65536) {
            const ssize_t got = gnutls_record_recv(session, buffer, sizeof buffer);
            if (got <= 0)
                status = -1;
            else
                request.append(buffer, got);
        }
        QByteArray reply;
        qint64 filler = 0;
        if (request.startsWith("GET /device ")) {
            const QByteArray device = R"({"name": "Brevia Pro 45", "model": "Brevia Pro 45", "firmwareVersion": "1.00", "status": "0"})";
            reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: "
                    + QByteArray::number(device.size()) + "\r\n\r\n" + device;
        } else {
            std::lock_guard guard(lock);
            reply = answer;
            filler = fillerBytes;
        }
        bool sending = status >= 0 && gnutls_record_send(session, reply.constData(), static_cast<size_t>(reply.size())) > 0;
        if (sending && !request.startsWith("GET /device "))
            sent += reply.size();
        const QByteArray chunk(16384, 'x');
        for (qint64 left = filler; sending && left > 0;) {
            const ssize_t out = gnutls_record_send(session, chunk.constData(), static_cast<size_t>(std::min<qint64>(left, chunk.size())));
            sending = out > 0;
            if (sending) {
                left -= out;
                sent += out;
            }
        }
        gnutls_bye(session, GNUTLS_SHUT_WR);
        gnutls_deinit(session);
        ::close(client);
    }
    gnutls_certificate_free_credentials(credentials);
}

} // namespace agenttest
