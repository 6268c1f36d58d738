// tamselctl run as scripts run it: each command's work, and failures as one French line on
// standard error with a non-zero status.
#include "emulation.h"

#include "device/lib/filestore.h"
#include "device/lib/serialformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

void PrintTo(const Outcome& outcome, std::ostream* os)
{
    *os << "status " << outcome.status << ", out: " << outcome.out.toStdString() << ", err: " << outcome.err.toStdString();
}

class Tamselctl : public EmulatedDeviceTest {
protected:
    void SetUp() override
    {
        EmulatedDeviceTest::SetUp();
        QDir().mkpath(DeviceDataFolder());
        QFile list(DeviceDataFolder() + "/devices.json");
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(R"({"stepDelayMs": 0})");
    }

    // Runs tamselctl with the test's data folder; with faults, its test build, whose devices
    // fail as they say.
    Outcome Run(const QStringList& arguments, const QString& faults = QString())
    {
        return RunProgram(faults.isEmpty() ? TAMSELCTL_PATH : TAMSELCTL_FAULTS_PATH, arguments, faults);
    }

    Outcome RunProgram(const QString& program, const QStringList& arguments, const QString& faults)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", data.path());
        environment.remove("TAMSEL_DEVICE_FAULTS");
        if (!faults.isEmpty())
            environment.insert("TAMSEL_DEVICE_FAULTS", faults);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(QProcess::NormalExit, process.exitStatus());
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString SaveRecord(const QString& name, CConfig& config)
    {
        const QString path = data.filePath(name);
        CString reason;
        EXPECT_TRUE(WriteFileAtomically(path, serialformat::StoreToBytes(config), reason));
        return path;
    }

    static QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const CString device = NetworkDevice();
};

TEST_F(Tamselctl, DevicesListsEveryDeviceOnALine)
{
    const Outcome outcome = Run({"devices"});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    QStringList expected;
    for (const DeviceDefinition& definition : DefaultDeviceList().devices)
        expected << definition.name;
    EXPECT_EQ(expected.join('\n') + '\n', outcome.out);
}

TEST_F(Tamselctl, ReadSavesTheDeviceAndApplyWritesItBackNamingKeptMailboxes)
{
    const QString read = data.filePath("read.tms");
    Outcome outcome = Run({"read", device, read});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_TRUE(outcome.err.isEmpty());
    CConfig fromFile;
    serialformat::LoadFromBytes(fromFile, FileBytes(read));
    CConfig fromDevice;
    CString detail;
    ASSERT_TRUE(fromDevice.Read(device, detail));
    EXPECT_EQ(Save(fromDevice), Save(fromFile));

    fromFile.machine.companyName = "Flotte 12";
    fromFile.mailBoxes.Get("20")->password = "changé";
    outcome = Run({"apply", SaveRecord("edited.tms", fromFile), device});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_EQ("Boîte aux lettres non modifiée (elle contient des documents) : 20\n", outcome.out);

    ASSERT_TRUE(fromDevice.Read(device, detail));
    EXPECT_EQ(CString("Flotte 12"), fromDevice.machine.companyName);
    EXPECT_EQ(CString(), fromDevice.mailBoxes.Get("20")->password);
}

