#include "agent/httpserver.h"

#include <QElapsedTimer>

#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>

namespace agent {

namespace {

// What one request carries between libmicrohttpd's calls.
struct Exchange {
    Request request;
    std::unique_ptr<Body> body;   // none once answered
    QElapsedTimer started;
};

QByteArray Header(MHD_Connection* connection, const char* name)
{
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value != nullptr ? QByteArray(value) : QByteArray();
}

QString Peer(MHD_Connection* connection)
{
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (info == nullptr || info->client_addr == nullptr)
        return "?";
    char host[NI_MAXHOST] = {};
    const socklen_t size = info->client_addr->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    if (getnameinfo(info->client_addr, size, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0)
        return "?";
    return QString::fromLatin1(host);
}

MHD_Result Send(MHD_Connection* connection, HttpServer& server, Exchange& exchange, const Answer& answer)
{
    exchange.body.reset();
    MHD_Response* response = MHD_create_response_from_buffer(static_cast<size_t>(answer.body.size()),
                                                             const_cast<char*>(answer.body.constData()),
                                                             MHD_RESPMEM_MUST_COPY);
    if (response == nullptr)
        return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.constData());
    for (const auto& [name, value] : answer.headers)
        MHD_add_response_header(response, name.constData(), value.constData());
    const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
    MHD_destroy_response(response);
    LogLineOut(LogLine(server.Service().Device().name, exchange.request, answer, exchange.started.elapsed()));
    return queued;
}

// The connection is closed without an answer; the line says why.
MHD_Result Drop(HttpServer& server, Exchange& exchange, const char* why)
{
    exchange.body.reset();
    Answer dropped;
    dropped.status = 0;
    dropped.note = QString("connexion fermée : %1").arg(why);
    LogLineOut(LogLine(server.Service().Device().name, exchange.request, dropped, exchange.started.elapsed()));
    return MHD_NO;
}

MHD_Result Access(void* context, MHD_Connection* connection, const char* url, const char* method, const char*,
                  const char* upload, size_t* uploadSize, void** requestContext)
{
    auto& server = *static_cast<HttpServer*>(context);
    auto* exchange = static_cast<Exchange*>(*requestContext);
    if (exchange == nullptr) {
        exchange = new Exchange;
        *requestContext = exchange;
        exchange->started.start();
        Request& request = exchange->request;
        request.method = method;
        request.path = url;
        request.authorization = Header(connection, MHD_HTTP_HEADER_AUTHORIZATION);
        request.ifMatch = Header(connection, MHD_HTTP_HEADER_IF_MATCH);
        request.peer = Peer(connection);
        const QByteArray length = Header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
        bool valid = false;
        request.contentLength = length.isEmpty() ? -1 : length.toLongLong(&valid);
        if (!length.isEmpty() && (!valid || request.contentLength < 0))
            request.contentLength = std::numeric_limits<qint64>::max();
        qint64 maxBody = 0;
        if (std::optional<Answer> answer = server.Service().Admit(request, maxBody))
            return Send(connection, server, *exchange, *answer);
        exchange->body = std::make_unique<Body>(maxBody);
        return MHD_YES;
    }
    if (exchange->body == nullptr)
        return MHD_NO;
    const qint64 budgetMs = qint64(server.Limits().idleSeconds) * ServerLimits::requestIdlePeriods * 1000;
    if (exchange->started.elapsed() > budgetMs)
        return Drop(server, *exchange, "requête trop lente");
    if (*uploadSize > 0) {
        if (!exchange->body->Append(upload, static_cast<qint64>(*uploadSize)))
            return Drop(server, *exchange, "corps trop volumineux ou impossible à conserver");
        *uploadSize = 0;
        return MHD_YES;
    }
    return Send(connection, server, *exchange, server.Service().Handle(exchange->request, *exchange->body));
}

void Completed(void*, MHD_Connection*, void** requestContext, MHD_RequestTerminationCode)
{
    delete static_cast<Exchange*>(*requestContext);
    *requestContext = nullptr;
}

void LibraryLog(void*, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    LogLineOut(QString("libmicrohttpd : %1").arg(QString::fromLocal8Bit(text).trimmed()));
}

} // namespace

bool ParseListenAddress(const QString& text, sockaddr_storage& address, QString& reason)
{
    const qsizetype colon = text.lastIndexOf(':');
    QString host = text.left(colon);
    const QString port = text.mid(colon + 1);
    bool numeric = false;
    const int portNumber = port.toInt(&numeric);
    if (colon < 0 || !numeric || portNumber < 0 || portNumber > 65535) {
        reason = QString("« %1 » n'est pas une adresse d'écoute ADRESSE:PORT").arg(text);
        return false;
    }
    if (host.startsWith('[') && host.endsWith(']'))
        host = host.mid(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const QByteArray hostBytes = host.toUtf8();
    const int error = getaddrinfo(host.isEmpty() ? nullptr : hostBytes.constData(), port.toLatin1().constData(), &hints, &found);
    if (error != 0 || found == nullptr) {
        reason = QString("adresse « %1 » introuvable : %2").arg(host, QString::fromLocal8Bit(gai_strerror(error)));
        return false;
    }
    std::memset(&address, 0, sizeof address);
    std::memcpy(&address, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    return true;
}

QString AddressText(const sockaddr* address)
{
    char host[NI_MAXHOST] = {}, service[NI_MAXSERV] = {};
    const socklen_t size = address->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    if (getnameinfo(address, size, host, sizeof host, service, sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "?";
    return address->sa_family == AF_INET6 ? QString("[%1]:%2").arg(host, service) : QString("%1:%2").arg(host, service);
}

HttpServer::HttpServer(DeviceService& service, const QByteArray& keyPem, const QByteArray& certificatePem,
                       const ServerLimits& limits)
    : service(service), keyPem(keyPem), certificatePem(certificatePem), limits(limits)
{
}

HttpServer::~HttpServer()
{
    if (daemon != nullptr)
        MHD_stop_daemon(daemon);
}

bool HttpServer::Start(const sockaddr_storage& address, QString& reason)
{
    unsigned flags = MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_TLS | MHD_USE_ERROR_LOG;
    if (address.ss_family == AF_INET6)
        flags |= MHD_USE_IPv6;
    daemon = MHD_start_daemon(
        flags, 0, nullptr, nullptr, &Access, this, MHD_OPTION_EXTERNAL_LOGGER, &LibraryLog, this, MHD_OPTION_SOCK_ADDR, reinterpret_cast<const sockaddr*>(&address),
        MHD_OPTION_HTTPS_MEM_KEY, keyPem.constData(), MHD_OPTION_HTTPS_MEM_CERT, certificatePem.constData(),
        MHD_OPTION_HTTPS_PRIORITIES, "NORMAL:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2",
        MHD_OPTION_CONNECTION_LIMIT, static_cast<unsigned>(limits.maxConnections),
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<unsigned>(limits.maxConnectionsPerAddress),
        MHD_OPTION_CONNECTION_TIMEOUT, static_cast<unsigned>(limits.idleSeconds),
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<size_t>(64 * 1024),
        MHD_OPTION_THREAD_STACK_SIZE, static_cast<size_t>(1024 * 1024),
        MHD_OPTION_NOTIFY_COMPLETED, &Completed, this,
        MHD_OPTION_END);
    if (daemon == nullptr) {
        reason = QString("impossible d'écouter sur %1").arg(AddressText(reinterpret_cast<const sockaddr*>(&address)));
        return false;
    }
    return true;
}

quint16 HttpServer::Port() const
{
    const MHD_DaemonInfo* info = daemon != nullptr ? MHD_get_daemon_info(daemon, MHD_DAEMON_INFO_BIND_PORT) : nullptr;
    return info != nullptr ? info->port : 0;
}

void LogLineOut(const QString& line)
{
    static std::mutex lock;
    const QByteArray bytes = line.toUtf8() + '\n';
    std::lock_guard guard(lock);
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace agent
