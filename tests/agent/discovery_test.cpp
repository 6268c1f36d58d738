// Network devices found in address ranges of the device list.
#include "support/agentprocess.h"

#include "device/lib/devicelist.h"
#include "device/lib/devices.h"
#include "device/lib/discovery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace agenttest {
namespace {

TEST(DiscoveryTest, EntriesGiveTheirAddresses)
{
    const struct {
        const char* entry;
        bool valid;
        int count;
        const char* first;
        const char* last;
        int port;
    } cases[] = {
        {"192.0.2.0/30", true, 2, "192.0.2.1", "192.0.2.2", network::defaultPort},
        {"127.0.0.0/27:8631", true, 30, "127.0.0.1", "127.0.0.30", 8631},
        {"127.0.0.17/27:8631", true, 30, "127.0.0.1", "127.0.0.30", 8631},   // the range holding it
        {"10.1.2.3/22", true, 1022, "10.1.0.1", "10.1.3.254", network::defaultPort},
        {"10.0.0.4/31", true, 2, "10.0.0.4", "10.0.0.5", network::defaultPort},
        {"10.0.0.5/32:9000", true, 1, "10.0.0.5", "10.0.0.5", 9000},
        {"bureau-2:9000", true, 1, "bureau-2", "bureau-2", 9000},
        {"[::1]", true, 1, "::1", "::1", network::defaultPort},
        {"10.0.0.0/21", false, 0, "", "", 0},    // wider than a /22
        {"10.0.0.0/33", false, 0, "", "", 0},
        {"256.0.0.0/24", false, 0, "", "", 0},
        {"10.0.0.0/24:0", false, 0, "", "", 0},
        {"10.0.0.0/24:65536", false, 0, "", "", 0},
        {"10.0.0/24", false, 0, "", "", 0},
        {"[::1]/120", false, 0, "", "", 0},
        {"10.0.0.0/", false, 0, "", "", 0},
    };
    for (const auto& c : cases) {
        QList<network::Address> addresses{network::Address{"before", 1}};
        ASSERT_EQ(discovery::ParseEntry(c.entry, addresses), c.valid) << c.entry;
        ASSERT_EQ(addresses.size(), 1 + c.count) << c.entry << ": appended, or nothing when refused";
        if (!c.valid)
            continue;
        EXPECT_EQ(addresses[1].host, c.first) << c.entry;
        EXPECT_EQ(addresses.last().host, c.last) << c.entry;
        EXPECT_EQ(addresses.last().port, c.port) << c.entry;
    }
}

class RangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        SetDeviceDataFolder(data.path());
    }
    void TearDown() override { SetDeviceDataFolder(QString()); }

    void WriteDeviceList(const QByteArray& json)
    {
        QDir().mkpath(DeviceDataFolder());
        QFile file(DeviceDataFolder() + "/devices.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(json);
    }

    QTemporaryDir data;
};

TEST_F(RangeTest, TheAgentsOfARangeAreListedAndNothingElse)
{
    const QByteArray device = R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45"}]})";
    AgentProcess first(device), second(device);
    ASSERT_TRUE(first.Start({"--timeout", "5"}, "127.0.0.2:0")) << first.Log().toStdString();
    const QString port = QString::number(first.Port());
    ASSERT_TRUE(second.Start({"--timeout", "5"}, "127.0.0.5:" + port)) << second.Log().toStdString();
    // Between them, an address that takes connections and never answers.
    const int silent = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(first.Port());
    ::inet_pton(AF_INET, "127.0.0.3", &address.sin_addr);
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(silent, 4), 0);

    WriteDeviceList(R"x({"devices": [{"name": "Local (USB001)"}], "network": ["127.0.0.0/29:)x" + port.toLatin1()
                    + R"(", "127.0.0.5:)" + port.toLatin1() + R"("]})");
    CStringList devices;
    CString detail;
    ASSERT_TRUE(GetDevices(devices, detail));
    ::close(silent);
    QStringList names;
    for (POSITION position = devices.GetHeadPosition(); position != nullptr;)
        names << static_cast<const QString&>(devices.GetNext(position));
    EXPECT_EQ(names, QStringList({"Local (USB001)", first.DeviceName(), second.DeviceName()}))
        << "in address order, an address named twice listed once";
}

TEST_F(RangeTest, TheListNamesAtMostItsBoundOfAddresses)
{
    WriteDeviceList(R"({"network": ["10.0.0.0/22", "10.0.4.0/30"]})");
    DeviceList list;
    CString detail;
    EXPECT_TRUE(LoadDeviceList(list, detail)) << static_cast<const QString&>(detail).toStdString();

    const struct {
        QByteArray list;
        const char* said;
    } wrong[] = {
        {R"({"network": ["10.0.0.0/22", "10.0.4.0/29"]})", "plus de 1024 adresses"},
        {R"({"network": ["10.0.0.0/21"]})", "« 10.0.0.0/21 » n'est ni une adresse HÔTE:PORT ni une plage A.B.C.D/N:PORT (N de 22 à 32)"},
    };
    for (const auto& c : wrong) {
        WriteDeviceList(c.list);
        EXPECT_FALSE(LoadDeviceList(list, detail)) << c.list.constData();
        EXPECT_TRUE(static_cast<const QString&>(detail).contains(QString::fromUtf8(c.said)))
            << static_cast<const QString&>(detail).toStdString();
    }
}

} // namespace
} // namespace agenttest
