#include "device/lib/serialformat.h"

namespace serialformat {

void WriteHeader(CArchive& ar, DWORD magic, DWORD schema)
{
    ar << magic << schema;
}

DWORD ExpectHeader(CArchive& ar, DWORD magic, DWORD newestSchema)
{
    DWORD readMagic = 0;
    DWORD schema = 0;
    ar >> readMagic;
    if (readMagic != magic)
        AfxThrowArchiveException(CArchiveException::badClass);
    ar >> schema;
    if (schema == 0 || schema > newestSchema)
        AfxThrowArchiveException(CArchiveException::badSchema);
    return schema;
}

void Require(bool rule)
{
    if (!rule)
        AfxThrowArchiveException(CArchiveException::badIndex);
}

} // namespace serialformat
