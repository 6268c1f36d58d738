// A TLS certificate's public key as the network devices' trust pins it: the SHA-256 of its
// SubjectPublicKeyInfo, as libcurl's CURLOPT_PINNEDPUBLICKEY takes it ("sha256//BASE64").
#pragma once

#include <QByteArray>
#include <QString>

namespace keypin {

// The SHA-256 of the public key of a PEM certificate; empty when it cannot be read.
QByteArray PublicKeySha256(const QByteArray& certificatePem);
// "AB:CD:…", as the user compares it.
QString FingerprintText(const QByteArray& sha256);
// "sha256//…", for CURLOPT_PINNEDPUBLICKEY.
QByteArray CurlPin(const QByteArray& sha256);

} // namespace keypin
