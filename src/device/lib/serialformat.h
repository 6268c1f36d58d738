// The pieces shared by the writers and readers of the record's serialised form. Reading
// failures throw CArchiveException: badClass for a stream that is not of the expected kind,
// badSchema for a schema this program does not know, badIndex for a value that breaks the
// record's rules, endOfFile for a stream cut short.
#pragma once

#include "afx/afx.h"

#include <QByteArray>

namespace serialformat {

// An object's serialised form in memory, and back.
QByteArray StoreToBytes(CObject& object);
void LoadFromBytes(CObject& object, const QByteArray& bytes);

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
