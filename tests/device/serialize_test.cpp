// The serialised form: round trips, and malformed streams that must fail cleanly and leave
// the record as it was.
#include "records.h"

#include "device/lib/serialformat.h"

#include <QRandomGenerator>
#include <functional>
#include <memory>
#include <vector>

namespace {

// A record whose load is expected to fail: its bytes before and after must be the same.
struct Bystander {
    Bystander()
    {
        FillSmallRecord(config);
        config.machine.companyName = "Témoin";
        bytes = Save(config);
    }
    void ExpectUnchanged() { EXPECT_EQ(bytes, Save(config)); }

    CConfig config;
    QByteArray bytes;
};

// Loads `bytes` into `object`: the archive cause, or -1 when the load succeeded. Anything
// else than a CArchiveException escapes and fails the test.
int LoadCause(CObject& object, const QByteArray& bytes)
{
    try {
        Load(object, bytes);
        return -1;
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
}

class SerializeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        full = new CConfig;
        FillFullRecord(*full);
        fullBytes = new QByteArray(Save(*full));
        small = new CConfig;
        FillSmallRecord(*small);
        smallBytes = new QByteArray(Save(*small));
    }
    static void TearDownTestSuite()
    {
        delete full;
        delete fullBytes;
        delete small;
        delete smallBytes;
    }

    static CConfig* full;
    static QByteArray* fullBytes;
    static CConfig* small;
    static QByteArray* smallBytes;
};

CConfig* SerializeTest::full = nullptr;
QByteArray* SerializeTest::fullBytes = nullptr;
CConfig* SerializeTest::small = nullptr;
QByteArray* SerializeTest::smallBytes = nullptr;

TEST_F(SerializeTest, FullRecordComesBackUnchanged)
{
    ASSERT_EQ(full->phoneBook.GetCount(4), CSpeedDial::max_count + COneTouch::max_count + CGroupDial::max_count);
    CConfig loaded;
    Load(loaded, *fullBytes);
    ExpectSameRecord(*full, loaded);
    EXPECT_EQ(*fullBytes, Save(loaded));
}

TEST_F(SerializeTest, LoadingReplacesEverythingTheRecordHeld)
{
    CConfig target;
    Load(target, *fullBytes);
    CPhoneBook* const phoneBook = &target.phoneBook;

    Load(target, *smallBytes);

    ExpectSameRecord(*small, target);
    EXPECT_EQ(phoneBook, &target.phoneBook);
}

TEST_F(SerializeTest, PhoneBookAloneComesBackUnchanged)
{
    CPhoneBook loaded;
    Load(loaded, Save(full->phoneBook));
    ExpectSamePhoneBook(full->phoneBook, loaded);
}

TEST_F(SerializeTest, EverySectionCopiesOnItsOwnAndAFailedCopyChangesNothing)
{
    CConfig destination;
    FillSmallRecord(destination);
    CConfig::Sections([&](const char* name, auto member) {
        auto& source = full->*member;
        auto& target = destination.*member;
        const QByteArray sourceBytes = Save(source);
        const QByteArray targetBytes = Save(target);

        EXPECT_EQ(CArchiveException::endOfFile, LoadCause(target, sourceBytes.left(sourceBytes.size() - 1))) << name;
        EXPECT_EQ(targetBytes, Save(target)) << name;

        Load(target, sourceBytes);
        EXPECT_EQ(sourceBytes, Save(target)) << name;
    });
    ExpectSameRecord(*full, destination);
}

TEST_F(SerializeTest, EveryTruncationOfASmallRecordFailsAndChangesNothing)
{
    Bystander bystander;
    for (qsizetype length = 0; length < smallBytes->size(); ++length) {
        ASSERT_EQ(CArchiveException::endOfFile, LoadCause(bystander.config, smallBytes->left(length))) << length;
        if (length % 97 == 0)
            bystander.ExpectUnchanged();
    }
    bystander.ExpectUnchanged();
}

TEST_F(SerializeTest, TruncationsOfAFullRecordFailAndChangeNothing)
{
    Bystander bystander;
    QRandomGenerator random(7);
    for (int i = 0; i < 200; ++i) {
        const qsizetype length = random.bounded(fullBytes->size());
        ASSERT_EQ(CArchiveException::endOfFile, LoadCause(bystander.config, fullBytes->left(length))) << length;
    }
    bystander.ExpectUnchanged();
}

