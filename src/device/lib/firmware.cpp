#include "device/lib/firmware.h"

#include "device/lib/filestore.h"

#include <QList>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace firmware {

namespace {

const QByteArray magic("BFW\x1A", 4);
constexpr quint16 formatVersion = 1;
constexpr int modelOffset = 8;
constexpr int versionOffset = modelOffset + modelBytes;
constexpr int lengthOffset = versionOffset + versionBytes;
constexpr int crcOffset = lengthOffset + 4;
static_assert(crcOffset + 4 == headerSize);

const std::array<DWORD, 256>& CrcTable()
{
    static const std::array<DWORD, 256> table = [] {
        std::array<DWORD, 256> entries{};
        for (DWORD n = 0; n < 256; ++n) {
            DWORD c = n;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    return table;
}

// No control or other unprintable character: a field is shown to the user as it stands.
bool IsPrintable(const QString& text)
{
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint c) { return QChar::isPrint(char32_t(c)); });
}

// A zero-padded text field, named ("le modèle") in the reason when it cannot be written.
BOOL PutText(QByteArray& header, int offset, int size, const CString& text, const char* name, CString& reason)
{
    const QByteArray utf8 = static_cast<const QString&>(text).toUtf8();
    if (!IsPrintable(text)) {
        reason.Format("%s ne doit compter que des caractères imprimables", name);
        return FALSE;
    }
    if (utf8.isEmpty() || utf8.size() > size) {
        reason.Format("%s doit compter de 1 à %d octets", name, size);
        return FALSE;
    }
    header.replace(offset, utf8.size(), utf8);
    return TRUE;
}

// A zero-padded text field; FALSE when it is not printable UTF-8 or holds more after its end.
BOOL TakeText(const QByteArray& header, int offset, int size, CString& text)
{
    const QByteArray field = header.mid(offset, size);
    const qsizetype end = field.contains('\0') ? field.indexOf('\0') : field.size();
    if (field.count('\0') != field.size() - end || !QByteArrayView(field.left(end)).isValidUtf8())
        return FALSE;
    const QString decoded = QString::fromUtf8(field.left(end));
    if (!IsPrintable(decoded))
        return FALSE;
    text = decoded;
    return TRUE;
}

template <class T>
T Number(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

} // namespace

DWORD Crc32(const QByteArray& bytes)
{
    const auto& table = CrcTable();
    DWORD crc = 0xFFFFFFFFu;
    for (char byte : bytes)
        crc = table[(crc ^ static_cast<BYTE>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

BOOL Build(const FirmwareImage& firmware, QByteArray& bytes, CString& reason)
{
    QByteArray header(headerSize, '\0');
    header.replace(0, magic.size(), magic);
    qToLittleEndian<quint16>(formatVersion, header.data() + 4);
    qToLittleEndian<quint16>(headerSize, header.data() + 6);
    if (!PutText(header, modelOffset, modelBytes, firmware.model, "le modèle", reason)
        || !PutText(header, versionOffset, versionBytes, firmware.version, "la version", reason))
        return FALSE;
    if (firmware.image.size() > maxImageBytes) {
        reason = "image trop volumineuse";
        return FALSE;
    }
    qToLittleEndian<quint32>(static_cast<quint32>(firmware.image.size()), header.data() + lengthOffset);
    qToLittleEndian<quint32>(Crc32(firmware.image), header.data() + crcOffset);
    bytes = header + firmware.image;
    return TRUE;
}

FirmwareImage Read(const CString& path)
{
    QByteArray bytes;
    try {
        bytes = afx::ReadWholeFile(path, headerSize + maxImageBytes);
    } catch (const CFileException& e) {
        throw InvalidFile{ReadFailure(e)};
    }
    if (!magic.startsWith(bytes.left(magic.size())))
        throw InvalidFile{"ce n'est pas un fichier de micrologiciel"};
    if (bytes.size() < headerSize)
        throw InvalidFile{"fichier tronqué"};
    if (const auto version = Number<quint16>(bytes, 4); version != formatVersion) {
        CString reason;
        reason.Format("version de format %u non prise en charge", unsigned(version));
        throw InvalidFile{reason};
    }
    if (Number<quint16>(bytes, 6) != headerSize)
        throw InvalidFile{"en-tête incorrect"};
    FirmwareImage loaded;
    if (!TakeText(bytes, modelOffset, modelBytes, loaded.model))
        throw InvalidFile{"le modèle n'est pas un texte imprimable"};
    if (!TakeText(bytes, versionOffset, versionBytes, loaded.version))
        throw InvalidFile{"la version n'est pas un texte imprimable"};
    if (loaded.model.IsEmpty() || loaded.version.IsEmpty())
        throw InvalidFile{"en-tête incorrect"};
    const qint64 imageLength = Number<quint32>(bytes, lengthOffset);
    if (bytes.size() < headerSize + imageLength)
        throw InvalidFile{"fichier tronqué"};
    if (bytes.size() > headerSize + imageLength)
        throw InvalidFile{"données en trop après l'image"};
    loaded.image = bytes.mid(headerSize);
    if (Crc32(loaded.image) != Number<quint32>(bytes, crcOffset))
        throw InvalidFile{"somme de contrôle incorrecte"};
    return loaded;
}

} // namespace firmware
