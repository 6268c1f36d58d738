// tamselctl run as scripts run it: each command's work, and failures as one French line on
// standard error with a non-zero status.
#include "emulation.h"

#include "device/lib/contacts.h"
#include "device/lib/filestore.h"
#include "device/lib/firmware.h"
#include "device/lib/history.h"
#include "device/lib/recordjson.h"
#include "device/lib/serialformat.h"

#include "version.h"

#include <QDir>
#include <QFileInfo>
#include <QTimeZone>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <csignal>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

mode_t ModeOf(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void PrintTo(const Outcome& outcome, std::ostream* os)
{
    *os << "status " << outcome.status << ", out: " << outcome.out.toStdString() << ", err: " << outcome.err.toStdString();
}

class Tamselctl : public EmulatedDeviceTest {
protected:
    void SetUp() override
    {
        WriteDeviceList(R"({"stepDelayMs": 0})");
    }

    // Runs tamselctl with the test's data folder; with faults, its test build, whose devices
    // fail as they say. `inChild` runs in the child before tamselctl starts (to set its limits).
    Outcome Run(const QStringList& arguments, const QString& faults = QString(),
                const std::function<void()>& inChild = {})
    {
        return RunProgram(faults.isEmpty() ? TAMSELCTL_PATH : TAMSELCTL_FAULTS_PATH, arguments, faults, inChild);
    }

    Outcome RunProgram(const QString& program, const QStringList& arguments, const QString& faults,
                       const std::function<void()>& inChild = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", data.path());
        environment.remove("TAMSEL_DEVICE_FAULTS");
        if (!faults.isEmpty())
            environment.insert("TAMSEL_DEVICE_FAULTS", faults);
        QProcess process;
        process.setProcessEnvironment(environment);
        if (inChild)
            process.setChildProcessModifier(inChild);
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

    const CString device = LocalDevice();
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

// A device's name is written as the error messages write names: each control character as
// its escape, so that a name can neither drive the terminal nor spread over two lines.
TEST_F(Tamselctl, DevicesWritesControlCharactersOfNamesAsEscapes)
{
    WriteDeviceList(R"({"stepDelayMs": 0, "devices": [
        {"name": "USB001\u001b[2J\u001b]0;titre\u0007"},
        {"name": "serveur\\Brevia\nfaux"},
        {"name": "LPT1\tÉtage 2"}]})");
    const Outcome outcome = Run({"devices"});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_EQ("USB001\\x1B[2J\\x1B]0;titre\\x07\n"
              "serveur\\Brevia\\nfaux\n"
              "LPT1\\tÉtage 2\n",
              outcome.out);
}

// What holds passwords is its owner's alone, whatever the umask: a record read from a device
// and the device's own store; a file that was there keeps its mode.
TEST_F(Tamselctl, RecordsAndDeviceStoresAreTheirOwnersAlone)
{
    struct Row {
        const char* name;
        mode_t umask;
        mode_t existing;   // 0: no file before
        mode_t expected;
    };
    const Row rows[] = {
        {"umask 022", 022, 0, 0600},
        {"umask 077", 077, 0, 0600},
        {"umask 000", 0, 0, 0600},
        {"an existing 0644 file", 022, 0644, 0644},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = data.filePath("lu.tms");
        QFile::remove(path);
        QDir(DeviceDataFolder()).removeRecursively();
        if (row.existing != 0) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(0, ::fchmod(file.handle(), row.existing));
        }
        const mode_t mask = row.umask;
        Outcome outcome = Run({"read", device, path}, QString(), [mask] { ::umask(mask); });
        ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
        outcome = Run({"apply", path, device}, QString(), [mask] { ::umask(mask); });
        ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
        EXPECT_EQ(row.expected, ModeOf(path));
        const QString store = DeviceFilePath(device, "dev");
        ASSERT_TRUE(QFileInfo::exists(store));
        EXPECT_EQ(0600u, ModeOf(store));
        EXPECT_EQ(0700u, ModeOf(QFileInfo(store).path()));
    }
}

