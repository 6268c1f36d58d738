// Entry numbers: their text, and the search for a free one.
#include "records.h"

namespace {

TEST(FormatId, PadsWithZerosToTheWidth)
{
    const std::tuple<int, int, const char*> cases[] = {
        {5, 3, "005"}, {38, 2, "38"}, {1, 4, "0001"}, {1234, 2, "1234"}, {0, 2, "00"}, {7, 0, "7"},
        {-5, 3, "-05"}, {-1234, 2, "-1234"},
    };
    for (auto [n, digits, text] : cases)
        EXPECT_EQ(CString(text), FormatId(n, digits)) << n << " " << digits;
}

TEST(NextAvailableId, StepsOverTakenNumbersInEitherDirection)
{
    CPhoneBook book;
    for (int n : {1, 2, 3, 5, 8, 9})
        ASSERT_TRUE(book.Add(new CSpeedDial(n)));
    const CObList& list = book.GetSpeedDials();
    struct Case {
        int from;
        BOOL down;
        int next;
    };
    const Case cases[] = {
        {0, FALSE, 4}, {3, FALSE, 4}, {4, FALSE, 6}, {7, FALSE, 10}, {9, FALSE, 10}, {998, FALSE, 999},
        {9, TRUE, 7},  {6, TRUE, 4},  {4, TRUE, 0},  {1, TRUE, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.next, NextAvailableId(list, c.from, c.down)) << c.from << (c.down ? " down" : " up");

    CObList empty;
    EXPECT_EQ(1, NextAvailableId(empty, 0, FALSE));
}

TEST(NextAvailableId, WorksOnTheClientCodesToo)
{
    CDepartmentCodes codes;
    ASSERT_TRUE(codes.Add(new CDepartmentCode(1, 11111)));
    ASSERT_TRUE(codes.Add(new CDepartmentCode(2, 22222)));
    EXPECT_EQ(3, NextAvailableId(codes, 0, 0));
}

} // namespace
