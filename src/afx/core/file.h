// Files: CFile on a disk file, CMemFile in memory. Failures throw CFileException.
#pragma once

#include "afx/core/cstring.h"
#include "afx/core/exception.h"
#include "afx/core/object.h"
#include "afx/core/types.h"

#include <QByteArray>

#include <vector>

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens the file or throws CFileException.
    CFile(const CString& fileName, UINT openFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file; a failure then goes unreported, so call Close() to learn of it.
    ~CFile() override;

    // FALSE on failure, with the cause in *error when given; does not throw.
    // The share modes are advisory locks (flock) on the file: shareExclusive and shareDenyRead
    // take it exclusively, the others shared, so this program's own opens exclude each other
    // much as on Windows; a failed lock is a sharingViolation. The text and
    // binary types are the same here. modeCreate empties an existing file unless
    // modeNoTruncate is given, and only once the lock is held.
    virtual BOOL Open(const CString& fileName, UINT openFlags, CFileException* error = nullptr);

    // Reads up to `count` bytes; fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Returns the new position; a position before the start is a badSeek.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG length);
    virtual ULONGLONG GetPosition() const;
    // Makes what was written durable on the disk.
    virtual void Flush();
    virtual void Close();
    // Closes without reporting failures.
    virtual void Abort();

    virtual CString GetFilePath() const { return filePath; }   // absolute
    virtual CString GetFileName() const;                       // the last part of the path

private:
    [[noreturn]] void ThrowErrno(int error) const;
    int Handle() const;

    int fd = -1;
    CString filePath;
};

// A file in memory, growing in whole steps of `growBytes` as it is written.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024);

    // A memory file is not opened by name: FALSE, with a generic cause.
    BOOL Open(const CString& fileName, UINT openFlags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    // Seeking beyond the end is allowed; writing there fills the gap with zeros.
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetLength() const override { return bytes.size(); }
    void SetLength(ULONGLONG length) override;
    ULONGLONG GetPosition() const override { return position; }
    void Flush() override {}
    // Frees the memory: the file is empty afterwards.
    void Close() override;
    void Abort() override { Close(); }
    CString GetFilePath() const override { return CString(); }
    CString GetFileName() const override { return CString(); }

private:
    void Reserve(ULONGLONG length);

    UINT growBytes;
    std::vector<BYTE> bytes;
    ULONGLONG position = 0;
};

// Whole data files. Only regular files are read or replaced: a device, a FIFO or a folder
// named as a file is refused at once (it would block, never end, or be replaced by a file).
// Failures throw CFileException, with the cause CFile::Open would give, or invalidFile for a
// path that names no regular file (m_lOsError -1) or a file larger than allowed (EFBIG).
namespace afx {

// The file's bytes, at most maxBytes of them: a larger file is refused from its size before
// it is read, and one that grows beyond the bound while it is read is cut there and refused.
// The file is held meanwhile with the lock of the share mode, as CFile::Open takes it: shared
// for shareDenyWrite, exclusive for shareExclusive (no other open of the file meanwhile).
QByteArray ReadWholeFile(const CString& path, qint64 maxBytes, UINT share = CFile::shareDenyWrite);

// Who may read a file that a write creates. An existing file keeps its permissions.
enum class NewFileAccess {
    ownerOnly,   // 0600 whatever the umask: settings files and device stores hold passwords
    byUmask,     // 0666 less the umask, as any document
};

// Puts `bytes` in place of the file in one step. They go to a new temporary file in the same
// folder, ".<name>.XXXXXXXX.tmp" with a name drawn at random and made with O_EXCL, every write
// checked and the file synced to the disk; only then does it take the target's name (the
// folder is synced too). Until then the old file stays as it was, and a failure removes the
// temporary file. A temporary file left by a killed write of this user goes with the next
// write to the same target; another user's, a link, or anything but a regular file there is
// left alone. An existing target must be writable; a symbolic link stays and the file it
// names is replaced. Two writes to the same target at once: the second is a sharingViolation.
void ReplaceFile(const CString& path, const QByteArray& bytes, NewFileAccess access = NewFileAccess::ownerOnly);

// From now on a write past the process's file-size limit (ulimit -f) fails with EFBIG, and is
// reported as any failed write, instead of the signal ending the program with its unsaved work.
void ReportFileSizeLimitAsError();

} // namespace afx