// Where the device's data cannot be opened the message says so, not that the device is silent.
TEST_F(Tamselctl, ADeviceDataFolderThatCannotBeMadeIsNamed)
{
    QDir(DeviceDataFolder()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(DeviceDataFolder()));
    {
        QFile blocker(DeviceDataFolder() + "/devices");   // a file where the folder would go
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const Outcome outcome = Run({"read", device, data.filePath("x.tms")});
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("tamselctl : lecture du périphérique « " + QString(device) + " » impossible : "
              "Impossible d'ouvrir les données du périphérique dans « " + DeviceDataFolder() + "/devices » : "
              "création impossible.\n", outcome.err);
    EXPECT_FALSE(QFileInfo::exists(data.filePath("x.tms")));
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
            Section::Fields([&](const char* field, auto, const auto&) { EXPECT_TRUE(json[name].toObject().contains(field)) << field; });
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

// load is dump's inverse: the same bytes back, written for the owner alone; a text that is no
// record, or one the device would refuse, is named by its JSON paths and writes nothing.
TEST_F(Tamselctl, LoadWritesWhatDumpPrintedAndNothingOfABadText)
{
    CConfig config;
    FillSmallRecord(config);
    KeepWithinRules(config);
    const QString original = SaveRecord("original.tms", config);
    const Outcome dumped = Run({"dump", original});
    ASSERT_EQ(0, dumped.status) << testing::PrintToString(dumped);
    const QString json = data.filePath("record.json");
    CString reason;
    ASSERT_TRUE(WriteFileAtomically(json, dumped.out.toUtf8(), reason));
    const QString loaded = data.filePath("loaded.tms");
    const Outcome outcome = Run({"load", json, loaded}, QString(), [] { ::umask(022); });
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_EQ(FileBytes(original), FileBytes(loaded));
    EXPECT_EQ(0600u, ModeOf(loaded));

    const struct {
        const char* name;
        QByteArray text;
        QString err;
    } cases[] = {
        {"an unknown key", R"({"machine": {"ringCount": 3}})",
         "tamselctl : le fichier « " + json + " » n'est pas un enregistrement JSON valide : machine.ringCount : clé inconnue.\n"},
        {"values the device would refuse",
         R"({"machine": {"ringerVolume": 9}, "mailBoxes": [{"number": "7", "type": 2, "destinations": ["005"]}]})",
         "machine.ringerVolume : 9 n'est pas compris entre 0 et 7.\n"
         "mailBoxes[0].destinations : l'entrée 005 n'est pas dans l'annuaire.\n"
         "tamselctl : le fichier « " + json + " » contient des valeurs que le périphérique refuserait.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileAtomically(json, c.text, reason));
        const Outcome refused = Run({"load", json, loaded});
        EXPECT_EQ(1, refused.status);
        EXPECT_EQ(c.err.toStdString(), refused.err.toStdString());
        EXPECT_EQ(FileBytes(original), FileBytes(loaded));
        EXPECT_EQ(1, Run({"load", json, data.filePath("none.tms")}).status);
        EXPECT_FALSE(QFileInfo::exists(data.filePath("none.tms")));
    }
}

// The schema that schema prints (the one the package installs) holds what dump writes of a full
// record, by an independent validator, and refuses a value out of its field's range.
TEST_F(Tamselctl, DumpFollowsTheSchema)
{
    const Outcome schema = Run({"schema"});
    ASSERT_EQ(0, schema.status) << testing::PrintToString(schema);
    CConfig config;
    FillFullRecord(config);
    KeepWithinRules(config);
    const Outcome dumped = Run({"dump", SaveRecord("full.tms", config)});
    ASSERT_EQ(0, dumped.status) << testing::PrintToString(dumped);
    CString reason;
    const QString schemaPath = data.filePath("schema.json");
    const QString dumpPath = data.filePath("dump.json");
    ASSERT_TRUE(WriteFileAtomically(schemaPath, schema.out.toUtf8(), reason));
    ASSERT_TRUE(WriteFileAtomically(dumpPath, dumped.out.toUtf8(), reason));
    const char* const validate = R"(
import json, sys
from jsonschema import Draft202012Validator
schema = json.load(open(sys.argv[1]))
Draft202012Validator.check_schema(schema)
record = json.load(open(sys.argv[2]))
errors = list(Draft202012Validator(schema).iter_errors(record))
def where(e): return "$" + "".join("[%d]" % p if isinstance(p, int) else "." + p for p in e.absolute_path)
for e in errors[:5]: print(where(e), e.message)
record["machine"]["ringerVolume"] = 8
record["phoneBook"]["speedDials"][0]["dialingData"]["colour"] = 1
bad = sorted(where(e) for e in Draft202012Validator(schema).iter_errors(record))
print(bad)
)";
    const Outcome outcome = RunProgram("python3", {"-c", validate, schemaPath, dumpPath}, QString());
    EXPECT_EQ(0, outcome.status) << outcome.err.toStdString();
    EXPECT_EQ("['$.machine.ringerVolume', '$.phoneBook.speedDials[0].dialingData']\n", outcome.out.toStdString());
}

// diff compares files and devices: a line per difference (a password only "modifié", in the
// lines and in the JSON), exit status 0 equal, 1 different, 2 when a side cannot be read.
TEST_F(Tamselctl, DiffSaysWhatAnApplyWouldChange)
{
    CConfig config;
    CString detail;
    ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    const QString same = SaveRecord("same.tms", config);
    config.machine.ringerVolume = 6;
    config.ftp.ftpPassword = "motdepasse-secret";
    const QString changed = SaveRecord("changed.tms", config);
    const QString lines = "Paramètres machine : Sonnerie : 4 → 6\nConnexion FTP : Mot de passe : modifié\n";
    const struct {
        QStringList arguments;
        int status;
        QString out;
    } cases[] = {
        {{"diff", same, device}, 0, ""},
        {{"diff", device, changed}, 1, lines},
        {{"diff", "--json", same, changed}, 1, ""},
        {{"diff", same, data.filePath("absent.tms")}, 2, ""},
        {{"diff", same, "Brevia inconnu"}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome outcome = Run(c.arguments);
        EXPECT_EQ(c.status, outcome.status) << outcome.err.toStdString();
        EXPECT_FALSE(outcome.out.contains("motdepasse-secret"));
        EXPECT_EQ(c.status == 2, outcome.err.startsWith("tamselctl : ")) << outcome.err.toStdString();
        if (!c.arguments.contains("--json")) {
            EXPECT_EQ(c.out.toStdString(), outcome.out.toStdString());
            continue;
        }
        const QJsonArray json = QJsonDocument::fromJson(outcome.out.toUtf8()).array();
        ASSERT_EQ(2, json.size()) << outcome.out.toStdString();
        EXPECT_EQ(QJsonObject({{"section", "machine"}, {"field", "ringerVolume"}, {"change", "changed"},
                               {"before", "4"}, {"after", "6"}, {"line", "Paramètres machine : Sonnerie : 4 → 6"}}),
                  json[0].toObject());
        EXPECT_EQ(QJsonObject({{"section", "ftp"}, {"field", "ftpPassword"}, {"change", "changed"}, {"secret", true},
                               {"line", "Connexion FTP : Mot de passe : modifié"}}),
                  json[1].toObject());
    }
}

// Every apply keeps the device's record of before (0600, the last 20); history lists them with
// what each apply changed, and restore applies one back, itself kept.
TEST_F(Tamselctl, ApplyKeepsWhatTheDeviceHeldAndRestoreBringsItBack)
{
    CConfig config;
    CString detail;
    ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    const QByteArray factory = serialformat::StoreToBytes(config);
    // Older kept records, as applies of long ago left them: the oldest go past the 20th.
    const QString folder = QFileInfo(DeviceFilePath(device, "tms")).completeBaseName();
    const QString kept = DeviceDataFolder() + "/history/" + folder;
    ASSERT_TRUE(QDir().mkpath(kept));
    for (int day = 1; day <= 20; ++day) {
        CString reason;
        ASSERT_TRUE(WriteFileAtomically(kept + QString("/%1_202601%2T080000.000Z.tms").arg(folder).arg(day, 2, 10, QChar('0')),
                                        factory, reason));
    }
    config.machine.ringerVolume = 6;
    config.ftp.ftpPassword = "secret-du-poste";
    Outcome outcome = Run({"apply", SaveRecord("six.tms", config), device}, QString(), [] { ::umask(0); });
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);

    const std::vector<history::Entry> entries = history::List(device);
    ASSERT_EQ(size_t(history::keptPerDevice), entries.size());
    EXPECT_EQ(factory, FileBytes(entries[0].path));
    EXPECT_EQ(0600u, ModeOf(entries[0].path));
    EXPECT_EQ(0700u, ModeOf(kept));
    EXPECT_EQ(QDateTime(QDate(2026, 1, 2), QTime(8, 0), QTimeZone::utc()), entries.back().time);

    outcome = Run({"history", device});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    const QStringList lines = outcome.out.split('\n');
    EXPECT_TRUE(lines[0].startsWith("1  ")) << lines[0].toStdString();
    EXPECT_EQ("    Paramètres machine : Sonnerie : 4 → 6", lines[1].toStdString());
    EXPECT_EQ("    Connexion FTP : Mot de passe : modifié", lines[2].toStdString());
    EXPECT_EQ("    (aucun changement)", lines[4].toStdString());
    EXPECT_FALSE(outcome.out.contains("secret-du-poste"));

    outcome = Run({"restore", device, "1"});
    ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    CConfig restored;
    ASSERT_TRUE(restored.Read(device, detail));
    EXPECT_EQ(4, restored.machine.ringerVolume);
    EXPECT_EQ(6, [&] {
        CConfig before;
        serialformat::LoadFromBytes(before, FileBytes(history::List(device)[0].path));
        return before.machine.ringerVolume;
    }());
    EXPECT_EQ(1, Run({"restore", device, "21"}).status);
    EXPECT_EQ(2, Run({"restore", device, "dernier"}).status);
}

// A record of before that cannot be kept stops the apply: nothing is sent, and the message
// says why.
TEST_F(Tamselctl, AnApplyWhoseBeforeCannotBeKeptSendsNothing)
{
    CConfig config;
    CString detail;
    ASSERT_TRUE(config.Read(device, detail)) << Text(detail);
    ASSERT_TRUE(QDir().mkpath(DeviceDataFolder()));
    {
        QFile blocker(DeviceDataFolder() + "/history");   // a file where the folder would go
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const QByteArray stored = StoredMemory(device);
    config.machine.ringerVolume = 6;
    const Outcome outcome = Run({"apply", SaveRecord("six.tms", config), device});
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("tamselctl : mise à jour du périphérique « " + QString(device) + " » impossible : La configuration actuelle "
              "du périphérique n'a pas pu être conservée dans l'historique (création du dossier impossible) : rien n'a "
              "été envoyé.\n", outcome.err);
    EXPECT_EQ(stored, StoredMemory(device));
}

// Many devices at once: some fail (busy, unreachable, a link cut mid-write); the others are
// applied, the failing ones keep what they had, each gets its line and the status says so.
TEST_F(Tamselctl, ApplyToAFleetReportsEachDeviceAndTouchesNoFailingOne)
{
    QStringList names;
    QString list = R"({"stepDelayMs": 0, "devices": [)";
    for (int n = 1; n <= 16; ++n) {
        names << QString("Brevia %1").arg(n, 2, 10, QChar('0'));
        list += QString(n > 1 ? ", " : "") + "{\"name\": \"" + names.last() + "\"}";
    }
    WriteDeviceList((list + "]}").toUtf8());
    const QString faults = "busy:Brevia 03\nunreachable:Brevia 07\ncut-step=2:Brevia 11";
    const QStringList failing{"Brevia 03", "Brevia 07", "Brevia 11"};
    std::map<QString, QByteArray> before;
    for (const QString& name : names)
        before[name] = StoredMemory(name);

    CConfig config;
    config.machine.ringerVolume = 6;
    const QString path = SaveRecord("flotte.tms", config);
    Outcome outcome = Run({"apply", path, "--all", "-j", "5"}, faults);
    EXPECT_EQ(1, outcome.status) << testing::PrintToString(outcome);
    EXPECT_EQ("tamselctl : 3 périphérique(s) sur 16 en échec.\n", outcome.err);
    const QStringList lines = outcome.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(16, lines.size()) << outcome.out.toStdString();
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(names[i].toStdString());
        const bool fails = failing.contains(names[i]);
        // A device applied names the mailboxes it kept (they hold documents).
        EXPECT_EQ(fails ? names[i] + " : " : names[i] + " : OK, boîtes aux lettres non modifiées (elles contiennent des "
                                                          "documents) : 10, 20",
                  lines[i].left(fails ? names[i].size() + 3 : lines[i].size()))
            << lines[i].toStdString();
        EXPECT_EQ(fails, lines[i].endsWith(".")) << lines[i].toStdString();
        if (fails) {
            EXPECT_EQ(before[names[i]], StoredMemory(names[i]));
            continue;
        }
        CConfig applied;
        CString detail;
        ASSERT_TRUE(applied.Read(names[i], detail)) << Text(detail);
        EXPECT_EQ(6, applied.machine.ringerVolume);
    }

    // Without faults every device is read into the folder, and the status is 0.
    const QString folder = data.filePath("flotte");
    ASSERT_TRUE(QDir().mkpath(folder));
    outcome = Run({"read", "--all", folder});
    EXPECT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_EQ(16, QDir(folder).entryList({"*.tms"}, QDir::Files).size());
    const QString from = data.filePath("liste.txt");
    CString reason;
    ASSERT_TRUE(WriteFileAtomically(from, "Brevia 01\n\nBrevia 02\n", reason));
    outcome = Run({"time", "--from", from});
    EXPECT_EQ(0, outcome.status) << testing::PrintToString(outcome);
    EXPECT_EQ("Brevia 01 : OK\nBrevia 02 : OK\n", outcome.out);
}

TEST_F(Tamselctl, CheckNamesEachValueTheDeviceWouldRefuse)
{
    struct Case {
        const char* name;
        std::function<void(CConfig&)> spoil;
        int status;
        QString out;
    };
    const Case cases[] = {
        {"factory values", [](CConfig&) {}, 0, ""},
        {"rings and a missing supplies-order key",
         [](CConfig& r) {
             r.phoneLine.ringsBeforeAnswer = 12;
             r.advanced.orderDestinationType = 3;
             r.advanced.orderDestination = "05";
         },
         1,
         "Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 12 n'est pas compris entre 1 et 10.\n"
         "Fonctions avancées : Comp. instantanée : l'entrée 05 n'est pas dans l'annuaire.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CConfig config;
        c.spoil(config);
        const QString path = SaveRecord("checked.tms", config);
        const Outcome outcome = Run({"check", path});
        EXPECT_EQ(outcome.status, c.status) << outcome.err.toStdString();
        EXPECT_EQ(outcome.out.toStdString(), c.out.toStdString());
        EXPECT_EQ(outcome.err.isEmpty(), c.status == 0) << outcome.err.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(outcome.err, "tamselctl : le fichier « " + path + " » contient des valeurs que le périphérique refuserait.\n");
        }
    }
}

// As the console does, apply sends nothing the device would refuse: the check's lines go to
// standard error and the device keeps what it had.
TEST_F(Tamselctl, ApplyOfARecordTheDeviceWouldRefuseSendsNothing)
{
    CConfig config;
    CString detail;
    ASSERT_TRUE(config.Read(device, detail));
    config.machine.companyName = "Avant";
    int unchanged = 0;
    ASSERT_TRUE(config.Write(device, detail, unchanged)) << Text(detail);
    const QByteArray stored = FileBytes(DeviceFilePath(device, "dev"));

    config.machine.companyName = "Après";
    config.phoneLine.answerMode = 0;
    config.phoneLine.ringsBeforeAnswer = 12;
    const QString path = SaveRecord("refused.tms", config);
    const Outcome outcome = Run({"apply", path, device});
    EXPECT_EQ(1, outcome.status);
    EXPECT_TRUE(outcome.out.isEmpty()) << outcome.out.toStdString();
    EXPECT_EQ(outcome.err.toStdString(),
              ("Lignes téléphonique : Sonnerie(s) avant réponse (1-10) : 12 n'est pas compris entre 1 et 10.\n"
               "tamselctl : le fichier « " + path + " » contient des valeurs que le périphérique refuserait.\n")
                  .toStdString());
    EXPECT_EQ(stored, FileBytes(DeviceFilePath(device, "dev")));
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
         "tamselctl : lecture de « " + data.filePath("absent.tms") + " » impossible : fichier introuvable.\n"},
        {{"read", name, data.filePath("no/folder/out.tms")}, "", 1,
         "tamselctl : écriture de « " + data.filePath("no/folder/out.tms") + " » impossible : création impossible.\n"},
        // Names with line breaks and other control characters stay on the one line, escaped.
        {{"read", "Brevia\nPro 99", data.filePath("out.tms")}, "", 1,
         "tamselctl : lecture du périphérique « Brevia\\nPro 99 » impossible : Périphérique inconnu : « Brevia\\nPro 99 ».\n"},
        {{"apply", data.filePath("absent\r\n.tms"), name}, "", 1,
         "tamselctl : lecture de « " + data.filePath("absent\\r\\n.tms") + " » impossible : fichier introuvable.\n"},
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
    for (const QStringList& arguments :
         {QStringList(), QStringList{"lire"}, QStringList{"read", device}, QStringList{"devices", "de trop"},
          QStringList{"--version", "de trop"}, QStringList{"phonebook", "import", "a.csv", "b.tms"},
          QStringList{"phonebook", "import", "a.csv", "--into", "b.tms", "--dry"},
          QStringList{"phonebook", "export", "b.tms", "a.csv", "csv"}, QStringList{"phonebook", "merge", "a", "b", "c"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(2, outcome.status);
        EXPECT_EQ("tamselctl : commande mal formée (tamselctl --help pour l'aide).\n", outcome.err);
    }
    const Outcome help = Run({"--help"});
    EXPECT_EQ(0, help.status);
    for (const char* command : {"devices", "read", "apply", "dump", "load", "schema", "diff", "history", "restore", "check", "time", "reset", "firmware",
                                "make-firmware", "phonebook"})
        EXPECT_TRUE(help.out.contains(QString("  ") + command + " ")) << command;
}

TEST_F(Tamselctl, VersionIsTheProjectsAndAloneOnItsLine)
{
    const Outcome version = Run({"--version"});
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(QString("tamselctl (Tamsel de Corvane) " TAMSEL_VERSION "\n"), version.out);
    EXPECT_EQ(QString(), version.err);
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

// A file that is no regular file is neither read nor replaced, and is refused at once (a FIFO
// would block, /dev/zero never end); a file far larger than its kind is refused from its size.
TEST_F(Tamselctl, OnlyRegularFilesOfASensibleSizeAreReadOrReplaced)
{
    const QString fifo = data.filePath("fifo.tms");
    ASSERT_EQ(0, ::mkfifo(QFile::encodeName(fifo).constData(), 0644));
    const QString null = data.filePath("nul.tms");
    ASSERT_TRUE(QFile::link("/dev/null", null));
    const QString hugeSettings = data.filePath("énorme.tms");
    const QString hugeFirmware = data.filePath("énorme.bfw");
    const QString hugeJson = data.filePath("énorme.json");
    for (const auto& [path, size] : {std::pair{hugeSettings, serialformat::maxFileBytes + 1},
                                     std::pair{hugeJson, recordjson::maxTextBytes + 1},
                                     std::pair{hugeFirmware, firmware::headerSize + firmware::maxImageBytes + 1}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));   // sparse: no disk used
    }
    const QString notRegular = "ce n'est pas un fichier ordinaire";
    const QString tooLarge = "fichier trop volumineux";
    const struct {
        QStringList arguments;
        QString reason;
    } cases[] = {
        {{"dump", "/dev/zero"}, notRegular},
        {{"dump", fifo}, notRegular},
        {{"apply", fifo, device}, notRegular},
        {{"firmware", device, fifo}, notRegular},
        {{"make-firmware", "Brevia Pro 45", "5.00", data.filePath("x.bfw"), "/dev/zero"}, notRegular},
        {{"read", device, null}, notRegular},
        {{"read", device, fifo}, notRegular},
        {{"make-firmware", "Brevia Pro 45", "5.00", fifo}, notRegular},
        {{"dump", hugeSettings}, tooLarge},
        {{"load", fifo, data.filePath("x.tms")}, notRegular},
        {{"load", hugeJson, data.filePath("x.tms")}, tooLarge},
        {{"firmware", device, hugeFirmware}, tooLarge},
        {{"make-firmware", "Brevia Pro 45", "5.00", data.filePath("x.bfw"), hugeFirmware}, tooLarge},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.arguments.join(' ').toStdString());
        const Outcome outcome = Run(refused.arguments);
        EXPECT_EQ(1, outcome.status);
        EXPECT_TRUE(outcome.err.contains(refused.reason)) << outcome.err.toStdString();
        EXPECT_EQ(1, outcome.err.count('\n')) << outcome.err.toStdString();
    }
    struct stat info;
    ASSERT_EQ(0, ::lstat(QFile::encodeName(fifo).constData(), &info));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ("/dev/null", QFileInfo(null).symLinkTarget());
    EXPECT_FALSE(QFile::exists(data.filePath("x.bfw")));
}

// A write that the disk cuts short leaves the previous file whole.
TEST_F(Tamselctl, AWriteCutShortKeepsThePreviousFile)
{
    CConfig config;
    FillSmallRecord(config);
    const QString path = SaveRecord("gardé.tms", config);
    const QByteArray before = FileBytes(path);
    // As `ulimit -f` leaves it: the signal that would end the program is not ignored.
    const Outcome outcome = Run({"read", device, path}, QString(), [] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("tamselctl : écriture de « " + path + " » impossible : fichier trop volumineux.\n", outcome.err);
    EXPECT_EQ(before, FileBytes(path));
    EXPECT_EQ(QStringList{"gardé.tms"}, QDir(data.path()).entryList({"*.tms*", ".*.tms*"}, QDir::Files | QDir::Hidden));
}

// Memory running out is a failure like any other: one line, status 1, no abort.
TEST_F(Tamselctl, RunningOutOfMemoryIsOneLine)
{
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer's allocator reserves its shadow memory beyond any such limit and reports an
    // allocation it cannot make itself, so the limit says nothing about the program there.
    GTEST_SKIP() << "no memory limit under AddressSanitizer";
#endif
    const QString path = data.filePath("grand.tms");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(serialformat::maxFileBytes - 1024));
    }
    const Outcome outcome = Run({"dump", path}, QString(), [] {
        const rlimit limit{32 << 20, 32 << 20};   // well under the file, well over what starting takes
        setrlimit(RLIMIT_DATA, &limit);
    });
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("tamselctl : mémoire insuffisante.\n", outcome.err);
    EXPECT_TRUE(outcome.out.isEmpty());
}

} // namespace

