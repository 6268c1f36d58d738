// The core controls: CStatic, CButton, CEdit, CComboBox. Their window classes ("Static",
// "Button", "Edit", "ComboBox") are registered with the template builder.
#pragma once

#include "afx/win/gdi.h"
#include "afx/win/wnd.h"

class QMenu;

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    // Shows the icon (SS_ICON statics); returns the previous one.
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    int GetCheck() const;         // BST_UNCHECKED 0, BST_CHECKED 1, BST_INDETERMINATE 2
    void SetCheck(int nCheck);    // no notification, as BM_SETCHECK
    void Click();                 // as the user's click: checks, then BN_CLICKED
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    void SetLimitText(UINT nMax);   // 0: no limit (as Windows' largest)
    void LimitText(int nChars = 0) { SetLimitText(UINT(nChars)); }
    UINT GetLimitText() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    DWORD GetSel() const;           // start in the low word, end in the high word
    // nEndChar -1 selects to the end; nStartChar -1 removes the selection.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(const CString& lpszNewText, BOOL bCanUndo = FALSE);
    // Through WM_CUT, WM_COPY, WM_PASTE and WM_CLEAR, so a derived class's handlers see them.
    void Cut() { SendMessage(WM_CUT); }
    void Copy() { SendMessage(WM_COPY); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    int AddString(const CString& lpszString);   // the index added at (sorted boxes insert in order)
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;               // CB_ERR when none
    int SetCurSel(int nSelect);          // -1 clears; CB_ERR when out of range
    void GetLBText(int nIndex, CString& rString) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
};

namespace afx {
// The context menu of a single-line edit, as Windows' French one; its entries are sent as
// WM_UNDO (enabled by EM_CANUNDO), WM_CUT, WM_COPY, WM_PASTE and WM_CLEAR so that the edit's
// handlers see them. Actions are named "edit-undo", "edit-cut", "edit-copy", "edit-paste",
// "edit-delete", "select-all". The caller owns it.
QMenu* EditContextMenu(CWnd* edit);
}
