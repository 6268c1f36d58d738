// The network link when the connection fails on the way: dropped at each phase of a request,
// stalled, answered with garbage or with too much. Every operation ends with its French
// message, the record in hand is left as it was, and the device holds what it had or the whole
// new record, never half of it, and goes on serving.
#include "agentclient.h"
#include "faultpeers.h"

#include "device/lib/config.h"
#include "device/lib/devicelist.h"
#include "device/lib/devicememory.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/networklink.h"
#include "device/lib/phonebook.h"
#include "device/lib/serialformat.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace agenttest {
namespace {

const char* const cutOff = "La connexion avec le périphérique a été coupée.";
const char* const stalled = "Le périphérique ne répond plus : la connexion est restée bloquée.";
const char* const invalid = "La réponse du périphérique n'est pas valide.";
const char* const unreadable = "La configuration reçue du périphérique est illisible.";
const char* const tooLarge = "La réponse du périphérique est trop volumineuse.";

class TrustingPrompts : public network::Prompts {
public:
    bool TrustKey(const QString&, const QString&, const QString&) override { return true; }
    bool AskPassword(const CString&, bool wrong, QString& password) override
    {
        password = AgentProcess::password;
        return !wrong;
    }
    bool Overwrite(const CString&) override { return false; }
};

std::string Text(const CString& text)
{
    return static_cast<const QString&>(text).toStdString();
}

// Runs the device operation on a thread of its own, as the console's worker runs it (so no
// connection outlives it), within a bound far above the link's own; FALSE past it. `meanwhile`
// runs on this thread while it does.
bool Bounded(const std::function<void()>& operation, const std::function<void()>& meanwhile = {})
{
    std::packaged_task<void()> task(operation);
    std::future<void> done = task.get_future();
    std::thread worker(std::move(task));
    if (meanwhile)
        meanwhile();
    if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        worker.detach();
        return false;
    }
    worker.join();
    return true;
}

// A record many TLS records long: the directory full of speed dials.
void FillDirectory(CConfig& config)
{
    for (int n = 1; n <= CSpeedDial::max_count; ++n) {
        auto* entry = new CSpeedDial(n);
        entry->GetDialingData()->name = QString("Contact %1").arg(n, 3, 10, QChar('0'));
        entry->GetDialingData()->faxNumber = QString("0140%1").arg(n, 4, 10, QChar('0'));
        ASSERT_TRUE(config.phoneBook.Add(entry));
    }
}

class NetworkFaultsTest : public AgentClientTest {
protected:
    NetworkFaultsTest() : AgentClientTest(prompts) {}

    static CString Through(quint16 port)
    {
        return QString("\\\\127.0.0.1:%1\\%2").arg(port).arg(AgentProcess::device);
    }

    // The operation's outcome: empty on success, else its message.
    CString Read(const CString& device, CConfig& config, const std::function<void()>& meanwhile = {})
    {
        CString detail = "(sans fin)";
        EXPECT_TRUE(Bounded([&] { detail = config.Read(device, detail) ? CString() : detail; }, meanwhile));
        return detail;
    }
    CString Write(const CString& device, CConfig& config, const std::function<void()>& meanwhile = {})
    {
        CString detail = "(sans fin)";
        int unchanged = 0;
        EXPECT_TRUE(Bounded([&] { detail = config.Write(device, detail, unchanged) ? CString() : detail; }, meanwhile));
        return detail;
    }

    // What the device stores now, as the agent keeps it; nullptr when it cannot be read whole.
    std::unique_ptr<DeviceMemory> Stored()
    {
        SetDeviceStoreFolder(agent.Store());
        std::unique_ptr<DeviceMemory> stored = EmulatedDevice::Inspect(AgentProcess::device);
        SetDeviceStoreFolder(QString());
        return stored;
    }

    TrustingPrompts prompts;
};

// Where in a connection each phase lies, from a connection that went through whole.
struct Phases {
    qint64 toAgent = 0;          // all the client sent
    qint64 toClient = 0;         // all the agent sent
    qint64 handshake = 0;        // what the agent sent before the client's request
};

Phases PhasesOf(const FaultProxy::Transcript& transcript)
{
    Phases phases;
    bool agentSpoke = false, requestSent = false;
    for (const auto& [way, bytes] : transcript) {
        if (way == FaultProxy::Way::toAgent) {
            phases.toAgent += bytes;
            requestSent = requestSent || agentSpoke;
        } else {
            phases.toClient += bytes;
            agentSpoke = true;
            if (!requestSent)
                phases.handshake += bytes;
        }
    }
    return phases;
}

