// The directory's rules: numbers, ownership, references between entries, row texts.
#include "records.h"

#include "device/lib/serialformat.h"

#include <set>
#include <vector>

namespace {

std::vector<int> Numbers(const CObList& list)
{
    std::vector<int> numbers;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        numbers.push_back(static_cast<const CIdObject*>(list.GetNext(pos))->GetId());
    return numbers;
}

std::vector<CString> Texts(const CIdObject& entry)
{
    CStringArray texts;
    entry.GetText(texts);
    return std::vector<CString>(texts.GetData(), texts.GetData() + texts.GetSize());
}

// Speed dials 1-3; keys 1 (own record), 2 (speed dial 2), 3 (group 1), 4 (own record);
// group 1 of speed dials 1, 2 and key 1, group 2 of speed dial 2 and key 4.
class PhoneBookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 3; ++n) {
            auto* speedDial = new CSpeedDial(n);
            speedDial->GetDialingData()->name = QString("Abrégé %1").arg(n);
            speedDial->GetDialingData()->faxNumber = QString("0140%1$12#").arg(n);
            ASSERT_TRUE(book.Add(speedDial));
        }
        AddKey(1, OwnRecord("Touche 1", "0222"));
        AddKey(2, book.GetSpeedDial(2));
        auto* sales = new CGroupDial(1, "Ventes");
        auto* support = new CGroupDial(2, "Support");
        ASSERT_TRUE(book.Add(sales));
        ASSERT_TRUE(book.Add(support));
        AddKey(3, sales);
        AddKey(4, OwnRecord("Touche 4", "0444"));
        for (CObject* member : {static_cast<CObject*>(book.GetSpeedDial(1)), static_cast<CObject*>(book.GetSpeedDial(2)),
                                static_cast<CObject*>(book.GetOneTouch(1))})
            sales->members.AddTail(member);
        support->members.AddTail(book.GetSpeedDial(2));
        support->members.AddTail(book.GetOneTouch(4));
    }

    CDialingData* OwnRecord(const char* name, const char* faxNumber)
    {
        CDialingData* record = book.NewDialingData();
        record->name = name;
        record->faxNumber = faxNumber;
        return record;
    }

    void AddKey(int number, CObject* ref) { ASSERT_TRUE(book.Add(new COneTouch(number, ref))); }

    std::vector<CString> Members(int group) const
    {
        std::vector<CString> members;
        const CObList& list = book.GetGroupDial(group)->members;
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
            members.push_back(Texts(*static_cast<const CIdObject*>(list.GetNext(pos)))[0]);
        return members;
    }

    // Every reference leads to an entry that the phone book holds, or to a key's own record.
    void ExpectReferencesSound() const
    {
        std::set<const CObject*> held;
        for (const CObList* list : {&book.GetSpeedDials(), &book.GetOneTouches(), &book.GetGroupDials()}) {
            for (POSITION pos = list->GetHeadPosition(); pos != nullptr;)
                held.insert(list->GetNext(pos));
        }
        for (POSITION pos = book.GetOneTouches().GetHeadPosition(); pos != nullptr;) {
            const auto* key = static_cast<const COneTouch*>(book.GetOneTouches().GetNext(pos));
            EXPECT_TRUE(key->GetRef() == nullptr || key->GetDialingData() != nullptr || held.count(key->GetRef()) != 0)
                << "key " << key->GetId();
        }
        for (POSITION pos = book.GetGroupDials().GetHeadPosition(); pos != nullptr;) {
            const auto* group = static_cast<const CGroupDial*>(book.GetGroupDials().GetNext(pos));
            for (POSITION at = group->members.GetHeadPosition(); at != nullptr;)
                EXPECT_EQ(1u, held.count(group->members.GetNext(at))) << "group " << group->GetId();
        }
    }

    CPhoneBook book;
};

TEST_F(PhoneBookTest, AddRefusesANumberThatAnotherEntryHolds)
{
    CSpeedDial speedDial(2);
    COneTouch key(4);
    CGroupDial group(1);
    EXPECT_FALSE(book.Add(&speedDial));
    EXPECT_FALSE(book.Add(&key));
    EXPECT_FALSE(book.Add(&group));
    EXPECT_EQ(9, book.GetCount(4));
}

TEST_F(PhoneBookTest, AddAcceptsAnEntryItHoldsAndKeepsTheNumberOrder)
{
    CSpeedDial* first = book.GetSpeedDial(1);
    EXPECT_TRUE(book.Add(first));

    first->SetId(10);
    EXPECT_TRUE(book.Add(first));
    EXPECT_EQ((std::vector<int>{2, 3, 10}), Numbers(book.GetSpeedDials()));
    EXPECT_EQ(first, book.GetSpeedDial(10));

    first->SetId(3);
    EXPECT_FALSE(book.Add(first));
    first->SetId(10);
    EXPECT_EQ(3, book.GetCount(1));
}

