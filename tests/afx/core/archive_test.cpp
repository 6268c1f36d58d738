#include "afx/core/archive.h"
#include "support/helpers.h"

#include "cause.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

namespace {

std::string Hex(const std::string& bytes)
{
    std::string out;
    char digits[4];
    for (unsigned char b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", b);
        out += digits;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

std::string Contents(CFile& file)
{
    file.SeekToBegin();
    std::string bytes(file.GetLength(), '\0');
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    file.SeekToBegin();
    return bytes;
}

void Fill(CMemFile& file, const std::string& bytes)
{
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
}

int ArchiveCauseOf(auto action) { return CauseOf<CArchiveException>(action); }

// Caps the process's address space a little above what it uses now, so that a reader that
// trusted a length from the stream would fail to allocate instead of quietly succeeding.
class AddressSpaceLimit {
public:
    AddressSpaceLimit()
    {
        getrlimit(RLIMIT_AS, &saved);
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        rlimit limited = saved;
        limited.rlim_cur = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (512UL << 20);
        setrlimit(RLIMIT_AS, &limited);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved); }

private:
    rlimit saved{};
};

TEST(CArchiveTest, WritesTheFixedLittleEndianForm)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar << BYTE(0xAB) << true << false << WORD(0x0102) << short(-2) << int(0x01020304) << LONG(-1)
       << UINT(0xA0B0C0D0) << DWORD(7) << LONGLONG(-2) << ULONGLONG(0x0102030405060708ULL) << 1.5f << -2.0
       << CString("é") << CString();
    ar.WriteCount(3);
    ar.Close();
    EXPECT_EQ("AB 01 00 02 01 FE FF 04 03 02 01 FF FF FF FF D0 C0 B0 A0 07 00 00 00 "
              "FE FF FF FF FF FF FF FF 08 07 06 05 04 03 02 01 00 00 C0 3F 00 00 00 00 00 00 00 C0 "
              "02 00 00 00 C3 A9 00 00 00 00 03 00 00 00",
              Hex(Contents(file)));
}

// A string is its UTF-8 byte count and QString::toUtf8's bytes, whatever it holds and wherever
// it falls in the archive's buffer; reading gives back what QString::fromUtf8 makes of them.
TEST(CArchiveTest, StringsAreWrittenAsToUtf8WritesThem)
{
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"ascii", "Brevia Pro 45"},
        {"two-byte", "Numéro « ç »"},
        {"three-byte", QString::fromUtf8("→ € ﬁ \xEF\xBF\xBE")},
        {"pair", QString::fromUtf8("𝄞 and 😀")},
        {"lone high at the end", QString("a") + QChar(0xD834)},
        {"lone high before a letter", QString("a") + QChar(0xD834) + "b"},
        {"lone low", QString("a") + QChar(0xDD1E) + "b"},
        {"low then high", QString(QChar(0xDD1E)) + QChar(0xD834)},
        {"two highs then a low", QString(QChar(0xD834)) + QChar(0xD834) + QChar(0xDD1E)},
        {"nul inside", QString("a") + QChar(0) + "b"},
        {"nearly a buffer", QString(1300, QChar(0x20AC))},
        {"more than a buffer", QString(1400, QChar(0x20AC))},
    };
    for (const auto& c : cases) {
        const QByteArray utf8 = c.text.toUtf8();
        for (int before : {0, 1, 50, 4000, 4093}) {
            CMemFile file;
            CArchive ar(&file, CArchive::store);
            for (int i = 0; i < before; ++i)
                ar << BYTE(i);
            ar << CString(c.text);
            ar.Close();
            std::string expected(4, '\0');
            const auto length = static_cast<uint32_t>(utf8.size());
            for (int i = 0; i < 4; ++i)
                expected[i] = static_cast<char>(length >> (8 * i));
            expected += utf8.toStdString();
            const std::string written = Contents(file);
            ASSERT_EQ(before + expected.size(), written.size()) << c.name << " after " << before;
            EXPECT_EQ(Hex(expected), Hex(written.substr(before))) << c.name << " after " << before;

            CArchive load(&file, CArchive::load, 64 + before % 4096);
            BYTE skipped = 0;
            for (int i = 0; i < before; ++i)
                load >> skipped;
            CString read;
            load >> read;
            EXPECT_EQ(QString::fromUtf8(utf8), static_cast<const QString&>(read)) << c.name << " after " << before;
        }
    }
}

// A text that begins with a byte-order mark keeps it: it is a character of the text (a name
// pasted from a file), not a mark of the archive's encoding.
TEST(CArchiveTest, ALeadingByteOrderMarkIsReadBack)
{
    const QString text = QString(QChar(0xFEFF)) + "Nom";
    for (int before : {0, 4093}) {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        for (int i = 0; i < before; ++i)
            ar << BYTE(i);
        ar << CString(text) << CString(QString(3000, QChar(0xFEFF)));
        ar.Close();
        file.SeekToBegin();
        CArchive load(&file, CArchive::load, 64);
        BYTE skipped = 0;
        for (int i = 0; i < before; ++i)
            load >> skipped;
        CString read, longer;
        load >> read >> longer;
        EXPECT_EQ(text, static_cast<const QString&>(read)) << before;
        EXPECT_EQ(QString(3000, QChar(0xFEFF)), static_cast<const QString&>(longer)) << before;
    }
}

