// tamselctl: the console's device operations and settings files, for scripts and fleets.
#include "device/lib/recordjson.h"
#include "fleet.h"

#include "device/lib/config.h"
#include "device/lib/contacts.h"
#include "device/lib/devicelist.h"
#include "device/lib/devices.h"
#include "device/lib/filestore.h"
#include "device/lib/serialformat.h"
#include "device/lib/firmware.h"
#include "device/lib/history.h"
#include "device/lib/emulateddevice.h"
#include "device/lib/networklink.h"
#include "device/lib/recordcheck.h"
#include "device/lib/recorddiff.h"
#include "recordwording/recordwording.h"
#include "version.h"

#include "afx/core/file.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>
#include <new>

namespace {

const char* const usage =
    "Usage : tamselctl COMMANDE [ARGUMENTS]\n"
    "\n"
    "  devices                        liste les périphériques, un par ligne\n"
    "  read PÉRIPHÉRIQUE FICHIER.tms  enregistre la configuration du périphérique dans le fichier\n"
    "  read --all|--from LISTE DOSSIER\n"
    "                                 enregistre chaque périphérique dans DOSSIER/NOM.tms\n"
    "  apply FICHIER.tms PÉRIPHÉRIQUE... (ou --all, --from LISTE)\n"
    "                                 applique le fichier au(x) périphérique(s) et nomme les boîtes\n"
    "                                 aux lettres laissées telles quelles (elles contiennent\n"
    "                                 des documents) ; un fichier aux valeurs que le\n"
    "                                 périphérique refuserait n'est pas envoyé (valeurs\n"
    "                                 nommées sur la sortie d'erreur, comme par check) ;\n"
    "                                 la configuration d'avant est d'abord conservée (history),\n"
    "                                 et rien n'est envoyé si elle ne peut pas l'être\n"
    "  history PÉRIPHÉRIQUE           liste, du plus récent au plus ancien, les enregistrements du\n"
    "                                 périphérique conservés avant chaque apply (les 20 derniers),\n"
    "                                 chacun avec ce que l'application suivante a changé\n"
    "  restore PÉRIPHÉRIQUE N         réapplique l'enregistrement N de history (1 le plus récent) ;\n"
    "                                 c'est une application comme une autre, conservée elle aussi\n"
    "  dump FICHIER.tms               affiche tout le fichier en JSON\n"
    "  load FICHIER.json SORTIE.tms   l'inverse de dump : écrit le fichier de paramètres décrit\n"
    "                                 par le JSON ; une clé inconnue, un type faux ou une\n"
    "                                 valeur que le périphérique refuserait est nommé par son\n"
    "                                 chemin JSON (machine.ringerVolume) et rien n'est écrit\n"
    "  schema                         affiche le schéma JSON (draft 2020-12) de dump et load\n"
    "  diff A B [--json]              ce qu'appliquer B changerait à A (chacun un fichier .tms ou\n"
    "                                 un périphérique) : une ligne par différence, « Page :\n"
    "                                 Champ : avant → après », les entrées de l'annuaire, boîtes\n"
    "                                 aux lettres et codes clients ajoutées ou supprimées par\n"
    "                                 leur numéro, un mot de passe seulement « modifié » ;\n"
    "                                 --json pour les scripts ; code de sortie 0 identiques,\n"
    "                                 1 différents, 2 erreur\n"
    "  check FICHIER.tms              nomme, une par ligne, les valeurs du fichier que le\n"
    "                                 périphérique refuserait (page et champ de la console)\n"
    "  time PÉRIPHÉRIQUE... | --all   règle l'horloge du périphérique sur celle de l'ordinateur\n"
    "  reset PÉRIPHÉRIQUE             ramène le périphérique aux valeurs d'usine\n"
    "  firmware PÉRIPHÉRIQUE FICHIER.bfw, ou firmware FICHIER.bfw PÉRIPHÉRIQUE... | --all\n"
    "                                 met à jour le micrologiciel ; les paramètres du\n"
    "                                 périphérique lui sont réécrits ensuite\n"
    "  make-firmware MODÈLE VERSION SORTIE.bfw [IMAGE]\n"
    "                                 fabrique un fichier de micrologiciel pour le modèle\n"
    "                                 (« Brevia Pro 45 ») à partir de l'image, ou d'une image\n"
    "                                 d'essai\n"
    "  phonebook import FICHIER --into FICHIER.tms [--dry-run]\n"
    "                                 importe les contacts d'un fichier CSV, vCard ou LDIF\n"
    "                                 (.csv, .vcf, .ldif) dans l'annuaire du fichier de\n"
    "                                 paramètres et affiche ce qui est ajouté, remplacé et\n"
    "                                 refusé ; --dry-run l'affiche sans rien modifier\n"
    "  phonebook export FICHIER.tms FICHIER --format csv|vcf|ldif\n"
    "                                 écrit l'annuaire du fichier de paramètres en contacts\n"
    "  trust PÉRIPHÉRIQUE             affiche l'empreinte SHA-256 de la clé d'un périphérique du\n"
    "                                 réseau et l'approuve si vous répondez « o »\n"
    "  --help                         affiche cette aide\n"
    "\n"
    "Options, avant ou après la commande :\n"
    "  --password-file FICHIER        le mot de passe d'un périphérique du réseau, sur la\n"
    "                                 première ligne du fichier ; sans elle, il est lu sur\n"
    "                                 l'entrée standard quand le périphérique le demande\n"
    "  --all                          apply, read, time et firmware : tous les périphériques que\n"
    "                                 devices liste\n"
    "  --from LISTE                   les mêmes, pour les périphériques nommés dans le fichier\n"
    "                                 LISTE, un par ligne\n"
    "  -j N                           le nombre de périphériques traités à la fois (4 ; 1 à 64) ;\n"
    "                                 sur un terminal, une ligne montre l'avancement, et à la fin\n"
    "                                 une ligne par périphérique dit « OK » ou son échec ; le code\n"
    "                                 de sortie n'est 0 que si tous ont réussi\n"
    "  --force                        apply écrase les changements qu'un autre poste a faits\n"
    "                                 depuis la lecture du fichier par read\n"
    "  --version                      affiche la version\n"
    "\n"
    "Les fichiers sont écrits d'un bloc : un échec laisse le fichier existant intact.\n"
    "Un fichier lu d'un périphérique du réseau par read garde l'étiquette de sa lecture : apply\n"
    "sur ce périphérique échoue si un autre poste l'a modifié entre-temps (sauf avec --force).\n"
    "Code de sortie : 0 succès, 1 échec (message sur la sortie d'erreur ; pour check, des valeurs\n"
    "refusées ; pour diff, des différences), 2 commande mal formée (pour diff, aussi un échec).\n";

// The records compared differ: exit status 1, with nothing on standard error.
struct Differ {};

const char* const outOfMemory = "tamselctl : mémoire insuffisante.\n";

// A failed command: its message for standard error, written on one line (OneLine).
struct Failure {
    CString message;
    int status = 1;
};

int Print(FILE* stream, const CString& text)
{
    std::fputs(static_cast<const QString&>(text).toUtf8().constData(), stream);
    return 0;
}

CString Quoted(const CString& name)
{
    return CString("« ") + name + " »";
}

// A detail text of the library, to end a message.
CString Detail(CString text)
{
    text.TrimRight('.');
    return text;
}

// The message on one line, whatever names it quotes: each control or other unprintable
// character is written as its escape (\n, \r, \t, \xHH, \uHHHH).
CString OneLine(const CString& message)
{
    QString line;
    for (const char32_t c : static_cast<const QString&>(message).toUcs4()) {
        if (QChar::isPrint(c))
            line += QString::fromUcs4(&c, 1);
        else if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else if (c == '\t')
            line += "\\t";
        else
            line += QString::asprintf(c < 0x100 ? "\\x%02X" : c < 0x10000 ? "\\u%04X" : "\\U%08X", unsigned(c));
    }
    return line;
}

QByteArray ReadFile(const CString& path, qint64 maxBytes)
{
    QByteArray bytes;
    CString reason;
    if (!ReadFileWhole(path, maxBytes, bytes, reason))
        throw Failure{CString("lecture de ") + Quoted(path) + " impossible : " + reason};
    return bytes;
}

void LoadSettings(const CString& path, CConfig& config)
{
    const QByteArray bytes = ReadFile(path, serialformat::maxFileBytes);
    try {
        serialformat::LoadFromBytes(config, bytes);
    } catch (const CException&) {
        throw Failure{CString("le fichier ") + Quoted(path) + " n'est pas un fichier de paramètres valide"};
    }
}

void WriteFile(const CString& path, const QByteArray& bytes,
               afx::NewFileAccess access = afx::NewFileAccess::ownerOnly)
{
    CString reason;
    if (!WriteFileAtomically(path, bytes, reason, access))
        throw Failure{CString("écriture de ") + Quoted(path) + " impossible : " + reason};
}

// An operation on the device that failed, named as "lecture du périphérique ".
Failure DeviceFailure(const char* operation, const CString& device, const CString& detail)
{
    return Failure{CString(operation) + Quoted(device) + " impossible : " + Detail(detail)};
}

// The user's answers, from the options and standard input.
class CommandLinePrompts : public network::Prompts {
public:
    QString passwordFile;
    bool force = false;
    bool trusting = false;   // the trust command asks; every other command refuses a new key

