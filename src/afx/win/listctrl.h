// CListCtrl: the list control ("SysListView32") in report view, the only view the console
// uses: rows of texts under column headings, several rows selectable unless LVS_SINGLESEL,
// each row with its item data. Notifications go to the parent as WM_NOTIFY.
#pragma once

#include "afx/win/commctrl.h"
#include "afx/win/wnd.h"

enum : UINT { LVIF_TEXT = 0x1, LVIF_IMAGE = 0x2, LVIF_PARAM = 0x4, LVIF_STATE = 0x8 };
enum : UINT { LVIS_FOCUSED = 0x1, LVIS_SELECTED = 0x2 };
enum : int { LVNI_ALL = 0x0, LVNI_FOCUSED = 0x1, LVNI_SELECTED = 0x2 };
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2 };
enum : UINT { LVFI_PARAM = 0x1, LVFI_STRING = 0x2, LVFI_PARTIAL = 0x8, LVFI_WRAP = 0x20 };

// Notifications. Values are Windows'.
enum : UINT {
    LVN_ITEMCHANGED = 0U - 101U,   // NMLISTVIEW: a row's state (selected, focused) changed
};

struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    CString pszText;
    int iImage = 0;
    LPARAM lParam = 0;
};

struct LVFINDINFO {
    UINT flags = 0;
    CString psz;
    LPARAM lParam = 0;
};

// LVN_ITEMCHANGED, and NM_DBLCLK (with NMITEMACTIVATE): iItem is the row under the
// mouse, -1 for none.
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;   // the row's item data
};
typedef NMLISTVIEW* LPNMLISTVIEW;

struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};
typedef NMITEMACTIVATE* LPNMITEMACTIVATE;

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    // Columns; widths in pixels. An index past the last appends; -1 on failure.
    int InsertColumn(int nCol, const CString& lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    BOOL DeleteColumn(int nCol);   // FALSE when there is no such column
    int GetColumnCount() const;

    // Rows. An index past the last appends; the result is the new row's index, -1 on failure.
    int InsertItem(int nItem, const CString& lpszItem);
    int InsertItem(const LVITEM* pItem);
    int InsertItem(UINT nMask, int nItem, const CString& lpszItem, UINT nState, UINT nStateMask,
                   int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int nItem, int nSubItem, const CString& lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;   // 0 for no such row

    // States: LVIS_SELECTED, LVIS_FOCUSED. nItem -1 sets the state of every row. Changes by
    // the program notify LVN_ITEMCHANGED as the user's do.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetSelectedCount() const;
    // The next row after nItem (-1: from the first) with all the LVNI_ flags' states; -1 when none.
    int GetNextItem(int nItem, int nFlags) const;
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    // The first row after nStart (-1: from the first) with the item data (LVFI_PARAM) or the
    // text (LVFI_STRING, without regard to case; LVFI_PARTIAL: a prefix); LVFI_WRAP goes on
    // from the first row. -1 when none.
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const;
};
