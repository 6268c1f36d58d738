// The fixture of the device library's tests against an agent: a real agent on loopback whose
// device has its password, and the library's data folder and prompts the test's own.
#pragma once

#include "support/agentprocess.h"

#include "device/lib/devicelist.h"
#include "device/lib/networklink.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace agenttest {

class AgentClientTest : public ::testing::Test {
protected:
    // The prompts may be a member of the derived fixture: they are used from SetUp on.
    explicit AgentClientTest(network::Prompts& prompts) : prompts(prompts) {}

    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        SetDeviceDataFolder(data.path());
        network::SetPrompts(&prompts);
        ASSERT_EQ(agent.SetPassword(AgentProcess::device, QByteArray(AgentProcess::password) + "\n"), 0);
        ASSERT_TRUE(agent.Start()) << agent.Log().toStdString();
    }
    void TearDown() override
    {
        network::SetPrompts(nullptr);
        SetDeviceDataFolder(QString());
    }

    QTemporaryDir data;
    AgentProcess agent{R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45", "model": "Brevia Pro 45"}]})"};

private:
    network::Prompts& prompts;
};

} // namespace agenttest
