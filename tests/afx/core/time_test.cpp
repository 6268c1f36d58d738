#include "afx/core/ctime.h"
#include "support/helpers.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Central European time with its summer time, as a POSIX rule (no time zone database needed),
// so that local and universal time differ whatever the machine's zone.
class CTimeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        savedZone = qgetenv("TZ");
        zoneWasSet = qEnvironmentVariableIsSet("TZ");
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    static void TearDownTestSuite()
    {
        if (zoneWasSet)
            setenv("TZ", savedZone.constData(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    static inline QByteArray savedZone;
    static inline bool zoneWasSet = false;
};

struct Fields {
    const char* name;
    int year, month, day, hour, minute, second;
};

class CTimeFieldsTest : public CTimeTest, public ::testing::WithParamInterface<Fields> {};

TEST_P(CTimeFieldsTest, ReadsBackWhatItWasBuiltFrom)
{
    const Fields& f = GetParam();
    const CTime t(f.year, f.month, f.day, f.hour, f.minute, f.second);
    EXPECT_EQ(f.year, t.GetYear());
    EXPECT_EQ(f.month, t.GetMonth());
    EXPECT_EQ(f.day, t.GetDay());
    EXPECT_EQ(f.hour, t.GetHour());
    EXPECT_EQ(f.minute, t.GetMinute());
    EXPECT_EQ(f.second, t.GetSecond());
    EXPECT_EQ(t, CTime(t.GetTime()));
}

INSTANTIATE_TEST_SUITE_P(Cases, CTimeFieldsTest, ::testing::Values(
    Fields{"dial_day_midnight", 1970, 1, 3, 0, 0, 0},      // the day the delayed-dial time is built on
    Fields{"dial_day_last_minute", 1970, 1, 3, 23, 59, 0},
    Fields{"leap_day", 2024, 2, 29, 12, 30, 45},
    Fields{"spring_afternoon", 2024, 3, 5, 14, 7, 9},
    Fields{"end_of_2037", 2037, 12, 31, 23, 59, 59},
    Fields{"past_2038", 2040, 6, 1, 8, 0, 0}), RowName);   // past 2038: time_t is 64 bits

TEST_F(CTimeTest, BuildsAndReadsLocalTime)
{
    EXPECT_EQ(1719828000, CTime(2024, 7, 1, 12, 0, 0).GetTime());   // summer: UTC+2
    EXPECT_EQ(1705316400, CTime(2024, 1, 15, 12, 0, 0).GetTime());  // winter: UTC+1
    EXPECT_EQ(12, CTime(1719828000).GetHour());
    EXPECT_EQ(CString("1970-01-01 01:00"), CTime(0).Format("%Y-%m-%d %H:%M"));
}

TEST_F(CTimeTest, FieldsOutOfRangeRollOver)
{
    const CTime t(2024, 12, 31, 23, 60, 0);
    EXPECT_EQ(2025, t.GetYear());
    EXPECT_EQ(1, t.GetMonth());
    EXPECT_EQ(1, t.GetDay());
    EXPECT_EQ(0, t.GetHour());
    EXPECT_EQ(0, t.GetMinute());
}

TEST_F(CTimeTest, FormatsWithStrftimeCodes)
{
    const CTime t(2024, 3, 5, 9, 7, 0);
    EXPECT_EQ(CString("09:07"), t.Format("%H:%M"));
    EXPECT_EQ(CString("05/03/2024 à 09h07"), t.Format(_T("%d/%m/%Y à %Hh%M")));
    EXPECT_EQ(CString(), t.Format(""));
    const CString longFormat('x', 500);
    EXPECT_EQ(CString("2024") + longFormat, t.Format("%Y" + longFormat));
}

TEST_F(CTimeTest, OrdersByMoment)
{
    const CTime early(2024, 1, 1, 0, 0, 0), late(2024, 1, 1, 0, 0, 1);
    EXPECT_LT(early, late);
    EXPECT_NE(early, late);
    EXPECT_EQ(1, late.GetTime() - early.GetTime());
    EXPECT_LE(CTime(2024, 1, 1, 0, 0, 0), CTime::GetCurrentTime());
}

} // namespace