TEST_F(SerializeTest, FlippedBitsEitherLoadOrFailWithoutChangingTheRecord)
{
    QRandomGenerator random(11);
    int failures = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        QByteArray damaged = *smallBytes;
        for (int flips = 1 + random.bounded(3); flips > 0; --flips)
            damaged[random.bounded(damaged.size())] ^= static_cast<char>(1 << random.bounded(8));
        Bystander bystander;
        if (LoadCause(bystander.config, damaged) == -1) {
            // What loads must write and read back as itself.
            const QByteArray again = Save(bystander.config);
            CConfig reloaded;
            Load(reloaded, again);
            ASSERT_EQ(again, Save(reloaded)) << trial;
        } else {
            ++failures;
            bystander.ExpectUnchanged();
        }
    }
    EXPECT_GT(failures, 0);
}

TEST_F(SerializeTest, RandomStreamsFail)
{
    QRandomGenerator random(13);
    const QByteArray configHeader = smallBytes->left(8);
    const QByteArray phoneBookHeader = Save(small->phoneBook).left(8);
    for (int trial = 0; trial < 500; ++trial) {
        QByteArray noise(random.bounded(1, 4096), '\0');
        random.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        CConfig config;
        CPhoneBook phoneBook;
        EXPECT_NE(-1, LoadCause(config, noise));
        EXPECT_NE(-1, LoadCause(config, configHeader + noise));
        EXPECT_NE(-1, LoadCause(phoneBook, noise));
        EXPECT_NE(-1, LoadCause(phoneBook, phoneBookHeader + noise));
    }
}

TEST_F(SerializeTest, SettingsAndPhoneBookStreamsAreToldApart)
{
    CConfig config;
    CPhoneBook phoneBook;
    EXPECT_EQ(CArchiveException::badClass, LoadCause(config, Save(small->phoneBook)));
    EXPECT_EQ(CArchiveException::badClass, LoadCause(phoneBook, *smallBytes));
}

// Streams written value by value, each breaking one rule of the form.
class Stream : public CObject {
public:
    template <class T>
    Stream& operator<<(const T& value)
    {
        writes.push_back([value](CArchive& ar) { ar << value; });
        return *this;
    }
    Stream& Record(const CDialingData& record)
    {
        writes.push_back([record](CArchive& ar) { fields::WriteFields(ar, record); });
        return *this;
    }
    void Serialize(CArchive& ar) override
    {
        for (const auto& write : writes)
            write(ar);
    }
    QByteArray Bytes() { return Save(*this); }

private:
    std::vector<std::function<void(CArchive&)>> writes;
};

constexpr DWORD phoneBookMagic = 0x42485054;
constexpr DWORD configMagic = 0x434D5354;
constexpr BYTE ownRecord = 1, speedDialRef = 2, groupDialRef = 3;
constexpr BYTE speedDialMember = 1, oneTouchMember = 2;

// A phone book stream: one speed dial 5, then `rest`.
QByteArray PhoneBookWith(const std::function<void(Stream&)>& rest)
{
    Stream s;
    s << phoneBookMagic << DWORD(1) << DWORD(1) << 5;
    s.Record(CDialingData());
    rest(s);
    return s.Bytes();
}

struct MalformedCase {
    const char* what;
    std::function<QByteArray()> bytes;
    int cause;
};

