// CArchive: a buffered stream of values over a CFile, in this program's own fixed form:
//
//   BYTE, bool                 1 byte (bool is 0 or 1)
//   WORD, short                2 bytes
//   int, LONG, UINT, DWORD     4 bytes
//   LONGLONG, ULONGLONG        8 bytes
//   float, double              4 and 8 bytes, IEEE 754
//   CString                    32-bit byte count, then that many bytes of UTF-8
//
// Integers are little-endian. Reading never trusts the stream: a value cut short is an
// endOfFile, a length or count that cannot fit in what is left of the stream is an
// endOfFile before anything is allocated, a value outside its range is a badIndex. All of
// them throw CArchiveException; file failures come through as CFileException.
#pragma once

#include "afx/core/cstring.h"
#include "afx/core/exception.h"
#include "afx/core/file.h"
#include "afx/core/types.h"

#include <vector>

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };

    // The file must stay open while the archive lives.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Closes the archive if Close() was not called; a storing archive then writes out its
    // buffer but cannot report a failure, so call Close() to learn of it.
    ~CArchive();

    BOOL IsStoring() const { return !loading; }

    // Reads up to `count` bytes; fewer only at the end of the stream.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // Storing: writes the buffer out to the file. Loading: puts the file back at the first
    // byte the archive has not handed out.
    void Flush();
    // Flushes and detaches from the file (which stays open). Using the archive afterwards
    // throws a generic CArchiveException.
    void Close();

    // Element counts of containers: 32 bits. ReadCount throws a badIndex when the count is
    // above `maxCount`, and an endOfFile when `count * minBytesPerItem` exceeds what is
    // left of the stream, so a caller may size its container by the count.
    void WriteCount(DWORD count) { *this << count; }
    DWORD ReadCount(DWORD maxCount, DWORD minBytesPerItem = 1);

    // The load operators on a storing archive, and the store operators on a loading one,
    // throw writeOnly and readOnly.
    CArchive& operator<<(BYTE value);
    CArchive& operator<<(bool value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(short value);
    CArchive& operator<<(int value);
    CArchive& operator<<(UINT value);
    CArchive& operator<<(LONGLONG value);
    CArchive& operator<<(ULONGLONG value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const CString& value);
    // Pointers would otherwise be written as bools; objects write themselves with Serialize.
    template <class T> CArchive& operator<<(const T* pointer) = delete;

    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(bool& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(short& value);
    CArchive& operator>>(int& value);
    CArchive& operator>>(UINT& value);
    CArchive& operator>>(LONGLONG& value);
    CArchive& operator>>(ULONGLONG& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(CString& value);

private:
    template <class T> void Store(T value);
    template <class T> T Load();
    void CheckOpen(bool forLoading) const;
    void ReadExactly(void* buffer, UINT count);
    ULONGLONG BytesLeft() const;
    [[noreturn]] void Fail(int cause) const;

    CFile* file;
    bool loading;
    std::vector<BYTE> buffer;
    size_t bufferStart = 0;   // loading: next byte to hand out
    size_t bufferEnd = 0;     // loading: end of the bytes read ahead; storing: bytes waiting
};
