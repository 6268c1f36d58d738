// The device library and tamselctl against a real agent on loopback: the whole path of the
// console's device operations, trust, passwords and conflicting writes.
#include "agentclient.h"

#include "device/lib/config.h"
#include "device/lib/devicelink.h"
#include "device/lib/devicelist.h"
#include "device/lib/devices.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/firmware.h"
#include "device/lib/networklink.h"
#include "device/lib/serialformat.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <deque>

namespace agenttest {
namespace {

// The user's answers, scripted; what was asked is kept.
class ScriptedPrompts : public network::Prompts {
public:
    bool trust = true;
    std::deque<QString> passwords;
    bool overwrite = false;
    QStringList asked;

    bool TrustKey(const QString& address, const QString& fingerprint, const QString& changedFrom) override
    {
        asked << "trust " + address + " " + fingerprint + (changedFrom.isEmpty() ? "" : " was " + changedFrom);
        return trust;
    }
    bool AskPassword(const CString& device, bool wrong, QString& password) override
    {
        asked << QString("password%1 %2").arg(wrong ? " again" : "", static_cast<const QString&>(device));
        if (passwords.empty())
            return false;
        password = passwords.front();
        passwords.pop_front();
        return true;
    }
    bool Overwrite(const CString& device) override
    {
        asked << "overwrite " + static_cast<const QString&>(device);
        return overwrite;
    }
};

class NetworkClientTest : public AgentClientTest {
protected:
    NetworkClientTest() : AgentClientTest(prompts) {}

    void SetUp() override
    {
        AgentClientTest::SetUp();
        device = agent.DeviceName();
    }

    void WriteDeviceList(const QByteArray& json)
    {
        QDir().mkpath(DeviceDataFolder());
        QFile file(DeviceDataFolder() + "/devices.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

    // Reads the device, trusting it and giving the password when asked.
    void ReadTrusted(CConfig& config)
    {
        prompts.passwords = {AgentProcess::password};
        CString detail;
        ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    }

    static std::string Text(const CString& text) { return static_cast<const QString&>(text).toStdString(); }

    CString StoredCompany()
    {
        SetDeviceStoreFolder(agent.Store());
        const CString company = EmulatedDevice::Inspect(AgentProcess::device)->config.machine.companyName;
        SetDeviceStoreFolder(QString());
        return company;
    }

    ScriptedPrompts prompts;
    CString device;
};

TEST(NetworkNamesTest, NamesAndAddressesReadAndWrittenBack)
{
    const struct {
        const char* name;
        bool network;
        const char* host;
        int port;
        const char* device;
    } cases[] = {
        {"\\\\accueil-2\\Brevia Pro 45", true, "accueil-2", network::defaultPort, "Brevia Pro 45"},
        {"\\\\127.0.0.1:8443\\Brevia", true, "127.0.0.1", 8443, "Brevia"},
        {"\\\\[::1]:9000\\Brevia", true, "::1", 9000, "Brevia"},
        {"\\\\[::1]\\Brevia", true, "::1", network::defaultPort, "Brevia"},
        {"Brevia Pro 45 (USB001)", false, "", 0, ""},
        {"\\\\hôte\\Brevia", false, "", 0, ""},
        {"\\\\h:0\\Brevia", false, "", 0, ""},
        {"\\\\h:65536\\Brevia", false, "", 0, ""},
        {"\\\\::1\\Brevia", false, "", 0, ""},
        {"\\\\h\\", false, "", 0, ""},
        {"\\\\h", false, "", 0, ""},
        {"\\\\h:80:80\\Brevia", false, "", 0, ""},
    };
    for (const auto& c : cases) {
        network::Address address;
        CString name;
        ASSERT_EQ(network::ParseName(c.name, address, name), c.network) << c.name;
        if (!c.network)
            continue;
        EXPECT_EQ(address.host, c.host) << c.name;
        EXPECT_EQ(address.port, c.port) << c.name;
        EXPECT_EQ(name, c.device) << c.name;
        EXPECT_EQ(network::MakeName(address, name), c.name) << "the name is written back as it was read";
    }
}

TEST_F(NetworkClientTest, TheDeviceListNamesTheDevicesThatAnswer)
{
    // A listener that never answers, and a port where nobody listens.
    const int silent = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    socklen_t size = sizeof address;
    ::getsockname(silent, reinterpret_cast<sockaddr*>(&address), &size);
    const QByteArray silentAddress = "127.0.0.1:" + QByteArray::number(ntohs(address.sin_port));
    WriteDeviceList(R"x({"devices": [{"name": "Local (USB001)"}], "network": [")x" + silentAddress + R"(", "127.0.0.1:1", ")"
                    + agent.Address().toLatin1() + R"("]})");
    CStringList devices;
    CString detail;
    ASSERT_TRUE(GetDevices(devices, detail)) << Text(detail);
    ::close(silent);
    ASSERT_EQ(devices.GetCount(), 2);
    EXPECT_EQ(devices.GetHead(), "Local (USB001)");
    EXPECT_EQ(devices.GetTail(), device);
    EXPECT_TRUE(prompts.asked.isEmpty()) << "listing asks nothing";

