#include "device/lib/filestore.h"

#include <QSaveFile>

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

BOOL WriteFileAtomically(const CString& path, const QByteArray& bytes, CString& reason)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return TRUE;
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        reason = "accès refusé";
        break;
    case QFileDevice::OpenError:
        reason = "création impossible";
        break;
    case QFileDevice::RenameError:
        reason = "remplacement du fichier impossible";
        break;
    default:
        reason = "écriture impossible";
        break;
    }
    return FALSE;
}
