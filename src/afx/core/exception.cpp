#include "afx/core/exception.h"

#include <cerrno>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)

int CFileException::ErrnoToException(int error)
{
    switch (error) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBADF:   // reading a file opened for writing only, or the reverse
        return accessDenied;
    case EINVAL:
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
        return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return generic;
    }
}

void CFileException::ThrowErrno(int error, const CString& fileName)
{
    throw CFileException(ErrnoToException(error), error, fileName);
}

const char* CFileException::what() const noexcept
{
    static const char* const names[] = {"file error: none", "file error: generic", "file error: file not found",
        "file error: bad path", "file error: too many open files", "file error: access denied",
        "file error: invalid file", "file error: remove current directory", "file error: directory full",
        "file error: bad seek", "file error: hardware I/O", "file error: sharing violation",
        "file error: lock violation", "file error: disk full", "file error: end of file"};
    return m_cause >= 0 && m_cause <= endOfFile ? names[m_cause] : "file error";
}

const char* CArchiveException::what() const noexcept
{
    static const char* const names[] = {"archive error: none", "archive error: generic", "archive error: read only",
        "archive error: end of file", "archive error: write only", "archive error: bad index",
        "archive error: bad class", "archive error: bad schema"};
    return m_cause >= 0 && m_cause <= badSchema ? names[m_cause] : "archive error";
}

void AfxThrowFileException(int cause, LONG osError, const CString& fileName)
{
    throw CFileException(cause, osError, fileName);
}

void AfxThrowArchiveException(int cause, const CString& archiveName)
{
    throw CArchiveException(cause, archiveName);
}

void AfxThrowUserException()
{
    throw CUserException();
}
