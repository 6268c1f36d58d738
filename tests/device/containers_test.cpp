// The mailboxes and the client codes: numbers and codes stay unique, the lists own their entries.
#include "records.h"

#include <memory>

namespace {

TEST(MailBoxes, AddRefusesAnotherMailBoxOfTheSameNumberAndAcceptsOneItHolds)
{
    CMailBoxes mailBoxes;
    auto* first = new CMailBox("10");
    ASSERT_TRUE(mailBoxes.Add(first));
    EXPECT_TRUE(mailBoxes.Add(first));

    CMailBox twin("10");
    EXPECT_FALSE(mailBoxes.Add(&twin));

    first->number = "11";
    EXPECT_TRUE(mailBoxes.Add(first));
    EXPECT_EQ(first, mailBoxes.Get("11"));
    EXPECT_EQ(nullptr, mailBoxes.Get("10"));
    EXPECT_EQ(1, mailBoxes.GetCount());
}

TEST(MailBoxes, AddRefusesAMailBoxBeyondTheCapacity)
{
    CMailBoxes mailBoxes;
    for (int n = 0; n < CMailBox::max_count; ++n)
        ASSERT_TRUE(mailBoxes.Add(new CMailBox(QString::number(n))));
    CMailBox extra("extra");
    EXPECT_FALSE(mailBoxes.Add(&extra));
}

TEST(MailBoxes, RowTextsNameTheType)
{
    const std::pair<int, const char*> types[] = {{0, "Confidentiel"}, {1, "Babillard"}, {2, "Relais"}, {-1, ""}, {3, ""}};
    for (auto [type, text] : types) {
        CStringArray texts;
        CMailBox("0042", CString(), type).GetText(texts);
        ASSERT_EQ(2, texts.GetSize());
        EXPECT_EQ(CString("0042"), texts[0]);
        EXPECT_EQ(CString(text), texts[1]) << type;
    }
}

TEST(MailBoxes, BusyMailBoxesAreTheDevicesAndOutliveTheListsContents)
{
    CConfig config;
    CStringArray busy;
    busy.Add("7");
    config.mailBoxes.SetBusyNumbers(busy);
    CConfig other;
    FillSmallRecord(other);

    config.DeleteContents();
    Load(config, Save(other));

    EXPECT_TRUE(config.mailBoxes.IsBusy("7"));
    EXPECT_FALSE(config.mailBoxes.IsBusy("1"));
}

// Client codes 1 (the master code, 12345) and 2 (222).
class ClientCodesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(codes.Add(new CDepartmentCode(1, 12345, "Principal")));
        ASSERT_TRUE(codes.Add(new CDepartmentCode(2, 222, "Compta")));
    }
    CDepartmentCodes codes;
};

TEST_F(ClientCodesTest, AddRefusesTakenIdsAndCodesAndValuesOutOfRange)
{
    const std::pair<int, int> refused[] = {{2, 333}, {3, 222}, {0, 333}, {100, 333}, {3, -1}, {3, 100000}};
    for (auto [id, code] : refused) {
        CDepartmentCode entry(id, code);
        EXPECT_FALSE(codes.Add(&entry)) << id << " " << code;
    }
    EXPECT_EQ(2, codes.GetCount());
}

TEST_F(ClientCodesTest, AddAcceptsACodeItHoldsAndKeepsTheIdOrder)
{
    CDepartmentCode* compta = codes.Get(2);
    compta->SetId(50);
    compta->code = 0;
    EXPECT_TRUE(codes.Add(compta));
    ASSERT_TRUE(codes.Add(new CDepartmentCode(9, 9)));
    EXPECT_EQ(compta, codes.FindCode(0));
    EXPECT_EQ(compta, codes.GetTail());
    EXPECT_EQ(codes.Get(9), codes.GetAt(codes.FindIndex(1)));

    compta->code = 12345;
    EXPECT_FALSE(codes.Add(compta));
}

TEST_F(ClientCodesTest, TheMasterCodeSurvivesClearingTheOthersWhenTakenOutFirst)
{
    CDepartmentCode* master = codes.Get(1);
    codes.RemoveAt(codes.Find(master));
    codes.DeleteContents();
    EXPECT_TRUE(codes.Add(master));
    EXPECT_EQ(1, codes.GetCount());
    EXPECT_EQ(master, codes.FindCode(12345));
}

TEST_F(ClientCodesTest, DeleteDestroysOnlyWhatTheListHolds)
{
    CDepartmentCode stranger(2, 222);
    codes.Delete(&stranger);
    EXPECT_EQ(2, codes.GetCount());
    codes.Delete(codes.Get(2));
    EXPECT_EQ(nullptr, codes.Get(2));
    EXPECT_EQ(nullptr, codes.FindCode(222));
}

TEST_F(ClientCodesTest, RowTextsShowIdCodeNameAndCounters)
{
    codes.Get(2)->sentPages = 14;
    codes.Get(2)->copiedPages = 3;
    CStringArray texts;
    codes.Get(2)->GetText(texts);
    const CString expected[] = {"02", "00222", "Compta", "14", "0", "3"};
    ASSERT_EQ(6, texts.GetSize());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], texts[i]) << i;
}

} // namespace
