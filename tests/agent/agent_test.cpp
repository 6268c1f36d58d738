// The agent over real sockets on loopback: what it serves, whom it serves, and its bounds.
#include "support/agentprocess.h"

#include "agent/attemptlimiter.h"
#include "device/lib/config.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/firmware.h"
#include "device/lib/serialformat.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <thread>

namespace agenttest {
namespace {

using namespace std::chrono_literals;

const QByteArray quickDevice = R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45", "model": "Brevia Pro 45"}]})";

QJsonObject JsonOf(const Reply& reply)
{
    return QJsonDocument::fromJson(reply.body).object();
}

QByteArray WithCompany(const QByteArray& record, const char* company)
{
    CConfig config;
    serialformat::LoadFromBytes(config, record);
    config.machine.companyName = company;
    return serialformat::StoreToBytes(config);
}

CString StoredCompany(const QString& store)
{
    SetDeviceStoreFolder(store);
    const CString company = EmulatedDevice::Inspect(AgentProcess::device)->config.machine.companyName;
    SetDeviceStoreFolder(QString());
    return company;
}

QByteArray Firmware(const char* model, const char* version)
{
    QByteArray bytes;
    CString reason;
    EXPECT_TRUE(firmware::Build({model, version, QByteArray("image du micrologiciel\n").repeated(100)}, bytes, reason));
    return bytes;
}

class AgentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(agent.SetPassword(AgentProcess::device, QByteArray(AgentProcess::password) + "\n"), 0);
        ASSERT_TRUE(agent.Start()) << agent.Log().toStdString();
    }

    Reply Authorized(Call call) const
    {
        call.password = AgentProcess::password;
        return agent.Send(call);
    }

    AgentProcess agent{quickDevice};
};

TEST(AttemptLimiterTest, EachFailureWaitsTwiceAsLongUpToTheBoundAndASuccessClears)
{
    const struct {
        int failures;
        int milliseconds;
    } delays[] = {{0, 0}, {1, 500}, {2, 1000}, {3, 2000}, {7, 32000}, {8, 60000}, {40, 60000}, {1000000, 60000}};
    for (const auto& delay : delays)
        EXPECT_EQ(AttemptLimiter::DelayAfter(delay.failures).count(), delay.milliseconds) << delay.failures;

    AttemptLimiter limiter;
    const auto start = AttemptLimiter::Clock::now();
    EXPECT_EQ(limiter.Failed("10.0.0.1", start), 1);
    EXPECT_EQ(limiter.Failed("10.0.0.1", start), 2);
    EXPECT_EQ(limiter.Wait("10.0.0.1", start).count(), 1000);
    EXPECT_EQ(limiter.Wait("10.0.0.1", start + 999ms).count(), 1);
    EXPECT_EQ(limiter.Wait("10.0.0.1", start + 1000ms).count(), 0);
    EXPECT_EQ(limiter.Wait("10.0.0.2", start).count(), 0) << "another address waits for nobody";
    limiter.Succeeded("10.0.0.1");
    EXPECT_EQ(limiter.Wait("10.0.0.1", start).count(), 0);
    EXPECT_EQ(limiter.Failed("10.0.0.1", start), 1) << "a success starts the count again";
}

TEST(AttemptLimiterTest, ManyAddressesAreForgottenNotHeldWithoutEnd)
{
    AttemptLimiter limiter;
    const auto start = AttemptLimiter::Clock::now();
    for (int i = 0; i < AttemptLimiter::maxAddresses * 3; ++i)
        limiter.Failed(QString("10.1.%1.%2").arg(i / 256).arg(i % 256), start + std::chrono::milliseconds(i));
    // The newest address is still slowed down.
    const QString last = QString("10.1.%1.%2").arg((AttemptLimiter::maxAddresses * 3 - 1) / 256).arg((AttemptLimiter::maxAddresses * 3 - 1) % 256);
    EXPECT_GT(limiter.Wait(last, start + std::chrono::milliseconds(AttemptLimiter::maxAddresses * 3)).count(), 0);
}