TEST(MalformedStream, EachBrokenRuleFailsWithItsCause)
{
    const MalformedCase cases[] = {
        {"empty stream", [] { return QByteArray(); }, CArchiveException::endOfFile},
        {"another magic", [] { return (Stream() << DWORD(0x12345678) << DWORD(1)).Bytes(); }, CArchiveException::badClass},
        {"schema from a newer program", [] { return (Stream() << phoneBookMagic << DWORD(2)).Bytes(); },
         CArchiveException::badSchema},
        {"schema 0", [] { return (Stream() << phoneBookMagic << DWORD(0)).Bytes(); }, CArchiveException::badSchema},
        {"more speed dials than the capacity",
         [] { return (Stream() << phoneBookMagic << DWORD(1) << DWORD(CSpeedDial::max_count + 1)).Bytes(); },
         CArchiveException::badIndex},
        {"a count of entries the stream cannot hold",
         [] { return (Stream() << phoneBookMagic << DWORD(1) << DWORD(900) << 1).Bytes(); },
         CArchiveException::endOfFile},
        {"a name longer than the stream",
         [] { return PhoneBookWith([](Stream& s) { s << DWORD(0) << DWORD(1) << 1 << DWORD(0xFFFFFFF0) << DWORD(0) << DWORD(0); }); },
         CArchiveException::endOfFile},
        {"speed dial 1000", [] {
             Stream s;
             s << phoneBookMagic << DWORD(1) << DWORD(1) << 1000;
             return s.Record(CDialingData()).Bytes();
         }, CArchiveException::badIndex},
        {"two speed dials 5", [] {
             Stream s;
             s << phoneBookMagic << DWORD(1) << DWORD(2) << 5;
             s.Record(CDialingData()) << 5;
             return s.Record(CDialingData()).Bytes();
         }, CArchiveException::badIndex},
        {"key beyond the keys", [] {
             return PhoneBookWith([](Stream& s) { s << DWORD(1) << COneTouch::max_count + 1 << BYTE(0) << DWORD(0); });
         }, CArchiveException::badIndex},
        {"key standing for a missing speed dial",
         [] { return PhoneBookWith([](Stream& s) { s << DWORD(1) << 1 << speedDialRef << 6 << DWORD(0); }); },
         CArchiveException::badIndex},
        {"key standing for a missing group",
         [] { return PhoneBookWith([](Stream& s) { s << DWORD(1) << 1 << groupDialRef << 6 << DWORD(0); }); },
         CArchiveException::badIndex},
        {"key with an unknown kind of reference",
         [] { return PhoneBookWith([](Stream& s) { s << DWORD(1) << 1 << BYTE(9) << DWORD(0); }); },
         CArchiveException::badIndex},
        {"group member that does not exist", [] {
             return PhoneBookWith([](Stream& s) {
                 s << DWORD(0) << DWORD(1) << 1 << CString("G") << DWORD(1) << speedDialMember << 6;
             });
         }, CArchiveException::badIndex},
        {"group member twice", [] {
             return PhoneBookWith([](Stream& s) {
                 s << DWORD(0) << DWORD(1) << 1 << CString("G") << DWORD(2) << speedDialMember << 5 << speedDialMember << 5;
             });
         }, CArchiveException::badIndex},
        {"group member of an unknown kind", [] {
             return PhoneBookWith([](Stream& s) {
                 s << DWORD(1) << 1 << ownRecord;
                 s.Record(CDialingData()) << DWORD(1) << 1 << CString("G") << DWORD(1) << BYTE(3) << 1;
             });
         }, CArchiveException::badIndex},
        {"group 2000", [] {
             return PhoneBookWith([](Stream& s) { s << DWORD(0) << DWORD(1) << 2000 << CString("G") << DWORD(0); });
         }, CArchiveException::badIndex},
        {"key member of a group of another number", [] {
             return PhoneBookWith([](Stream& s) {
                 s << DWORD(1) << 1 << ownRecord;
                 s.Record(CDialingData()) << DWORD(1) << 1 << CString("G") << DWORD(1) << oneTouchMember << 2;
             });
         }, CArchiveException::badIndex},
    };
    for (const MalformedCase& c : cases) {
        CPhoneBook phoneBook;
        phoneBook.Add(new CSpeedDial(42));
        EXPECT_EQ(c.cause, LoadCause(phoneBook, c.bytes())) << c.what;
        EXPECT_NE(nullptr, phoneBook.GetSpeedDial(42)) << c.what;
    }
    CConfig config;
    EXPECT_EQ(CArchiveException::badSchema, LoadCause(config, (Stream() << configMagic << DWORD(2)).Bytes()));
}

TEST(MalformedStream, SectionValuesOutOfTheirRangeFail)
{
    // A time of day past midnight, in the second line's reception window.
    CPhoneLineSettings phoneLine;
    Stream s;
    s << phoneLine.line1Number << 0 << 0 << 2 << 30 << 1 << CString() << 0 << 0 << 0 << 24 * 60;
    EXPECT_EQ(CArchiveException::badIndex, LoadCause(phoneLine, s.Bytes()));

    CMailBoxes mailBoxes;
    Stream twoOfOneNumber;
    twoOfOneNumber << DWORD(2);
    for (int i = 0; i < 2; ++i)
        twoOfOneNumber << CString("12") << 0 << CString() << DWORD(0) << -1 << CString();
    EXPECT_EQ(CArchiveException::badIndex, LoadCause(mailBoxes, twoOfOneNumber.Bytes()));

    Stream tooManyDestinations;
    tooManyDestinations << DWORD(1) << CString("12") << 2 << CString() << DWORD(CMailBox::max_relay_dest_count + 1);
    for (int i = 0; i <= CMailBox::max_relay_dest_count; ++i)
        tooManyDestinations << CString("001");
    EXPECT_EQ(CArchiveException::badIndex, LoadCause(mailBoxes, tooManyDestinations.Bytes()));

    CDepartmentCodes codes;
    for (auto [secondId, secondCode] : {std::pair{2, 111}, {1, 222}, {100, 333}, {3, 100000}}) {
        Stream s2;
        s2 << DWORD(2) << 1 << 111 << CString("A") << 0 << 0 << 0;
        s2 << secondId << secondCode << CString("B") << 0 << 0 << 0;
        EXPECT_EQ(CArchiveException::badIndex, LoadCause(codes, s2.Bytes())) << secondId << " " << secondCode;
    }
    EXPECT_EQ(0, codes.GetCount());
}

} // namespace