TEST_F(NetworkFaultsTest, AConnectionDroppedOrStalledAtEachPhaseLeavesTheDeviceWholeAndServing)
{
    FaultProxy proxy(agent.Port());
    ASSERT_NE(proxy.Port(), 0);
    const CString device = Through(proxy.Port());
    using Way = FaultProxy::Way;
    using Kind = FaultProxy::Kind;

    // A large record on the device, and one read and one write that go through whole, to
    // learn where each phase of their connections lies.
    CConfig config;
    FillDirectory(config);
    config.machine.companyName = "Départ 0";
    ASSERT_EQ(Write(agent.DeviceName(), config), CString()) << "through the agent itself";
    ASSERT_EQ(Read(device, config), CString()) << "first contact: trust and password";
    ASSERT_EQ(Read(device, config), CString());
    const Phases read = PhasesOf(proxy.LastTranscript());
    config.machine.companyName = "Départ 1";
    ASSERT_EQ(Write(device, config), CString());
    const Phases write = PhasesOf(proxy.LastTranscript());
    const qint64 record = serialformat::StoreToBytes(config).size();
    ASSERT_GT(record, 64 * 1024) << "many TLS records";
    ASSERT_GT(read.handshake, 0);
    ASSERT_GT(read.toClient, read.handshake + record);
    ASSERT_GT(write.toAgent, record);

    // The handshake's length varies by the few bytes of its signature: the cut before the
    // answer lets them through (a part of the next TLS record is no part of the answer).
    const qint64 signature = 8;
    const struct {
        const char* phase;
        bool write;
        FaultProxy::Fault fault;
        const char* message;
        bool stored;          // the device holds the record sent
    } cases[] = {
        {"read: dropped before the answer's headers", false,
         {Kind::swallow, Way::toClient, read.handshake + signature, read.toClient - 16}, cutOff, false},
        {"read: dropped in the middle of the record", false, {Kind::cut, Way::toClient, read.toClient - record / 2}, cutOff, false},
        {"read: stalled in the middle of the record", false, {Kind::stall, Way::toClient, read.toClient - record / 2}, stalled, false},
        {"write: dropped in the middle of the record sent", true, {Kind::cut, Way::toAgent, write.toAgent - record / 2}, cutOff, false},
        {"write: stalled in the middle of the record sent", true, {Kind::stall, Way::toAgent, write.toAgent - record / 2}, stalled, false},
        {"write: dropped once the device changed, before its answer", true,
         {Kind::swallow, Way::toClient, write.handshake + signature, write.toClient - 16}, cutOff, true},
    };
    int round = 2;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phase);
        // The record in hand is read afresh, so that its tag is the device's.
        proxy.SetFault({});
        CConfig mine;
        ASSERT_EQ(Read(device, mine), CString()) << "the device serves again after the last fault";
        const CString before = mine.machine.companyName;
        const CString sent = QString("Départ %1").arg(round++ % 10);
        if (c.write)
            mine.machine.companyName = sent;

        proxy.SetFault(c.fault);
        // While a client stalls, the others are served.
        const auto others = [&] {
            if (c.fault.kind == Kind::stall) {
                EXPECT_EQ(agent.Send({"GET", "/settings", {}, AgentProcess::password}).status, 200);
            }
        };
        const CString detail = c.write ? Write(device, mine, others) : Read(device, mine, others);
        EXPECT_EQ(detail, CString(c.message)) << Text(detail);
        EXPECT_EQ(mine.machine.companyName, c.write ? sent : before) << "the record in hand is as it was";
        const std::unique_ptr<DeviceMemory> stored = Stored();
        ASSERT_NE(stored, nullptr) << "the device's store is whole";
        EXPECT_EQ(stored->config.machine.companyName, c.write && c.stored ? sent : before);
        EXPECT_EQ(stored->config.phoneBook.GetSpeedDials().GetCount(), CSpeedDial::max_count);
    }
    proxy.SetFault({});
    CConfig last;
    EXPECT_EQ(Read(device, last), CString());
}

TEST_F(NetworkFaultsTest, GarbageOrTooLargeAnswersAreRefusedWithinTheirBound)
{
    ScriptedTlsServer impostor(agent.Store() + "/agent-key.pem", agent.Store() + "/agent-cert.pem");
    ASSERT_NE(impostor.Port(), 0);
    const CString device = Through(impostor.Port());
    const QByteArray record = "HTTP/1.1 200 OK\r\nContent-Type: application/x-tamsel-settings\r\nConnection: close\r\n";
    const qint64 bound = serialformat::maxFileBytes;
    const struct {
        const char* name;
        QByteArray answer;
        qint64 filler;
        const char* message;
        qint64 maxSent;          // what the client may take before it stops
    } cases[] = {
        {"not HTTP", "\x01\x02 pas du HTTP\r\n\r\n", 0, invalid, 1024},
        {"a record that is none", record + "Content-Length: 40\r\n\r\n", 40, unreadable, 1024},
        {"a record cut short", record + "Content-Length: 4000\r\n\r\n", 400, cutOff, 8192},
        {"a length announced past the bound", record + "Content-Length: " + QByteArray::number(bound + 1) + "\r\n\r\n",
         bound + 1, tooLarge, 4 * 1024 * 1024},
        {"no length, and more than the bound", record + "\r\n", 4 * bound, tooLarge, bound + 16 * 1024 * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        impostor.Script(c.answer, c.filler);
        const qint64 sentBefore = impostor.Sent();
        CConfig config;
        config.machine.companyName = "Avant";
        const CString detail = Read(device, config);
        EXPECT_EQ(detail, CString(c.message)) << Text(detail);
        EXPECT_EQ(config.machine.companyName, CString("Avant"));
        EXPECT_LE(impostor.Sent() - sentBefore, c.maxSent) << "the client stopped taking the answer";
    }
}

} // namespace
} // namespace agenttest