// A record of every kind of value, strings around the buffer's size among them.
struct Record {
    BYTE b = 0;
    bool flag = false;
    WORD w = 0;
    short s = 0;
    int i = 0;
    UINT u = 0;
    LONGLONG ll = 0;
    ULONGLONG ull = 0;
    float f = 0;
    double d = 0;
    std::vector<CString> texts;
    std::string block;

    static Record Sample()
    {
        Record r{0xFE, true, 0xFFFF, -32768, -123456789, 4000000000u, -(1LL << 40), ~0ULL, 0.25f, -1e300, {}, {}};
        for (int length : {0, 1, 63, 64, 65, 4095, 4096, 5000})
            r.texts.push_back(CString(_T('é'), length / 2) + CString('x', length % 2));
        r.texts.push_back(CString("Numéro; \"Brevia\" 𝄞\n"));
        for (int n = 0; n < 10000; ++n)
            r.block += static_cast<char>(n * 7);
        return r;
    }

    void Serialize(CArchive& ar)
    {
        if (ar.IsStoring()) {
            ar << b << flag << w << s << i << u << ll << ull << f << d;
            ar.WriteCount(static_cast<DWORD>(texts.size()));
            for (const CString& text : texts)
                ar << text;
            ar.WriteCount(static_cast<DWORD>(block.size()));
            ar.Write(block.data(), static_cast<UINT>(block.size()));
        } else {
            ar >> b >> flag >> w >> s >> i >> u >> ll >> ull >> f >> d;
            texts.resize(ar.ReadCount(100, 4));
            for (CString& text : texts)
                ar >> text;
            block.resize(ar.ReadCount(1 << 20));
            if (ar.Read(block.data(), static_cast<UINT>(block.size())) != block.size())
                AfxThrowArchiveException(CArchiveException::endOfFile);
        }
    }

    bool operator==(const Record&) const = default;
};

struct RoundTrip {
    const char* name;
    bool onDisk;
    int storeBuffer;
    int loadBuffer;
};

class CArchiveRoundTripTest : public ::testing::TestWithParam<RoundTrip> {
protected:
    CFile& File()
    {
        if (GetParam().onDisk) {
            disk = std::make_unique<CFile>(CString(folder.filePath("record.tms")),
                                           CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
            return *disk;
        }
        return memory;
    }

    QTemporaryDir folder;
    CMemFile memory;
    std::unique_ptr<CFile> disk;
};

TEST_P(CArchiveRoundTripTest, GivesBackWhatWasWritten)
{
    CFile& file = File();
    Record written = Record::Sample();
    {
        CArchive ar(&file, CArchive::store, GetParam().storeBuffer);
        written.Serialize(ar);
        ar.Close();
    }
    const ULONGLONG length = file.GetLength();
    file.SeekToBegin();
    Record read;
    CArchive ar(&file, CArchive::load, GetParam().loadBuffer);
    read.Serialize(ar);
    ar.Close();
    EXPECT_TRUE(read == written);
    EXPECT_EQ(length, file.GetPosition());   // nothing left over, nothing read twice
}

INSTANTIATE_TEST_SUITE_P(Cases, CArchiveRoundTripTest, ::testing::Values(
    RoundTrip{"memory_whole_buffers", false, 4096, 4096}, RoundTrip{"memory_small_store_buffer", false, 64, 100},
    RoundTrip{"disk_whole_buffers", true, 4096, 4096}, RoundTrip{"disk_small_store_large_load", true, 64, 20000},
    RoundTrip{"disk_large_store_small_load", true, 20000, 64}), RowName);

std::string SampleStream()
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    Record sample = Record::Sample();
    sample.block.resize(10);
    sample.texts.resize(3);
    sample.Serialize(ar);
    ar.Close();
    return Contents(file);
}

TEST(CArchiveTest, TruncatedStreamsEndOfFile)
{
    const std::string stream = SampleStream();
    for (size_t length = 0; length < stream.size(); ++length) {
        CMemFile file;
        Fill(file, stream.substr(0, length));
        CArchive ar(&file, CArchive::load);
        Record record;
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { record.Serialize(ar); })) << "cut at " << length;
    }
}

