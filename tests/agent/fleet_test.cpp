// tamselctl on a fleet of agents on loopback, some made to fail: every device gets its line,
// the failing ones keep what they had, the others are applied, and the status says so.
#include "support/agentprocess.h"

#include "device/lib/config.h"
#include "device/lib/devicelist.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/serialformat.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace agenttest {
namespace {

const QByteArray quickDevice = R"({"stepDelayMs": 0, "devices": [{"name": "Brevia Pro 45", "model": "Brevia Pro 45"}]})";

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome Tamselctl(const QString& data, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", data);
    process.setProcessEnvironment(environment);
    process.start(TAMSELCTL_PATH, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

CString StoredCompany(const AgentProcess& agent)
{
    SetDeviceStoreFolder(agent.Store());
    const CString company = EmulatedDevice::Inspect(AgentProcess::device)->config.machine.companyName;
    SetDeviceStoreFolder(QString());
    return company;
}

TEST(FleetTest, ApplyToSixteenAgentsSomeFailing)
{
    QTemporaryDir data;
    QTemporaryDir files;
    ASSERT_TRUE(data.isValid() && files.isValid());
    constexpr int count = 16;
    constexpr int wrongPassword = 4;
    constexpr int unreachable = 9;
    constexpr int busy = 12;         // another client's request runs on it meanwhile
    constexpr int changed = 14;      // the file was read from it, and another client changed it since
    std::vector<std::unique_ptr<AgentProcess>> agents;
    QStringList names;
    for (int i = 0; i < count; ++i) {
        agents.push_back(std::make_unique<AgentProcess>(
            i == busy ? QByteArray(R"({"stepDelayMs": 3000, "devices": [{"name": "Brevia Pro 45"}]})") : quickDevice));
        AgentProcess& agent = *agents.back();
        const QByteArray password = i == wrongPassword ? "un autre mot de passe" : AgentProcess::password;
        ASSERT_EQ(agent.SetPassword(AgentProcess::device, password + "\n"), 0);
        ASSERT_TRUE(agent.Start()) << agent.Log().toStdString();
        names << agent.DeviceName();
        const Outcome trusted = Tamselctl(data.path(), {"trust", names.last()}, "o\n");
        ASSERT_EQ(0, trusted.status) << trusted.err.toStdString();
    }
    agents[unreachable]->Stop();

    const QString passwordFile = files.filePath("password");
    ASSERT_TRUE(WriteFile(passwordFile, QByteArray(AgentProcess::password) + "\n"));
    const QString tms = files.filePath("flotte.tms");
    const Outcome read = Tamselctl(data.path(), {"read", names[changed], tms, "--password-file", passwordFile});
    ASSERT_EQ(0, read.status) << read.err.toStdString();
    CConfig config;
    config.machine.companyName = "Flotte";
    ASSERT_TRUE(WriteFile(tms, serialformat::StoreToBytes(config)));
    CConfig theirs;
    theirs.machine.companyName = "L'autre poste";
    const QString theirFile = files.filePath("autre.tms");
    ASSERT_TRUE(WriteFile(theirFile, serialformat::StoreToBytes(theirs)));
    const Outcome other = Tamselctl(data.path(), {"apply", theirFile, names[changed], "--password-file", passwordFile});
    ASSERT_EQ(0, other.status) << other.err.toStdString();

    Reply held;
    std::thread holder([&] { held = agents[busy]->Send({"GET", "/settings", {}, AgentProcess::password}); });
    const QDeadlineTimer deadline(15000);
    while (!agents[busy]->DeviceHeld() && !deadline.hasExpired())
        std::this_thread::yield();
    const bool holding = agents[busy]->DeviceHeld();
    const Outcome outcome =
        holding ? Tamselctl(data.path(), QStringList{"apply", tms} + names + QStringList{"-j", "8", "--password-file", passwordFile})
                : Outcome{};
    holder.join();
    ASSERT_TRUE(holding) << "the other client's request never held the busy device";
    EXPECT_EQ(held.status, 200);
    EXPECT_EQ(1, outcome.status) << outcome.err.toStdString();
    EXPECT_EQ("tamselctl : 4 périphérique(s) sur 16 en échec.\n", outcome.err.toStdString());
    const QStringList lines = outcome.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(count, lines.size()) << outcome.out.toStdString();
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const bool fails = i == wrongPassword || i == unreachable || i == busy || i == changed;
        EXPECT_TRUE(lines[i].startsWith(names[i] + (fails ? " : " : " : OK"))) << lines[i].toStdString();
        EXPECT_EQ(fails, !lines[i].startsWith(names[i] + " : OK")) << lines[i].toStdString();
        const CString kept = i == changed ? CString("L'autre poste") : CConfig().machine.companyName;
        EXPECT_EQ(fails ? kept : CString("Flotte"), StoredCompany(*agents[size_t(i)]));
    }
    EXPECT_TRUE(lines[wrongPassword].contains("incorrect")) << lines[wrongPassword].toStdString();
    EXPECT_TRUE(lines[busy].contains("occupé")) << lines[busy].toStdString();
    EXPECT_TRUE(lines[changed].contains("Un autre poste a modifié")) << lines[changed].toStdString();
}

} // namespace
} // namespace agenttest