TEST_F(Tamselctl, DumpWritesEverySectionAndFieldUnderItsName)
{
    CConfig config;
    FillSmallRecord(config);
    const BYTE mask[4] = {255, 255, 254, 0};
    std::copy(mask, mask + 4, config.tcpIp.subnetMask);
    config.phoneLine.line2ReceiveWindow = CInterval(20 * 60 + 5, 7 * 60 + 30);
    const Outcome outcome = Run({"dump", SaveRecord("small.tms", config)});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    const QJsonObject json = QJsonDocument::fromJson(outcome.out.toUtf8()).object();

    CConfig::Sections([&](const char* name, auto section) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(json.contains(name));
        using Section = std::remove_cvref_t<decltype(config.*section)>;
        if constexpr (std::is_base_of_v<CFieldObject<Section>, Section>) {
            Section::Fields([&](const char* field, auto) { EXPECT_TRUE(json[name].toObject().contains(field)) << field; });
        }
    });
    EXPECT_EQ(static_cast<const QString&>(config.machine.companyName), json["machine"]["companyName"].toString());
    EXPECT_EQ("255.255.254.0", json["tcpIp"]["subnetMask"].toString());
    EXPECT_EQ("20:05", json["phoneLine"]["line2ReceiveWindow"]["start"].toString());
    EXPECT_EQ("07:30", json["phoneLine"]["line2ReceiveWindow"]["stop"].toString());
    EXPECT_EQ(7, json["faxReceive"]["secureAllDay"].toArray().size());

    const QJsonObject book = json["phoneBook"].toObject();
    ASSERT_EQ(3, book["speedDials"].toArray().size());
    EXPECT_EQ(static_cast<const QString&>(config.phoneBook.GetSpeedDial(2)->GetDialingData()->faxNumber),
              book["speedDials"][1]["dialingData"]["faxNumber"].toString());
    // Keys stand for their own record, a speed dial or a group, in turn.
    EXPECT_TRUE(book["oneTouches"][0].toObject().contains("dialingData"));
    EXPECT_EQ(2, book["oneTouches"][1]["speedDial"].toInt());
    EXPECT_EQ(3, book["oneTouches"][2]["number"].toInt());
    EXPECT_TRUE(book["oneTouches"][2].toObject().contains("groupDial"));
    EXPECT_EQ(1, book["groupDials"][0]["members"].toArray().last()["oneTouch"].toInt());
    EXPECT_EQ("2", json["mailBoxes"][1]["number"].toString());
    EXPECT_EQ(2, json["mailBoxes"][1]["destinations"].toArray().size());
    EXPECT_EQ(2, json["clientCodes"][1]["id"].toInt());
}

TEST_F(Tamselctl, TimeResetAndFirmwareReachTheDevice)
{
    const CTime before = CTime::GetCurrentTime();
    Outcome outcome = Run({"time", device});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_LE(before, EmulatedDevice::Inspect(device)->Clock());

    CConfig config;
    CString detail;
    ASSERT_TRUE(config.Read(device, detail));
    config.machine.companyName = "avant réinitialisation";
    config.advanced.downloadMode = 0;   // "always": the upgrade is given flag 1
    ASSERT_EQ(0, Run({"apply", SaveRecord("edited.tms", config), device}).status);

    const QString image = data.filePath("image.bin");
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(20000, 'i'));
    }
    const QString bfw = data.filePath("new.bfw");
    outcome = Run({"make-firmware", "Brevia Pro 45", "5.00", bfw, image});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    outcome = Run({"firmware", device, bfw});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    auto memory = EmulatedDevice::Inspect(device);
    EXPECT_EQ(CString("5.00"), memory->config.machineInfo.firmwareVersion);
    EXPECT_EQ(1, memory->firmwareFlag);
    EXPECT_EQ(CString("avant réinitialisation"), memory->config.machine.companyName) << "settings written back";

    outcome = Run({"reset", device});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    memory = EmulatedDevice::Inspect(device);
    EXPECT_EQ(CString(), memory->config.machine.companyName);
    EXPECT_EQ(CString("5.00"), memory->config.machineInfo.firmwareVersion);

    // A firmware file without an image of its own is still a valid one.
    ASSERT_EQ(0, Run({"make-firmware", "Brevia Pro 45", "5.01", bfw}).status);
    EXPECT_EQ(0, Run({"firmware", device, bfw}).status);
}

