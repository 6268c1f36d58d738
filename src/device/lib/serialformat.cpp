#include "device/lib/serialformat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace serialformat {

QByteArray StoreToBytes(CObject& object)
{
    return WriteToBytes([&](CArchive& ar) { object.Serialize(ar); });
}

namespace {

// The bytes as a file to read from, without a copy of them.
class ByteSource : public CFile {
public:
    explicit ByteSource(const QByteArray& bytes) : bytes(bytes) {}

    UINT Read(void* buffer, UINT count) override
    {
        const auto n = static_cast<UINT>(std::min<qsizetype>(count, bytes.size() - position));
        std::memcpy(buffer, bytes.constData() + position, n);
        position += n;
        return n;
    }
    ULONGLONG Seek(LONGLONG offset, UINT from) override
    {
        const qsizetype base = from == begin ? 0 : from == current ? position : bytes.size();
        if (from > end || offset < -base || offset > bytes.size() - base)
            throw CFileException(CFileException::badSeek, EINVAL);
        position = base + static_cast<qsizetype>(offset);
        return static_cast<ULONGLONG>(position);
    }
    ULONGLONG GetLength() const override { return static_cast<ULONGLONG>(bytes.size()); }
    ULONGLONG GetPosition() const override { return static_cast<ULONGLONG>(position); }

private:
    const QByteArray& bytes;
    qsizetype position = 0;
};

// Bytes written straight to the end of an array, the archive's buffer their only stop.
class ByteSink : public CFile {
public:
    explicit ByteSink(QByteArray& bytes) : bytes(bytes) {}

    void Write(const void* buffer, UINT count) override { bytes.append(static_cast<const char*>(buffer), count); }
    ULONGLONG GetLength() const override { return static_cast<ULONGLONG>(bytes.size()); }
    ULONGLONG GetPosition() const override { return static_cast<ULONGLONG>(bytes.size()); }

private:
    QByteArray& bytes;
};

} // namespace

QByteArray WriteToBytes(const std::function<void(CArchive&)>& write)
{
    QByteArray bytes;
    ByteSink file(bytes);
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
    return bytes;
}

void LoadFromBytes(CObject& object, const QByteArray& bytes)
{
    ReadFromFront(bytes, [&](CArchive& ar) { object.Serialize(ar); });
}

qsizetype ReadFromFront(const QByteArray& bytes, const std::function<void(CArchive&)>& read)
{
    ByteSource file(bytes);
    CArchive ar(&file, CArchive::load);
    read(ar);
    ar.Close();   // puts the file at the first byte not taken
    return static_cast<qsizetype>(file.GetPosition());
}

void WriteHeader(CArchive& ar, DWORD magic, DWORD schema)
{
    ar << magic << schema;
}

DWORD ExpectHeader(CArchive& ar, DWORD magic, DWORD newestSchema)
{
    DWORD readMagic = 0;
    DWORD schema = 0;
    ar >> readMagic;
    if (readMagic != magic)
        AfxThrowArchiveException(CArchiveException::badClass);
    ar >> schema;
    if (schema == 0 || schema > newestSchema)
        AfxThrowArchiveException(CArchiveException::badSchema);
    return schema;
}

void Require(bool rule)
{
    if (!rule)
        AfxThrowArchiveException(CArchiveException::badIndex);
}

} // namespace serialformat
