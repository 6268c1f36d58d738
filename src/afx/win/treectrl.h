// CTreeCtrl: the tree control ("SysTreeView32"): items with a text, item data and pictures
// from an image list, one selected item. Notifications go to the parent as WM_NOTIFY.
#pragma once

#include "afx/win/commctrl.h"
#include "afx/win/wnd.h"

class CImageList;

namespace afx { struct TreeItem; }
// An item of a tree; valid until the item is deleted.
typedef afx::TreeItem* HTREEITEM;

// Where InsertItem puts an item: under the top level, first or last among its siblings, or in
// text order. Values are Windows'.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(intptr_t(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(intptr_t(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(intptr_t(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(intptr_t(-0x0FFFD));

enum : UINT { TVIS_SELECTED = 0x2, TVIS_EXPANDED = 0x20 };
enum : int { TVSIL_NORMAL = 0 };
enum : UINT { TVIF_PARAM = 0x4, TVIF_HANDLE = 0x10 };
enum : UINT { TVC_UNKNOWN = 0x0, TVC_BYMOUSE = 0x1, TVC_BYKEYBOARD = 0x2 };

// Notifications. Values are Windows' (Unicode). NM_DBLCLK comes with a bare NMHDR; a result
// of 0 lets the tree expand or collapse the item double-clicked, non-zero keeps it as it is.
enum : UINT {
    TVN_SELCHANGED = 0U - 451U,   // NMTREEVIEW: the selected item changed (user or program)
};

struct TVITEM {
    UINT mask = TVIF_HANDLE | TVIF_PARAM;
    HTREEITEM hItem = nullptr;
    LPARAM lParam = 0;
};

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = TVC_UNKNOWN;
    TVITEM itemOld;   // hItem and lParam of the item that was selected (nullptr for none)
    TVITEM itemNew;   // the same for the item now selected
    POINT ptDrag;
};
typedef NMTREEVIEW* LPNMTREEVIEW;

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    // hParent TVI_ROOT for the top level; hInsertAfter TVI_FIRST, TVI_LAST, TVI_SORT or a
    // sibling. nullptr on failure.
    HTREEITEM InsertItem(const CString& lpszItem, int nImage, int nSelectedImage,
                         HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(const CString& lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem);   // with its children
    BOOL DeleteAllItems();
    UINT GetCount() const;

    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;   // nullptr for a top-level item
    BOOL ItemHasChildren(HTREEITEM hItem) const;

    HTREEITEM GetSelectedItem() const;
    BOOL SelectItem(HTREEITEM hItem);   // nullptr: none; TVN_SELCHANGED when it changes
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;   // TVIS_SELECTED, TVIS_EXPANDED

    CString GetItemText(HTREEITEM hItem) const;
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;

    // The tree shows the list's pictures at their size; the list must outlive its use.
    // Returns the previous list.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType = TVSIL_NORMAL);
    CImageList* GetImageList(int nImageListType = TVSIL_NORMAL) const;
};
