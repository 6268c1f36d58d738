// tamselctl: the console's device operations and settings files, for scripts and fleets.
#include "recordjson.h"

#include "device/lib/config.h"
#include "device/lib/devicelist.h"
#include "device/lib/devices.h"
#include "device/lib/filestore.h"
#include "device/lib/serialformat.h"
#include "device/lib/firmware.h"
#include "recordwording/recordwording.h"
#include "version.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cstdio>
#include <functional>
#include <new>

namespace {

const char* const usage =
    "Usage : tamselctl COMMANDE [ARGUMENTS]\n"
    "\n"
    "  devices                        liste les périphériques, un par ligne\n"
    "  read PÉRIPHÉRIQUE FICHIER.tms  enregistre la configuration du périphérique dans le fichier\n"
    "  apply FICHIER.tms PÉRIPHÉRIQUE applique le fichier au périphérique et nomme les boîtes\n"
    "                                 aux lettres laissées telles quelles (elles contiennent\n"
    "                                 des documents) ; un fichier aux valeurs que le\n"
    "                                 périphérique refuserait n'est pas envoyé (valeurs\n"
    "                                 nommées sur la sortie d'erreur, comme par check)\n"
    "  dump FICHIER.tms               affiche tout le fichier en JSON\n"
    "  check FICHIER.tms              nomme, une par ligne, les valeurs du fichier que le\n"
    "                                 périphérique refuserait (page et champ de la console)\n"
    "  time PÉRIPHÉRIQUE              règle l'horloge du périphérique sur celle de l'ordinateur\n"
    "  reset PÉRIPHÉRIQUE             ramène le périphérique aux valeurs d'usine\n"
    "  firmware PÉRIPHÉRIQUE FICHIER.bfw\n"
    "                                 met à jour le micrologiciel ; les paramètres du\n"
    "                                 périphérique lui sont réécrits ensuite\n"
    "  make-firmware MODÈLE VERSION SORTIE.bfw [IMAGE]\n"
    "                                 fabrique un fichier de micrologiciel pour le modèle\n"
    "                                 (« Brevia Pro 45 ») à partir de l'image, ou d'une image\n"
    "                                 d'essai\n"
    "  --help                         affiche cette aide\n"
    "  --version                      affiche la version\n"
    "\n"
    "Les fichiers sont écrits d'un bloc : un échec laisse le fichier existant intact.\n"
    "Code de sortie : 0 succès, 1 échec (message sur la sortie d'erreur ; pour check, des valeurs\n"
    "refusées), 2 commande mal formée.\n";

const char* const outOfMemory = "tamselctl : mémoire insuffisante.\n";

// A failed command: its message for standard error, written on one line (OneLine).
struct Failure {
    CString message;
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

void WriteFile(const CString& path, const QByteArray& bytes)
{
    CString reason;
    if (!WriteFileAtomically(path, bytes, reason))
        throw Failure{CString("écriture de ") + Quoted(path) + " impossible : " + reason};
}

// An operation on the device that failed, named as "lecture du périphérique ".
Failure DeviceFailure(const char* operation, const CString& device, const CString& detail)
{
    return Failure{CString(operation) + Quoted(device) + " impossible : " + Detail(detail)};
}

void Devices(const QStringList&)
{
    CStringList devices;
    CString detail;
    if (!GetDevices(devices, detail))
        throw Failure{CString("liste des périphériques indisponible : ") + Detail(detail)};
    for (POSITION pos = devices.GetHeadPosition(); pos != nullptr;)
        Print(stdout, devices.GetNext(pos) + "\n");
}

void Read(const QStringList& args)
{
    CConfig config;
    CString detail;
    if (!config.Read(args[0], detail))
        throw DeviceFailure("lecture du périphérique ", args[0], detail);
    WriteFile(args[1], serialformat::StoreToBytes(config));
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

void Apply(const QStringList& args)
{
    CConfig config;
    LoadSettings(args[0], config);
    // As the console does: a record the device would refuse is not sent.
    RequireAccepted(config, args[0], stderr);
    CString detail;
    int mailBoxesUnchanged = 0;
    if (!config.Write(args[1], detail, mailBoxesUnchanged))
        throw DeviceFailure("mise à jour du périphérique ", args[1], detail);
    for (INT_PTR i = 0; i < config.unchangedMailBoxes.GetSize(); ++i)
        Print(stdout, CString("Boîte aux lettres non modifiée (elle contient des documents) : ")
                          + config.unchangedMailBoxes[i] + "\n");
}

void Dump(const QStringList& args)
{
    CConfig config;
    LoadSettings(args[0], config);
    std::fputs(QJsonDocument(RecordToJson(config)).toJson(QJsonDocument::Indented).constData(), stdout);
}

void Time(const QStringList& args)
{
    CString detail;
    if (!CConfig().SetDeviceTime(args[0], detail))
        throw DeviceFailure("réglage de l'horloge de ", args[0], detail);
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
    const CString device = args[0];
    FirmwareStep step = FirmwareStep::read;
    CString detail;
    if (UpgradeFirmwareKeepingSettings(device, args[1], detail, [&](FirmwareStep next) { step = next; }))
        return;
    const char* const failed[] = {"lecture du périphérique ", "mise à jour du micrologiciel de ",
                                  "mise à jour du périphérique "};
    throw DeviceFailure(failed[static_cast<int>(step)], device, detail);
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
    WriteFile(args[2], bytes);
}

void Check(const QStringList& args)
{
    CConfig config;
    LoadSettings(args[0], config);
    RequireAccepted(config, args[0], stdout);
}

struct Command {
    const char* name;
    qsizetype minArgs;
    qsizetype maxArgs;
    std::function<void(const QStringList&)> run;
};

const Command commands[] = {
    {"devices", 0, 0, Devices},
    {"read", 2, 2, Read},
    {"apply", 2, 2, Apply},
    {"dump", 1, 1, Dump},
    {"check", 1, 1, Check},
    {"time", 1, 1, Time},
    {"reset", 1, 1, Reset},
    {"firmware", 2, 2, Firmware},
    {"make-firmware", 3, 4, MakeFirmware},
};

// The command line's work; main() adds the failure any step may meet, memory running out.
int Main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
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
            return 1;
        }
    }
    Print(stderr, CString("tamselctl : commande mal formée (tamselctl --help pour l'aide).\n"));
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Main(argc, argv);
    } catch (const std::bad_alloc&) {
        // Printed without allocating: there may be no memory for anything else.
        std::fputs(outOfMemory, stderr);
        return 1;
    }
}
