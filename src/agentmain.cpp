// tamsel-agent: serves the emulated devices of its store over HTTPS, each on a port of its own.
#include "afx/core/file.h"
#include "agent/agentstore.h"
#include "agent/announce.h"
#include "agent/httpserver.h"
#include "device/lib/keypin.h"
#include "version.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <list>
#include <memory>
#include <new>
#include <netinet/in.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int defaultPort = 9431;
const char* const defaultStore = "/var/lib/tamsel-agent";
// A password longer than this is not typed.
constexpr int maxPasswordBytes = 1024;

const char* const usage =
    "Usage : tamsel-agent [--listen ADRESSE:PORT] [--store DOSSIER] [--timeout SECONDES]\n"
    "        tamsel-agent passwd PÉRIPHÉRIQUE [--store DOSSIER]\n"
    "\n"
    "Sert les périphériques Brevia émulés du dépôt en HTTPS, chacun sur son port : le premier\n"
    "périphérique de la liste sur PORT, le suivant sur PORT+1, etc.\n"
    "\n"
    "  --listen ADRESSE:PORT   adresse d'écoute (par défaut 0.0.0.0:9431 ; [::]:PORT pour IPv6 ;\n"
    "                          port 0 : des ports libres choisis par le système)\n"
    "  --store DOSSIER         dossier du dépôt (par défaut $STATE_DIRECTORY, sinon\n"
    "                          /var/lib/tamsel-agent) : devices.json, mémoire et mot de passe de\n"
    "                          chaque périphérique, clé et certificat TLS créés au premier démarrage\n"
    "  --timeout SECONDES      une connexion inactive aussi longtemps est fermée (par défaut 15)\n"
    "  passwd PÉRIPHÉRIQUE     définit le mot de passe d'administrateur du périphérique, lu sur\n"
    "                          l'entrée standard (jamais sur la ligne de commande)\n"
    "  --help                  affiche cette aide\n"
    "  --version               affiche la version\n"
    "\n"
    "Une ligne par requête sur la sortie d'erreur. Code de sortie : 0 arrêt demandé (SIGTERM,\n"
    "SIGINT), 1 échec, 2 commande mal formée.\n";

int Fail(const QString& message, int code = 1)
{
    std::fprintf(stderr, "tamsel-agent : %s\n", message.toUtf8().constData());
    return code;
}

// One line of standard input, without echo when it is a terminal.
bool ReadSecretLine(const char* prompt, QByteArray& line)
{
    const bool terminal = ::isatty(STDIN_FILENO) != 0;
    termios saved{};
    if (terminal) {
        std::fputs(prompt, stderr);
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    line.clear();
    bool ended = false;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c == '\n') {
            ended = true;
            break;
        }
        if (line.size() >= maxPasswordBytes)
            return false;
        line.append(static_cast<char>(c));
    }
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return ended || !line.isEmpty();
}

int SetPassword(const QString& device)
{
    DeviceList list;
    QString reason;
    if (!agentstore::Devices(list, reason))
        return Fail(reason);
    if (list.Find(device) == nullptr)
        return Fail(QString("le dépôt n'a pas de périphérique « %1 »").arg(device));
    QByteArray password, again;
    if (!ReadSecretLine("Nouveau mot de passe : ", password))
        return Fail("mot de passe illisible sur l'entrée standard (une ligne de 1024 octets au plus)");
    if (password.isEmpty())
        return Fail("le mot de passe est vide");
    if (::isatty(STDIN_FILENO) && (!ReadSecretLine("Confirmez le mot de passe : ", again) || again != password))
        return Fail("les deux mots de passe diffèrent");
    if (!agentstore::SetPassword(device, QString::fromUtf8(password), reason))
        return Fail(reason);
    std::fprintf(stderr, "tamsel-agent : mot de passe de « %s » défini.\n", device.toUtf8().constData());
    return 0;
}

