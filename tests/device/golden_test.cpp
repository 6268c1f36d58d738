// Files written once by the program of the first schema and kept as they are: every later
// program must read them to the same record. A change of layout raises the schema number and
// keeps reading these; never write them again.
#include "records.h"

#include "device/lib/filestore.h"
#include "device/lib/firmware.h"
#include "device/lib/serialformat.h"

namespace {

QString GoldenPath(const char* name)
{
    return TestFilePath(QString("golden/") + name);
}

QByteArray Golden(const char* name)
{
    QByteArray bytes;
    CString reason;
    EXPECT_TRUE(ReadFileWhole(GoldenPath(name), serialformat::maxFileBytes, bytes, reason)) << name << ": " << Text(reason);
    return bytes;
}

// The golden settings file holds this record: a few entries of every kind, cross-referenced.
TEST(GoldenFiles, SettingsFileOfSchema1LoadsToItsRecord)
{
    CConfig expected;
    FillSmallRecord(expected);
    CConfig loaded;
    Load(loaded, Golden("settings-1.tms"));
    ExpectSameRecord(expected, loaded);
}

TEST(GoldenFiles, PhoneBookFileOfSchema1LoadsToItsDirectory)
{
    CConfig expected;
    FillSmallRecord(expected);
    CPhoneBook loaded;
    Load(loaded, Golden("directory-1.phb"));
    ExpectSamePhoneBook(expected.phoneBook, loaded);
}

TEST(GoldenFiles, FirmwareFileOfFormat1LoadsToItsImage)
{
    FirmwareImage loaded;
    CString reason;
    ASSERT_TRUE(firmware::Load(GoldenPath("firmware-1.bfw"), loaded, reason)) << Text(reason);
    EXPECT_EQ(CString("Brevia Pro 45"), loaded.model);
    EXPECT_EQ(CString("2.20"), loaded.version);
    EXPECT_EQ(QByteArray("Image du micrologiciel 2.20 pour Brevia Pro 45\n").repeated(4), loaded.image);
}

} // namespace
