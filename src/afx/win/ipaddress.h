// CIPAddressCtrl: the IP address control ("SysIPAddress32"): four fields of 0 to 255 (or the
// range set per field). A packed address has the first field in its most significant byte.
//
// Typing a dot or a space moves to the next field (when the field holds digits), so does a
// third digit; a dot or a space right after that move only confirms it. A value above the field's range becomes its upper limit at once (Windows shows
// a message first); one below it becomes the lower limit when the user leaves the field.
// When the user leaves a field whose value changed, the parent gets IPN_FIELDCHANGED (the
// field already holds its final value; the handler may set iValue to replace it). Every text
// change of a field, also by the program, sends EN_CHANGE to the parent.
#pragma once

#include "afx/win/wnd.h"

constexpr DWORD MAKEIPADDRESS(BYTE b1, BYTE b2, BYTE b3, BYTE b4)
{
    return (DWORD(b1) << 24) | (DWORD(b2) << 16) | (DWORD(b3) << 8) | DWORD(b4);
}
constexpr BYTE FIRST_IPADDRESS(DWORD x) { return BYTE((x >> 24) & 0xFF); }
constexpr BYTE SECOND_IPADDRESS(DWORD x) { return BYTE((x >> 16) & 0xFF); }
constexpr BYTE THIRD_IPADDRESS(DWORD x) { return BYTE((x >> 8) & 0xFF); }
constexpr BYTE FOURTH_IPADDRESS(DWORD x) { return BYTE(x & 0xFF); }
constexpr LPARAM MAKEIPRANGE(BYTE low, BYTE high) { return LPARAM((WORD(high) << 8) | low); }

// Messages (SendMessage). Values are Windows'.
enum : UINT {
    IPM_SETADDRESS = WM_USER + 101,   // lParam the packed address
    IPM_GETADDRESS = WM_USER + 102,   // lParam a DWORD*; returns the count of non-blank fields
    IPM_SETRANGE = WM_USER + 103,     // wParam the field, lParam MAKEIPRANGE(low, high)
    IPM_SETFOCUS = WM_USER + 104,     // wParam the field
};

// Notification (WM_NOTIFY). Value is Windows'.
enum : UINT { IPN_FIELDCHANGED = 0U - 860U };

struct NMIPADDRESS {
    NMHDR hdr;
    int iField = 0;    // 0 to 3, left to right
    int iValue = 0;    // the field's value, -1 when it is blank
};
typedef NMIPADDRESS* LPNMIPADDRESS;

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)
public:
    // Blank fields read as 0; the result is the number of fields that are not blank.
    int GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const;
    int GetAddress(DWORD& dwAddress) const;
    void SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3);
    void SetAddress(DWORD dwAddress);
    void SetFieldFocus(WORD nField);
    void SetFieldRange(int nField, BYTE nLower, BYTE nUpper);
};
