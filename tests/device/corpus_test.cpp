// Replays the fuzzing corpus (corpus/config, corpus/phonebook): every file either loads and
// then writes and reads back as itself, or is refused with CArchiveException, and a device's
// check in place agrees with decoding and checking each settings file; and the contact
// files' seeds (corpus/csv, corpus/vcard, corpus/ldif) under their fuzz targets' check.
#include "records.h"

#include "../../tools/fuzz/contactfuzzing.h"
#include "../../tools/fuzz/recordcheckfuzzing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

template <class Object>
void Replay(const char* kind, int& loaded, int& refused)
{
    const QDir dir(TestFilePath(QString("corpus/") + kind));
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << dir.path().toStdString();
    for (const QFileInfo& info : files) {
        QFile file(info.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << info.fileName().toStdString();
        Object object;
        try {
            Load(object, file.readAll());
        } catch (const CArchiveException&) {
            ++refused;
            continue;
        }
        ++loaded;
        const QByteArray written = Save(object);
        Object reloaded;
        Load(reloaded, written);
        EXPECT_EQ(written, Save(reloaded)) << info.fileName().toStdString();
    }
}

TEST(Corpus, SettingsFilesLoadOrAreRefused)
{
    int loaded = 0, refused = 0;
    Replay<CConfig>("config", loaded, refused);
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
    for (const QFileInfo& info : QDir(TestFilePath("corpus/config")).entryInfoList(QDir::Files, QDir::Name))
        EXPECT_EQ(InPlaceCheckDisagreement(FileBytes(info.filePath())), "") << info.fileName().toStdString();
}

TEST(Corpus, PhoneBookFilesLoadOrAreRefused)
{
    int loaded = 0, refused = 0;
    Replay<CPhoneBook>("phonebook", loaded, refused);
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(Corpus, ContactFilesKeepTheirReadersProperty)
{
    const std::pair<const char*, contacts::Format> kinds[] = {
        {"csv", contacts::Format::csv}, {"vcard", contacts::Format::vcard}, {"ldif", contacts::Format::ldif}};
    for (const auto& [kind, format] : kinds) {
        const QFileInfoList files = QDir(TestFilePath(QString("corpus/") + kind)).entryInfoList(QDir::Files, QDir::Name);
        EXPECT_FALSE(files.isEmpty()) << kind;
        for (const QFileInfo& info : files) {
            SCOPED_TRACE(info.fileName().toStdString());
            const QByteArray bytes = FileBytes(info.filePath());
            CheckContactReader(format, reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        }
    }
}

} // namespace
