// The agent's store folder: what it serves and how it proves who it is.
//
//   devices.json        the devices served (devicelist.h); written at first start with one
//                       device, "Brevia Pro 45", and no pace
//   devices/<file>.dev  each device's memory; <file>.pass its administrator password's hash
//   agent-key.pem       the TLS key, made at first start
//   agent-cert.pem      its self-signed certificate
//
// The folder and everything the agent writes in it are its owner's alone (0700, 0600).
#pragma once

#include "device/lib/devicelist.h"

#include <QByteArray>
#include <QString>

namespace agentstore {

// Makes the folder when it is missing and names it as the device library's store. FALSE with
// a French reason when it cannot be used.
bool Open(const QString& folder, QString& reason);

// The devices to serve; FALSE with the reason when the list is wrong. A served device's name
// has no backslash: the network name is made by the client from the address.
bool Devices(DeviceList& list, QString& reason);

// The stored hash of the device's administrator password; empty when none is set.
QByteArray PasswordHash(const CString& device);
// Stores the password's hash. FALSE with the reason on failure (the old one stays).
bool SetPassword(const CString& device, const QString& password, QString& reason);

// The TLS key and certificate (PEM), made and stored at first start.
bool Identity(QByteArray& keyPem, QByteArray& certificatePem, QString& reason);

// Writes a file only its owner reads, in one step.
bool WriteSecret(const QString& path, const QByteArray& bytes, QString& reason);

} // namespace agentstore
