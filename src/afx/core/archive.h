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

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>
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
    CArchive& operator<<(BYTE value) { Store(value); return *this; }
    CArchive& operator<<(bool value) { Store<BYTE>(value ? 1 : 0); return *this; }
    CArchive& operator<<(WORD value) { Store(value); return *this; }
    CArchive& operator<<(short value) { Store(value); return *this; }
    CArchive& operator<<(int value) { Store(value); return *this; }
    CArchive& operator<<(UINT value) { Store(value); return *this; }
    CArchive& operator<<(LONGLONG value) { Store(value); return *this; }
    CArchive& operator<<(ULONGLONG value) { Store(value); return *this; }
    CArchive& operator<<(float value) { Store(value); return *this; }
    CArchive& operator<<(double value) { Store(value); return *this; }
    CArchive& operator<<(const CString& value);
    // Pointers would otherwise be written as bools; objects write themselves with Serialize.
    template <class T> CArchive& operator<<(const T* pointer) = delete;

    CArchive& operator>>(BYTE& value) { value = Load<BYTE>(); return *this; }
    CArchive& operator>>(bool& value);
    CArchive& operator>>(WORD& value) { value = Load<WORD>(); return *this; }
    CArchive& operator>>(short& value) { value = Load<short>(); return *this; }
    CArchive& operator>>(int& value) { value = Load<int>(); return *this; }
    CArchive& operator>>(UINT& value) { value = Load<UINT>(); return *this; }
    CArchive& operator>>(LONGLONG& value) { value = Load<LONGLONG>(); return *this; }
    CArchive& operator>>(ULONGLONG& value) { value = Load<ULONGLONG>(); return *this; }
    CArchive& operator>>(float& value) { value = Load<float>(); return *this; }
    CArchive& operator>>(double& value) { value = Load<double>(); return *this; }
    CArchive& operator>>(CString& value);

private:
    template <class T>
    using Bits = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                 std::conditional_t<sizeof(T) == 2, std::uint16_t,
                 std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;

    // A value goes straight into the buffer when there is room; anything else (a full buffer,
    // a closed archive, the wrong direction) takes the checked way through Write.
    template <class T>
    void Store(T value)
    {
        BYTE bytes[sizeof(T)];
        Encode(bytes, std::bit_cast<Bits<T>>(value));
        if (file != nullptr && !loading && buffer.size() - bufferEnd >= sizeof(T)) {
            std::memcpy(buffer.data() + bufferEnd, bytes, sizeof(T));
            bufferEnd += sizeof(T);
        } else {
            CheckOpen(false);
            Write(bytes, sizeof(T));
        }
    }

    // A value is taken straight from the buffer when all of it is there.
    template <class T>
    T Load()
    {
        BYTE bytes[sizeof(T)];
        if (file != nullptr && loading && bufferEnd - bufferStart >= sizeof(T)) {
            std::memcpy(bytes, buffer.data() + bufferStart, sizeof(T));
            bufferStart += sizeof(T);
        } else {
            CheckOpen(true);
            ReadExactly(bytes, sizeof(T));
        }
        return std::bit_cast<T>(Decode<Bits<T>>(bytes));
    }

    template <class B>
    static void Encode(BYTE* out, B bits)
    {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(out, &bits, sizeof(B));
        } else {
            for (size_t i = 0; i < sizeof(B); ++i)
                out[i] = static_cast<BYTE>(bits >> (8 * i));
        }
    }

    template <class B>
    static B Decode(const BYTE* in)
    {
        B bits = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&bits, in, sizeof(B));
        } else {
            for (size_t i = 0; i < sizeof(B); ++i)
                bits |= static_cast<B>(static_cast<B>(in[i]) << (8 * i));
        }
        return bits;
    }

    // Writes the text as QString::toUtf8 would; `out` has room for 3 bytes a UTF-16 unit.
    static BYTE* EncodeUtf8(BYTE* out, const QString& text);
    // Loading: brings the next `count` bytes into the buffer; false when the buffer cannot
    // hold them or the stream ends first.
    bool FillBuffer(size_t count);
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
