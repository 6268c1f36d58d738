#include "device/lib/passwordhash.h"

#include <crypt.h>

#include <memory>

namespace {

// libcrypt's result for the phrase and a setting or stored hash; empty when it refuses them.
QByteArray Crypt(const QString& phrase, const QByteArray& setting)
{
    // Its working area is some 32 KB: on the heap, zeroed.
    const auto work = std::make_unique<crypt_data>();
    const char* result = crypt_r(phrase.toUtf8().constData(), setting.constData(), work.get());
    if (!result || result[0] == '*')
        return QByteArray();
    return QByteArray(result);
}

} // namespace

namespace passwordhash {

QByteArray Hash(const QString& password)
{
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    if (!crypt_gensalt_rn(kPrefix, 0, nullptr, 0, setting, sizeof setting))
        return QByteArray();
    return Crypt(password, setting);
}

bool Matches(const QString& password, const QByteArray& hash)
{
    if (!hash.startsWith(kPrefix))
        return false;
    const QByteArray computed = Crypt(password, hash);
    return !computed.isEmpty() && SameBytes(computed, hash);
}

bool SameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace passwordhash