TEST(AgentWithoutPasswordTest, OnlyTheDeviceAnswersAndTellsHowToSetOne)
{
    AgentProcess agent(quickDevice);
    ASSERT_TRUE(agent.Start()) << agent.Log().toStdString();
    const Reply device = agent.Send({"GET", "/device"});
    EXPECT_EQ(device.status, 200);
    EXPECT_EQ(JsonOf(device).value("name").toString(), AgentProcess::device);
    EXPECT_EQ(JsonOf(device).value("model").toString(), "Brevia Pro 45");
    EXPECT_EQ(JsonOf(device).value("status").toString(), "1");
    for (const Call& call : {Call{"GET", "/settings"}, Call{"PUT", "/settings", "x", "any"}, Call{"POST", "/clock"},
                             Call{"POST", "/reset", {}, "any"}, Call{"PUT", "/firmware", "x"}}) {
        const Reply refused = agent.Send(call);
        EXPECT_EQ(refused.status, 403) << call.method.constData() << call.path.constData();
        EXPECT_TRUE(JsonOf(refused).value("error").toString().contains("tamsel-agent passwd « Brevia Pro 45 »"))
            << refused.body.constData();
    }
    EXPECT_EQ(agent.Stop(), 0);
}

TEST(AgentWithoutPasswordTest, ThePasswordComesFromStandardInputOnly)
{
    AgentProcess agent(quickDevice);
    EXPECT_EQ(agent.SetPassword(AgentProcess::device, ""), 1) << "no password";
    EXPECT_EQ(agent.SetPassword(AgentProcess::device, "\n"), 1) << "an empty one";
    EXPECT_EQ(agent.SetPassword("Brevia Inconnue", "x\n"), 1) << "a device the store has not";
    EXPECT_EQ(agent.SetPassword(AgentProcess::device, QByteArray(2000, 'x') + "\n"), 1) << "beyond the bound";
    EXPECT_FALSE(QFileInfo::exists(agent.Store() + "/devices/Brevia Pro 45.pass"));
    EXPECT_EQ(agent.SetPassword(AgentProcess::device, "mot de passe"), 0) << "the last line needs no line end";
    const QFileInfo stored(agent.Store() + "/devices/Brevia Pro 45.pass");
    ASSERT_TRUE(stored.exists());
    EXPECT_EQ(stored.permissions() & 0x0077, 0) << "nobody but its owner reads the hash";
    QFile file(stored.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray hash = file.readAll();
    EXPECT_TRUE(hash.startsWith("$y$"));
    EXPECT_FALSE(hash.contains("mot de passe"));
}

TEST_F(AgentTest, UnknownResourcesAndMethodsAreRefused)
{
    const struct {
        Call call;
        long status;
    } cases[] = {
        {{"GET", "/"}, 404}, {{"GET", "/device/"}, 404}, {{"DELETE", "/settings", {}, "x"}, 405},
        {{"POST", "/device"}, 405}, {{"GET", "/firmware", {}, AgentProcess::password}, 405},
    };
    for (const auto& c : cases)
        EXPECT_EQ(agent.Send(c.call).status, c.status) << c.call.method.constData() << " " << c.call.path.constData();
}

TEST_F(AgentTest, WrongPasswordsAreRefusedSlowedDownAndLogged)
{
    const Reply none = agent.Send({"GET", "/settings"});
    EXPECT_EQ(none.status, 401);
    EXPECT_TRUE(none.headers.value("www-authenticate").startsWith("Basic"));
    const Reply wrong = agent.Send({"GET", "/settings", {}, "pas le bon"});
    EXPECT_EQ(wrong.status, 401);
    EXPECT_EQ(JsonOf(wrong).value("error").toString(), "Mot de passe d'administrateur incorrect.");
    // Right after a failure, even the right password waits: nothing is tried meanwhile.
    const Reply slowed = Authorized({"GET", "/settings"});
    EXPECT_EQ(slowed.status, 429);
    EXPECT_GE(slowed.headers.value("retry-after").toInt(), 1);
    EXPECT_TRUE(JsonOf(slowed).value("error").toString().contains("réessayez"));
    ASSERT_TRUE(agent.WaitForLog("mot de passe refusé (1 échec(s) de suite)"));
    EXPECT_TRUE(agent.Log().contains("127.0.0.1 \"GET /settings\" 401"));
    EXPECT_TRUE(agent.WaitForLog("\"GET /settings\" 429"));
    EXPECT_FALSE(agent.Log().contains("pas le bon"));
    EXPECT_FALSE(agent.Log().contains(AgentProcess::password));
}

TEST_F(AgentTest, ARecordReadIsAppliedOnlyWhileItStillStands)
{
    const Reply read = Authorized({"GET", "/settings"});
    ASSERT_EQ(read.status, 200);
    EXPECT_EQ(read.headers.value("content-type"), "application/x-tamsel-settings");
    EXPECT_EQ(read.headers.value("x-tamsel-busy-mailboxes"), "10,20");
    const QByteArray tag = read.headers.value("etag");
    ASSERT_FALSE(tag.isEmpty());
    EXPECT_EQ(Authorized({"GET", "/settings"}).headers.value("etag"), tag) << "the same record, the same tag";

    const Reply applied = Authorized({"PUT", "/settings", WithCompany(read.body, "Premier"), {}, tag});
    ASSERT_EQ(applied.status, 200) << applied.body.constData();
    EXPECT_EQ(JsonOf(applied).value("unchangedMailBoxes").toArray().size(), 0);
    const QByteArray newTag = applied.headers.value("etag");
    EXPECT_NE(newTag, tag);
    EXPECT_EQ(Authorized({"GET", "/settings"}).headers.value("etag"), newTag);
    EXPECT_EQ(StoredCompany(agent.Store()), "Premier");

    // Another client's record, read before that apply, would undo it.
    const Reply stale = Authorized({"PUT", "/settings", WithCompany(read.body, "Second"), {}, tag});
    EXPECT_EQ(stale.status, 412);
    EXPECT_TRUE(JsonOf(stale).value("error").toString().contains("modifiée par un autre poste"));
    EXPECT_EQ(StoredCompany(agent.Store()), "Premier");
    // Without a condition, or with its own new tag, it goes through.
    EXPECT_EQ(Authorized({"PUT", "/settings", WithCompany(read.body, "Second"), {}, newTag}).status, 200);
    EXPECT_EQ(Authorized({"PUT", "/settings", WithCompany(read.body, "Troisième")}).status, 200);
    EXPECT_EQ(StoredCompany(agent.Store()), "Troisième");
}

TEST_F(AgentTest, BusyMailBoxesAreKeptAndNamed)
{
    const Reply read = Authorized({"GET", "/settings"});
    CConfig config;
    serialformat::LoadFromBytes(config, read.body);
    ASSERT_NE(config.mailBoxes.Get("10"), nullptr);
    const CMailBox held = *config.mailBoxes.Get("10");
    *config.mailBoxes.Get("10") = CMailBox("10", "9999", 1);
    const Reply applied = Authorized({"PUT", "/settings", serialformat::StoreToBytes(config)});
    ASSERT_EQ(applied.status, 200) << applied.body.constData();
    EXPECT_EQ(JsonOf(applied).value("unchangedMailBoxes").toArray(), QJsonArray{"10"});
    CConfig after;
    serialformat::LoadFromBytes(after, Authorized({"GET", "/settings"}).body);
    ASSERT_NE(after.mailBoxes.Get("10"), nullptr);
    EXPECT_TRUE(*after.mailBoxes.Get("10") == held);
}

TEST_F(AgentTest, ARecordTheDeviceCannotReadIsRefusedAndNothingChanges)
{
    const QByteArray before = Authorized({"GET", "/settings"}).body;
    for (const QByteArray& body : {QByteArray(), QByteArray("pas un enregistrement"), before.left(before.size() / 2)}) {
        const Reply refused = Authorized({"PUT", "/settings", body});
        EXPECT_EQ(refused.status, 422) << body.size();
        EXPECT_FALSE(JsonOf(refused).value("error").toString().isEmpty());
    }
    EXPECT_EQ(Authorized({"GET", "/settings"}).body, before);
}

TEST_F(AgentTest, ClockResetAndFirmware)
{
    EXPECT_EQ(Authorized({"POST", "/clock", R"({"time": 1700000000})"}).status, 200);
    SetDeviceStoreFolder(agent.Store());
    const LONGLONG offset = EmulatedDevice::Inspect(AgentProcess::device)->clockOffset;
    SetDeviceStoreFolder(QString());
    EXPECT_NEAR(static_cast<double>(offset), 1700000000.0 - static_cast<double>(CTime::GetCurrentTime().GetTime()), 60.0);
    for (const QByteArray& body : {QByteArray(), QByteArray("{}"), QByteArray(R"({"time": "1700000000"})"),
                                   QByteArray(R"({"time": -5})"), QByteArray(R"({"time": 1.5})"),
                                   QByteArray(R"({"time": 1e300})")})
        EXPECT_EQ(Authorized({"POST", "/clock", body}).status, 400) << body.constData();

    const Reply read = Authorized({"GET", "/settings"});
    ASSERT_EQ(Authorized({"PUT", "/settings", WithCompany(read.body, "Avant la mise à jour")}).status, 200);
    const Reply upgraded = Authorized({"PUT", "/firmware", Firmware("Brevia Pro 45", "3.00")});
    ASSERT_EQ(upgraded.status, 200) << upgraded.body.constData();
    EXPECT_EQ(JsonOf(upgraded).value("firmwareVersion").toString(), "3.00");
    EXPECT_EQ(JsonOf(agent.Send({"GET", "/device"})).value("firmwareVersion").toString(), "3.00");
    EXPECT_EQ(StoredCompany(agent.Store()), "Avant la mise à jour") << "the settings are kept across the upgrade";

    const struct {
        QByteArray file;
        const char* step;
    } refused[] = {{Firmware("Brevia Pro 40", "4.00"), "upgrade"}, {"pas un micrologiciel", "upgrade"},
                   {Firmware("Brevia Pro 45", "4.00").chopped(1), "upgrade"}};
    for (const auto& r : refused) {
        const Reply reply = Authorized({"PUT", "/firmware", r.file});
        EXPECT_EQ(reply.status, 422);
        EXPECT_EQ(JsonOf(reply).value("step").toString(), r.step);
        EXPECT_TRUE(JsonOf(reply).value("error").toString().contains("micrologiciel")) << reply.body.constData();
    }
    EXPECT_EQ(JsonOf(agent.Send({"GET", "/device"})).value("firmwareVersion").toString(), "3.00");

    EXPECT_EQ(Authorized({"POST", "/reset"}).status, 200);
    EXPECT_EQ(StoredCompany(agent.Store()), CConfig().machine.companyName);
}

TEST_F(AgentTest, BodiesAreBoundedAndNothingIsReadBeforeThePassword)
{
    const Reply large = Authorized({"POST", "/clock", QByteArray(1000, ' ')});
    EXPECT_EQ(large.status, 413);
    const Reply stranger = agent.Send({"PUT", "/settings", WithCompany(Authorized({"GET", "/settings"}).body, "Intrus"), "faux"});
    EXPECT_EQ(stranger.status, 401);
    EXPECT_NE(StoredCompany(agent.Store()), "Intrus");
}

TEST_F(AgentTest, IdleConnectionsAreClosed)
{
    ASSERT_EQ(agent.Stop(), 0);
    ASSERT_TRUE(agent.Start({"--timeout", "1"}));
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(agent.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // Nothing is sent: with --timeout 1 the agent closes the connection well within the bound.
    // (A closing TLS alert may come first.)
    ssize_t got = 1;
    for (int reads = 0; got > 0 && reads < 100; ++reads) {
        pollfd watched{socket, POLLIN, 0};
        ASSERT_EQ(::poll(&watched, 1, 15000), 1);
        char bytes[256];
        got = ::read(socket, bytes, sizeof bytes);
    }
    EXPECT_LE(got, 0) << "the connection is closed";
    ::close(socket);
    EXPECT_EQ(agent.Send({"GET", "/device"}).status, 200) << "others are served all along";
}

TEST_F(AgentTest, TheKeyIsMadeOnceAndIsTheOwnersAlone)
{
    EXPECT_EQ(QFileInfo(agent.Store()).permissions() & 0x0077, 0);
    for (const char* file : {"/agent-key.pem", "/agent-cert.pem"}) {
        const QFileInfo info(agent.Store() + file);
        ASSERT_TRUE(info.exists()) << file;
        EXPECT_EQ(info.permissions() & 0x0077, 0) << file;
    }
    const QString fingerprint = agent.Fingerprint();
    EXPECT_EQ(fingerprint.size(), 32 * 3 - 1);
    ASSERT_EQ(agent.Stop(), 0);
    ASSERT_TRUE(agent.Start());
    EXPECT_EQ(agent.Fingerprint(), fingerprint);
}

TEST(AgentBusyTest, AnotherClientIsToldTheDeviceIsBusy)
{
    // Each step of the device takes a while, so the first request is still running.
    AgentProcess agent(R"({"stepDelayMs": 400, "devices": [{"name": "Brevia Pro 45"}]})");
    ASSERT_EQ(agent.SetPassword(AgentProcess::device, "motdepasse\n"), 0);
    ASSERT_TRUE(agent.Start());
    Reply first;
    std::thread running([&] { first = agent.Send({"GET", "/settings", {}, "motdepasse"}); });
    const QDeadlineTimer deadline(15000);
    bool held = false;
    while (!held && !deadline.hasExpired()) {
        held = agent.DeviceHeld();
        if (!held)
            std::this_thread::yield();
    }
    if (!held) {
        running.join();
        FAIL() << "the first request never held the device";
    }
    const Reply second = agent.Send({"GET", "/settings", {}, "motdepasse"});
    running.join();
    EXPECT_EQ(second.status, 423);
    EXPECT_EQ(JsonOf(second).value("error").toString(), kDeviceBusyText);
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(agent.Send({"GET", "/settings", {}, "motdepasse"}).status, 200) << "free again";
}

} // namespace
} // namespace agenttest