    bool TrustKey(const QString& address, const QString& fingerprint, const QString& changedFrom) override
    {
        std::lock_guard guard(lock);
        if (!trusting) {
            Print(stderr, CString("tamselctl : la clé de ") + address + " n'est pas encore approuvée (empreinte SHA-256 "
                              + fingerprint + ") ; vérifiez-la et approuvez-la avec « tamselctl trust ».\n");
            return false;
        }
        if (!changedFrom.isEmpty())
            Print(stdout, CString("ATTENTION : la clé de ") + address + " a changé ; empreinte approuvée jusqu'ici : "
                              + changedFrom + "\n");
        Print(stdout, CString("Empreinte SHA-256 de la clé de ") + address + " :\n  " + fingerprint
                          + "\nFaire confiance à cette clé ? [o/N] ");
        std::fflush(stdout);
        QByteArray answer;
        return ReadLine(stdin, answer) && (answer.trimmed() == "o" || answer.trimmed() == "O");
    }

    // Read once, from the file or standard input, and given to every device of the command.
    bool AskPassword(const CString& device, bool wrong, QString& password) override
    {
        // A password that was refused is not given again: it would be the same.
        if (wrong)
            return false;
        return Once(device, password);
    }

    // A password file is read before the first request, as curl sends its user's at once.
    bool GivenPassword(const CString& device, QString& password) override
    {
        return !passwordFile.isEmpty() && Once(device, password);
    }

