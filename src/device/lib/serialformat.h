// The pieces shared by the writers and readers of the record's serialised form. Reading
// failures throw CArchiveException: badClass for a stream that is not of the expected kind,
// badSchema for a schema this program does not know, badIndex for a value that breaks the
// record's rules, endOfFile for a stream cut short.
#pragma once

#include "afx/afx.h"

#include <QByteArray>

#include <functional>

namespace serialformat {

// The largest settings file, phone-book file or stored device memory that is read. The
// largest record a device holds is about 11 MB: every group dial (1999) holding every speed
// dial and one-touch key (5 bytes a member) is 10.4 MB, the 999 speed dials and 38 keys with
// long texts under 1 MB. Anything beyond this bound is no record of ours.
constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

// An object's serialised form in memory, and back.
QByteArray StoreToBytes(CObject& object);
void LoadFromBytes(CObject& object, const QByteArray& bytes);
// The same for a part of an object's form: what `write` writes, and `read` reading from the
// front of `bytes`, which returns how many bytes it took.
QByteArray WriteToBytes(const std::function<void(CArchive&)>& write);
qsizetype ReadFromFront(const QByteArray& bytes, const std::function<void(CArchive&)>& read);

// Writes a magic and a schema number in front of an object's data.
void WriteHeader(CArchive& ar, DWORD magic, DWORD schema);
// Reads them back; returns the schema, 1 to `newestSchema`.
DWORD ExpectHeader(CArchive& ar, DWORD magic, DWORD newestSchema);

// Throws a badIndex unless `rule` holds.
void Require(bool rule);

inline int ReadInt(CArchive& ar)
{
    int value = 0;
    ar >> value;
    return value;
}

} // namespace serialformat
