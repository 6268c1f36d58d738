// A daily time window: a start and a stop time of day, minutes apart from the date.
#pragma once

#include "afx/afx.h"

class CInterval {
public:
    static constexpr int minutesPerDay = 24 * 60;

    // Times of day in minutes after midnight, each in [0, minutesPerDay).
    CInterval(int startMinute = 0, int stopMinute = 0);

    // The two times on one fixed day; only their hours and minutes mean anything.
    void Get(CTime& start, CTime& stop) const;
    // Keeps the hour and minute of each time; the date and seconds are dropped.
    void Set(const CTime& start, const CTime& stop);

    int GetStartMinute() const { return startMinute; }
    int GetStopMinute() const { return stopMinute; }

    friend bool operator==(const CInterval&, const CInterval&) = default;

private:
    int startMinute;
    int stopMinute;
};