    bool Overwrite(const CString&) override { return force; }

private:
    bool Once(const CString& device, QString& password)
    {
        std::lock_guard guard(lock);
        if (!asked) {
            asked = true;
            given = ReadPassword(device);
        }
        password = given;
        return !password.isEmpty();
    }

    QString ReadPassword(const CString& device)
    {
        QByteArray line;
        if (!passwordFile.isEmpty()) {
            QByteArray bytes;
            CString reason;
            if (!ReadFileWhole(passwordFile, 4096, bytes, reason))
                throw Failure{CString("lecture de ") + Quoted(passwordFile) + " impossible : " + reason};
            line = bytes.left(bytes.indexOf('\n') < 0 ? bytes.size() : bytes.indexOf('\n'));
        } else {
            if (::isatty(STDIN_FILENO))
                Print(stderr, CString("Mot de passe de ") + Quoted(device) + " : ");
            if (!ReadLine(stdin, line))
                return QString();
        }
        if (line.endsWith('\r'))
            line.chop(1);
        return QString::fromUtf8(line);
    }

    // One line of at most 4 KB, without its end.
    static bool ReadLine(FILE* stream, QByteArray& line)
    {
        line.clear();
        for (int c; (c = std::fgetc(stream)) != EOF;) {
            if (c == '\n')
                return true;
            if (line.size() >= 4096)
                return false;
            line.append(static_cast<char>(c));
        }
        return !line.isEmpty();
    }

    std::mutex lock;   // the devices of a fleet ask from threads of their own
    bool asked = false;
    QString given;
};

CommandLinePrompts prompts;

// Where read remembers which device and tag a file came from, in the user's settings.
QString ReadTagKey(const CString& path)
{
    const QByteArray absolute = QFileInfo(path).absoluteFilePath().toUtf8();
    return "ReadFiles/" + QString::fromLatin1(QCryptographicHash::hash(absolute, QCryptographicHash::Sha256).toHex());
}

QSettings UserSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Corvane", "Tamsel");
}

// The many-device options: -j N, --all, --from FILE.
struct FleetOptions {
    int jobs = 4;
    bool all = false;
    QString from;
};
FleetOptions fleet;
std::mutex settingsLock;   // the user's settings, from the threads of a fleet

// Remembers the device and tag the file holds, or that it holds none; the settings are
// written only when that changed (a write of them is a locked, synced file).
void RememberOrigin(const CString& path, const CConfig& config)
{
    std::lock_guard guard(settingsLock);
    QSettings settings = UserSettings();
    const QString key = ReadTagKey(path);
    QStringList origin;
    if (!config.readFrom.IsEmpty())
        origin << config.readFrom << QString::fromLatin1(config.readTag);
    if (settings.value(key).toStringList() == origin)
        return;
    if (origin.isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, origin);
}

