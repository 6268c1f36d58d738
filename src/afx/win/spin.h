// CSpinButtonCtrl: the up-down control ("msctls_updown32") and its buddy window.
//
// UDS_AUTOBUDDY takes the window before it in control order as its buddy when the control is
// created; UDS_ALIGNRIGHT then puts it at the buddy's right edge, the buddy narrower by its
// width. An arrow (or Up/Down in the buddy, UDS_ARROWKEYS) first sends UDN_DELTAPOS to the
// parent, which may change iDelta or return non-zero to refuse the step; the position then
// moves within the range (UDS_WRAP: round it) and, with UDS_SETBUDDYINT, the buddy's text
// becomes the position (so the buddy sends EN_CHANGE). With UDS_SETBUDDYINT the position is
// read back from the buddy's text before each step. Numbers are always written
// without thousands separators (Windows adds them unless UDS_NOTHOUSANDS), so that a
// digits-only buddy can read them back. Setting the range moves neither the position nor the
// buddy's text. The arrow buttons are named "up" and "down".
#pragma once

#include "afx/win/wnd.h"

// Messages (SendMessage). Values are Windows'. The 16-bit forms take signed 16-bit values.
enum : UINT {
    UDM_SETRANGE = WM_USER + 101,     // lParam MAKELPARAM(upper, lower)
    UDM_GETRANGE = WM_USER + 102,     // returns MAKELPARAM(upper, lower)
    UDM_SETRANGE32 = WM_USER + 111,   // wParam lower, lParam upper
    UDM_GETRANGE32 = WM_USER + 112,   // wParam an int* for lower, lParam one for upper
};

// Notification (WM_NOTIFY). Value is Windows'.
enum : UINT { UDN_DELTAPOS = 0U - 722U };

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;     // the position before the step
    int iDelta = 0;   // +1 or -1 toward the upper or the lower limit
};
typedef NMUPDOWN* LPNMUPDOWN;
typedef NMUPDOWN NM_UPDOWN;

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    void SetRange(short nLower, short nUpper);
    void GetRange(int& nLower, int& nUpper) const;
};
