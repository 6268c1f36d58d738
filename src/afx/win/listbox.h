// CListBox: a single-selection list box ("ListBox"), of strings or owner-drawn. An owner-drawn
// list (LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE) asks its own object, as MFC's reflection
// of WM_MEASUREITEM and WM_DRAWITEM does: MeasureItem for each item a variable list adds,
// DrawItem for each drawing. The parent never sees those two messages.
#pragma once

#include "afx/win/wnd.h"

class QPainter;

enum : int { LB_OKAY = 0, LB_ERR = -1 };

// Owner drawing: what to draw and the item's state.
enum : UINT { ODT_LISTBOX = 2 };
enum : UINT { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4 };
enum : UINT { ODS_SELECTED = 0x1, ODS_DISABLED = 0x4, ODS_FOCUS = 0x10 };

struct MEASUREITEMSTRUCT {
    UINT CtlType = ODT_LISTBOX;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;       // offered: the font's height; MeasureItem sets the item's
    DWORD_PTR itemData = 0;
};
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;

struct DRAWITEMSTRUCT {
    UINT CtlType = ODT_LISTBOX;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;       // ODA_*
    UINT itemState = 0;        // ODS_*
    HWND hwndItem = nullptr;
    QPainter* hDC = nullptr;   // the list's painter, with the list's font; `CDC dc(hDC)` wraps it
    CRect rcItem;              // client coordinates
    DWORD_PTR itemData = 0;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    int GetCount() const;
    // The index added at (LBS_SORT lists insert in order, without regard to case), LB_ERR
    // without a widget. A list without strings (owner-drawn without LBS_HASSTRINGS) keeps the
    // LPCTSTR argument's value as the item's data, as Windows does: AddString((LPCTSTR)value).
    int AddString(const CString& lpszItem);
    int AddString(LPCTSTR lpszItem);
    void ResetContent();

    int GetCurSel() const;             // LB_ERR when none
    int SetCurSel(int nSelect);        // -1 clears; LB_ERR when out of range; no notification
    void GetText(int nIndex, CString& rString) const;
    DWORD_PTR GetItemData(int nIndex) const;   // LB_ERR when out of range

    // The item's rectangle in client coordinates (above the client area for items scrolled
    // away); LB_ERR when out of range.
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    // The item nearest to the point (client coordinates); bOutside is TRUE when the point is
    // not over that item (outside the client area or below the last item). An empty list
    // gives 65535 and TRUE.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    int GetItemHeight(int nIndex) const;

    // Owner drawing. The base MeasureItem keeps the offered height; the base DrawItem draws
    // nothing. DrawItem runs while the list paints (ODA_DRAWENTIRE, after WM_ERASEBKGND) and
    // at once when an item's selection (ODA_SELECT) or focus (ODA_FOCUS) changes.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // What a screen reader reads for the item (the list and its items are accessible as a
    // list of list items): its text. A list whose items are painted without strings names
    // them here.
    virtual CString GetItemAccessibleName(int nIndex) const;
};
