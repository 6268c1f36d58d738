#include "device/lib/fields.h"

#include "device/lib/serialformat.h"

#include <algorithm>

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

namespace fields {

bool Rule::FitsLength(const CString& value) const
{
    return kind != text || (value.GetLength() >= minLength && value.GetLength() <= maxLength);
}

bool Rule::HasChars(const CString& value) const
{
    if (kind != text || chars == Chars::any)
        return true;
    const QString& s = value;
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace fields
