#include "device/lib/keypin.h"

#include <QCryptographicHash>

#include <gnutls/abstract.h>
#include <gnutls/x509.h>

namespace keypin {

QByteArray PublicKeySha256(const QByteArray& certificatePem)
{
    gnutls_x509_crt_t certificate = nullptr;
    gnutls_pubkey_t key = nullptr;
    gnutls_datum_t der{nullptr, 0};
    QByteArray sha;
    const gnutls_datum_t pem{reinterpret_cast<unsigned char*>(const_cast<char*>(certificatePem.constData())),
                             static_cast<unsigned>(certificatePem.size())};
    if (gnutls_x509_crt_init(&certificate) == 0 && gnutls_x509_crt_import(certificate, &pem, GNUTLS_X509_FMT_PEM) == 0
        && gnutls_pubkey_init(&key) == 0 && gnutls_pubkey_import_x509(key, certificate, 0) == 0
        && gnutls_pubkey_export2(key, GNUTLS_X509_FMT_DER, &der) == 0) {
        sha = QCryptographicHash::hash(QByteArray(reinterpret_cast<const char*>(der.data), der.size),
                                       QCryptographicHash::Sha256);
    }
    gnutls_free(der.data);
    if (key != nullptr)
        gnutls_pubkey_deinit(key);
    if (certificate != nullptr)
        gnutls_x509_crt_deinit(certificate);
    return sha;
}

QString FingerprintText(const QByteArray& sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

QByteArray CurlPin(const QByteArray& sha256)
{
    return "sha256//" + sha256.toBase64();
}

} // namespace keypin