// The devices named, with every device GetDevices lists for --all and the names of the file
// of --from (one a line); each once, in order.
QStringList FleetDevices(const QStringList& named)
{
    QStringList devices = named;
    if (fleet.all) {
        CStringList list;
        CString detail;
        if (!GetDevices(list, detail))
            throw Failure{CString("liste des périphériques indisponible : ") + Detail(detail)};
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
            devices << static_cast<const QString&>(list.GetNext(pos));
    }
    if (!fleet.from.isEmpty()) {
        for (const QByteArray& line : ReadFile(fleet.from, 1024 * 1024).split('\n')) {
            const QString name = QString::fromUtf8(line).trimmed();
            if (!name.isEmpty())
                devices << name;
        }
    }
    devices.removeDuplicates();
    if (devices.isEmpty())
        throw Failure{CString("aucun périphérique à traiter")};
    return devices;
}

// Whether the command goes to several devices (or to a list of them).
bool IsFleet(const QStringList& named)
{
    return fleet.all || !fleet.from.isEmpty() || named.size() > 1;
}

// The operation on each device, -j at a time; at the end a line per device, "NOM : OK" or its
// failure; a failure of any device fails the command, once all are done.
void RunFleet(const QStringList& devices, const std::function<CString(const CString&)>& operation)
{
    const std::vector<FleetOutcome> outcomes = RunOnFleet(
        devices, fleet.jobs,
        [&](const QString& device) {
            try {
                return FleetOutcome{device, true, operation(device)};
            } catch (const Failure& failure) {
                return FleetOutcome{device, false, failure.message};
            } catch (const std::bad_alloc&) {
                return FleetOutcome{device, false, "mémoire insuffisante"};
            }
        },
        ::isatty(STDERR_FILENO) ? stderr : nullptr);
    int failed = 0;
    for (const FleetOutcome& outcome : outcomes) {
        failed += outcome.ok ? 0 : 1;
        const CString result = outcome.ok ? (outcome.text.isEmpty() ? CString("OK") : CString("OK, ") + outcome.text)
                                          : CString(outcome.text) + ".";
        Print(stdout, OneLine(CString(outcome.device) + " : " + result) + "\n");
    }
    if (failed > 0)
        throw Failure{QStringLiteral("%1 périphérique(s) sur %2 en échec").arg(failed).arg(outcomes.size())};
}

void Devices(const QStringList&)
{
    CStringList devices;
    CString detail;
    if (!GetDevices(devices, detail))
        throw Failure{CString("liste des périphériques indisponible : ") + Detail(detail)};
    // A name is the device's to choose: its control characters must not reach the terminal.
    for (POSITION pos = devices.GetHeadPosition(); pos != nullptr;)
        Print(stdout, OneLine(devices.GetNext(pos)) + "\n");
}

// The device's record into the file.
void ReadTo(const CString& device, const CString& path)
{
    CConfig config;
    CString detail;
    if (!config.Read(device, detail))
        throw DeviceFailure("lecture du périphérique ", device, detail);
    WriteFile(path, serialformat::StoreToBytes(config));
    RememberOrigin(path, config);
}

// read DEVICE FILE.tms, or read --all|--from FILE FOLDER: each device into FOLDER/NAME.tms.
void Read(const QStringList& args)
{
    if (!fleet.all && fleet.from.isEmpty()) {
        if (args.size() != 2)
            throw std::invalid_argument("usage");
        ReadTo(args[0], args[1]);
        return;
    }
    if (args.size() != 1)
        throw std::invalid_argument("usage");
    const QString folder = args[0];
    RunFleet(FleetDevices({}), [&](const CString& device) {
        // Named as the device's own store is: any name makes a file name.
        const QString path = folder + "/" + QFileInfo(DeviceFilePath(device, "tms")).fileName();
        ReadTo(device, path);
        return CString(path);
    });
}

// The record as the device would take it, else its findings on `stream`, one a line, and a
// failure naming the file.
void RequireAccepted(const CConfig& config, const CString& path, FILE* stream)
{
    const CStringArray findings = WordFindings(CheckRecord(config));
    if (findings.IsEmpty())
        return;
    for (int index = 0; index < findings.GetSize(); ++index)
        Print(stream, OneLine(findings[index]) + "\n");
    throw Failure{CString("le fichier ") + Quoted(path) + " contient des valeurs que le périphérique refuserait"};
}

