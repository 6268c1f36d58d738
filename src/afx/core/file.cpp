// CFile works on a POSIX descriptor, so that every failure keeps its errno and maps to its
// exact cause (a missing directory is a badPath, a full disk a diskFull).
#include "afx/core/file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {

int OpenFlagsFor(UINT openFlags)
{
    int flags = O_CLOEXEC;
    switch (openFlags & 0x3) {
    case CFile::modeWrite:
        flags |= O_WRONLY;
        break;
    case CFile::modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if (openFlags & CFile::modeCreate)
        flags |= O_CREAT;
    return flags;
}

// The advisory lock that stands for a share mode: every open holds one, so that an exclusive
// open waits for no one to have the file.
int LockFor(UINT openFlags)
{
    UINT share = openFlags & 0x70;
    return share == CFile::shareExclusive || share == CFile::shareDenyRead ? LOCK_EX : LOCK_SH;
}

// Windows tells a missing file from a missing folder; so do we.
int OpenFailureCause(int error, const QString& path)
{
    if (error == ENOENT && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return CFileException::badPath;
    return CFileException::ErrnoToException(error);
}

} // namespace

CFile::CFile(const CString& fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

CFile::~CFile()
{
    Abort();
}

BOOL CFile::Open(const CString& fileName, UINT openFlags, CFileException* error)
{
    Abort();
    const QString path = QFileInfo(fileName).absoluteFilePath();
    auto fail = [&](int cause, int osError) {
        if (error)
            *error = CFileException(cause, osError, CString(path));
        return FALSE;
    };
    if (fileName.IsEmpty())
        return fail(CFileException::badPath, ENOENT);

    const QByteArray native = QFile::encodeName(path);
    int handle = ::open(native.constData(), OpenFlagsFor(openFlags), 0666);
    if (handle < 0)
        return fail(OpenFailureCause(errno, path), errno);
    // A folder opens for reading here, but is no file to read, as on Windows.
    if (struct stat info; ::fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(handle);
        return fail(CFileException::accessDenied, EISDIR);
    }
    if (::flock(handle, LockFor(openFlags) | LOCK_NB) != 0) {
        int lockError = errno;
        ::close(handle);
        return fail(CFileException::ErrnoToException(lockError), lockError);
    }
    // Emptied only now that the lock is held, so a file in use elsewhere is never cut.
    if ((openFlags & modeCreate) && !(openFlags & modeNoTruncate) && ::ftruncate(handle, 0) != 0) {
        int truncateError = errno;
        ::close(handle);
        return fail(CFileException::ErrnoToException(truncateError), truncateError);
    }
    fd = handle;
    filePath = path;
    return TRUE;
}

int CFile::Handle() const
{
    if (fd < 0)
        throw CFileException(CFileException::invalidFile, -1, filePath);
    return fd;
}

void CFile::ThrowErrno(int error) const
{
    CFileException::ThrowErrno(error, filePath);
}

UINT CFile::Read(void* buffer, UINT count)
{
    int handle = Handle();
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(handle, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno(errno);
        if (n == 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    int handle = Handle();
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::write(handle, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno(errno);
        done += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (from > end)
        throw CFileException(CFileException::badSeek, EINVAL, filePath);
    off_t position = ::lseek(Handle(), static_cast<off_t>(offset), whence[from]);
    if (position < 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const
{
    struct stat info;
    if (::fstat(Handle(), &info) != 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(info.st_size);
}

void CFile::SetLength(ULONGLONG length)
{
    if (length > static_cast<ULONGLONG>(LLONG_MAX))
        throw CFileException(CFileException::badSeek, EINVAL, filePath);
    if (::ftruncate(Handle(), static_cast<off_t>(length)) != 0)
        ThrowErrno(errno);
}

ULONGLONG CFile::GetPosition() const
{
    off_t position = ::lseek(Handle(), 0, SEEK_CUR);
    if (position < 0)
        ThrowErrno(errno);
    return static_cast<ULONGLONG>(position);
}

void CFile::Flush()
{
    if (::fsync(Handle()) != 0 && errno != EINVAL)
        ThrowErrno(errno);
}

void CFile::Close()
{
    if (fd < 0)
        return;
    int handle = fd;
    fd = -1;   // closed whatever close() says: the descriptor is gone either way
    if (::close(handle) != 0 && errno != EINTR)
        ThrowErrno(errno);
}

void CFile::Abort()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

CString CFile::GetFileName() const
{
    return CString(QFileInfo(filePath).fileName());
}

CMemFile::CMemFile(UINT growBytes) : growBytes(growBytes) {}

BOOL CMemFile::Open(const CString& fileName, UINT openFlags, CFileException* error)
{
    if (error)
        *error = CFileException(CFileException::generic, -1, fileName);
    return FALSE;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (position >= bytes.size())
        return 0;
    UINT n = static_cast<UINT>(std::min<ULONGLONG>(count, bytes.size() - position));
    std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (position + count > bytes.size())
        SetLength(position + count);
    std::memcpy(bytes.data() + position, buffer, count);
    position += count;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base = from == begin ? 0 : from == current ? static_cast<LONGLONG>(position) : static_cast<LONGLONG>(bytes.size());
    if (from > end || offset < -base || offset > LLONG_MAX - base)
        throw CFileException(CFileException::badSeek, EINVAL);
    position = static_cast<ULONGLONG>(base + offset);
    return position;
}

void CMemFile::SetLength(ULONGLONG length)
{
    Reserve(length);
    bytes.resize(length);
    position = std::min(position, length);
}

void CMemFile::Reserve(ULONGLONG length)
{
    if (length <= bytes.capacity())
        return;
    // Whole steps, and at least half as much again, so that writing a large file in small
    // pieces does not copy it over and over.
    ULONGLONG step = std::max<ULONGLONG>(growBytes, 1);
    ULONGLONG wanted = std::max<ULONGLONG>(length, bytes.capacity() + bytes.capacity() / 2);
    bytes.reserve((wanted + step - 1) / step * step);
}

void CMemFile::Close()
{
    std::vector<BYTE>().swap(bytes);
    position = 0;
}