int Serve(const QString& listen, const agent::ServerLimits& limits)
{
    sockaddr_storage address{};
    QString reason;
    if (!agent::ParseListenAddress(listen, address, reason))
        return Fail(reason, 2);
    DeviceList list;
    QByteArray key, certificate;
    if (!agentstore::Devices(list, reason) || !agentstore::Identity(key, certificate, reason))
        return Fail(reason);

    // The stopSignals are waited for here; every thread started from now on leaves them to it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    AttemptLimiter limiter;
    std::list<agent::DeviceService> services;
    std::list<std::unique_ptr<agent::HttpServer>> servers;
    const QString fingerprint = keypin::FingerprintText(keypin::PublicKeySha256(certificate));
    auto* port = address.ss_family == AF_INET6 ? &reinterpret_cast<sockaddr_in6&>(address).sin6_port
                                               : &reinterpret_cast<sockaddr_in&>(address).sin_port;
    const int firstPort = ntohs(*port);
    QList<agent::Announcer::Device> announced;
    for (int index = 0; index < list.devices.size(); ++index) {
        if (firstPort != 0 && firstPort + index > 65535)
            return Fail("trop de périphériques pour les ports qui suivent le premier");
        *port = htons(static_cast<uint16_t>(firstPort == 0 ? 0 : firstPort + index));
        agent::DeviceService& service = services.emplace_back(list.devices[index], limiter);
        auto& server = servers.emplace_back(std::make_unique<agent::HttpServer>(service, key, certificate, limits));
        if (!server->Start(address, reason))
            return Fail(reason);
        *port = htons(server->Port());
        announced.append({list.devices[index].name, server->Port()});
        agent::LogLineOut(QString("tamsel-agent : « %1 » sur https://%2/ (empreinte SHA-256 de la clé : %3)")
                              .arg(static_cast<const QString&>(list.devices[index].name),
                                   agent::AddressText(reinterpret_cast<const sockaddr*>(&address)), fingerprint));
    }
    auto announcer = std::make_unique<agent::Announcer>(address, announced);
    int caught = 0;
    sigwait(&stopSignals, &caught);
    agent::LogLineOut("tamsel-agent : arrêt.");
    // Withdrawn first, so that nobody is sent to a device that no longer answers.
    announcer.reset();
    servers.clear();
    return 0;
}

int Main(int argc, char** argv)
{
    // Everything the agent writes is its owner's alone.
    ::umask(077);
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains("--help") || args.contains("-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (args == QStringList{"--version"}) {
        std::puts("tamsel-agent (Tamsel de Corvane) " TAMSEL_VERSION);
        return 0;
    }
    QString listen = QString("0.0.0.0:%1").arg(defaultPort);
    QString store = qEnvironmentVariable("STATE_DIRECTORY", defaultStore).section(':', 0, 0);
    agent::ServerLimits limits;
    QStringList operands;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool valued = arg == "--listen" || arg == "--store" || arg == "--timeout";
        if (valued && i + 1 >= args.size())
            return Fail(QString("%1 demande une valeur (tamsel-agent --help pour l'aide)").arg(arg), 2);
        if (arg == "--listen") {
            listen = args[++i];
        } else if (arg == "--store") {
            store = args[++i];
        } else if (arg == "--timeout") {
            bool valid = false;
            limits.idleSeconds = args[++i].toInt(&valid);
            if (!valid || limits.idleSeconds < 1 || limits.idleSeconds > 3600)
                return Fail("--timeout demande un nombre de secondes de 1 à 3600", 2);
        } else if (arg.startsWith("-")) {
            return Fail(QString("option inconnue « %1 » (tamsel-agent --help pour l'aide)").arg(arg), 2);
        } else {
            operands << arg;
        }
    }
    const bool passwd = operands.size() == 2 && operands[0] == "passwd";
    if (!operands.isEmpty() && !passwd)
        return Fail("commande mal formée (tamsel-agent --help pour l'aide)", 2);
    QString reason;
    if (!agentstore::Open(store, reason))
        return Fail(reason);
    return passwd ? SetPassword(operands[1]) : Serve(listen, limits);
}

} // namespace

int main(int argc, char** argv)
{
    afx::ReportFileSizeLimitAsError();
    try {
        return Main(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("tamsel-agent : mémoire insuffisante.\n", stderr);
        return 1;
    }
}
