// What the common controls share: the mouse notification codes, and (inside the layer) their
// registration with the template builder. Each control's own names are in its header.
#pragma once

#include "afx/win/windefs.h"

// Mouse notifications of list and tree controls (WM_NOTIFY). Values are Windows'.
enum : UINT {
    NM_DBLCLK = 0U - 3U,
};

class CWnd;
class QWidget;

namespace afx::detail {
// The MFC object a window class hands out for its unattached controls (WindowClass::newWrapper).
template <class Wrapper>
CWnd* NewWrapper()
{
    return new Wrapper;
}

// Registers "ListBox", "SysListView32", "SysTreeView32", "SysDateTimePick32",
// "SysIPAddress32" and "msctls_updown32"; the window-class registry calls it once.
void RegisterCommonControls();

// Without LVS_SHOWSELALWAYS / TVS_SHOWSELALWAYS a list or tree shows its selection only while
// it has the focus.
void HideSelectionWithoutFocus(QWidget* view);

void RegisterListBox();
void RegisterListCtrl();
void RegisterTreeCtrl();
void RegisterDateTimeCtrl();
void RegisterIPAddressCtrl();
void RegisterSpinButtonCtrl();
} // namespace afx::detail
