// Passwords kept as salted yescrypt hashes (libcrypt): the console's own and each network
// device's administrator password.
#pragma once

#include <QByteArray>
#include <QString>

namespace passwordhash {

// The hashes this library writes begin so.
inline constexpr char kPrefix[] = "$y$";

// A fresh salted hash of the password; empty when libcrypt refuses.
QByteArray Hash(const QString& password);
// TRUE when `hash` is the hash of `password`; an empty or malformed hash matches nothing.
bool Matches(const QString& password, const QByteArray& hash);
// Takes as long whatever the first differing byte.
bool SameBytes(const QByteArray& a, const QByteArray& b);

} // namespace passwordhash
