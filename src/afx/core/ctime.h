// CTime: a moment in seconds since 1970 (UTC), read and built in local time.
#pragma once

#include "afx/core/cstring.h"
#include "afx/core/types.h"

#include <compare>
#include <ctime>

class CTime {
public:
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(time_t time) : time(time) {}
    // Local time; fields out of range roll over as mktime does (minute 60 is the next hour).
    // nDST: 1 summer time, 0 standard time, -1 as the date has it.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    time_t GetTime() const { return time; }
    int GetYear() const;
    int GetMonth() const;       // 1 to 12
    int GetDay() const;         // 1 to 31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;

    // strftime codes (%H:%M, %d/%m/%Y ...), in local time.
    CString Format(const CString& format) const;

    friend bool operator==(CTime, CTime) = default;
    friend auto operator<=>(CTime, CTime) = default;

private:
    std::tm Local() const;

    time_t time = 0;
};
