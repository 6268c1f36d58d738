// The agent under load: 50 clients at once, each reading and applying 20 times, one device.
// Every apply is conditional on what its client read, so the count of applies that went
// through is what the device must show at the end: an update lost or applied twice shows.
#include "support/agentprocess.h"

#include "device/lib/config.h"
#include "device/lib/serialformat.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

namespace agenttest {
namespace {

constexpr int clients = 50;
constexpr int rounds = 20;
// The whole run's bound: far beyond what it takes, short of ctest's.
constexpr int boundMs = 100000;

TEST(AgentLoadTest, FiftyClientsReadAndApplyAndNothingIsLost)
{
    AgentProcess agent(R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45"}]})");
    ASSERT_EQ(agent.SetPassword(AgentProcess::device, QByteArray(AgentProcess::password) + "\n"), 0);
    ASSERT_TRUE(agent.Start({"--timeout", "5"}));
    std::atomic<int> applied = 0, refused = 0, busy = 0, failed = 0;
    const QDeadlineTimer deadline(boundMs);
    std::vector<std::thread> threads;
    for (int client = 0; client < clients; ++client) {
        threads.emplace_back([&, client] {
            std::minstd_rand random(static_cast<unsigned>(client));
            // A busy device is asked again after a short pause, as a client would.
            const auto pause = [&] { std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 20)); };
            for (int round = 0; round < rounds && !deadline.hasExpired(); ++round) {
                Reply read = agent.Send({"GET", "/settings", {}, AgentProcess::password});
                while (read.status == 423 && !deadline.hasExpired()) {
                    ++busy;
                    pause();
                    read = agent.Send({"GET", "/settings", {}, AgentProcess::password});
                }
                if (read.status != 200) {
                    ++failed;
                    continue;
                }
                CConfig config;
                serialformat::LoadFromBytes(config, read.body);
                config.machine.companyName = QString::number(QString(config.machine.companyName).toInt() + 1);
                const QByteArray record = serialformat::StoreToBytes(config);
                Reply write = agent.Send({"PUT", "/settings", record, AgentProcess::password, read.headers.value("etag")});
                while (write.status == 423 && !deadline.hasExpired()) {
                    ++busy;
                    pause();
                    write = agent.Send({"PUT", "/settings", record, AgentProcess::password, read.headers.value("etag")});
                }
                if (write.status == 200)
                    ++applied;
                else if (write.status == 412)
                    ++refused;
                else
                    ++failed;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    ASSERT_FALSE(deadline.hasExpired()) << agent.Log().right(3000).toStdString();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(applied + refused, clients * rounds);
    EXPECT_GT(applied, 0);
    const Reply last = agent.Send({"GET", "/settings", {}, AgentProcess::password});
    ASSERT_EQ(last.status, 200);
    CConfig config;
    serialformat::LoadFromBytes(config, last.body);
    EXPECT_EQ(QString(config.machine.companyName).toInt(), applied.load())
        << applied << " applied, " << refused << " refused as stale, " << busy << " times busy";
    EXPECT_EQ(agent.Stop(), 0);
}

} // namespace
} // namespace agenttest
