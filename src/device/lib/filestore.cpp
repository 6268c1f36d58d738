#include "device/lib/filestore.h"

#include <cerrno>

CString ReadFailure(const CFileException& e)
{
    switch (e.m_cause) {
    case CFileException::fileNotFound:
    case CFileException::badPath:
        return "fichier introuvable";
    case CFileException::invalidFile:
        return e.m_lOsError == EFBIG ? "fichier trop volumineux" : "ce n'est pas un fichier ordinaire";
    default:
        return "fichier illisible";
    }
}

CString WriteFailure(const CFileException& e)
{
    switch (e.m_cause) {
    case CFileException::invalidFile:
        return "ce n'est pas un fichier ordinaire";
    case CFileException::accessDenied:
        return "accès refusé";
    case CFileException::fileNotFound:
    case CFileException::badPath:
        return "création impossible";
    case CFileException::diskFull:
        return e.m_lOsError == EFBIG ? "fichier trop volumineux" : "disque plein";
    default:
        return "écriture impossible";
    }
}

BOOL ReadFileWhole(const CString& path, qint64 maxBytes, QByteArray& bytes, CString& reason)
{
    try {
        bytes = afx::ReadWholeFile(path, maxBytes);
        return TRUE;
    } catch (const CFileException& e) {
        reason = ReadFailure(e);
        return FALSE;
    }
}

BOOL WriteFileAtomically(const CString& path, const QByteArray& bytes, CString& reason, afx::NewFileAccess access)
{
    try {
        afx::ReplaceFile(path, bytes, access);
        return TRUE;
    } catch (const CFileException& e) {
        reason = WriteFailure(e);
        return FALSE;
    }
}