// The settings file to the device; the numbers of the mailboxes the device kept as they were.
// `alone`: the only device of the command.
CStringArray ApplyTo(const CString& path, const QByteArray& bytes, const CString& device, bool alone)
{
    CConfig config;
    serialformat::LoadFromBytes(config, bytes);
    QStringList origin;
    {
        std::lock_guard guard(settingsLock);
        origin = UserSettings().value(ReadTagKey(path)).toStringList();
    }
    if (origin.size() == 2) {
        config.readFrom = origin[0];
        config.readTag = origin[1].toLatin1();
    }
    CString detail;
    int mailBoxesUnchanged = 0;
    if (!WriteKeepingHistory(config, device, detail, mailBoxesUnchanged))
        throw DeviceFailure("mise à jour du périphérique ", device, detail);
    // The tag follows the device the file was applied to alone, or, in a fleet, the one it was
    // read from.
    if (!config.readFrom.IsEmpty() && (alone || origin.isEmpty() || origin[0] == config.readFrom))
        RememberOrigin(path, config);
    return config.unchangedMailBoxes;
}

// apply FILE.tms DEVICE...
void Apply(const QStringList& args)
{
    const CString path = args[0];
    CConfig config;
    LoadSettings(path, config);
    // As the console does: a record the device would refuse is not sent, to any device.
    RequireAccepted(config, path, stderr);
    const QByteArray bytes = serialformat::StoreToBytes(config);
    const QStringList named = args.mid(1);
    if (!IsFleet(named)) {
        if (named.isEmpty())
            throw std::invalid_argument("usage");
        const CStringArray unchanged = ApplyTo(path, bytes, named[0], true);
        for (INT_PTR i = 0; i < unchanged.GetSize(); ++i)
            Print(stdout, CString("Boîte aux lettres non modifiée (elle contient des documents) : ") + unchanged[i] + "\n");
        return;
    }
    RunFleet(FleetDevices(named), [&](const CString& device) {
        const CStringArray unchanged = ApplyTo(path, bytes, device, false);
        QStringList numbers;
        for (INT_PTR i = 0; i < unchanged.GetSize(); ++i)
            numbers << static_cast<const QString&>(unchanged[i]);
        return numbers.isEmpty() ? CString() : CString("boîtes aux lettres non modifiées (elles contiennent des documents) : ") + numbers.join(", ");
    });
}

// history DEVICE: the records kept before each apply, newest first, each with what the apply
// that followed it changed (the next kept record, or the device now for the newest).
void History(const QStringList& args)
{
    const CString device = args[0];
    const std::vector<history::Entry> kept = history::List(device);
    if (kept.empty()) {
        Print(stdout, CString("Aucun enregistrement conservé pour ") + Quoted(OneLine(device)) + ".\n");
        return;
    }
    auto next = std::make_unique<CConfig>();
    CString detail;
    const bool deviceRead = next->Read(device, detail);
    for (size_t i = 0; i < kept.size(); ++i) {
        auto record = std::make_unique<CConfig>();
        LoadSettings(kept[i].path, *record);
        Print(stdout, QString("%1  %2 UTC  %3\n").arg(i + 1).arg(kept[i].time.toString("yyyy-MM-dd HH:mm:ss"), kept[i].path));
        if (i == 0 && !deviceRead) {
            Print(stdout, CString("    (périphérique illisible : ") + OneLine(Detail(detail)) + ")\n");
        } else {
            const CStringArray lines = WordDifferences(DiffRecords(*record, *next));
            for (INT_PTR line = 0; line < lines.GetSize(); ++line)
                Print(stdout, CString("    ") + OneLine(lines[line]) + "\n");
            if (lines.IsEmpty())
                Print(stdout, CString("    (aucun changement)\n"));
        }
        next = std::move(record);
    }
}

// restore DEVICE N: the N-th record of history (1 the newest) applied back, itself an apply.
void Restore(const QStringList& args)
{
    bool isNumber = false;
    const qsizetype n = args[1].toLongLong(&isNumber);
    if (!isNumber)
        throw std::invalid_argument("usage");
    const std::vector<history::Entry> kept = history::List(args[0]);
    if (n < 1 || n > qsizetype(kept.size()))
        throw Failure{CString("pas d'enregistrement ") + args[1] + " dans l'historique de " + Quoted(args[0])
                      + " (history pour la liste)"};
    Apply({kept[size_t(n - 1)].path, args[0]});
}

