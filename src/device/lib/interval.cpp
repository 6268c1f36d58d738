#include "device/lib/interval.h"

namespace {
int MinuteOfDay(const CTime& time)
{
    return time.GetHour() * 60 + time.GetMinute();
}

CTime TimeOfDay(int minute)
{
    return CTime(1970, 1, 3, minute / 60, minute % 60, 0);
}
}

CInterval::CInterval(int startMinute, int stopMinute) : startMinute(startMinute), stopMinute(stopMinute)
{
    ASSERT(startMinute >= 0 && startMinute < minutesPerDay);
    ASSERT(stopMinute >= 0 && stopMinute < minutesPerDay);
}

void CInterval::Get(CTime& start, CTime& stop) const
{
    start = TimeOfDay(startMinute);
    stop = TimeOfDay(stopMinute);
}

void CInterval::Set(const CTime& start, const CTime& stop)
{
    startMinute = MinuteOfDay(start);
    stopMinute = MinuteOfDay(stop);
}
