#include "support/agentprocess.h"

#include "device/lib/devicelist.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>

namespace agenttest {

namespace {

constexpr int startBoundMs = 15000;

size_t Collect(char* data, size_t size, size_t count, void* target)
{
    static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

size_t CollectHeader(char* data, size_t size, size_t count, void* target)
{
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(size * count)).trimmed();
    const qsizetype colon = line.indexOf(':');
    if (colon > 0)
        static_cast<QMap<QByteArray, QByteArray>*>(target)->insert(line.left(colon).toLower(), line.mid(colon + 1).trimmed());
    return size * count;
}

} // namespace

AgentProcess::AgentProcess(const QByteArray& deviceList)
{
    EXPECT_TRUE(store.isValid());
    if (!deviceList.isEmpty()) {
        QFile file(store.filePath("devices.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(deviceList);
    }
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // An agent never outlives the test that started it, however the test ends.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

AgentProcess::~AgentProcess()
{
    if (process.state() != QProcess::NotRunning)
        Stop();
}

bool AgentProcess::Start(const QStringList& extraArguments, const QString& listen)
{
    log.clear();
    // Its log goes to a file: a pipe nobody reads while the test works would stop the agent.
    logPath = store.filePath("agent.log");
    QFile::remove(logPath);
    process.setStandardErrorFile(logPath);
    process.start(TAMSEL_AGENT_PATH, QStringList{"--listen", listen, "--store", store.path()} + extraArguments);
    static const QRegularExpression listening("https://([0-9.]+):(\\d+)/ \\(empreinte SHA-256 de la clé : ([0-9A-F:]+)\\)");
    const QDeadlineTimer deadline(startBoundMs);
    while (!deadline.hasExpired()) {
        const QRegularExpressionMatch match = listening.match(Log());
        if (match.hasMatch()) {
            host = match.captured(1);
            port = static_cast<quint16>(match.captured(2).toUInt());
            fingerprint = match.captured(3);
            return true;
        }
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForFinished(50);
    }
    return false;
}

int AgentProcess::Stop()
{
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    if (!process.waitForFinished(startBoundMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    Log();
    return process.exitCode();
}

int AgentProcess::SetPassword(const QString& device, const QByteArray& input)
{
    QProcess passwd;
    passwd.start(TAMSEL_AGENT_PATH, {"passwd", device, "--store", store.path()});
    passwd.write(input);
    passwd.closeWriteChannel();
    if (!passwd.waitForFinished(startBoundMs))
        return -1;
    return passwd.exitCode();
}

QString AgentProcess::Log()
{
    QFile file(logPath);
    if (file.open(QIODevice::ReadOnly))
        log = QString::fromUtf8(file.readAll());
    return log;
}

bool AgentProcess::WaitForLog(const QString& text)
{
    const QDeadlineTimer deadline(startBoundMs);
    while (!Log().contains(text)) {
        if (deadline.hasExpired() || process.state() == QProcess::NotRunning)
            return false;
        process.waitForFinished(50);
    }
    return true;
}

Reply AgentProcess::Send(const Call& call) const
{
    Reply reply;
    // One handle a thread, so that its connection is kept between calls as a client keeps it.
    static thread_local const std::unique_ptr<CURL, void (*)(CURL*)> handle(curl_easy_init(), curl_easy_cleanup);
    CURL* curl = handle.get();
    curl_easy_reset(curl);
    const QByteArray url = "https://" + Address().toLatin1() + call.path;
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    // The key is the agent's own, made at its start: these tests look at what it answers.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, call.method.constData());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
    if (call.method == "PUT" || call.method == "POST") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, call.body.constData());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(call.body.size()));
    }
    const QByteArray userPassword = "admin:" + call.password.toUtf8();
    if (!call.password.isEmpty())
        curl_easy_setopt(curl, CURLOPT_USERPWD, userPassword.constData());
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Expect:");
    const QByteArray ifMatch = "If-Match: " + call.ifMatch;
    if (!call.ifMatch.isEmpty())
        headers = curl_slist_append(headers, ifMatch.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.headers);
    const CURLcode result = curl_easy_perform(curl);
    if (result == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    else
        reply.error = QString::fromUtf8(curl_easy_strerror(result));
    curl_slist_free_all(headers);
    return reply;
}

} // namespace agenttest

namespace agenttest {

bool AgentProcess::DeviceHeld() const
{
    SetDeviceStoreFolder(store.path());
    const QByteArray path = QFile::encodeName(DeviceFilePath(device, "lock"));
    SetDeviceStoreFolder(QString());
    struct stat info {};
    QFile locks("/proc/locks");
    if (::stat(path.constData(), &info) != 0 || !locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inode = ":" + QByteArray::number(quint64(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n')) {
        if (line.contains(" FLOCK ") && line.contains(" WRITE ") && line.contains(inode))
            return true;
    }
    return false;
}

} // namespace agenttest
