#include "afx/core/ctime.h"

#include <QByteArray>

#include <string>

CTime CTime::GetCurrentTime()
{
    return CTime(std::time(nullptr));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    std::tm fields{};
    fields.tm_year = nYear - 1900;
    fields.tm_mon = nMonth - 1;
    fields.tm_mday = nDay;
    fields.tm_hour = nHour;
    fields.tm_min = nMin;
    fields.tm_sec = nSec;
    fields.tm_isdst = nDST;
    time = std::mktime(&fields);
}

std::tm CTime::Local() const
{
    std::tm fields{};
    localtime_r(&time, &fields);
    return fields;
}

int CTime::GetYear() const { return Local().tm_year + 1900; }
int CTime::GetMonth() const { return Local().tm_mon + 1; }
int CTime::GetDay() const { return Local().tm_mday; }
int CTime::GetHour() const { return Local().tm_hour; }
int CTime::GetMinute() const { return Local().tm_min; }
int CTime::GetSecond() const { return Local().tm_sec; }

CString CTime::Format(const CString& format) const
{
    // A mark after the format tells an empty result from a buffer too small.
    const QByteArray pattern = static_cast<const QString&>(format).toUtf8() + '|';
    const std::tm fields = Local();
    std::string out(64 + 4 * static_cast<size_t>(pattern.size()), '\0');
    size_t length;
    while ((length = std::strftime(out.data(), out.size(), pattern.constData(), &fields)) == 0)
        out.resize(out.size() * 2);
    out.resize(length - 1);
    return CString(out.c_str());
}
