// The agent as a whole process on loopback, its store in a temporary folder, and requests to
// it through libcurl, as any client sends them.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace agenttest {

struct Reply {
    long status = 0;             // 0: no answer (the connection failed)
    QByteArray body;
    QMap<QByteArray, QByteArray> headers;   // names in lower case
    QString error;               // libcurl's, when there was no answer
};

struct Call {
    Call(QByteArray method, QByteArray path, QByteArray body = {}, QString password = {}, QByteArray ifMatch = {})
        : method(std::move(method)), path(std::move(path)), body(std::move(body)), password(std::move(password)),
          ifMatch(std::move(ifMatch))
    {
    }
    QByteArray method;
    QByteArray path;
    QByteArray body;
    QString password;            // empty: none sent
    QByteArray ifMatch;
};

class AgentProcess {
public:
    static constexpr char device[] = "Brevia Pro 45";
    static constexpr char password[] = "s3cret du bureau";

    // A store holding devices.json (written only when not empty) and nothing else yet.
    explicit AgentProcess(const QByteArray& deviceList = QByteArray());
    ~AgentProcess();

    QString Store() const { return store.path(); }
    // Starts the agent; FALSE when it did not say where it listens within the bound.
    bool Start(const QStringList& extraArguments = {"--timeout", "5"}, const QString& listen = "127.0.0.1:0");
    // Ends it with SIGTERM; its exit code.
    int Stop();
    // Runs `tamsel-agent passwd DEVICE` with the password on standard input; its exit code.
    int SetPassword(const QString& device, const QByteArray& input);

    quint16 Port() const { return port; }
    // "HOST:PORT" of its (first) device, as the device list names it.
    QString Address() const { return QString("%1:%2").arg(host).arg(port); }
    // The network name of its device.
    QString DeviceName() const { return QString("\\\\%1:%2\\%3").arg(host).arg(port).arg(device); }
    // The key's fingerprint the agent printed.
    QString Fingerprint() const { return fingerprint; }
    // Its standard error since it was last started.
    QString Log();
    // Waits, within a bound, until the log holds the text.
    bool WaitForLog(const QString& text);

    Reply Send(const Call& call) const;

    // Whether a request holds its device, as the kernel lists the device's lock. Looking never
    // takes the lock: a probe that took it would make the agent find its device busy.
    bool DeviceHeld() const;

private:
    QTemporaryDir store;
    QProcess process;
    QString logPath;
    QString log;
    QString host;
    quint16 port = 0;
    QString fingerprint;
};

} // namespace agenttest