namespace {

QString WriteText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

// The import prints what it does, line by line; --dry-run and a refused file change nothing.
TEST_F(Tamselctl, PhonebookImportPrintsItsReportAndWritesOnlyWhenAsked)
{
    CConfig config;
    auto* old = new CSpeedDial(1);
    old->GetDialingData()->name = "Ancien";
    old->GetDialingData()->faxNumber = "0144";
    config.phoneBook.Add(old);
    const QString record = SaveRecord("record.tms", config);
    const QByteArray before = FileBytes(record);
    const QString csv = WriteText(data.filePath("contacts.csv"), "Nom;Fax;Touche\nNouveau;01-44;\nMartin;0150;02\nSans;;\n");
    const QString expected = "ligne 2 : Remplacée : composition abrégée 001 « Ancien » par « Nouveau »\n"
                             "ligne 3 : Ajoutée : composition abrégée 002 « Martin »\n"
                             "ligne 3 : Ajoutée : touche 02 pour la composition abrégée 002 « Martin »\n"
                             "ligne 4 : Refusée : aucun numéro de fax.\n"
                             "2 ajoutées, 1 remplacée, 1 refusée, 0 inchangée.\n";

    const Outcome dryRun = Run({"phonebook", "import", csv, "--into", record, "--dry-run"});
    ASSERT_EQ(0, dryRun.status) << testing::PrintToString(dryRun);
    EXPECT_EQ(expected + "Rien n'est modifié (--dry-run).\n", dryRun.out);
    EXPECT_EQ(before, FileBytes(record));

    const Outcome imported = Run({"phonebook", "import", csv, "--into", record});
    ASSERT_EQ(0, imported.status) << testing::PrintToString(imported);
    EXPECT_EQ(expected, imported.out);
    CConfig after;
    serialformat::LoadFromBytes(after, FileBytes(record));
    EXPECT_EQ("Nouveau", Text(after.phoneBook.GetSpeedDial(1)->GetName()));
    EXPECT_EQ(after.phoneBook.GetSpeedDial(2), after.phoneBook.GetOneTouch(2)->GetRef());

    const QByteArray imported1 = FileBytes(record);
    const QString broken = WriteText(data.filePath("broken.vcf"), "pas une fiche\n");
    const Outcome refused = Run({"phonebook", "import", broken, "--into", record});
    EXPECT_EQ(1, refused.status);
    EXPECT_EQ("tamselctl : le fichier « " + broken + " » ne peut être importé : le fichier ne contient aucune fiche "
              "vCard (BEGIN:VCARD).\n", refused.err);
    const Outcome unknown = Run({"phonebook", "import", WriteText(data.filePath("x.txt"), "Nom\n"), "--into", record});
    EXPECT_EQ(1, unknown.status);
    EXPECT_TRUE(unknown.err.contains("n'est pas connu : .csv, .vcf ou .ldif")) << unknown.err.toStdString();
    EXPECT_EQ(imported1, FileBytes(record));
}

TEST_F(Tamselctl, PhonebookExportWritesEachFormat)
{
    CConfig config;
    FillSmallRecord(config);
    const QString record = SaveRecord("record.tms", config);
    const std::pair<const char*, contacts::Format> formats[] = {
        {"csv", contacts::Format::csv}, {"vcf", contacts::Format::vcard}, {"ldif", contacts::Format::ldif}};
    for (const auto& [name, format] : formats) {
        SCOPED_TRACE(name);
        const QString path = data.filePath(QString("out.") + name);
        const Outcome outcome = Run({"phonebook", "export", record, path, "--format", name});
        ASSERT_EQ(0, outcome.status) << testing::PrintToString(outcome);
        EXPECT_EQ(contacts::Write(format, config.phoneBook), FileBytes(path));
    }
    const Outcome unknown = Run({"phonebook", "export", record, data.filePath("out.xls"), "--format", "xls"});
    EXPECT_EQ(1, unknown.status);
    EXPECT_FALSE(QFile::exists(data.filePath("out.xls")));
}
