#include "afx/core/archive.h"

#include <QByteArray>

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

namespace {

template <class T>
using Bits = std::conditional_t<sizeof(T) == 1, std::uint8_t,
             std::conditional_t<sizeof(T) == 2, std::uint16_t,
             std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : file(file), loading(mode & load), buffer(static_cast<size_t>(std::max(bufferSize, 64)))
{
}

CArchive::~CArchive()
{
    try {
        Close();
    } catch (...) {
        // Nowhere to report it from here; Close() reports it to those who call it.
    }
}

void CArchive::CheckOpen(bool forLoading) const
{
    if (!file)
        Fail(CArchiveException::generic);
    if (forLoading != loading)
        Fail(forLoading ? CArchiveException::writeOnly : CArchiveException::readOnly);
}

void CArchive::Fail(int cause) const
{
    throw CArchiveException(cause, file ? file->GetFilePath() : CString());
}

UINT CArchive::Read(void* out, UINT count)
{
    CheckOpen(true);
    auto* bytes = static_cast<BYTE*>(out);
    UINT done = 0;
    while (done < count) {
        if (bufferStart == bufferEnd) {
            // Large reads go straight to the file; small ones through the buffer.
            if (count - done >= buffer.size())
                return done + file->Read(bytes + done, count - done);
            bufferStart = 0;
            bufferEnd = file->Read(buffer.data(), static_cast<UINT>(buffer.size()));
            if (bufferEnd == 0)
                break;
        }
        size_t n = std::min<size_t>(count - done, bufferEnd - bufferStart);
        std::memcpy(bytes + done, buffer.data() + bufferStart, n);
        bufferStart += n;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CArchive::Write(const void* in, UINT count)
{
    CheckOpen(false);
    if (bufferEnd + count > buffer.size()) {
        Flush();
        if (count >= buffer.size()) {
            file->Write(in, count);
            return;
        }
    }
    std::memcpy(buffer.data() + bufferEnd, in, count);
    bufferEnd += count;
}

void CArchive::Flush()
{
    if (!file)
        return;
    if (loading) {
        if (bufferEnd > bufferStart)
            file->Seek(-static_cast<LONGLONG>(bufferEnd - bufferStart), CFile::current);
        bufferStart = bufferEnd = 0;
    } else if (bufferEnd > 0) {
        size_t pending = bufferEnd;
        bufferEnd = 0;   // dropped even when the write fails, so it is not written twice
        file->Write(buffer.data(), static_cast<UINT>(pending));
    }
}

void CArchive::Close()
{
    if (!file)
        return;
    try {
        Flush();
    } catch (...) {
        file = nullptr;
        throw;
    }
    file = nullptr;
}

void CArchive::ReadExactly(void* out, UINT count)
{
    if (Read(out, count) != count)
        Fail(CArchiveException::endOfFile);
}

ULONGLONG CArchive::BytesLeft() const
{
    ULONGLONG length = file->GetLength();
    ULONGLONG position = file->GetPosition();
    return (length > position ? length - position : 0) + (bufferEnd - bufferStart);
}

DWORD CArchive::ReadCount(DWORD maxCount, DWORD minBytesPerItem)
{
    DWORD count = Load<DWORD>();
    if (count > maxCount)
        Fail(CArchiveException::badIndex);
    if (static_cast<ULONGLONG>(count) * minBytesPerItem > BytesLeft())
        Fail(CArchiveException::endOfFile);
    return count;
}

template <class T>
void CArchive::Store(T value)
{
    CheckOpen(false);
    auto bits = std::bit_cast<Bits<T>>(value);
    BYTE bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<BYTE>(bits >> (8 * i));
    Write(bytes, sizeof(T));
}

template <class T>
T CArchive::Load()
{
    CheckOpen(true);
    BYTE bytes[sizeof(T)];
    ReadExactly(bytes, sizeof(T));
    Bits<T> bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<Bits<T>>(static_cast<Bits<T>>(bytes[i]) << (8 * i));
    return std::bit_cast<T>(bits);
}

CArchive& CArchive::operator<<(BYTE value) { Store(value); return *this; }
CArchive& CArchive::operator<<(bool value) { Store<BYTE>(value ? 1 : 0); return *this; }
CArchive& CArchive::operator<<(WORD value) { Store(value); return *this; }
CArchive& CArchive::operator<<(short value) { Store(value); return *this; }
CArchive& CArchive::operator<<(int value) { Store(value); return *this; }
CArchive& CArchive::operator<<(UINT value) { Store(value); return *this; }
CArchive& CArchive::operator<<(LONGLONG value) { Store(value); return *this; }
CArchive& CArchive::operator<<(ULONGLONG value) { Store(value); return *this; }
CArchive& CArchive::operator<<(float value) { Store(value); return *this; }
CArchive& CArchive::operator<<(double value) { Store(value); return *this; }

CArchive& CArchive::operator<<(const CString& value)
{
    QByteArray utf8 = static_cast<const QString&>(value).toUtf8();
    if (static_cast<ULONGLONG>(utf8.size()) > 0xFFFFFFFF)   // its length would not fit
        Fail(CArchiveException::generic);
    Store<DWORD>(static_cast<DWORD>(utf8.size()));
    Write(utf8.constData(), static_cast<UINT>(utf8.size()));
    return *this;
}

CArchive& CArchive::operator>>(BYTE& value) { value = Load<BYTE>(); return *this; }
CArchive& CArchive::operator>>(WORD& value) { value = Load<WORD>(); return *this; }
CArchive& CArchive::operator>>(short& value) { value = Load<short>(); return *this; }
CArchive& CArchive::operator>>(int& value) { value = Load<int>(); return *this; }
CArchive& CArchive::operator>>(UINT& value) { value = Load<UINT>(); return *this; }
CArchive& CArchive::operator>>(LONGLONG& value) { value = Load<LONGLONG>(); return *this; }
CArchive& CArchive::operator>>(ULONGLONG& value) { value = Load<ULONGLONG>(); return *this; }
CArchive& CArchive::operator>>(float& value) { value = Load<float>(); return *this; }
CArchive& CArchive::operator>>(double& value) { value = Load<double>(); return *this; }

CArchive& CArchive::operator>>(bool& value)
{
    BYTE byte = Load<BYTE>();
    if (byte > 1)
        Fail(CArchiveException::badIndex);
    value = byte == 1;
    return *this;
}

CArchive& CArchive::operator>>(CString& value)
{
    DWORD length = ReadCount(0xFFFFFFFF);
    QByteArray utf8(static_cast<qsizetype>(length), Qt::Uninitialized);
    ReadExactly(utf8.data(), length);
    value = QString::fromUtf8(utf8);
    return *this;
}
