// What the common controls share: the notification codes they all send, and their
// registration with the template builder. Each control's own names are in its header.
#pragma once

#include "afx/win/windefs.h"

// Mouse notifications of list and tree controls (WM_NOTIFY). Values are Windows'.
enum : UINT {
    NM_CLICK = 0U - 2U,
    NM_DBLCLK = 0U - 3U,
};

namespace afx::detail {
// Registers "ListBox", "SysListView32", "SysTreeView32", "SysDateTimePick32",
// "SysIPAddress32" and "msctls_updown32"; the window-class registry calls it once.
void RegisterCommonControls();

void RegisterListBox();
void RegisterListCtrl();
void RegisterTreeCtrl();
void RegisterDateTimeCtrl();
void RegisterIPAddressCtrl();
void RegisterSpinButtonCtrl();
} // namespace afx::detail