TEST(CArchiveTest, LengthsBeyondTheStreamFailBeforeAnyAllocation)
{
    AddressSpaceLimit limit;
    struct Row {
        std::string bytes;
        DWORD maxCount;
        DWORD minBytesPerItem;
        int cause;
    };
    const Row counts[] = {
        {std::string("\xFF\xFF\xFF\xFF" "abcdef", 10), 0xFFFFFFFF, 1, CArchiveException::endOfFile},
        {std::string("\x00\x00\x00\x40" "abcdef", 10), 0xFFFFFFFF, 4, CArchiveException::endOfFile},
        {std::string("\x02\x00\x00\x00" "abcdef", 10), 1, 1, CArchiveException::badIndex},
        {std::string("\x02\x00\x00\x00" "abcdef", 10), 2, 3, -1},   // 2 x 3 bytes fit in 6
        {std::string("\x02\x00\x00\x00" "abcdef", 10), 2, 4, CArchiveException::endOfFile},
    };
    for (const Row& row : counts) {
        CMemFile file;
        Fill(file, row.bytes);
        CArchive ar(&file, CArchive::load);
        EXPECT_EQ(row.cause, ArchiveCauseOf([&] { ar.ReadCount(row.maxCount, row.minBytesPerItem); })) << Hex(row.bytes);
    }

    CMemFile file;
    Fill(file, std::string("\xFF\xFF\xFF\xFF" "abcdef", 10));
    CArchive ar(&file, CArchive::load);
    CString text = "unchanged";
    EXPECT_EQ(CArchiveException::endOfFile, ArchiveCauseOf([&] { ar >> text; }));
    EXPECT_EQ(CString("unchanged"), text);
}

TEST(CArchiveTest, RandomStreamsFailOnlyWithArchiveExceptions)
{
    AddressSpaceLimit limit;
    std::mt19937 random(20240305);
    const std::string sample = SampleStream();
    int loaded = 0;
    for (int run = 0; run < 3000; ++run) {
        std::string bytes;
        if (run % 2) {   // the sample with a few bytes changed
            bytes = sample;
            for (int flips = 1 + int(random() % 4); flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<char>(random());
        } else {
            bytes.resize(random() % 200);
            for (char& c : bytes)
                c = static_cast<char>(random() % 4 ? random() % 4 : random());   // small values, as counts are
        }
        CMemFile file;
        Fill(file, bytes);
        CArchive ar(&file, CArchive::load);
        Record record;
        try {
            record.Serialize(ar);
            ++loaded;
        } catch (const CArchiveException&) {
        }
    }
    EXPECT_GT(loaded, 0);   // some changed samples still load: the flips hit plain values
}

TEST(CArchiveTest, FlagsOtherThanZeroOrOneAreRejected)
{
    CMemFile file;
    Fill(file, std::string("\x01\x00\x02", 3));
    CArchive ar(&file, CArchive::load);
    bool flag = false;
    ar >> flag;
    EXPECT_TRUE(flag);
    ar >> flag;
    EXPECT_FALSE(flag);
    EXPECT_EQ(CArchiveException::badIndex, ArchiveCauseOf([&] { ar >> flag; }));
}

TEST(CArchiveTest, WrongDirectionAndUseAfterCloseThrow)
{
    CMemFile file;
    CArchive store(&file, CArchive::store);
    int value = 0;
    char byte;
    EXPECT_EQ(CArchiveException::writeOnly, ArchiveCauseOf([&] { store >> value; }));
    EXPECT_EQ(CArchiveException::writeOnly, ArchiveCauseOf([&] { store.Read(&byte, 1); }));
    store << 5;
    store.Close();
    EXPECT_EQ(CArchiveException::generic, ArchiveCauseOf([&] { store << 6; }));

    file.SeekToBegin();
    CArchive load(&file, CArchive::load);
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { load << 1; }));
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCauseOf([&] { load.Write("x", 1); }));
    load >> value;
    EXPECT_EQ(5, value);
}

TEST(CArchiveTest, LoadingFlushPutsTheFileAtTheFirstUnreadByte)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 1 << 2 << 3;
    }   // written out by the destructor
    ASSERT_EQ(12u, file.GetLength());
    file.SeekToBegin();
    int value = 0;
    {
        CArchive ar(&file, CArchive::load);
        ar >> value;
        ar.Flush();
        EXPECT_EQ(4u, file.GetPosition());
        ar >> value;
    }
    EXPECT_EQ(2, value);
    EXPECT_EQ(8u, file.GetPosition());
    CArchive ar(&file, CArchive::load);
    ar >> value;
    EXPECT_EQ(3, value);
}

TEST(CArchiveTest, CloseReportsAFailedWriteAndTheDestructorSwallowsIt)
{
    CFile full("/dev/full", CFile::modeWrite);
    {
        CArchive ar(&full, CArchive::store);
        ar << 1;   // still in the buffer
        try {
            ar.Close();
            ADD_FAILURE() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_EQ(CFileException::diskFull, e.m_cause);
        }
    }
    {
        CArchive ar(&full, CArchive::store);
        ar << 1;
    }   // must not terminate the program
}

} // namespace
