#include "afx/core/file.h"

#include "cause.h"
#include "otheruser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

class CFileTest : public ::testing::Test {
protected:
    CString Path(const char* name) const { return CString(folder.filePath(QString::fromUtf8(name))); }

    void Put(const char* name, const std::string& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string Get(const char* name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }

    QTemporaryDir folder;
};

int FileCauseOf(auto action) { return CauseOf<CFileException>(action); }

TEST_F(CFileTest, WritesReadsAndSeeks)
{
    CFile file(Path("settings.tms"), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
    file.Write("0123456789", 10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(10u, file.GetPosition());
    EXPECT_EQ(3u, file.Seek(3, CFile::begin));
    char buffer[16] = {};
    EXPECT_EQ(4u, file.Read(buffer, 4));
    EXPECT_EQ(std::string("3456"), buffer);
    EXPECT_EQ(8u, file.Seek(-2, CFile::end));
    EXPECT_EQ(2u, file.Read(buffer, sizeof buffer));   // short only at the end
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
    file.SeekToBegin();
    file.SetLength(4);
    EXPECT_EQ(4u, file.SeekToEnd());
    file.Flush();
    EXPECT_EQ(CString("settings.tms"), file.GetFileName());
    EXPECT_EQ(Path("settings.tms"), file.GetFilePath());
    file.Close();
    EXPECT_EQ("0123", Get("settings.tms"));
}

TEST_F(CFileTest, CreateEmptiesUnlessToldNotTo)
{
    Put("a.phb", "old content");
    CFile(Path("a.phb"), CFile::modeCreate | CFile::modeWrite | CFile::modeNoTruncate).Write("new", 3);
    EXPECT_EQ("new content", Get("a.phb"));
    CFile(Path("a.phb"), CFile::modeCreate | CFile::modeWrite).Write("x", 1);
    EXPECT_EQ("x", Get("a.phb"));
}

TEST_F(CFileTest, OpenReportsTheCauseWithoutThrowing)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    struct Row {
        const char* name;
        UINT flags;
        int cause;
    };
    const Row rows[] = {
        {"missing.tms", CFile::modeRead, CFileException::fileNotFound},
        {"no/such/folder/x.tms", CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
        {"no/such/folder/x.tms", CFile::modeRead, CFileException::badPath},
        {"sub", CFile::modeRead, CFileException::accessDenied},
        {"sub", CFile::modeWrite, CFileException::accessDenied},
    };
    for (const Row& row : rows) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(Path(row.name), row.flags, &error)) << row.name;
        EXPECT_EQ(row.cause, error.m_cause) << row.name;
        EXPECT_EQ(CString(QFileInfo(Path(row.name)).absoluteFilePath()), error.m_strFileName) << row.name;
        EXPECT_FALSE(file.Open(Path(row.name), row.flags)) << row.name;   // without a report
    }
    CFileException error;
    EXPECT_FALSE(CFile().Open("", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::badPath, error.m_cause);

    try {
        CFile thrower(Path("missing.tms"), CFile::modeRead);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
        EXPECT_EQ(Path("missing.tms"), e.m_strFileName);
    }
}

TEST_F(CFileTest, FolderNotWritableIsAccessDenied)
{
    QDir dir(folder.path());
    ASSERT_TRUE(dir.mkdir("locked") && dir.mkdir("open"));
    ASSERT_EQ(0, ::chmod(QFile::encodeName(folder.path()).constData(), 0755));
    ASSERT_EQ(0, ::chmod(QFile::encodeName(dir.filePath("locked")).constData(), 0555));
    ASSERT_EQ(0, ::chmod(QFile::encodeName(dir.filePath("open")).constData(), 0777));
    const UINT create = CFile::modeCreate | CFile::modeWrite;
    OtherUser other;
    EXPECT_EQ(-1, FileCauseOf([&] { CFile(Path("open/new.tms"), create); }));   // the user may write elsewhere
    EXPECT_EQ(CFileException::accessDenied, FileCauseOf([&] { CFile(Path("locked/new.tms"), create); }));
}

TEST_F(CFileTest, DiskFullIsReported)
{
    CFile full("/dev/full", CFile::modeWrite);
    EXPECT_EQ(CFileException::diskFull, FileCauseOf([&] { full.Write("x", 1); }));
}

TEST_F(CFileTest, ShareModesKeepOpensApart)
{
    Put("shared.tms", "data");
    const UINT read = CFile::modeRead, write = CFile::modeWrite;
    struct Row {
        UINT first;
        UINT second;
        bool secondOpens;
    };
    const Row rows[] = {
        {read | CFile::shareDenyWrite, read | CFile::shareDenyWrite, true},
        {read | CFile::shareDenyWrite, write | CFile::shareExclusive, false},
        {read | CFile::shareExclusive, read | CFile::shareDenyWrite, false},
        {write | CFile::shareExclusive, read | CFile::shareExclusive, false},
        {read | CFile::shareDenyNone, write | CFile::shareExclusive, false},
        {read, read | CFile::shareDenyWrite, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::hex << row.first << " then " << row.second);
        CFile first(Path("shared.tms"), row.first);
        CFile second;
        CFileException error;
        EXPECT_EQ(row.secondOpens, bool(second.Open(Path("shared.tms"), row.second, &error)))
            << std::hex << row.first << " then " << row.second;
        if (!row.secondOpens) {
            EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
        }
    }
    // Once the first is closed, the second opens.
    CFile first(Path("shared.tms"), read | CFile::shareExclusive);
    first.Close();
    EXPECT_NO_THROW(CFile(Path("shared.tms"), read | CFile::shareExclusive));
}

TEST_F(CFileTest, FileInUseIsNotEmptiedByARefusedCreate)
{
    Put("busy.tms", "keep me");
    CFile reader(Path("busy.tms"), CFile::modeRead | CFile::shareExclusive);
    EXPECT_EQ(CFileException::sharingViolation,
              FileCauseOf([&] { CFile(Path("busy.tms"), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive); }));
    EXPECT_EQ("keep me", Get("busy.tms"));
}

TEST_F(CFileTest, MisuseThrowsTheMatchingCause)
{
    Put("r.tms", "abc");
    CFile reader(Path("r.tms"), CFile::modeRead);
    char c;
    EXPECT_EQ(CFileException::accessDenied, FileCauseOf([&] { reader.Write("x", 1); }));
    EXPECT_EQ(CFileException::badSeek, FileCauseOf([&] { reader.Seek(-1, CFile::begin); }));
    reader.Close();
    EXPECT_EQ(CFileException::invalidFile, FileCauseOf([&] { reader.Read(&c, 1); }));
    EXPECT_EQ(CFileException::invalidFile, FileCauseOf([&] { reader.GetLength(); }));
    EXPECT_NO_THROW(reader.Close());
}

TEST(CMemFileTest, GrowsReadsAndSeeks)
{
    CMemFile file(16);
    file.Write("abc", 3);
    EXPECT_EQ(6u, file.Seek(3, CFile::current));
    file.Write("z", 1);   // the gap is filled with zeros
    EXPECT_EQ(7u, file.GetLength());
    file.SeekToBegin();
    char buffer[16];
    ASSERT_EQ(7u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0, std::memcmp("abc\0\0\0z", buffer, 7));
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(CFileException::badSeek, FileCauseOf([&] { file.Seek(-8, CFile::end); }));
    EXPECT_EQ(CFileException::badSeek, FileCauseOf([&] { file.Seek(LLONG_MAX, CFile::end); }));
    file.SetLength(2);
    EXPECT_EQ(2u, file.GetPosition());
    file.Close();
    EXPECT_EQ(0u, file.GetLength());
    CFileException error;
    EXPECT_FALSE(file.Open("x", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::generic, error.m_cause);
}

TEST(CMemFileTest, LargeWritesSurviveGrowth)
{
    CMemFile file(1024);
    std::string written;
    for (int i = 0; i < 20000; ++i) {
        std::string piece = std::to_string(i) + ";";
        file.Write(piece.data(), static_cast<UINT>(piece.size()));
        written += piece;
    }
    std::string read(written.size(), '\0');
    file.SeekToBegin();
    ASSERT_EQ(written.size(), file.Read(read.data(), static_cast<UINT>(read.size())));
    EXPECT_EQ(written, read);
}

} // namespace