    for (const QByteArray& wrong : {QByteArray(R"({"network": "127.0.0.1:1"})"), QByteArray(R"({"network": ["pas une adresse!"]})"),
                                    QByteArray(R"({"network": [5]})")}) {
        WriteDeviceList(wrong);
        CStringList none;
        EXPECT_FALSE(GetDevices(none, detail)) << wrong.constData();
        EXPECT_TRUE(static_cast<const QString&>(detail).contains("adresse")) << Text(detail);
    }
}

TEST_F(NetworkClientTest, FirstContactAsksForTrustAndPinsTheKey)
{
    prompts.trust = false;
    CConfig config;
    CString detail;
    EXPECT_FALSE(config.Read(device, detail));
    EXPECT_TRUE(static_cast<const QString&>(detail).contains("n'a pas été approuvée")) << Text(detail);
    ASSERT_EQ(prompts.asked, QStringList{"trust " + agent.Address() + " " + agent.Fingerprint()});
    EXPECT_TRUE(network::PinnedKey({"127.0.0.1", agent.Port()}).isEmpty());

    prompts.trust = true;
    prompts.asked.clear();
    ReadTrusted(config);
    EXPECT_EQ(prompts.asked, (QStringList{"trust " + agent.Address() + " " + agent.Fingerprint(),
                                          "password " + static_cast<const QString&>(device)}));
    EXPECT_FALSE(network::PinnedKey({"127.0.0.1", agent.Port()}).isEmpty());
    // Pinned and known for the session: nothing more is asked.
    prompts.asked.clear();
    ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    EXPECT_TRUE(prompts.asked.isEmpty());
}

TEST_F(NetworkClientTest, AChangedKeyIsRefusedWithAWarning)
{
    CConfig config;
    ReadTrusted(config);
    const QString listen = agent.Address();
    ASSERT_EQ(agent.Stop(), 0);
    // The same address, another key.
    QFile::remove(agent.Store() + "/agent-key.pem");
    QFile::remove(agent.Store() + "/agent-cert.pem");
    ASSERT_TRUE(agent.Start({"--timeout", "5"}, listen)) << agent.Log().toStdString();
    prompts.asked.clear();
    CString detail;
    EXPECT_FALSE(config.Read(device, detail));
    EXPECT_TRUE(static_cast<const QString&>(detail).startsWith("ATTENTION : la clé du périphérique " + listen + " a changé"))
        << Text(detail);
    EXPECT_TRUE(prompts.asked.isEmpty()) << "a changed key is never offered for trust on the way";
    EXPECT_FALSE(agent.Log().contains("GET /settings")) << "nothing was asked of the impostor";

    // Trusting it again, on purpose, shows both.
    network::Trust({"127.0.0.1", agent.Port()});
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].contains(" was ")) << prompts.asked[0].toStdString();
    EXPECT_TRUE(prompts.asked[0].contains(agent.Fingerprint()));
    ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
}

