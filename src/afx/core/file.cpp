// CFile works on a POSIX descriptor, so that every failure keeps its errno and maps to its
// exact cause (a missing directory is a badPath, a full disk a diskFull).
#include "afx/core/file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

namespace {

// Closes the descriptor it holds when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }
    // Closes now, reporting the failure; 0 or an errno.
    int Close()
    {
        const int handle = std::exchange(fd, -1);
        return ::close(handle) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int fd;
};

// Reports a whole-file failure on `path`.
[[noreturn]] void FailOn(const QString& path, int cause, int osError)
{
    throw CFileException(cause, osError, CString(path));
}

[[noreturn]] void FailOnErrno(const QString& path, int error)
{
    FailOn(path, CFileException::ErrnoToException(error), error);
}

// The temporary files of writes to `name`: ".name.XXXXXXXX.tmp", the X letters or digits
// drawn at random so that no one can make the file before the write does.
constexpr int temporaryLetters = 8;
const char temporaryAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

QString TemporaryName(const QString& name)
{
    QString letters(temporaryLetters, QChar());
    for (QChar& letter : letters)
        letter = QLatin1Char(temporaryAlphabet[QRandomGenerator::system()->bounded(int(sizeof temporaryAlphabet) - 1)]);
    return '.' + name + '.' + letters + ".tmp";
}

// Earlier versions named the temporary file ".name.tmp".
bool IsTemporaryOf(const QString& entry, const QString& name)
{
    const QString prefix = '.' + name + '.';
    if (!entry.startsWith(prefix) || !entry.endsWith(QLatin1String(".tmp")))
        return false;
    const qsizetype letters = entry.size() - prefix.size() - 4;
    if (letters == 0)
        return true;
    if (letters != temporaryLetters)
        return false;
    for (qsizetype i = prefix.size(); i < prefix.size() + letters; ++i) {
        if (entry[i].unicode() > 0x7f || !std::strchr(temporaryAlphabet, char(entry[i].unicode())))
            return false;
    }
    return true;
}

// Removes what killed writes to `name` left in `folder`: only regular files of this user,
// and only when no write holds them. Anything else there is left alone, never opened for
// writing. False when another write of this user to the same file is under way.
bool TidyEarlierWrites(const QString& folder, const QString& name, const QByteArray& own)
{
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (listing == nullptr)
        return true;   // nothing to tidy that can be seen
    bool alone = true;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray path = QFile::encodeName(folder) + '/' + entry->d_name;
        if (path == own || !IsTemporaryOf(QFile::decodeName(entry->d_name), name))
            continue;
        struct stat named, opened;
        if (::lstat(path.constData(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_uid != ::geteuid())
            continue;
        Descriptor stale(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (stale.Get() < 0 || ::fstat(stale.Get(), &opened) != 0 || opened.st_ino != named.st_ino
            || opened.st_dev != named.st_dev)
            continue;
        if (::flock(stale.Get(), LOCK_EX | LOCK_NB) != 0) {
            alone = false;
            continue;
        }
        // Locked: no write of ours can be using it; the name is checked again just before it goes.
        if (::lstat(path.constData(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
            ::unlink(path.constData());
    }
    ::closedir(listing);
    return alone;
}

} // namespace

namespace afx {

QByteArray ReadWholeFile(const CString& path, qint64 maxBytes, UINT share)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (path.IsEmpty())
        FailOn(absolute, CFileException::badPath, ENOENT);
    const QByteArray native = QFile::encodeName(absolute);
    // Looked at before it is opened, since opening a device may do something; opened without
    // waiting, should it be swapped for a FIFO meanwhile, and looked at again once open.
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        FailOn(absolute, OpenFailureCause(errno, absolute), errno);
    if (!S_ISREG(info.st_mode))
        FailOn(absolute, CFileException::invalidFile, -1);
    Descriptor file(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0)
        FailOn(absolute, OpenFailureCause(errno, absolute), errno);
    if (::fstat(file.Get(), &info) != 0)
        FailOnErrno(absolute, errno);
    if (!S_ISREG(info.st_mode))
        FailOn(absolute, CFileException::invalidFile, -1);
    if (info.st_size > maxBytes)
        FailOn(absolute, CFileException::invalidFile, EFBIG);
    if (::flock(file.Get(), LockFor(share) | LOCK_NB) != 0)
        FailOnErrno(absolute, errno);

    // The size is only a hint (a file may grow, or tell 0 and hold more): reading goes on
    // to the end, one byte past the bound at most.
    // Room for the byte that tells the end, so that a file of the size it tells is read into
    // one block.
    QByteArray bytes;
    bytes.reserve(info.st_size + 1);
    constexpr qint64 chunk = 64 * 1024;
    for (;;) {
        qint64 room = std::min(chunk, maxBytes + 1 - bytes.size());
        if (bytes.capacity() > bytes.size())
            room = std::min<qint64>(room, bytes.capacity() - bytes.size());
        const qsizetype start = bytes.size();
        bytes.resize(start + room);
        const ssize_t n = ::read(file.Get(), bytes.data() + start, size_t(room));
        if (n < 0 && errno == EINTR) {
            bytes.resize(start);
            continue;
        }
        if (n < 0)
            FailOnErrno(absolute, errno);
        bytes.resize(start + n);
        if (bytes.size() > maxBytes)
            FailOn(absolute, CFileException::invalidFile, EFBIG);
        if (n == 0)
            return bytes;
    }
}

void ReportFileSizeLimitAsError()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void ReplaceFile(const CString& path, const QByteArray& bytes, NewFileAccess access)
{
    QString target = QFileInfo(path).absoluteFilePath();
    if (path.IsEmpty())
        FailOn(target, CFileException::badPath, ENOENT);
    struct stat old;
    const bool exists = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        FailOn(target, OpenFailureCause(errno, target), errno);
    if (exists) {
        if (!S_ISREG(old.st_mode))
            FailOn(target, CFileException::invalidFile, -1);
        target = QFileInfo(target).canonicalFilePath();
        // The rename would replace a write-protected file; its protection says no.
        if (::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0)
            FailOnErrno(target, errno);
    }
    const QFileInfo targetInfo(target);
    const QByteArray nativeTarget = QFile::encodeName(target);
    const QString folder = targetInfo.absolutePath();

    // Always a new file of this write's own: nobody can have made it in advance, nor put a
    // link in its place. A secret is never readable by others, whatever the umask says.
    QByteArray temporary;
    int handle = -1;
    for (int attempt = 0; handle < 0 && attempt < 100; ++attempt) {
        temporary = QFile::encodeName(folder + '/' + TemporaryName(targetInfo.fileName()));
        handle = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                        access == NewFileAccess::ownerOnly ? 0600 : 0666);
        if (handle < 0 && errno != EEXIST)
            FailOn(target, OpenFailureCause(errno, target), errno);
    }
    if (handle < 0)
        FailOnErrno(target, EEXIST);
    Descriptor file(handle);
    // Held until the rename, so that the next write knows this one is under way.
    const bool locked = ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0;

    // From here on the temporary file is this write's own, to remove on failure.
    const auto failAndRemove = [&](int cause, int error) {
        file.Close();
        ::unlink(temporary.constData());
        FailOn(target, cause, error);
    };
    const auto failAndRemoveErrno = [&](int error) { failAndRemove(CFileException::ErrnoToException(error), error); };
    if (!locked || !TidyEarlierWrites(folder, targetInfo.fileName(), temporary))
        failAndRemove(CFileException::sharingViolation, EWOULDBLOCK);
    // The umask may have taken more than the group's and others' rights from a new secret.
    if ((exists || access == NewFileAccess::ownerOnly)
        && ::fchmod(file.Get(), exists ? old.st_mode & 07777 : 0600) != 0)
        failAndRemoveErrno(errno);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(file.Get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failAndRemoveErrno(n < 0 ? errno : EIO);
        done += n;
    }
    if (::fsync(file.Get()) != 0)
        failAndRemoveErrno(errno);
    struct stat written;
    if (::fstat(file.Get(), &written) != 0 || written.st_size != bytes.size())
        failAndRemoveErrno(EIO);
    if (::rename(temporary.constData(), nativeTarget.constData()) != 0)
        failAndRemoveErrno(errno);
    if (const int error = file.Close())
        FailOnErrno(target, error);

    // The new name is durable only once the folder is. A folder that cannot be opened for
    // reading cannot be synced; a file system that does not sync folders says EINVAL.
    Descriptor directory(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0 && ::fsync(directory.Get()) != 0 && errno != EINVAL)
        FailOnErrno(target, errno);
}

} // namespace afx
