// CDateTimeCtrl: the date-and-time picker ("SysDateTimePick32"), and DDX_DateTimeCtrl.
// The user's changes notify DTN_DATETIMECHANGE; SetTime does not, as on Windows.
#pragma once

#include "afx/win/wnd.h"

class CDataExchange;

enum : DWORD { GDT_ERROR = DWORD(-1), GDT_VALID = 0 };

// Notification (WM_NOTIFY). Value is Windows'.
enum : UINT { DTN_DATETIMECHANGE = 0U - 759U };

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;   // 0 Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st;   // the new value, local time
};
typedef NMDATETIMECHANGE* LPNMDATETIMECHANGE;

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    // A display format in Windows' notation: d dd ddd dddd, M MM MMM MMMM, yy yyyy, h hh (12
    // hours), H HH, m mm, s ss, t tt, 'quoted text'. An empty format restores the style's own.
    BOOL SetFormat(const CString& pstrFormat);
    // The whole value, date included (a time-only picker keeps the date SetTime gave it).
    DWORD GetTime(CTime& timeDest) const;   // GDT_VALID; GDT_ERROR without a picker
    BOOL SetTime(const CTime& timeNew);
};

// Saving reads the picker into value; loading sets the picker from it (no notification).
void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, CTime& value);