TEST_F(NetworkClientTest, PasswordsAreAskedAgainWhenWrongAndAGivenUpOneFails)
{
    CConfig config;
    CString detail;
    prompts.passwords = {"faux"};
    EXPECT_FALSE(config.Read(device, detail));
    EXPECT_TRUE(static_cast<const QString&>(detail).contains("Mot de passe d'administrateur incorrect")) << Text(detail);
    EXPECT_EQ(prompts.asked.mid(1), (QStringList{"password " + static_cast<const QString&>(device),
                                                 "password again " + static_cast<const QString&>(device)}));
    // The device slowed this address down; the wait it asks is short and waited for.
    prompts.asked.clear();
    prompts.passwords = {AgentProcess::password};
    ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    EXPECT_EQ(prompts.asked, QStringList{"password " + static_cast<const QString&>(device)});
    EXPECT_FALSE(agent.Log().contains(AgentProcess::password));
}

TEST_F(NetworkClientTest, EveryOperationWorksOnTheNetworkDevice)
{
    CConfig config;
    ReadTrusted(config);
    EXPECT_TRUE(config.mailBoxes.IsBusy("10"));
    EXPECT_EQ(config.readFrom, device);
    EXPECT_FALSE(config.readTag.isEmpty());

    config.machine.companyName = "Par le réseau";
    *config.mailBoxes.Get("10") = CMailBox("10", "9999", 1);
    CString detail;
    int unchanged = 0;
    ASSERT_TRUE(config.Write(device, detail, unchanged)) << Text(detail);
    EXPECT_EQ(unchanged, 1);
    ASSERT_EQ(config.unchangedMailBoxes.GetSize(), 1);
    EXPECT_EQ(config.unchangedMailBoxes[0], "10");
    EXPECT_EQ(StoredCompany(), "Par le réseau");
    // Its own write does not stand in its way.
    ASSERT_TRUE(config.Write(device, detail, unchanged)) << Text(detail);

    EXPECT_TRUE(config.SetDeviceTime(device, detail)) << Text(detail);

    QTemporaryDir files;
    QByteArray bytes;
    CString reason;
    ASSERT_TRUE(firmware::Build({"Brevia Pro 45", "3.10", QByteArray("image\n").repeated(1000)}, bytes, reason));
    QFile file(files.filePath("new.bfw"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QList<FirmwareStep> steps;
    ASSERT_TRUE(UpgradeFirmwareKeepingSettings(device, files.filePath("new.bfw"), detail,
                                               [&](FirmwareStep step) { steps << step; }))
        << Text(detail);
    EXPECT_EQ(steps, (QList<FirmwareStep>{FirmwareStep::read, FirmwareStep::upgrade, FirmwareStep::writeBack}));
    EXPECT_EQ(StoredCompany(), "Par le réseau");

    ASSERT_TRUE(firmware::Build({"Brevia Pro 40", "3.20", QByteArray("image\n")}, bytes, reason));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    EXPECT_FALSE(UpgradeFirmwareKeepingSettings(device, files.filePath("new.bfw"), detail, [](FirmwareStep) {}));
    EXPECT_TRUE(static_cast<const QString&>(detail).contains("Brevia Pro 40")) << Text(detail);

    // The status word through the device link.
    const DWORD handle = DvlOpenMFP(static_cast<LPCTSTR>(device));
    ASSERT_NE(handle, 0u);
    DWORD result = 1;
    EXPECT_EQ(DvlGetPrinterStatus(handle, &result), DVL_STATUS_READY);
    EXPECT_EQ(result, DVL_RESULT_OK);
    DvlCloseMFP(handle);

    ASSERT_TRUE(config.ResetDevice(device, detail)) << Text(detail);
    EXPECT_EQ(StoredCompany(), CConfig().machine.companyName);
}

TEST_F(NetworkClientTest, AnApplyNeverUndoesAnotherClientsChangeWithoutAsking)
{
    CConfig mine, theirs;
    ReadTrusted(mine);
    CString detail;
    ASSERT_TRUE(theirs.Read(device, detail));
    theirs.machine.companyName = "L'autre poste";
    int unchanged = 0;
    ASSERT_TRUE(theirs.Write(device, detail, unchanged)) << Text(detail);

    mine.machine.companyName = "Mon poste";
    prompts.asked.clear();
    prompts.overwrite = false;
    EXPECT_FALSE(mine.Write(device, detail, unchanged));
    EXPECT_TRUE(static_cast<const QString&>(detail).contains("Un autre poste a modifié")) << Text(detail);
    EXPECT_EQ(prompts.asked, QStringList{"overwrite " + static_cast<const QString&>(device)});
    EXPECT_EQ(StoredCompany(), "L'autre poste");

    prompts.overwrite = true;
    ASSERT_TRUE(mine.Write(device, detail, unchanged)) << Text(detail);
    EXPECT_EQ(StoredCompany(), "Mon poste");

    // A record from a file carries no tag: it is applied as it stands.
    CConfig fromFile;
    serialformat::LoadFromBytes(fromFile, serialformat::StoreToBytes(theirs));
    prompts.asked.clear();
    ASSERT_TRUE(fromFile.Write(device, detail, unchanged)) << Text(detail);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(StoredCompany(), "L'autre poste");
}

// tamselctl, a process of its own: its settings in this test's folders.
class TamselctlNetworkTest : public NetworkClientTest {
protected:
    int Run(const QStringList& arguments, const QByteArray& input = QByteArray())
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", data.path());
        process.setProcessEnvironment(environment);
        process.start(TAMSELCTL_PATH, arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return -1;
        output = QString::fromUtf8(process.readAllStandardOutput());
        errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    QString output, errors;
};

TEST_F(TamselctlNetworkTest, TrustPasswordAndConflictsFromTheCommandLine)
{
    QDir().mkpath(data.path() + "/Corvane/Tamsel");
    QFile list(data.path() + "/Corvane/Tamsel/devices.json");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(R"({"network": [")" + agent.Address().toLatin1() + R"("]})");
    list.close();
    QTemporaryDir files;
    const QString tms = files.filePath("a.tms"), passwordFile = files.filePath("password");
    QFile secret(passwordFile);
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write(QByteArray(AgentProcess::password) + "\n");
    secret.close();

    ASSERT_EQ(Run({"devices"}), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains(static_cast<const QString&>(device))) << output.toStdString();
    // An unknown key is refused, its fingerprint named.
    EXPECT_EQ(Run({"read", device, tms, "--password-file", passwordFile}), 1);
    EXPECT_TRUE(errors.contains(agent.Fingerprint())) << errors.toStdString();
    EXPECT_TRUE(errors.contains("tamselctl trust"));
    EXPECT_EQ(Run({"trust", device}, "n\n"), 1);
    ASSERT_EQ(Run({"trust", device}, "o\n"), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains(agent.Fingerprint()));

    ASSERT_EQ(Run({"read", device, tms}, QByteArray(AgentProcess::password) + "\n"), 0) << errors.toStdString();
    // Another client changes the device meanwhile.
    CConfig theirs;
    ReadTrusted(theirs);
    theirs.machine.companyName = "L'autre poste";
    CString detail;
    int unchanged = 0;
    ASSERT_TRUE(theirs.Write(device, detail, unchanged)) << Text(detail);
    EXPECT_EQ(Run({"apply", tms, device, "--password-file", passwordFile}), 1);
    EXPECT_TRUE(errors.contains("Un autre poste a modifié")) << errors.toStdString();
    EXPECT_EQ(StoredCompany(), "L'autre poste");
    ASSERT_EQ(Run({"--force", "apply", tms, device, "--password-file", passwordFile}), 0) << errors.toStdString();
    EXPECT_EQ(StoredCompany(), CConfig().machine.companyName);
    // Its own apply moved its tag on: applying again needs no force.
    ASSERT_EQ(Run({"apply", tms, device, "--password-file", passwordFile}), 0) << errors.toStdString();

    EXPECT_EQ(Run({"time", device}, "faux\n"), 1);
    EXPECT_TRUE(errors.contains("incorrect")) << errors.toStdString();
    EXPECT_FALSE(agent.Log().contains(AgentProcess::password));
}

} // namespace
} // namespace agenttest
