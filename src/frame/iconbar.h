// The category bar: a column of large icons with their captions on a teal colour ramp, one per
// category the view lists. The icon under the mouse gets a raised frame, sunken while the
// button is held; a click, at button-up, tells the document to show that category.
#pragma once

#include "afx/afxwin.h"

#include <memory>

// The list of categories; each item's value is a category index.
class CIconListBox : public CListBox {
    DECLARE_DYNAMIC(CIconListBox)
public:
    BOOL mouseInside = TRUE;    // the cursor was over the list at the last tick
    int hotItem = -1;           // the item under the mouse
    BOOL buttonDown = FALSE;    // the left button went down on the list and is still down

    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The painted caption of the item's category.
    CString GetItemAccessibleName(int nIndex) const override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    // Repaints the item nearest to the point; its index, or -1 when the list is empty.
    int RepaintItemAt(CPoint point);
    void RepaintItem(int index);
};

class CIconBar : public CDialogBar {
    DECLARE_DYNAMIC(CIconBar)
public:

    // The bar's id is its template's.
    BOOL Create(CWnd* parent, UINT templateId, DWORD style);
    // The bar's height at which its list shows every item without scrolling.
    int HeightForAllItems() const;

    BOOL created = FALSE;
    CIconListBox categoryList;
    std::unique_ptr<CFont> listFont;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};

// The teal ramp behind the list and its items: dark at both edges, light in the middle.
void PaintGradient(const CRect& rect, QPainter& painter);
// The font of the category captions: the system's icon-title face at 10 points.
BOOL CreateCategoryFont(CFont& font);
