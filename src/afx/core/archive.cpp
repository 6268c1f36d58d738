#include "afx/core/archive.h"

#include <QByteArray>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

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
    // The file is asked only when the buffer does not hold that much.
    const ULONGLONG needed = static_cast<ULONGLONG>(count) * minBytesPerItem;
    if (needed > bufferEnd - bufferStart && needed > BytesLeft())
        Fail(CArchiveException::endOfFile);
    return count;
}

CArchive& CArchive::operator<<(const CString& value)
{
    const QString& text = value;
    // At most 3 bytes of UTF-8 for each UTF-16 unit (a pair takes 4 for its 2).
    const size_t most = sizeof(DWORD) + 3 * static_cast<size_t>(text.size());
    if (file == nullptr || loading || most > buffer.size()) {
        QByteArray utf8 = text.toUtf8();
        if (static_cast<ULONGLONG>(utf8.size()) > 0xFFFFFFFF)   // its length would not fit
            Fail(CArchiveException::generic);
        Store<DWORD>(static_cast<DWORD>(utf8.size()));
        Write(utf8.constData(), static_cast<UINT>(utf8.size()));
        return *this;
    }
    if (buffer.size() - bufferEnd < most)
        Flush();
    BYTE* const length = buffer.data() + bufferEnd;
    BYTE* const end = EncodeUtf8(length + sizeof(DWORD), text);
    Encode(length, static_cast<DWORD>(end - length - sizeof(DWORD)));
    bufferEnd = static_cast<size_t>(end - buffer.data());
    return *this;
}

BYTE* CArchive::EncodeUtf8(BYTE* out, const QString& text)
{
    // As QString::toUtf8: a surrogate that is not half of a pair becomes '?'.
    const char16_t* in = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = in + text.size();
    while (in != end) {
        const char32_t unit = *in++;
        if (unit < 0x80) {
            *out++ = static_cast<BYTE>(unit);
        } else if (unit < 0x800) {
            *out++ = static_cast<BYTE>(0xC0 | (unit >> 6));
            *out++ = static_cast<BYTE>(0x80 | (unit & 0x3F));
        } else if (unit < 0xD800 || unit > 0xDFFF) {
            *out++ = static_cast<BYTE>(0xE0 | (unit >> 12));
            *out++ = static_cast<BYTE>(0x80 | ((unit >> 6) & 0x3F));
            *out++ = static_cast<BYTE>(0x80 | (unit & 0x3F));
        } else if (unit < 0xDC00 && in != end && *in >= 0xDC00 && *in <= 0xDFFF) {
            const char32_t code = 0x10000 + ((unit - 0xD800) << 10) + (*in++ - 0xDC00);
            *out++ = static_cast<BYTE>(0xF0 | (code >> 18));
            *out++ = static_cast<BYTE>(0x80 | ((code >> 12) & 0x3F));
            *out++ = static_cast<BYTE>(0x80 | ((code >> 6) & 0x3F));
            *out++ = static_cast<BYTE>(0x80 | (code & 0x3F));
        } else {
            *out++ = '?';
        }
    }
    return out;
}

CArchive& CArchive::operator>>(bool& value)
{
    BYTE byte = Load<BYTE>();
    if (byte > 1)
        Fail(CArchiveException::badIndex);
    value = byte == 1;
    return *this;
}

namespace {

// As written: QString::fromUtf8 would drop a leading byte-order mark, a character of the text.
QString DecodeUtf8(const char* bytes, qsizetype length)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes, length));
}

} // namespace

CArchive& CArchive::operator>>(CString& value)
{
    const DWORD length = ReadCount(0xFFFFFFFF);
    // Decoded where it stands in the buffer, when the buffer can hold all of it.
    if (bufferEnd - bufferStart >= length || FillBuffer(length)) {
        value = DecodeUtf8(reinterpret_cast<const char*>(buffer.data() + bufferStart), length);
        bufferStart += length;
        return *this;
    }
    QByteArray utf8(static_cast<qsizetype>(length), Qt::Uninitialized);
    ReadExactly(utf8.data(), length);
    value = DecodeUtf8(utf8.constData(), utf8.size());
    return *this;
}

bool CArchive::FillBuffer(size_t count)
{
    if (count > buffer.size())
        return false;
    std::memmove(buffer.data(), buffer.data() + bufferStart, bufferEnd - bufferStart);
    bufferEnd -= bufferStart;
    bufferStart = 0;
    while (bufferEnd < count) {
        const UINT n = file->Read(buffer.data() + bufferEnd, static_cast<UINT>(buffer.size() - bufferEnd));
        if (n == 0)
            return false;
        bufferEnd += n;
    }
    return true;
}