TEST_F(Tamselctl, FailureIsOneFrenchLineAndANonZeroStatus)
{
    const QString settings = data.filePath("settings.tms");
    CConfig config;
    SaveRecord("settings.tms", config);
    const QString notSettings = data.filePath("notes.txt");
    {
        QFile file(notSettings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("pas des paramètres");
    }
    const QString name = device;
    const struct {
        QStringList arguments;
        QString faults;
        int status;
        QString message;
    } cases[] = {
        {{"read", name, data.filePath("out.tms")}, "busy:" + name, 1,
         "tamselctl : lecture du périphérique « " + name + " » impossible : Le périphérique est occupé par un autre poste.\n"},
        {{"apply", settings, name}, "cut-bytes=100:" + name, 1,
         "tamselctl : mise à jour du périphérique « " + name
             + " » impossible : La connexion avec le périphérique a été coupée.\n"},
        {{"time", name}, "unreachable:" + name, 1,
         "tamselctl : réglage de l'horloge de « " + name + " » impossible : Le périphérique ne répond pas.\n"},
        {{"reset", name}, "cut-step=1:" + name, 1,
         "tamselctl : réinitialisation de « " + name + " » impossible : La connexion avec le périphérique a été coupée.\n"},
        {{"firmware", name, notSettings}, "", 1,
         "tamselctl : mise à jour du micrologiciel de « " + name
             + " » impossible : Fichier de micrologiciel non valide : ce n'est pas un fichier de micrologiciel (notes.txt).\n"},
        {{"read", "Brevia Pro 99", data.filePath("out.tms")}, "", 1,
         "tamselctl : lecture du périphérique « Brevia Pro 99 » impossible : Périphérique inconnu : « Brevia Pro 99 ».\n"},
        {{"dump", notSettings}, "", 1,
         "tamselctl : le fichier « " + notSettings + " » n'est pas un fichier de paramètres valide.\n"},
        {{"apply", data.filePath("absent.tms"), name}, "", 1,
         "tamselctl : lecture de « " + data.filePath("absent.tms") + " » impossible : fichier introuvable ou illisible.\n"},
        {{"read", name, data.filePath("no/folder/out.tms")}, "", 1,
         "tamselctl : écriture de « " + data.filePath("no/folder/out.tms") + " » impossible : création impossible.\n"},
        // Names with line breaks and other control characters stay on the one line, escaped.
        {{"read", "Brevia\nPro 99", data.filePath("out.tms")}, "", 1,
         "tamselctl : lecture du périphérique « Brevia\\nPro 99 » impossible : Périphérique inconnu : « Brevia\\nPro 99 ».\n"},
        {{"apply", data.filePath("absent\r\n.tms"), name}, "", 1,
         "tamselctl : lecture de « " + data.filePath("absent\\r\\n.tms") + " » impossible : fichier introuvable ou illisible.\n"},
        {{"firmware", name, data.filePath("x\x1B[2J\t.bfw")}, "", 1,
         "tamselctl : mise à jour du micrologiciel de « " + name
             + " » impossible : Fichier de micrologiciel non valide : fichier introuvable (x\\x1B[2J\\t.bfw).\n"},
        {{"make-firmware", "", "1.0", data.filePath("x.bfw")}, "", 1,
         "tamselctl : fabrication du micrologiciel impossible : le modèle doit compter de 1 à 32 octets.\n"},
    };
    for (const auto& failure : cases) {
        SCOPED_TRACE(failure.arguments.join(' ').toStdString());
        const Outcome outcome = Run(failure.arguments, failure.faults);
        EXPECT_EQ(failure.status, outcome.status);
        EXPECT_EQ(failure.message, outcome.err);
        EXPECT_TRUE(outcome.out.isEmpty()) << outcome.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(data.filePath("out.tms")));
    EXPECT_FALSE(QFile::exists(data.filePath("x.bfw")));
}

TEST_F(Tamselctl, MalformedCommandShowsTheWayToHelp)
{
    for (const QStringList& arguments : {QStringList(), QStringList{"lire"}, QStringList{"read", device},
                                         QStringList{"devices", "de trop"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(2, outcome.status);
        EXPECT_EQ("tamselctl : commande mal formée (tamselctl --help pour l'aide).\n", outcome.err);
    }
    const Outcome help = Run({"--help"});
    EXPECT_EQ(0, help.status);
    for (const char* command : {"devices", "read", "apply", "dump", "time", "reset", "firmware", "make-firmware"})
        EXPECT_TRUE(help.out.contains(QString("  ") + command + " ")) << command;
}

TEST_F(Tamselctl, FailedReadLeavesAnExistingFileUntouched)
{
    CConfig config;
    FillSmallRecord(config);
    const QString path = SaveRecord("kept.tms", config);
    const QByteArray before = FileBytes(path);
    for (const QString& fault : {QString("cut-bytes=300"), QString("cut-step=1"), QString("busy")}) {
        SCOPED_TRACE(fault.toStdString());
        EXPECT_EQ(1, Run({"read", device, path}, fault + ":" + device).status);
        EXPECT_EQ(before, FileBytes(path));
    }
    // A slow link, and a line of the fault variable that is not understood, still read.
    const Outcome outcome = Run({"read", device, path}, "slow=1:" + device + "\nsans deux-points");
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_TRUE(outcome.err.contains("sans deux-points"));
    EXPECT_NE(before, FileBytes(path));
}

TEST_F(Tamselctl, ShippedBuildIgnoresTheFaultVariable)
{
    const QString path = data.filePath("read.tms");
    const Outcome outcome = RunProgram(TAMSELCTL_PATH, {"read", device, path}, "busy:" + device);
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
    EXPECT_FALSE(FileBytes(path).isEmpty());
}

} // namespace