void Dump(const QStringList& args)
{
    CConfig config;
    LoadSettings(args[0], config);
    std::fputs(QJsonDocument(RecordToJson(config)).toJson(QJsonDocument::Indented).constData(), stdout);
}

// load FILE.json OUT.tms: the inverse of dump. Nothing is written unless the whole text is a
// record the device would take.
void LoadJson(const QStringList& args)
{
    const QByteArray text = ReadFile(args[0], recordjson::maxTextBytes);
    CConfig config;
    RecordJsonReader reader;
    if (!reader.Read(text, config))
        throw Failure{CString("le fichier ") + Quoted(args[0]) + " n'est pas un enregistrement JSON valide : " + reader.error};
    std::vector<std::pair<QString, RecordFinding>> findings = reader.refused;
    for (const RecordFinding& finding : CheckRecord(config))
        findings.emplace_back(reader.PathOf(finding), finding);
    if (!findings.empty()) {
        for (const auto& [path, finding] : findings)
            Print(stderr, OneLine(CString(path) + " : " + WordProblem(finding)) + "\n");
        throw Failure{CString("le fichier ") + Quoted(args[0]) + " contient des valeurs que le périphérique refuserait"};
    }
    WriteFile(args[1], serialformat::StoreToBytes(config));
}

void Schema(const QStringList&)
{
    std::fputs(QJsonDocument(RecordJsonSchema()).toJson(QJsonDocument::Indented).constData(), stdout);
}

// One side of a comparison: a settings file (a file that is there, or a name ending in .tms),
// else a device as the other commands name it.
void LoadSide(const QString& side, CConfig& config)
{
    if (QFileInfo(side).isFile() || side.endsWith(".tms")) {
        LoadSettings(side, config);
        return;
    }
    CString detail;
    if (!config.Read(side, detail))
        throw DeviceFailure("lecture du périphérique ", side, detail);
}

QJsonArray DifferencesToJson(const std::vector<RecordDifference>& differences)
{
    static const char* const changes[] = {"changed", "added", "removed", "kept"};
    QJsonArray array;
    for (const RecordDifference& difference : differences) {
        QJsonObject json{{"section", difference.section},
                         {"change", changes[difference.change]},
                         {"line", static_cast<const QString&>(WordDifference(difference))}};
        if (*difference.field)
            json["field"] = difference.field;
        if (!difference.entry.IsEmpty())
            json["entry"] = static_cast<const QString&>(difference.entry);
        if (difference.index >= 0)
            json["index"] = difference.index;
        if (difference.secret)
            json["secret"] = true;
        else if (difference.change == RecordDifference::changed) {
            json["before"] = static_cast<const QString&>(difference.before);
            json["after"] = static_cast<const QString&>(difference.after);
        }
        array.append(json);
    }
    return array;
}

