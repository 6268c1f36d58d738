#include "agent/agentstore.h"

#include "afx/core/file.h"
#include "device/lib/filestore.h"
#include "device/lib/passwordhash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <gnutls/x509.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

namespace {

constexpr qint64 maxSecretBytes = 64 * 1024;
const char* const keyFile = "agent-key.pem";
const char* const certificateFile = "agent-cert.pem";

const char* const firstDeviceList =
    "{\n"
    "  \"stepDelayMs\": 0,\n"
    "  \"devices\": [{\"name\": \"Brevia Pro 45\", \"model\": \"Brevia Pro 45\", \"trays\": 2,\n"
    "                \"firmwareVersion\": \"2.14\"}]\n"
    "}\n";

QString StorePath(const char* name)
{
    return DeviceDataFolder() + "/" + name;
}

bool ReadSecret(const QString& path, QByteArray& bytes)
{
    CString reason;
    return ReadFileWhole(path, maxSecretBytes, bytes, reason);
}

QByteArray Datum(const gnutls_datum_t& datum)
{
    return QByteArray(reinterpret_cast<const char*>(datum.data), static_cast<qsizetype>(datum.size));
}

// A new ECDSA P-256 key and its self-signed certificate, named after this host.
bool MakeIdentity(QByteArray& keyPem, QByteArray& certificatePem)
{
    gnutls_x509_privkey_t key = nullptr;
    gnutls_x509_crt_t certificate = nullptr;
    gnutls_datum_t keyOut{nullptr, 0}, certificateOut{nullptr, 0};
    char host[65] = {};
    const QByteArray name = ::gethostname(host, sizeof host - 1) == 0 && host[0] != 0 ? QByteArray(host) : "tamsel-agent";
    quint32 serial[4];
    QRandomGenerator::system()->fillRange(serial);
    serial[0] &= 0x7fffffff;   // a positive number
    const time_t now = std::time(nullptr);
    const bool made =
        gnutls_x509_privkey_init(&key) == 0
        && gnutls_x509_privkey_generate(key, GNUTLS_PK_ECDSA, GNUTLS_CURVE_TO_BITS(GNUTLS_ECC_CURVE_SECP256R1), 0) == 0
        && gnutls_x509_crt_init(&certificate) == 0 && gnutls_x509_crt_set_version(certificate, 3) == 0
        && gnutls_x509_crt_set_serial(certificate, serial, sizeof serial) == 0
        && gnutls_x509_crt_set_activation_time(certificate, now - 3600) == 0
        && gnutls_x509_crt_set_expiration_time(certificate, now + time_t(20) * 365 * 24 * 3600) == 0
        && gnutls_x509_crt_set_dn_by_oid(certificate, GNUTLS_OID_X520_COMMON_NAME, 0, name.constData(),
                                         static_cast<unsigned>(name.size())) == 0
        && gnutls_x509_crt_set_key(certificate, key) == 0
        && gnutls_x509_crt_set_basic_constraints(certificate, 0, -1) == 0
        && gnutls_x509_crt_set_key_usage(certificate, GNUTLS_KEY_DIGITAL_SIGNATURE) == 0
        && gnutls_x509_crt_sign2(certificate, certificate, key, GNUTLS_DIG_SHA256, 0) == 0
        && gnutls_x509_privkey_export2(key, GNUTLS_X509_FMT_PEM, &keyOut) == 0
        && gnutls_x509_crt_export2(certificate, GNUTLS_X509_FMT_PEM, &certificateOut) == 0;
    if (made) {
        keyPem = Datum(keyOut);
        certificatePem = Datum(certificateOut);
    }
    gnutls_free(keyOut.data);
    gnutls_free(certificateOut.data);
    if (certificate != nullptr)
        gnutls_x509_crt_deinit(certificate);
    if (key != nullptr)
        gnutls_x509_privkey_deinit(key);
    return made;
}

} // namespace

namespace agentstore {

bool Open(const QString& folder, QString& reason)
{
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (!QFileInfo::exists(absolute) && !QDir().mkpath(absolute)) {
        reason = QString("impossible de créer le dossier du dépôt « %1 »").arg(absolute);
        return false;
    }
    if (!QFileInfo(absolute).isDir()) {
        reason = QString("« %1 » n'est pas un dossier").arg(absolute);
        return false;
    }
    ::chmod(QFile::encodeName(absolute).constData(), 0700);
    SetDeviceStoreFolder(absolute);
    QDir().mkpath(absolute + "/devices");
    const QString list = StorePath("devices.json");
    if (!QFileInfo::exists(list)) {
        CString why;
        if (!WriteFileAtomically(list, firstDeviceList, why)) {
            reason = QString("écriture de « %1 » impossible : %2").arg(list, static_cast<const QString&>(why));
            return false;
        }
    }
    return true;
}

bool Devices(DeviceList& list, QString& reason)
{
    CString detail;
    if (!LoadDeviceList(list, detail)) {
        reason = detail;
        return false;
    }
    for (const DeviceDefinition& device : list.devices) {
        if (static_cast<const QString&>(device.name).contains('\\')) {
            reason = QString("le nom « %1 » contient une barre oblique inverse ; un périphérique servi par l'agent "
                             "porte un nom simple")
                         .arg(static_cast<const QString&>(device.name));
            return false;
        }
    }
    if (list.devices.isEmpty()) {
        reason = "la liste des périphériques du dépôt est vide";
        return false;
    }
    return true;
}

QByteArray PasswordHash(const CString& device)
{
    QByteArray hash;
    if (!ReadSecret(DeviceFilePath(device, "pass"), hash))
        return QByteArray();
    return hash.trimmed();
}

bool SetPassword(const CString& device, const QString& password, QString& reason)
{
    const QByteArray hash = passwordhash::Hash(password);
    if (hash.isEmpty()) {
        reason = "le calcul de l'empreinte du mot de passe a échoué";
        return false;
    }
    return WriteSecret(DeviceFilePath(device, "pass"), hash + "\n", reason);
}

bool Identity(QByteArray& keyPem, QByteArray& certificatePem, QString& reason)
{
    const QString keyPath = StorePath(keyFile), certificatePath = StorePath(certificateFile);
    if (QFileInfo::exists(keyPath) || QFileInfo::exists(certificatePath)) {
        if (ReadSecret(keyPath, keyPem) && ReadSecret(certificatePath, certificatePem))
            return true;
        reason = QString("la clé (%1) ou le certificat (%2) est illisible").arg(keyPath, certificatePath);
        return false;
    }
    if (!MakeIdentity(keyPem, certificatePem)) {
        reason = "la fabrication de la clé et du certificat a échoué";
        return false;
    }
    // The certificate last: a key without it is made again at the next start.
    return WriteSecret(keyPath, keyPem, reason) && WriteSecret(certificatePath, certificatePem, reason);
}

bool WriteSecret(const QString& path, const QByteArray& bytes, QString& reason)
{
    // The file exists with its mode before it is replaced: the replacement keeps the mode.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    const bool moded = descriptor >= 0 && ::fchmod(descriptor, 0600) == 0;
    if (descriptor >= 0)
        ::close(descriptor);
    CString why = "création impossible";
    if (!moded || !WriteFileAtomically(path, bytes, why)) {
        reason = QString("écriture de « %1 » impossible : %2").arg(path, static_cast<const QString&>(why));
        return false;
    }
    return true;
}

} // namespace agentstore
