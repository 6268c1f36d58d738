// One device's HTTPS server (libmicrohttpd over GnuTLS): a thread per connection, so that a
// request running on the device never keeps another from being told it is busy; capped
// connections, idle connections timed out, every body bounded and every request's whole
// time too. One log line per request on standard error.
#pragma once

#include "agent/service.h"

#include <QByteArray>
#include <QString>

#include <sys/socket.h>

struct MHD_Daemon;

namespace agent {

struct ServerLimits {
    int idleSeconds = 15;            // a connection that moves nothing this long is closed
    int maxConnections = 128;
    int maxConnectionsPerAddress = 64;
    // A request, body included, takes at most this many idle periods.
    static constexpr int requestIdlePeriods = 20;
};

// "ADDRESS:PORT", "[IPV6]:PORT" or ":PORT" (every address) into a socket address; FALSE with
// the French reason.
bool ParseListenAddress(const QString& text, sockaddr_storage& address, QString& reason);
// The address as text, "[::1]:443" or "127.0.0.1:443".
QString AddressText(const sockaddr* address);

class HttpServer {
public:
    HttpServer(DeviceService& service, const QByteArray& keyPem, const QByteArray& certificatePem,
               const ServerLimits& limits);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Listens at the address (port 0: one the system chooses). FALSE with the reason.
    bool Start(const sockaddr_storage& address, QString& reason);
    quint16 Port() const;
    DeviceService& Service() { return service; }
    const ServerLimits& Limits() const { return limits; }

private:
    DeviceService& service;
    // libmicrohttpd reads them for as long as it runs.
    QByteArray keyPem;
    QByteArray certificatePem;
    ServerLimits limits;
    MHD_Daemon* daemon = nullptr;
};

// Writes one line to standard error, whole, whatever the threads.
void LogLineOut(const QString& line);

} // namespace agent