// diff A B [--json]: what applying B to a device holding A would change.
void Diff(const QStringList& given)
{
    QStringList args = given;
    const bool json = args.removeAll("--json") > 0;
    if (args.size() != 2)
        throw std::invalid_argument("usage");
    std::vector<RecordDifference> differences;
    try {
        CConfig before;
        LoadSide(args[0], before);
        CConfig after;
        LoadSide(args[1], after);
        differences = DiffRecords(before, after);
    } catch (Failure& failure) {
        failure.status = 2;
        throw;
    }
    if (json) {
        std::fputs(QJsonDocument(DifferencesToJson(differences)).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        const CStringArray lines = WordDifferences(differences);
        for (INT_PTR i = 0; i < lines.GetSize(); ++i)
            Print(stdout, OneLine(lines[i]) + "\n");
    }
    if (!differences.empty())
        throw Differ{};
}

// time DEVICE... | time --all
void Time(const QStringList& args)
{
    const auto setTime = [](const CString& device) {
        CString detail;
        if (!CConfig().SetDeviceTime(device, detail))
            throw DeviceFailure("réglage de l'horloge de ", device, detail);
        return CString();
    };
    if (!IsFleet(args)) {
        if (args.isEmpty())
            throw std::invalid_argument("usage");
        setTime(args[0]);
        return;
    }
    RunFleet(FleetDevices(args), setTime);
}

void Reset(const QStringList& args)
{
    CString detail;
    if (!CConfig().ResetDevice(args[0], detail))
        throw DeviceFailure("réinitialisation de ", args[0], detail);
}

// As the console does it, in one session: the settings read before the upgrade are written
// back after it.
void Firmware(const QStringList& args)
{
    // `progress`: a terminal where the step under way is shown, for an upgrade takes a while.
    const auto upgrade = [](const CString& device, const CString& file, FILE* progress) {
        FirmwareStep step = FirmwareStep::read;
        CString detail;
        const auto begins = [&](FirmwareStep next) {
            step = next;
            if (progress == nullptr)
                return;
            const char* const doing[] = {"lecture des paramètres", "mise à jour du micrologiciel",
                                         "réécriture des paramètres"};
            Print(progress, CString("\r\033[K") + OneLine(device) + " : " + doing[static_cast<int>(next)] + "...");
            std::fflush(progress);
        };
        const bool upgraded = UpgradeFirmwareKeepingSettings(device, file, detail, begins);
        if (progress != nullptr)
            Print(progress, CString("\r\033[K"));
        if (upgraded)
            return CString();
        const char* const failed[] = {"lecture du périphérique ", "mise à jour du micrologiciel de ",
                                      "mise à jour du périphérique "};
        throw DeviceFailure(failed[static_cast<int>(step)], device, detail);
    };
    FILE* const terminal = ::isatty(STDERR_FILENO) ? stderr : nullptr;
    // firmware DEVICE FILE, as ever; firmware FILE.bfw DEVICE... for many (or --all).
    if (!fleet.all && fleet.from.isEmpty() && args.size() == 2 && !args[0].endsWith(".bfw")) {
        upgrade(args[0], args[1], terminal);
        return;
    }
    const CString file = args[0];
    const QStringList named = args.mid(1);
    if (!IsFleet(named)) {
        if (named.isEmpty())
            throw std::invalid_argument("usage");
        upgrade(named[0], file, terminal);
        return;
    }
    // Many at once: the fleet's own line shows how far they are.
    RunFleet(FleetDevices(named), [&](const CString& device) { return upgrade(device, file, nullptr); });
}

void MakeFirmware(const QStringList& args)
{
    FirmwareImage firmware{args[0], args[1], {}};
    if (args.size() > 3) {
        firmware.image = ReadFile(args[3], firmware::maxImageBytes);
    } else {
        firmware.image = QString("Image d'essai du micrologiciel %1 pour %2\n").arg(args[1], args[0]).toUtf8().repeated(64);
    }
    QByteArray bytes;
    CString reason;
    if (!firmware::Build(firmware, bytes, reason))
        throw Failure{CString("fabrication du micrologiciel impossible : ") + reason};
    // A firmware file holds no secret and is made to be handed on.
    WriteFile(args[2], bytes, afx::NewFileAccess::byUmask);
}

void Check(const QStringList& args)
{
    CConfig config;
    LoadSettings(args[0], config);
    RequireAccepted(config, args[0], stdout);
}

contacts::Format ContactFormat(const QString& path, contacts::Format format)
{
    if (format == contacts::Format::none)
        throw Failure{CString("le format de ") + Quoted(path) + " n'est pas connu : .csv, .vcf ou .ldif"};
    return format;
}

// phonebook import FILE --into RECORD.tms [--dry-run]
void ImportContacts(const QStringList& args)
{
    const bool dryRun = args.size() == 4 && args[3] == "--dry-run";
    if (args[1] != "--into" || (args.size() == 4 && !dryRun))
        throw std::invalid_argument("usage");
    const contacts::Format format = ContactFormat(args[0], contacts::FormatOfPath(args[0]));
    const QByteArray bytes = ReadFile(args[0], contacts::maxFileBytes);
    CConfig config;
    LoadSettings(args[2], config);
    contacts::ImportPlan plan = contacts::PlanImport(config.phoneBook, contacts::Read(format, bytes));
    if (!plan.error.isEmpty())
        throw Failure{CString("le fichier ") + Quoted(args[0]) + " ne peut être importé : " + Detail(plan.error)};
    for (const contacts::ReportLine& line : plan.lines)
        Print(stdout, OneLine(line.Printed()) + "\n");
    Print(stdout, CString(plan.Summary()) + "\n");
    if (dryRun) {
        Print(stdout, CString("Rien n'est modifié (--dry-run).\n"));
        return;
    }
    if (!plan.Changes())
        return;
    config.phoneBook.TakeContents(*plan.result);
    WriteFile(args[2], serialformat::StoreToBytes(config));
}

// phonebook export RECORD.tms FILE --format csv|vcf|ldif
void ExportContacts(const QStringList& args)
{
    if (args[2] != "--format")
        throw std::invalid_argument("usage");
    const contacts::Format format = ContactFormat(args[3], contacts::FormatNamed(args[3]));
    CConfig config;
    LoadSettings(args[0], config);
    WriteFile(args[1], contacts::Write(format, config.phoneBook));
}

void PhoneBook(const QStringList& args)
{
    if (args[0] == "import" && args.size() >= 4)
        ImportContacts(args.mid(1));
    else if (args[0] == "export" && args.size() == 5)
        ExportContacts(args.mid(1));
    else
        throw std::invalid_argument("usage");
}

void Trust(const QStringList& args)
{
    network::Address address;
    CString name;
    if (!network::ParseName(args[0], address, name) && !network::ParseAddress(args[0], address))
        throw Failure{Quoted(args[0]) + " n'est pas un périphérique du réseau (\\\\HÔTE[:PORT]\\Nom)"};
    prompts.trusting = true;
    try {
        network::Trust(address);
    } catch (const DeviceError& error) {
        throw Failure{CString("approbation de ") + Quoted(args[0]) + " impossible : " + Detail(error.detail)};
    }
    Print(stdout, CString("Clé de ") + address.Text() + " approuvée.\n");
}

struct Command {
    const char* name;
    qsizetype minArgs;
    qsizetype maxArgs;
    std::function<void(const QStringList&)> run;
};

const Command commands[] = {
    {"devices", 0, 0, Devices},
    {"read", 1, 2, Read},
    {"apply", 1, 1000000, Apply},
    {"dump", 1, 1, Dump},
    {"load", 2, 2, LoadJson},
    {"schema", 0, 0, Schema},
    {"diff", 2, 3, Diff},
    {"history", 1, 1, History},
    {"restore", 2, 2, Restore},
    {"check", 1, 1, Check},
    {"time", 0, 1000000, Time},
    {"reset", 1, 1, Reset},
    {"firmware", 1, 1000000, Firmware},
    {"make-firmware", 3, 4, MakeFirmware},
    {"phonebook", 4, 5, PhoneBook},
    {"trust", 1, 1, Trust},
};

// The command line's work; main() adds the failure any step may meet, memory running out.
int Main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args;
    const QStringList given = app.arguments().mid(1);
    for (qsizetype i = 0; i < given.size(); ++i) {
        if (given[i] == "--force") {
            prompts.force = true;
        } else if (given[i] == "--all") {
            fleet.all = true;
        } else if (given[i] == "--from" && i + 1 < given.size()) {
            fleet.from = given[++i];
        } else if (given[i] == "-j" && i + 1 < given.size()) {
            bool isNumber = false;
            fleet.jobs = given[++i].toInt(&isNumber);
            if (!isNumber || fleet.jobs < 1 || fleet.jobs > 64)
                args << "-j mal formé";   // malformed
        } else if (given[i] == "--from" || given[i] == "-j") {
            args << "option sans valeur";   // malformed
        } else if (given[i] == "--password-file" && i + 1 < given.size()) {
            prompts.passwordFile = given[++i];
        } else if (given[i] == "--password-file") {
            args << "--password-file sans fichier";   // malformed
        } else {
            args << given[i];
        }
    }
    network::SetPrompts(&prompts);
    if (args.value(0) == "--help" || args.value(0) == "-h")
        return Print(stdout, CString(usage) + "Les périphériques émulés sont décrits par " + DeviceDataFolder()
                                 + "/devices.json (facultatif).\n");
    if (args.value(0) == "--version" && args.size() == 1)
        return Print(stdout, CString("tamselctl (Tamsel de Corvane) " TAMSEL_VERSION "\n"));
    for (const Command& command : commands) {
        if (args.value(0) != command.name)
            continue;
        const QStringList operands = args.mid(1);
        if (operands.size() < command.minArgs || operands.size() > command.maxArgs)
            break;
        try {
            command.run(operands);
            return 0;
        } catch (const Failure& failure) {
            Print(stderr, OneLine(CString("tamselctl : ") + failure.message + ".") + "\n");
            return failure.status;
        } catch (const Differ&) {
            return 1;
        } catch (const std::invalid_argument&) {
            break;         // a malformed command
        }
    }
    Print(stderr, CString("tamselctl : commande mal formée (tamselctl --help pour l'aide).\n"));
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    afx::ReportFileSizeLimitAsError();
    try {
        return Main(argc, argv);
    } catch (const std::bad_alloc&) {
        // Printed without allocating: there may be no memory for anything else.
        std::fputs(outOfMemory, stderr);
        return 1;
    }
}