TEST_F(PhoneBookTest, AddRefusesNumbersOutsideTheRangesAndEntriesBeyondTheCapacity)
{
    for (int number : {0, -1, 1000}) {
        CSpeedDial speedDial(number);
        EXPECT_FALSE(book.Add(&speedDial)) << number;
    }
    for (int number : {0, COneTouch::max_count + 1}) {
        COneTouch key(number);
        EXPECT_FALSE(book.Add(&key)) << number;
    }
    for (int number : {0, 2000}) {
        CGroupDial group(number);
        EXPECT_FALSE(book.Add(&group)) << number;
    }
    CapacityGuard capacity(CSpeedDial::max_count, 3);
    CSpeedDial fourth(999);
    EXPECT_FALSE(book.Add(&fourth));
    EXPECT_TRUE(book.Add(book.GetSpeedDial(3)));
}

// A batch refuses what Add refuses, finds its own entries by number before they are in the
// lists, and leaves every list in number order once it ends.
TEST_F(PhoneBookTest, ABatchAddsAsAddDoesAndMergesInNumberOrder)
{
    CapacityGuard capacity(CSpeedDial::max_count, 6);
    {
        CPhoneBookBatch batch(book);
        CSpeedDial held(2);
        COneTouch heldKey(3);
        CGroupDial heldGroup(1);
        EXPECT_FALSE(batch.Add(&held));
        EXPECT_FALSE(batch.Add(&heldKey));
        EXPECT_FALSE(batch.Add(&heldGroup));
        for (int number : {0, 1000}) {
            CSpeedDial outside(number);
            EXPECT_FALSE(batch.Add(&outside)) << number;
        }
        for (int number : {9, 5, 7})
            EXPECT_TRUE(batch.Add(new CSpeedDial(number))) << number;
        CSpeedDial beyond(8);
        EXPECT_FALSE(batch.Add(&beyond));   // 3 held and 3 added: at the capacity
        EXPECT_TRUE(batch.Add(new COneTouch(38, batch.GetSpeedDial(5))));
        EXPECT_TRUE(batch.Add(new CGroupDial(1999, "Tous")));
        EXPECT_EQ(5, batch.GetSpeedDial(5)->GetId());
        EXPECT_EQ(book.GetSpeedDial(2), batch.GetSpeedDial(2));
        EXPECT_EQ(nullptr, batch.GetSpeedDial(4));
        EXPECT_EQ(6, batch.GetCount(1));
        EXPECT_EQ(3, book.GetCount(1));   // not in the lists yet
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5, 7, 9}), Numbers(book.GetSpeedDials()));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 38}), Numbers(book.GetOneTouches()));
    EXPECT_EQ((std::vector<int>{1, 2, 1999}), Numbers(book.GetGroupDials()));
    EXPECT_EQ(book.GetSpeedDial(5), book.GetOneTouch(38)->GetRef());
    ExpectReferencesSound();
}

TEST_F(PhoneBookTest, AKeyHeldAboveALoweredCapacityIsWrittenWithItsGroups)
{
    QByteArray bytes;
    {
        CapacityGuard capacity(COneTouch::max_count, 2);
        bytes = serialformat::StoreToBytes(book);
    }
    CPhoneBook read;
    serialformat::LoadFromBytes(read, bytes);
    ASSERT_NE(read.GetOneTouch(4), nullptr);
    EXPECT_EQ(2, read.GetGroupDial(2)->members.GetCount());
    EXPECT_TRUE(read.GetGroupDial(2)->members.Find(read.GetOneTouch(4)) != nullptr);
}

TEST_F(PhoneBookTest, DeletingASpeedDialTakesItOutOfGroupsAndDeletesTheKeysStandingForIt)
{
    book.Delete(book.GetSpeedDial(2));

    EXPECT_EQ((std::vector<int>{1, 3}), Numbers(book.GetSpeedDials()));
    EXPECT_EQ((std::vector<int>{1, 3, 4}), Numbers(book.GetOneTouches()));
    EXPECT_EQ((std::vector<CString>{"001", "01"}), Members(1));
    EXPECT_EQ((std::vector<CString>{"04"}), Members(2));
    ExpectReferencesSound();
}

TEST_F(PhoneBookTest, DeletingAGroupDeletesTheKeysStandingForIt)
{
    book.Delete(book.GetGroupDial(1));

    EXPECT_EQ((std::vector<int>{2}), Numbers(book.GetGroupDials()));
    EXPECT_EQ((std::vector<int>{1, 2, 4}), Numbers(book.GetOneTouches()));
    EXPECT_EQ(3, book.GetCount(1));
    ExpectReferencesSound();
}

