// Files written once by the program of the first schema and kept as they are: every later
// program must read them to the same record. A change of layout raises the schema number and
// keeps reading these; never write them again.
#include "records.h"

#include "device/lib/devicememory.h"
#include "device/lib/filestore.h"
#include "device/lib/firmware.h"
#include "device/lib/serialformat.h"

#include <QCryptographicHash>
#include <functional>

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
    const FirmwareImage loaded = firmware::Read(GoldenPath("firmware-1.bfw"));
    EXPECT_EQ(CString("Brevia Pro 45"), loaded.model);
    EXPECT_EQ(CString("2.20"), loaded.version);
    EXPECT_EQ(QByteArray("Image du micrologiciel 2.20 pour Brevia Pro 45\n").repeated(4), loaded.image);
}

// What the program of the first schema wrote for these records, byte for byte: the small one
// is the golden settings file, the others too large to keep and kept by size and SHA-256.
TEST(GoldenFiles, RecordsAreWrittenToTheBytesOfSchema1)
{
    struct Case {
        const char* what;
        std::function<QByteArray()> save;
        qsizetype size;
        const char* sha256;
    };
    const Case cases[] = {
        {"small record", [] { CConfig c; FillSmallRecord(c); return Save(c); }, 1510,
         "8bfd86a0b92fd923f854a13270039b966cf4c1b9b4d74ce65b02f0511e026b63"},
        {"full record", [] { CConfig c; FillFullRecord(c); return Save(c); }, 251801,
         "39bac433f64c19c96468f46497552a34b174a07748d611c9370fc18a5461a53b"},
        {"device memory of a full record", [] {
             DeviceMemory memory;
             FillFullRecord(memory.config);
             memory.busyMailBoxes.Add("2");
             memory.busyMailBoxes.Add("5");
             memory.clockOffset = -8220;
             memory.firmwareFlag = 1;
             return Save(memory);
         }, 251835, "cc06d1553e1b76d0a9e347bdc7cdf9c2c75df6f96f451e36c604a0b4db528ee0"},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = c.save();
        EXPECT_EQ(c.size, bytes.size()) << c.what;
        EXPECT_EQ(c.sha256, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString()) << c.what;
    }
    CConfig small;
    FillSmallRecord(small);
    EXPECT_EQ(Golden("settings-1.tms"), Save(small));
    EXPECT_EQ(Golden("directory-1.phb"), Save(small.phoneBook));
}

} // namespace
