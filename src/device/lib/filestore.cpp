#include "device/lib/filestore.h"

#include <QSaveFile>

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