TEST_F(PhoneBookTest, DeletingAKeyTakesItOutOfGroups)
{
    book.Delete(book.GetOneTouch(1));

    EXPECT_EQ((std::vector<CString>{"001", "002"}), Members(1));
    EXPECT_EQ((std::vector<int>{2, 3, 4}), Numbers(book.GetOneTouches()));
    ExpectReferencesSound();
}

TEST_F(PhoneBookTest, DeletingAKeysRecordLeavesTheKeyWithoutReference)
{
    COneTouch* key = book.GetOneTouch(4);
    book.Delete(key->GetDialingData());

    EXPECT_EQ(nullptr, key->GetRef());
    EXPECT_EQ((std::vector<CString>{"04", "Individuel", "", ""}), Texts(*key));
}

TEST_F(PhoneBookTest, DeleteLeavesAloneWhatThePhoneBookDoesNotHold)
{
    CSpeedDial stranger(2);
    CDialingData record;
    book.Delete(&stranger);
    book.Delete(&record);
    EXPECT_EQ(9, book.GetCount(4));
    EXPECT_EQ(book.GetSpeedDial(2), book.GetOneTouch(2)->GetRef());
}

TEST_F(PhoneBookTest, DeleteContentsEmptiesOneKindOrAllAndKeepsReferencesSound)
{
    struct Case {
        int kind;
        std::vector<int> speedDials, oneTouches, groupDials;
        std::vector<CString> firstGroup;
    };
    const Case cases[] = {
        {1, {}, {1, 3, 4}, {1, 2}, {"01"}},
        {2, {1, 2, 3}, {}, {1, 2}, {"001", "002"}},
        {3, {1, 2, 3}, {1, 2, 4}, {}, {}},
        {4, {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << c.kind);
        book.DeleteContents(4);
        SetUp();
        book.DeleteContents(c.kind);
        EXPECT_EQ(c.speedDials, Numbers(book.GetSpeedDials())) << c.kind;
        EXPECT_EQ(c.oneTouches, Numbers(book.GetOneTouches())) << c.kind;
        EXPECT_EQ(c.groupDials, Numbers(book.GetGroupDials())) << c.kind;
        if (!c.groupDials.empty()) {
            EXPECT_EQ(c.firstGroup, Members(1)) << c.kind;
        }
        ExpectReferencesSound();
    }
}

TEST_F(PhoneBookTest, GetNameTellsTheKindByTheWidthOfTheNumber)
{
    struct Case {
        const char* number;
        int kind;
        const char* name;
    };
    const Case cases[] = {
        {"001", 1, "Abrégé 1"}, {"02", 2, "Abrégé 2"}, {"03", 2, "Ventes"}, {"01", 2, "Touche 1"},
        {"0001", 3, "Ventes"},  {"099", 1, ""},        {"38", 2, ""},       {"x", 3, ""},
    };
    for (const Case& c : cases) {
        CString name = "stale";
        EXPECT_EQ(c.kind, book.GetName(c.number, name)) << c.number;
        EXPECT_EQ(CString(c.name), name) << c.number;
    }
}

TEST_F(PhoneBookTest, RowTextsFollowTheColumnsOfEachKind)
{
    struct Case {
        const CIdObject* entry;
        std::vector<CString> texts;
    };
    const Case cases[] = {
        {book.GetSpeedDial(1), {"001", "Abrégé 1", "01401$$$$"}},
        {book.GetOneTouch(1), {"01", "Individuel", "Touche 1", "0222"}},
        {book.GetOneTouch(2), {"02", "Composition abrégée", "Abrégé 2", "002"}},
        {book.GetOneTouch(3), {"03", "Composition de groupe", "Ventes", "0001"}},
        {book.GetGroupDial(2), {"0002", "Support"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.texts, Texts(*c.entry)) << Text(c.texts[0]);
}

TEST_F(PhoneBookTest, EntriesAreToldApartByTheirRunTimeClass)
{
    const CObject* speedDial = book.GetOneTouch(2)->GetRef();
    const CObject* group = book.GetOneTouch(3)->GetRef();
    const CObject* record = book.GetOneTouch(1)->GetRef();
    EXPECT_TRUE(speedDial->IsKindOf(RUNTIME_CLASS(CSpeedDial)));
    EXPECT_FALSE(speedDial->IsKindOf(RUNTIME_CLASS(COneTouch)));
    EXPECT_TRUE(group->IsKindOf(RUNTIME_CLASS(CGroupDial)));
    EXPECT_TRUE(group->IsKindOf(RUNTIME_CLASS(CIdObject)));
    EXPECT_TRUE(record->IsKindOf(RUNTIME_CLASS(CDialingData)));
    EXPECT_FALSE(record->IsKindOf(RUNTIME_CLASS(CIdObject)));
}

} // namespace
