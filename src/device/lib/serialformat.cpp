#include "device/lib/serialformat.h"

namespace serialformat {

QByteArray StoreToBytes(CObject& object)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    QByteArray bytes(static_cast<qsizetype>(file.GetLength()), Qt::Uninitialized);
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

void LoadFromBytes(CObject& object, const QByteArray& bytes)
{
    CMemFile file;
    file.Write(bytes.constData(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

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
