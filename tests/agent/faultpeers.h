// Peers that misbehave on purpose, on loopback, for the network link's faults: a proxy between
// the client and a real agent that cuts, stalls or swallows the bytes of one direction from a
// given byte on, and a TLS server holding the agent's key that answers what a test scripts.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace agenttest {

// A listening socket on 127.0.0.1 and a port the system chose; -1 on failure.
int ListenOnLoopback(quint16& port);

class FaultProxy {
public:
    enum class Way { toAgent, toClient };
    enum class Kind {
        pass,
        cut,       // the connection closed once `at` bytes went the way
        stall,     // nothing more goes either way once `at` bytes went; closed when the client closes
        swallow,   // past `at` bytes the way's bytes are dropped; closed once `end` bytes came
    };
    struct Fault {
        Kind kind = Kind::pass;
        Way way = Way::toClient;
        qint64 at = 0;
        qint64 end = 0;
    };
    // What one connection carried, read by read, in order.
    using Transcript = QList<std::pair<Way, qint64>>;

    explicit FaultProxy(quint16 agentPort);
    ~FaultProxy();
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    quint16 Port() const { return port; }
    // For the connections accepted from now on.
    void SetFault(const Fault& fault);
    // The transcript of the last connection that ended.
    Transcript LastTranscript();

private:
    void Serve();
    void Relay(int client, Fault fault);

    quint16 agentPort;
    quint16 port = 0;
    int listener = -1;
    int wake[2] = {-1, -1};
    std::mutex lock;
    Fault fault;
    Transcript last;
    std::thread thread;
    // One thread per connection, and how many still run.
    std::mutex workersLock;
    std::condition_variable workerEnded;
    int running = 0;
    std::vector<std::thread> workers;
};

// A TLS server with the agent's key and certificate (so the pinned key matches): it answers
// GET /device as the agent does, and every other request with `answer`'s bytes, then as many
// `filler` bytes as `fillerBytes` says (the connection closed after), one connection at a time.
class ScriptedTlsServer {
public:
    ScriptedTlsServer(const QString& keyFile, const QString& certificateFile);
    ~ScriptedTlsServer();
    ScriptedTlsServer(const ScriptedTlsServer&) = delete;
    ScriptedTlsServer& operator=(const ScriptedTlsServer&) = delete;

    quint16 Port() const { return port; }
    void Script(const QByteArray& answer, qint64 fillerBytes = 0);
    // Bytes of the scripted answers sent so far, headers and filler included.
    qint64 Sent() const { return sent; }

private:
    void Serve();

    QByteArray key, certificate;
    quint16 port = 0;
    int listener = -1;
    int wake[2] = {-1, -1};
    std::mutex lock;
    QByteArray answer;
    qint64 fillerBytes = 0;
    std::atomic<qint64> sent = 0;
    std::thread thread;
};

} // namespace agenttest
