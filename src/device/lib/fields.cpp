#include "device/lib/fields.h"

#include "device/lib/serialformat.h"

namespace fields {

void WriteValue(CArchive& ar, const CInterval& value)
{
    ar << value.GetStartMinute() << value.GetStopMinute();
}

void ReadValue(CArchive& ar, CInterval& value)
{
    int start = 0;
    int stop = 0;
    ar >> start >> stop;
    const auto inDay = [](int minute) { return minute >= 0 && minute < CInterval::minutesPerDay; };
    serialformat::Require(inDay(start) && inDay(stop));
    value = CInterval(start, stop);
}

} // namespace fields
