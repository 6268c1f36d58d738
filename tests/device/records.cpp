#include "records.h"

#include "device/lib/dialstring.h"
#include "device/lib/serialformat.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <type_traits>
#include <vector>

QByteArray Save(CObject& object)
{
    return serialformat::StoreToBytes(object);
}

void Load(CObject& object, const QByteArray& bytes)
{
    serialformat::LoadFromBytes(object, bytes);
}

namespace {

struct RecordSize {
    int speedDials, oneTouches, groupDials, membersPerGroup, mailBoxes, destinations, clientCodes;
};

template <class Section>
void FillSection(Section& section, int seed)
{
    FillEveryField(section, seed);
}
void FillSection(CPhoneBook&, int) {}
void FillSection(CMailBoxes&, int) {}
void FillSection(CDepartmentCodes&, int) {}

void FillRecord(CConfig& config, const RecordSize& size)
{
    int seed = 0;
    CConfig::Sections([&](const char*, auto section) { FillSection(config.*section, ++seed); });

    CPhoneBook& book = config.phoneBook;
    for (int n = 1; n <= size.speedDials; ++n) {
        auto* entry = new CSpeedDial(n);
        FillEveryField(*entry->GetDialingData(), n);
        entry->GetDialingData()->faxNumber = FaxWithChargeCode(QString("01 40 %1").arg(n), QString("%1#*").arg(n));
        ASSERT_TRUE(book.Add(entry));
    }
    // Keys in turn dial their own record, a speed dial and a group dial.
    for (int n = 1; n <= size.oneTouches; ++n) {
        auto* key = new COneTouch(n);
        ASSERT_TRUE(book.Add(key));
        if (n % 3 == 1) {
            CDialingData* record = book.NewDialingData();
            FillEveryField(*record, 1000 + n);
            key->SetRef(record);
        } else if (n % 3 == 2) {
            key->SetRef(book.GetSpeedDial((n - 1) % size.speedDials + 1));
        }
    }
    for (int n = 1; n <= size.groupDials; ++n) {
        auto* group = new CGroupDial(n, QString("Groupe « %1 »").arg(n));
        for (int m = 0; m < size.membersPerGroup; ++m)
            group->members.AddTail(book.GetSpeedDial((n + 37 * m) % size.speedDials + 1));
        group->members.AddTail(book.GetOneTouch(1));
        ASSERT_TRUE(book.Add(group));
    }
    for (int n = 3; n <= size.oneTouches; n += 3)
        book.GetOneTouch(n)->SetRef(book.GetGroupDial((n - 1) % size.groupDials + 1));

    for (int n = 1; n <= size.mailBoxes; ++n) {
        CStringArray destinations;
        for (int d = 1; n % 3 == 2 && d <= size.destinations; ++d)
            destinations.Add(FormatId(d, CSpeedDial::digits));
        // Reports to a directory entry name one that is there.
        const int reportKind = n % 6 - 1;
        const int digitsOfKind[] = {CSpeedDial::digits, COneTouch::digits, CGroupDial::digits};
        const CString reportDest = reportKind >= 2 ? FormatId(1, digitsOfKind[reportKind - 2]) : CString(QString("0%1").arg(n));
        ASSERT_TRUE(config.mailBoxes.Add(new CMailBox(QString::number(n), QString("mdp%1").arg(n), n % 3,
                                                      &destinations, reportKind, reportDest)));
    }
    for (int id = 1; id <= size.clientCodes; ++id)
        ASSERT_TRUE(config.clientCodes.Add(
            new CDepartmentCode(id, id * 1000 + 7, QString("Client %1").arg(id), id, 2 * id, 3 * id)));
}

// What a key stands for, comparable across two phone books.
CString Reference(const COneTouch& key)
{
    const CObject* ref = key.GetRef();
    if (ref == nullptr)
        return "none";
    if (ref->IsKindOf(RUNTIME_CLASS(CSpeedDial)))
        return QString("speed dial %1").arg(static_cast<const CIdObject*>(ref)->GetId());
    if (ref->IsKindOf(RUNTIME_CLASS(CGroupDial)))
        return QString("group %1").arg(static_cast<const CIdObject*>(ref)->GetId());
    return "own record";
}

CString MemberList(const CGroupDial& group)
{
    QStringList members;
    for (POSITION pos = group.members.GetHeadPosition(); pos != nullptr;) {
        const auto* entry = static_cast<const CIdObject*>(group.members.GetNext(pos));
        members << QString("%1 %2").arg(entry->IsKindOf(RUNTIME_CLASS(COneTouch)) ? "key" : "speed dial").arg(entry->GetId());
    }
    return members.join(", ");
}

template <class Entry, class Compare>
void ExpectSameEntries(const char* what, const CObList& expected, const CObList& actual, Compare compare)
{
    ASSERT_EQ(expected.GetCount(), actual.GetCount()) << what;
    POSITION e = expected.GetHeadPosition();
    POSITION a = actual.GetHeadPosition();
    while (e != nullptr) {
        const auto* expectedEntry = static_cast<const Entry*>(expected.GetNext(e));
        const auto* actualEntry = static_cast<const Entry*>(actual.GetNext(a));
        compare(*expectedEntry, *actualEntry);
    }
}

template <class Object>
void ExpectSameFields(const char* what, const Object& expected, const Object& actual)
{
    Object::Fields([&](const char* name, auto field, const auto&) {
        EXPECT_TRUE(fields::SameValue(expected.*field, actual.*field)) << what << "." << name;
    });
}

template <class Section>
void ExpectSameSection(const char* name, const Section& expected, const Section& actual)
{
    ExpectSameFields(name, expected, actual);
}

void ExpectSameSection(const char*, const CPhoneBook& expected, const CPhoneBook& actual)
{
    ExpectSamePhoneBook(expected, actual);
}

void ExpectSameSection(const char* name, const CMailBoxes& expected, const CMailBoxes& actual)
{
    ExpectSameEntries<CMailBox>(name, expected, actual, [&](const CMailBox& e, const CMailBox& a) {
        EXPECT_TRUE(e == a) << name << " " << Text(e.number) << " differs";
    });
}

void ExpectSameSection(const char* name, const CDepartmentCodes& expected, const CDepartmentCodes& actual)
{
    ExpectSameEntries<CDepartmentCode>(name, expected, actual, [&](const CDepartmentCode& e, const CDepartmentCode& a) {
        EXPECT_TRUE(e == a) << name << " " << e.GetId() << " differs";
    });
}

} // namespace

