// Window-side Windows names: handles, message parameters, messages, styles and results.
// Values are the Windows ones, so that the resource script's styles and the console's constants
// mean the same.
#pragma once

#include "afx/afx.h"
#include "afx/core/styles.h"

#include <cstdint>

class QWidget;

// A window handle is the widget itself.
typedef QWidget* HWND;
typedef int16_t SHORT;
typedef uintptr_t DWORD_PTR;
typedef void* LPVOID;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t UINT_PTR;
typedef uint32_t COLORREF;

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(uint8_t(r)) | (COLORREF(uint8_t(g)) << 8) | (COLORREF(uint8_t(b)) << 16);
}
constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) { return WPARAM((low & 0xFFFF) | ((high & 0xFFFF) << 16)); }
constexpr LPARAM MAKELPARAM(unsigned low, unsigned high) { return LPARAM(uint32_t((low & 0xFFFF) | ((high & 0xFFFF) << 16))); }
constexpr unsigned LOWORD(uintptr_t v) { return unsigned(v & 0xFFFF); }
constexpr unsigned HIWORD(uintptr_t v) { return unsigned((v >> 16) & 0xFFFF); }

// Messages the layer delivers or understands (see src/afx/README.md for which).
enum : UINT {
    WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_SIZE = 0x0005, WM_SETTEXT = 0x000C,
    WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_ERASEBKGND = 0x0014,
    WM_SETFONT = 0x0030, WM_GETFONT = 0x0031, WM_NOTIFY = 0x004E, WM_HELP = 0x0053,
    WM_KEYDOWN = 0x0100, WM_CHAR = 0x0102, WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303, WM_UNDO = 0x0304, WM_USER = 0x0400, WM_APP = 0x8000,
    // A control's own notification comes back to it as the message plus this (reflection).
    WM_REFLECT_BASE = 0xBC00,
};

// Edit and combo box messages reachable through SendMessage.
enum : UINT {
    EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_REPLACESEL = 0x00C2, EM_LIMITTEXT = 0x00C5,
    EM_CANUNDO = 0x00C6,
    EM_GETLIMITTEXT = 0x00D5,
    CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147, CB_SETCURSEL = 0x014E,
    BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_CLICK = 0x00F5,
};

enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };
enum : int { CB_ERR = -1 };

// Control notifications (the high word of WM_COMMAND's wParam) and command codes.
enum : UINT {
    BN_CLICKED = 0,
    EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300,
    CBN_SELCHANGE = 1,
    LBN_SELCHANGE = 1, LBN_DBLCLK = 2,
    CN_COMMAND = 0,
};
constexpr UINT CN_UPDATE_COMMAND_UI = UINT(-1);

// Header of a WM_NOTIFY message; controls send a structure that begins with it.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

// Dialog and message box results, box types.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
             IDHELP = 9, IDC_STATIC = -1 };
enum : UINT {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF,
    MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40, MB_ICONMASK = 0xF0,
    MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
};

// ShowWindow, GetWindow, SetWindowPos.
enum : int { SW_HIDE = 0, SW_SHOW = 5 };
enum : UINT { GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
              GW_CHILD = 5 };
enum : UINT { SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4, SWP_NOREDRAW = 0x8,
              SWP_NOACTIVATE = 0x10, SWP_SHOWWINDOW = 0x40, SWP_HIDEWINDOW = 0x80 };

// Virtual-key codes of the keys the layer translates.
enum : UINT {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
    VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70,
};
// Mouse message flags.
enum : UINT { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8 };

// The key state as Windows reports it: the high bit set while the key is down; for the lock
// keys the low bit set while the lock is on (where the platform tells it, X11).
SHORT GetKeyState(int virtKey);

// WM_HELP's parameter.
struct HELPINFO {
    UINT cbSize = sizeof(HELPINFO);
    int iContextType = 1;   // HELPINFO_WINDOW
    int iCtrlId = 0;
    HWND hItemHandle = nullptr;
    DWORD_PTR dwContextId = 0;
    struct { LONG x = 0, y = 0; } MousePos;
};
