// Agents found through DNS-SD, under a D-Bus and an Avahi daemon of the test's own
// (under-avahi.sh): what an agent announces, the device list finds with no address named.
#include "support/agentprocess.h"

#include "device/lib/devicelist.h"
#include "device/lib/devices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace agenttest {
namespace {

const QByteArray oneDevice = R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45", "model": "Brevia Pro 45"}]})";

class DnsSdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsSet("TAMSEL_NO_AVAHI"))
            GTEST_SKIP() << qgetenv("TAMSEL_NO_AVAHI").constData();
        ASSERT_TRUE(qEnvironmentVariableIsSet("TAMSEL_TEST_AVAHI_ADDRESS")) << "run under under-avahi.sh";
        address = qEnvironmentVariable("TAMSEL_TEST_AVAHI_ADDRESS");
        ASSERT_TRUE(data.isValid());
        SetDeviceDataFolder(data.path());
    }
    void TearDown() override { SetDeviceDataFolder(QString()); }

    static QStringList Listed()
    {
        CStringList devices;
        CString detail;
        EXPECT_TRUE(GetDevices(devices, detail));
        QStringList names;
        for (POSITION position = devices.GetHeadPosition(); position != nullptr;)
            names << static_cast<const QString&>(devices.GetNext(position));
        return names;
    }

    QString address;
    QTemporaryDir data;
};

TEST_F(DnsSdTest, AnnouncedAgentsAreListedAndWithdrawnOnesAreNot)
{
    AgentProcess announced(oneDevice);
    ASSERT_TRUE(announced.Start({"--timeout", "5"}, address + ":0")) << announced.Log().toStdString();
    ASSERT_TRUE(announced.WaitForLog("annoncé en DNS-SD")) << announced.Log().toStdString();
    // An agent on loopback serves nobody else: it is not announced.
    AgentProcess local(oneDevice);
    ASSERT_TRUE(local.Start()) << local.Log().toStdString();

    const QString expected = QString("\\\\%1:%2\\Brevia Pro 45").arg(address).arg(announced.Port());
    const QStringList listed = Listed();
    EXPECT_TRUE(listed.contains(expected)) << listed.join(" | ").toStdString();
    EXPECT_TRUE(listed.contains("Brevia Pro 45 (USB001)")) << "the local devices stay listed";
    EXPECT_FALSE(listed.contains(local.DeviceName())) << listed.join(" | ").toStdString();
    EXPECT_FALSE(local.Log().contains("DNS-SD")) << local.Log().toStdString();

    ASSERT_EQ(announced.Stop(), 0);
    EXPECT_FALSE(Listed().contains(expected)) << "a stopped agent withdraws its announcement";
}

} // namespace
} // namespace agenttest