namespace {

template <class T>
void KeepWithin(T&, const fields::Rule&)
{
}

void KeepWithin(int& value, const fields::Rule& rule)
{
    if (rule.kind == fields::Rule::number)
        value = std::clamp(value, rule.low, rule.high);
}

void KeepWithin(CString& value, const fields::Rule& rule)
{
    if (rule.kind != fields::Rule::text)
        return;
    QString text = static_cast<const QString&>(value);
    if (rule.chars == fields::Chars::digits)
        text.replace(QRegularExpression("[^0-9]"), "7");
    text = text.left(rule.maxLength);
    while (text.size() < rule.minLength)
        text += '7';
    value = text;
}

template <class T, std::size_t N>
void KeepWithin(T (&values)[N], const fields::Rule& rule)
{
    for (T& value : values)
        KeepWithin(value, rule);
}

template <class Object>
void KeepFieldsWithin(Object& object)
{
    Object::Fields([&](const char*, auto field, const auto& rule) { KeepWithin(object.*field, fields::Evaluate(rule, object)); });
}

template <class Entry>
void KeepEntriesWithin(CObList& list)
{
    for (POSITION at = list.GetHeadPosition(); at != nullptr;) {
        auto* entry = static_cast<Entry*>(list.GetNext(at));
        if constexpr (std::is_same_v<Entry, CSpeedDial> || std::is_same_v<Entry, COneTouch>) {
            if (CDialingData* record = entry->GetDialingData())
                KeepFieldsWithin(*record);
        } else {
            KeepFieldsWithin(*entry);
        }
    }
}

template <class Section>
void KeepSectionWithin(Section& section)
{
    KeepFieldsWithin(section);
}
void KeepSectionWithin(CPhoneBook& phoneBook)
{
    KeepEntriesWithin<CSpeedDial>(phoneBook.GetSpeedDials());
    KeepEntriesWithin<COneTouch>(phoneBook.GetOneTouches());
    KeepEntriesWithin<CGroupDial>(phoneBook.GetGroupDials());
}
void KeepSectionWithin(CMailBoxes& mailBoxes) { KeepEntriesWithin<CMailBox>(mailBoxes); }
void KeepSectionWithin(CDepartmentCodes& codes) { KeepEntriesWithin<CDepartmentCode>(codes); }

} // namespace

void KeepWithinRules(CConfig& config)
{
    CConfig::Sections([&](const char*, auto section) { KeepSectionWithin(config.*section); });
    // A list index brought within its list may now name a kind of entry the value is not.
    config.DropDanglingReferences();
}

void FillFullRecord(CConfig& config)
{
    FillRecord(config, {CSpeedDial::max_count, COneTouch::max_count, CGroupDial::max_count, 3, CMailBox::max_count,
                        CMailBox::max_relay_dest_count, CDepartmentCode::max_count});
}

void FillSmallRecord(CConfig& config)
{
    FillRecord(config, {3, 3, 2, 2, 2, 2, 2});
}

void ExpectSamePhoneBook(const CPhoneBook& expected, const CPhoneBook& actual)
{
    ExpectSameEntries<CSpeedDial>("speed dials", expected.GetSpeedDials(), actual.GetSpeedDials(),
                                  [](const CSpeedDial& e, const CSpeedDial& a) {
                                      ASSERT_EQ(e.GetId(), a.GetId());
                                      ExpectSameFields("speed dial", *e.GetDialingData(), *a.GetDialingData());
                                  });
    ExpectSameEntries<COneTouch>("one-touch keys", expected.GetOneTouches(), actual.GetOneTouches(),
                                 [](const COneTouch& e, const COneTouch& a) {
                                     ASSERT_EQ(e.GetId(), a.GetId());
                                     EXPECT_EQ(Reference(e), Reference(a)) << "key " << e.GetId();
                                     ASSERT_EQ(e.GetDialingData() == nullptr, a.GetDialingData() == nullptr);
                                     if (e.GetDialingData() != nullptr)
                                         ExpectSameFields("key record", *e.GetDialingData(), *a.GetDialingData());
                                 });
    ExpectSameEntries<CGroupDial>("group dials", expected.GetGroupDials(), actual.GetGroupDials(),
                                  [](const CGroupDial& e, const CGroupDial& a) {
                                      ASSERT_EQ(e.GetId(), a.GetId());
                                      EXPECT_EQ(e.name, a.name);
                                      EXPECT_EQ(MemberList(e), MemberList(a)) << "group " << e.GetId();
                                  });
}

void ExpectSameRecord(const CConfig& expected, const CConfig& actual)
{
    CConfig::Sections([&](const char* name, auto section) { ExpectSameSection(name, expected.*section, actual.*section); });
}
